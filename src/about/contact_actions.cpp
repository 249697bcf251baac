#include "about/contact_actions.h"

#include <QDesktopServices>

#ifdef _WIN32
#include <windows.h>

#include <string>
#endif

namespace lumadot {
namespace {

#ifdef _WIN32
bool startMinimised(const QString& commandLine) {
  std::wstring line = commandLine.toStdWString();  // CreateProcessW may write into it
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWMINIMIZED;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
    return false;
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return true;
}
#endif

}  // namespace

ContactActions ContactActions::platformDefaults() {
  ContactActions actions;
  actions.openLink = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
#ifdef _WIN32
  actions.startCommandLine = startMinimised;
#endif
  return actions;
}

}  // namespace lumadot
