#pragma once

#include <QCoreApplication>
#include <QPointer>
#include <functional>

#include "message/message.h"

class QMessageBox;
class QWidget;

namespace lumadot {

// The parent for a modal box over `owner`. A box owned by a disabled window
// would be disabled too, and could never be closed: the clock may run while
// the About window has the main window disabled.
QWidget* modalParent(QWidget* owner);

// Every message box of every window goes through here, so tests can record
// the boxes instead of blocking on them.
class MessagePresenter {
  Q_DECLARE_TR_FUNCTIONS(lumadot::MessagePresenter)

 public:
  using Recorder = std::function<void(const Message&)>;

  explicit MessagePresenter(QWidget* owner) : m_owner(owner) {}

  // Modal; returns once the user has closed the box.
  void show(const Message& message) const;

  // Modal to the window but not to the program: returns at once, and `closed`
  // runs once the user has closed the box. A box shown this way closes the one
  // it showed before, whose `closed` then never runs, so a clock's runs go on
  // while a run's box waits for the user, and only the newest box stays.
  void showInPlace(const Message& message, std::function<void()> closed = {});
  // Closes the box showInPlace last showed, if it is still open, without its `closed`.
  void closeInPlace();

  void recordInstead(Recorder recorder) { m_recorder = std::move(recorder); }

 private:
  QWidget* m_owner;
  Recorder m_recorder;
  QPointer<QMessageBox> m_inPlace;
};

}  // namespace lumadot
