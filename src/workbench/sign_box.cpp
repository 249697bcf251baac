#include "workbench/sign_box.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>
#include <QSettings>
#include <QThread>
#include <QTimer>

#include "extract/glyph_entries.h"
#include "frame/display_frame.h"
#include "frame/frame_decoder.h"
#include "run/extraction_run.h"
#include "run/sign_can_show.h"
#include "serial/system_serial.h"
#include "widgets/failure_words.h"
#include "widgets/line_setting_boxes.h"
#include "widgets/port_tooltip.h"

namespace lumadot {
namespace {

// Where each box keeps its text in the settings, under the group "sign".
constexpr const char* kPortKey = "sign/port";
constexpr const char* kBaudKey = "sign/baud";
constexpr const char* kParityKey = "sign/parity";
constexpr const char* kDataBitsKey = "sign/dataBits";
constexpr const char* kStopBitsKey = "sign/stopBits";
constexpr const char* kSpeedKey = "sign/speed";
constexpr const char* kModeKey = "sign/mode";

// Tells the box how far the frame has got, from the sending thread.
class ProgressRelay final : public SendProgress {
 public:
  ProgressRelay(QObject* box, QProgressBar* bar) : m_box(box), m_bar(bar) {}

  void frameStarted(std::int64_t frameBytes) override {
    post([bar = m_bar, frameBytes] {
      bar->setRange(0, static_cast<int>(frameBytes));
      bar->setValue(0);
    });
  }
  void bytesSent(std::int64_t sent) override {
    post([bar = m_bar, sent] { bar->setValue(static_cast<int>(sent)); });
  }
  void frameEnded() override {}

 private:
  template <typename F>
  void post(F f) {
    QMetaObject::invokeMethod(m_box, std::move(f), Qt::QueuedConnection);
  }

  QObject* m_box;
  QProgressBar* m_bar;
};

// What the sign does with a mode byte, in the numbers the player plays it by.
QString modeMeaning(std::uint8_t mode) {
  switch (effectOf(mode)) {
    case Effect::still: return SignBox::tr("从左端起静止显示");
    case Effect::moveLeft: return SignBox::tr("从右端移入、从左端移出，每步一列");
    case Effect::moveRight: return SignBox::tr("从左端移入、从右端移出，每步一列");
    case Effect::moveUp: return SignBox::tr("从下方逐行升入，停留%1步，再从上方升出").arg(kVerticalStaySteps);
    case Effect::moveDown: return SignBox::tr("从上方逐行降入，停留%1步，再从下方降出").arg(kVerticalStaySteps);
    case Effect::flash: break;
  }
  return SignBox::tr("亮%1步、暗%1步，交替闪烁").arg(kFlashLitSteps);
}

}  // namespace

SignBox::SignBox(QWidget* parent)
    : QGroupBox(tr("显示屏"), parent),
      m_portBox(new QComboBox(this)),
      m_baudBox(new QComboBox(this)),
      m_parityBox(new QComboBox(this)),
      m_dataBitsBox(new QComboBox(this)),
      m_stopBitsBox(new QComboBox(this)),
      m_speedBox(new QComboBox(this)),
      m_modeBox(new QComboBox(this)),
      m_sendButton(new QPushButton(tr("发送"), this)),
      m_simulateButton(new QPushButton(tr("模拟"), this)),
      m_refusalLabel(new QLabel(this)),
      m_frameLayoutLabel(new QLabel(tr("按显示屏读的字节排列发送：8*16格式、字节倒序"), this)),
      m_progress(new QProgressBar(this)),
      m_simulationTimer(new QTimer(this)),
      m_messages(this) {
  fillPortBox(*m_portBox);
  m_portBox->setToolTip(portToolTip());
  fillLineSettingBoxes(*m_baudBox, *m_parityBox, *m_dataBitsBox, *m_stopBitsBox);
  fillEffectBoxes();
  buildLayout();
  connect(m_sendButton, &QPushButton::clicked, this, &SignBox::send);
  connect(m_simulateButton, &QPushButton::clicked, this, &SignBox::toggleSimulation);
  connect(m_simulationTimer, &QTimer::timeout, this, &SignBox::stepSimulation);
  restoreDefaults();
  updateButtons();
}

SignBox::~SignBox() {
  if (m_sender) m_sender->wait();
}

void SignBox::buildLayout() {
  const std::pair<QWidget*, const char*> named[] = {
      {m_portBox, "portBox"},         {m_baudBox, "baudBox"},       {m_parityBox, "parityBox"},
      {m_dataBitsBox, "dataBitsBox"}, {m_stopBitsBox, "stopBitsBox"}, {m_speedBox, "speedBox"},
      {m_modeBox, "modeBox"},         {m_sendButton, "sendButton"}, {m_simulateButton, "simulateButton"},
      {m_refusalLabel, "refusalLabel"}, {m_frameLayoutLabel, "frameLayoutLabel"}, {m_progress, "sendProgress"}};
  for (const auto& [widget, name] : named) widget->setObjectName(QString::fromLatin1(name));
  m_simulationTimer->setObjectName(QStringLiteral("simulationTimer"));
  auto* form = new QFormLayout;
  form->addRow(tr("串口"), m_portBox);
  form->addRow(tr("波特率"), m_baudBox);
  form->addRow(tr("校验位"), m_parityBox);
  form->addRow(tr("数据位"), m_dataBitsBox);
  form->addRow(tr("停止位"), m_stopBitsBox);
  form->addRow(tr("显示速度"), m_speedBox);
  form->addRow(tr("显示方式"), m_modeBox);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(m_sendButton);
  buttons->addWidget(m_simulateButton);
  buttons->addWidget(m_refusalLabel, 1);
  m_refusalLabel->setWordWrap(true);
  m_frameLayoutLabel->setWordWrap(true);
  m_frameLayoutLabel->setToolTip(
      tr("显示屏把显示帧的字节读作一条条8×16的竖条，每字节最低位在左；所以发送和模拟都按这个排列重排字模，"
         "与输出选的字节排列无关"));
  m_progress->setFormat(tr("%v / %m 字节"));
  m_progress->hide();
  auto* layout = new QGridLayout(this);
  layout->addLayout(form, 0, 0);
  layout->addLayout(buttons, 1, 0);
  layout->addWidget(m_frameLayoutLabel, 2, 0);
  layout->addWidget(m_progress, 3, 0);
}

// Each speed and mode with what the sign does with its byte.
void SignBox::fillEffectBoxes() {
  for (int speed = kSlowestSpeed; speed <= kFastestSpeed; ++speed) {
    m_speedBox->addItem(QString::number(speed));
    const auto step = stepTimeAt(speed);
    m_speedBox->setItemData(m_speedBox->count() - 1,
                            tr("速度字节%1：每步%2毫秒").arg(speed).arg(step.count()), Qt::ToolTipRole);
  }
  for (std::uint8_t mode = 0; mode <= kLastMode; ++mode) {
    m_modeBox->addItem(QString::fromStdU16String(std::u16string(*modeName(mode))));
    m_modeBox->setItemData(m_modeBox->count() - 1, tr("方式字节%1：%2").arg(mode).arg(modeMeaning(mode)),
                           Qt::ToolTipRole);
  }
  for (QComboBox* box : {m_speedBox, m_modeBox}) {
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
  }
  m_speedBox->setToolTip(tr("1最慢，10最快"));
}

SendBoxes SignBox::boxes() const {
  const auto text = [](const QComboBox* box) { return box->currentText().toStdU16String(); };
  return {portBoxText(*m_portBox).toStdU16String(), text(m_baudBox), text(m_parityBox), text(m_dataBitsBox),
          text(m_stopBitsBox), text(m_speedBox), text(m_modeBox)};
}

Result<SendRequest> SignBox::request() const { return sendRequest(boxes()); }

QString SignBox::sendRefusal() const {
  if (m_glyphs.glyphs.empty()) return tr("没有可发送的字模");
  if (const SignVerdict shows = signCanShow(m_glyphs); !shows) return FailureWords::what(signFailure(*shows.refusal));
  return {};
}

void SignBox::showBoxes(const SendBoxes& boxes) {
  setPortBoxText(*m_portBox, QString::fromStdU16String(boxes.port));
  const std::pair<QComboBox*, const std::u16string*> texts[] = {
      {m_baudBox, &boxes.baud},         {m_parityBox, &boxes.parity}, {m_dataBitsBox, &boxes.dataBits},
      {m_stopBitsBox, &boxes.stopBits}, {m_speedBox, &boxes.speed},   {m_modeBox, &boxes.mode}};
  for (const auto& [box, text] : texts) {
    box->setEditText(QString::fromStdU16String(*text));
    showStartTextUnselected(*box);
  }
}

void SignBox::saveSettings(QSettings& settings) const {
  const SendBoxes now = boxes();
  const std::pair<const char*, const std::u16string*> values[] = {
      {kPortKey, &now.port},         {kBaudKey, &now.baud},   {kParityKey, &now.parity},
      {kDataBitsKey, &now.dataBits}, {kStopBitsKey, &now.stopBits}, {kSpeedKey, &now.speed},
      {kModeKey, &now.mode}};
  for (const auto& [key, value] : values) settings.setValue(QLatin1String(key), QString::fromStdU16String(*value));
}

void SignBox::loadSettings(const QSettings& settings) {
  SendBoxes loaded;
  const std::pair<const char*, std::u16string*> values[] = {
      {kPortKey, &loaded.port},         {kBaudKey, &loaded.baud},   {kParityKey, &loaded.parity},
      {kDataBitsKey, &loaded.dataBits}, {kStopBitsKey, &loaded.stopBits}, {kSpeedKey, &loaded.speed},
      {kModeKey, &loaded.mode}};
  for (const auto& [key, value] : values) {
    *value = settings.value(QLatin1String(key), QString::fromStdU16String(*value)).toString().toStdU16String();
  }
  showBoxes(loaded);
}

void SignBox::restoreDefaults() { showBoxes(SendBoxes{}); }

void SignBox::setGlyphs(const Glyphs& glyphs, const ByteLayout& layout) {
  stopSimulation();
  m_glyphs = glyphs;
  m_layout = layout;
  updateButtons();
}

Glyphs SignBox::frameGlyphs() const { return laidOut(m_glyphs, m_layout, kFrameLayout); }

void SignBox::updateButtons() {
  const QString refusal = sendRefusal();
  m_sendButton->setEnabled(refusal.isEmpty() && !sending());
  m_sendButton->setToolTip(refusal.isEmpty() ? tr("把字模编成显示帧，经串口发给显示屏") : refusal);
  m_simulateButton->setEnabled(refusal.isEmpty() || simulating());
  m_simulateButton->setToolTip(refusal.isEmpty() ? tr("按显示方式和速度播放显示屏上的效果") : refusal);
  m_refusalLabel->setText(refusal);
}

// The boxes are read once, here; the port is opened, used and closed in the
// sending thread, which alone owns it.
void SignBox::send() {
  if (!canSend() || sending()) return;
  auto request = this->request();
  if (!request) return fail(request.error());
  m_progress->setRange(0, 0);
  m_progress->show();
  m_sentPort = QString::fromStdU16String(request->portName);
  m_sender.reset(QThread::create([this, glyphs = frameGlyphs(), request = std::move(*request),
                                  separator = QLocale().decimalPoint().toStdU16String()]() mutable {
    const auto device = makeSystemSerialDevice();
    ProgressRelay progress(this, m_progress);
    SendTarget target{std::move(request), *device, &progress, separator};
    RunReport report = runExtraction(std::move(glyphs), &target);
    QMetaObject::invokeMethod(this, [this, report = std::move(report)] { sendEnded(report); }, Qt::QueuedConnection);
  }));
  m_sender->start();
  updateButtons();
}

void SignBox::sendEnded(const RunReport& report) {
  m_sender->wait();
  m_sender.reset();
  m_progress->hide();
  updateButtons();
  if (report.failure) return fail(*report.failure);
  emit sent(report.frame);
  m_messages.show(
      windowNotice(tr("使用串口%1共发送%2K数据发送成功").arg(m_sentPort, QString::fromStdU16String(report.sentKilobytes))));
}

void SignBox::fail(const Failure& failure) {
  const Message message = windowWarning(failure);
  QString why = QString::fromStdString(message.text);
  if (!message.detail.empty()) why += QLatin1Char('\n') + QString::fromStdString(message.detail);
  emit sendFailed(why);
  m_messages.show(message);
}

void SignBox::toggleSimulation() {
  if (simulating()) {
    stopSimulation();
  } else {
    startSimulation();
  }
}

// The frame is the one "发送" would send, read back as the sign reads it.
void SignBox::startSimulation() {
  if (!canSend()) return;
  const SendBoxes now = boxes();
  const auto effect = signEffect(now.speed, now.mode);
  if (!effect) return m_messages.show(windowWarning(effect.error()));
  const auto frame = glyphFrame(frameGlyphs(), effect->speed, effect->mode);
  if (!frame) return m_messages.show(windowWarning(frame.error()));
  m_player.emplace(decodeFrames(*frame).front(), PanelSettings{m_panelColumns, false});
  m_step = 0;
  m_simulateButton->setText(tr("停止模拟"));
  updateButtons();
  emit panelChanged(m_player->panel(m_step));
  if (m_player->steps() > 1) m_simulationTimer->start(m_player->stepTime());
}

void SignBox::stopSimulation() {
  if (!simulating()) return;
  m_simulationTimer->stop();
  m_player.reset();
  m_simulateButton->setText(tr("模拟"));
  updateButtons();
  emit simulationStopped();
}

void SignBox::stepSimulation() { emit panelChanged(m_player->panel(++m_step)); }

}  // namespace lumadot
