#include "about/secondary_window.h"

namespace lumadot {

void fixWindowFrame(QWidget& window, Qt::WindowType kind) {
  window.setWindowFlags(kind | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                        Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
  window.setFixedSize(window.size());
}

// No Qt parent: a child window would be disabled along with the main window.
SecondaryWindow::SecondaryWindow(QWidget* mainWindow) : QDialog(nullptr), m_mainWindow(mainWindow) {
  setAttribute(Qt::WA_DeleteOnClose);
}

void SecondaryWindow::enableMainWindowAndClose() {
  enableMainWindow();
  close();
}

// The close box and Escape both end here.
void SecondaryWindow::reject() {
  enableMainWindow();
  QDialog::reject();
}

// QDialog would centre the window on the screen; the usage window opens
// where the system puts new windows, and the About window centres itself.
void SecondaryWindow::showEvent(QShowEvent* event) { QWidget::showEvent(event); }

void SecondaryWindow::enableMainWindow() {
  if (m_mainWindow) m_mainWindow->setEnabled(true);
}

}  // namespace lumadot
