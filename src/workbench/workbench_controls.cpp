// The workbench's controls as values: read once into the settings a run
// takes and into what is kept between runs, and set from a command line's
// settings or the kept ones.
#include <QSettings>

#include "extract/text_encoding.h"
#include "ui_workbench_window.h"
#include "widgets/typed_text.h"
#include "workbench/font_box.h"
#include "workbench/qt_strings.h"
#include "workbench/saved_controls.h"
#include "workbench/scan_pictures.h"
#include "workbench/sign_box.h"
#include "workbench/workbench_window.h"

namespace lumadot {
namespace {

// A save encoding by the name it is kept under; UTF-8 for none or one we do not know.
SourceEncoding sourceEncodingOf(const QVariant& name) {
  return sourceEncodingNamed(name.toString().toStdString()).value_or(SourceEncoding::utf8);
}

}  // namespace

void WorkbenchWindow::fillChoices() {
  for (const Scan scan : kScans) {
    m_ui->scanBox->addItem(QIcon(scanOrderPicture(scan)), qs(scanName(scan)) + QStringLiteral(" — ") + scanWords(scan),
                           static_cast<int>(scan));
  }
  const std::pair<OutputFormat, QString> formats[] = {
      {OutputFormat::listing, tr("汇编列表（与主窗口相同）")}, {OutputFormat::a51, tr("a51 汇编（Keil A51）")},
      {OutputFormat::as31, tr("as31 汇编")},                 {OutputFormat::sdas, tr("sdas 汇编（SDCC sdas8051）")},
      {OutputFormat::c51, tr("c51 C 数组（Keil C51）")},       {OutputFormat::sdcc, tr("sdcc C 数组")},
      {OutputFormat::bin, tr("bin 原始字节（十六进制显示）")}, {OutputFormat::hex, tr("hex Intel HEX")},
  };
  for (const auto& [format, label] : formats) m_ui->formatBox->addItem(label, static_cast<int>(format));
  m_ui->encodingBox->addItem(tr("自动（UTF-8 或带 BOM 的 UTF-16）"), QString());
  for (const QString& name : qs(encodingNameList()).split(QStringLiteral(", "))) m_ui->encodingBox->addItem(name, name);
  for (const SourceEncoding encoding : kSourceEncodings) {
    const QString name = qs(sourceEncodingName(encoding));
    m_ui->saveEncodingBox->addItem(name.toUpper(), name);
  }
}

// The listing keeps its credit lines, as the main window's result box shows them.
void WorkbenchWindow::showSourceControls() {
  const bool listing = static_cast<OutputFormat>(m_ui->formatBox->currentData().toInt()) == OutputFormat::listing;
  m_ui->noCreditCheck->setEnabled(!listing);
  m_ui->noCreditCheck->setToolTip(
      listing ? tr("汇编列表保留作者信息，与主窗口的结果框相同；只有源程序格式（a51、as31、sdas、c51、sdcc）可以不写")
              : tr("源程序末尾不写作者信息，与 lumadot-cli --no-credit 相同"));
}

WorkbenchSettings WorkbenchWindow::settings() const {
  WorkbenchSettings settings;
  settings.text = typedText(*m_ui->textBox);
  if (m_ui->inputTabs->currentWidget() == m_ui->pictureTab && m_picture) {
    DotOptions dots;
    dots.threshold = m_ui->thresholdBox->value();
    dots.dither = m_ui->ditherCheck->isChecked();
    dots.invert = m_ui->invertCheck->isChecked();
    if (m_ui->pictureHeightBox->value() > 0) dots.scale.height = m_ui->pictureHeightBox->value();
    settings.picture = PictureChoice{m_picture, dots};
  }
  settings.fontDir = m_ui->fontControls->fontDir();
  settings.font = m_ui->fontControls->choice();
  settings.layout = {static_cast<Scan>(m_ui->scanBox->currentData().toInt()), m_ui->lsbFirstCheck->isChecked(),
                     m_ui->negativeCheck->isChecked()};
  settings.output.format = static_cast<OutputFormat>(m_ui->formatBox->currentData().toInt());
  settings.output.names.prefix = m_ui->prefixEdit->text().trimmed().toStdString();
  if (settings.output.names.prefix.empty()) settings.output.names.prefix = SourceNames{}.prefix;
  settings.output.names.oneTable = m_ui->tableCheck->isChecked();
  settings.output.source.credit = !m_ui->noCreditCheck->isChecked();
  settings.output.source.encoding = sourceEncodingOf(m_ui->saveEncodingBox->currentData());
  settings.output.subset = m_ui->subsetCheck->isChecked();
  return settings;
}

void WorkbenchWindow::showSaved(const SavedControls& saved) {
  m_ui->textBox->setPlainText(saved.text);
  m_ui->inputTabs->setCurrentIndex(0);
  if (saved.font) m_ui->fontControls->showSaved(*saved.font, saved.size);
  m_ui->scanBox->setCurrentIndex(m_ui->scanBox->findData(static_cast<int>(saved.layout.scan)));
  m_ui->lsbFirstCheck->setChecked(saved.layout.lsbFirst);
  m_ui->negativeCheck->setChecked(saved.layout.negative);
  m_ui->formatBox->setCurrentIndex(m_ui->formatBox->findData(static_cast<int>(saved.format)));
  m_ui->prefixEdit->setText(saved.prefix);
  m_ui->tableCheck->setChecked(saved.oneTable);
  m_ui->noCreditCheck->setChecked(saved.noCredit);
  showSaveEncoding(saved.encoding);
  m_ui->subsetCheck->setChecked(saved.subset);
  m_ui->zoomSlider->setValue(saved.zoom);
  m_ui->dotView->setZoom(m_ui->zoomSlider->value());
  showSourceControls();
}

SavedControls WorkbenchWindow::saved() const {
  SavedControls saved;
  saved.text = m_ui->textBox->toPlainText();
  saved.font = m_ui->fontControls->saved();
  saved.size = m_ui->fontControls->sizeText();
  saved.layout = settings().layout;
  saved.format = static_cast<OutputFormat>(m_ui->formatBox->currentData().toInt());
  saved.prefix = m_ui->prefixEdit->text();
  saved.oneTable = m_ui->tableCheck->isChecked();
  saved.noCredit = m_ui->noCreditCheck->isChecked();
  saved.encoding = sourceEncodingOf(m_ui->saveEncodingBox->currentData());
  saved.subset = m_ui->subsetCheck->isChecked();
  saved.zoom = m_ui->zoomSlider->value();
  return saved;
}

// Every control the settings hold, none kept from before, and the view at its first zoom.
void WorkbenchWindow::showSettings(const WorkbenchSettings& shown, const SendBoxes& sign) {
  m_filling = true;
  m_ui->textBox->setPlainText(qs(shown.text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
  m_ui->inputTabs->setCurrentWidget(m_ui->textTab);
  m_ui->scanBox->setCurrentIndex(m_ui->scanBox->findData(static_cast<int>(shown.layout.scan)));
  m_ui->lsbFirstCheck->setChecked(shown.layout.lsbFirst);
  m_ui->negativeCheck->setChecked(shown.layout.negative);
  m_ui->formatBox->setCurrentIndex(m_ui->formatBox->findData(static_cast<int>(shown.output.format)));
  m_ui->prefixEdit->setText(qs(shown.output.names.prefix));
  m_ui->tableCheck->setChecked(shown.output.names.oneTable);
  m_ui->noCreditCheck->setChecked(!shown.output.source.credit);
  showSaveEncoding(shown.output.source.encoding);
  m_ui->subsetCheck->setChecked(shown.output.subset);
  m_ui->fontControls->showChoice(shown.fontDir, shown.font);
  m_ui->signBox->showBoxes(sign);
  m_ui->zoomSlider->setValue(SavedControls{}.zoom);
  m_filling = false;
  m_ui->fontControls->fontChosen();
}

void WorkbenchWindow::showSaveEncoding(SourceEncoding encoding) {
  m_ui->saveEncodingBox->setCurrentIndex(m_ui->saveEncodingBox->findData(qs(sourceEncodingName(encoding))));
}
}  // namespace lumadot
