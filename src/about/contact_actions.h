#pragma once

#include <QString>
#include <QUrl>
#include <functional>

#include "message/message.h"

namespace lumadot {

// What the About window's contact buttons reach outside the program. The
// program passes the platform's own; tests pass recorders.
struct ContactActions {
  // Hands a link to the desktop's handler; false when nothing took it.
  std::function<bool(const QUrl&)> openLink;
  // Starts a command line minimised, without waiting. Set only on Windows,
  // where the messenger link goes through the web browser's command line.
  std::function<bool(const QString&)> startCommandLine;
  // Shows a modal message box.
  std::function<void(const Message&)> showMessage;

  // The desktop's URL handler and, on Windows, CreateProcess. showMessage is
  // left for the owner of the message boxes to set.
  static ContactActions platformDefaults();
};

}  // namespace lumadot
