#pragma once

#include <QCoreApplication>
#include <functional>

#include "message/message.h"

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

  void recordInstead(Recorder recorder) { m_recorder = std::move(recorder); }

 private:
  QWidget* m_owner;
  Recorder m_recorder;
};

}  // namespace lumadot
