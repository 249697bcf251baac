#pragma once

#include <QDialog>
#include <QPointer>

namespace lumadot {

// A fixed frame: a title and a close box, no minimise or maximise box, and a
// size that cannot change.
void fixWindowFrame(QWidget& window, Qt::WindowType kind);

// The About and usage windows: opened modeless while the main window is
// disabled, destroyed when closed. However they close ("确定", the close box,
// Escape), the main window is enabled again first.
class SecondaryWindow : public QDialog {
 public:
  explicit SecondaryWindow(QWidget* mainWindow);

 protected:
  // What "确定" does.
  void enableMainWindowAndClose();
  void reject() override;
  void showEvent(QShowEvent* event) override;

  // Call once the .ui has set the size.
  void fixFrame() { fixWindowFrame(*this, Qt::Dialog); }

 private:
  void enableMainWindow();

  QPointer<QWidget> m_mainWindow;
};

}  // namespace lumadot
