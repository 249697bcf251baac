#include "about/form2.h"

#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>

#include "about/contact_links.h"
#include "ui_form2.h"

namespace lumadot {

Form2::Form2(QWidget* mainWindow, ContactActions actions)
    : SecondaryWindow(mainWindow), m_ui(std::make_unique<Ui::Form2>()), m_actions(std::move(actions)) {
  m_ui->setupUi(this);
  fixFrame();
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    move(screen->availableGeometry().center() - rect().center());
  }
  connect(m_ui->Command1, &QPushButton::clicked, this, &Form2::Command1_Click);
  connect(m_ui->Command2, &QPushButton::clicked, this, &Form2::Command2_Click);
  connect(m_ui->Command3, &QPushButton::clicked, this, &Form2::Command3_Click);
  m_ui->Command1->setFocus();
}

Form2::~Form2() = default;

void Form2::Command1_Click() { enableMainWindowAndClose(); }

void Form2::Command2_Click() {
  // Windows starts the browser on its own drive; elsewhere the desktop knows
  // which program takes the messenger's links, if any does.
  const bool started = m_actions.startCommandLine
                           ? m_actions.startCommandLine(browserCommandLine(qEnvironmentVariable("WINDIR")))
                           : m_actions.openLink(QUrl(messengerLink()));
  if (!started) showUnopenedLink(messengerLink());
}

void Form2::Command3_Click() {
  if (!m_actions.openLink(QUrl(mailLink()))) showUnopenedLink(mailLink());
}

void Form2::showUnopenedLink(const QString& link) {
  if (!m_actions.showMessage) return;
  m_actions.showMessage(warningMessage(Failure("没有程序能打开这个链接，请复制后自行打开：\n" + link.toStdString())));
}

}  // namespace lumadot
