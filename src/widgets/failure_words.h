#pragma once

// A failure as a window says it: what failed and why in the window's
// language, Chinese in the source and English through the program's
// translation, as the window's other texts. The core decides the failure's
// kind and cause; these word them. A failure the core only words itself
// (FailureKind::worded, CauseKind::worded) is shown in its own words.

#include <QCoreApplication>
#include <QString>

#include "message/message.h"

namespace lumadot {

class FailureWords {
  Q_DECLARE_TR_FUNCTIONS(lumadot::FailureWords)

 public:
  // What failed: the message box's text, or a status line.
  static QString what(const Failure& failure);
  // Why, beneath it: the box's details; empty when there is nothing more.
  static QString why(const Failure& failure);
};

// The warning box for `failure`, in the window's words.
Message windowWarning(const Failure& failure);
// A notice box (a frame sent, say) titled in the window's words.
Message windowNotice(const QString& text);

}  // namespace lumadot
