#include "workbench/workbench_window.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QFile>
#include <QFileDialog>
#include <QFontDatabase>
#include <QKeySequence>
#include <QMessageBox>
#include <QSettings>
#include <QShortcut>
#include <QtConcurrent/QtConcurrentRun>

#include "base/file_writer.h"
#include "extract/font_location.h"
#include "extract/glyph_entries.h"
#include "extract/text_codec.h"
#include "extract/text_encoding.h"
#include "fonts/run_fonts.h"
#include "subset/subset_source.h"
#include "ui_workbench_window.h"
#include "widgets/failure_words.h"
#include "widgets/typed_text.h"
#include "workbench/detect_dialog.h"
#include "workbench/dot_view.h"
#include "workbench/scan_pictures.h"
#include "workbench/sign_box.h"
#include "workbench/wheel_focus.h"

namespace lumadot {
namespace {

constexpr int kOtherFile = -1;  // the font box's last item: choose a file
constexpr int kSameFont = -2;   // the single-byte font box's first item
constexpr std::size_t kLackingNamed = 20;
constexpr int kFirstZoom = 8;

std::filesystem::path pathOf(const QString& path) { return std::filesystem::path(path.toStdU16String()); }
QString qs(std::string_view utf8) { return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())); }
QString qs(std::u16string_view text) {
  return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

// A save encoding by the name it is kept under; UTF-8 for none or one we do not know.
SourceEncoding sourceEncodingOf(const QVariant& name) {
  return sourceEncodingNamed(name.toString().toStdString()).value_or(SourceEncoding::utf8);
}

QString displayed(const std::string& text) { return qs(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")); }

QString builtLabel(const BuiltFont& font) {
  return QObject::tr("Lumadot 点阵字库 %1（%2）")
      .arg(qs(font.cell.name()), font.charset == Charset::gbk ? QStringLiteral("GBK") : QStringLiteral("GB2312"));
}

QString fileSuffix(OutputFormat format, bool subset) {
  switch (format) {
    case OutputFormat::listing: return QStringLiteral("txt");
    case OutputFormat::a51: return QStringLiteral("a51");
    case OutputFormat::as31:
    case OutputFormat::sdas: return QStringLiteral("asm");
    case OutputFormat::c51:
    case OutputFormat::sdcc: return QStringLiteral("c");
    case OutputFormat::bin: return subset ? QStringLiteral("c") : QStringLiteral("bin");
    case OutputFormat::hex: return QStringLiteral("hex");
  }
  return QStringLiteral("txt");
}

// Where glyph k's text starts and ends in the output box: from its header line to the next glyph's or
// the end; the bytes' lines for the hex views.
std::vector<std::pair<int, int>> glyphSpans(const QString& box, const Glyphs& glyphs, OutputFormat format) {
  std::vector<std::pair<int, int>> spans;
  if (format == OutputFormat::bin || format == OutputFormat::hex) {
    const int lineLength = static_cast<int>(box.indexOf(QLatin1Char('\n')) + 1);
    for (const Glyph& g : glyphs.glyphs) {
      spans.emplace_back(static_cast<int>(g.offset / 16) * lineLength,
                         static_cast<int>((g.offset + g.size + 15) / 16) * lineLength - 1);
    }
    return spans;
  }
  qsizetype from = 0;
  for (const Glyph& g : glyphs.glyphs) {
    const QString header = QStringLiteral("--------") + qs(g.character) + QStringLiteral("--------");
    const qsizetype at = box.indexOf(header, from);
    if (at < 0) return {};
    const qsizetype start = box.lastIndexOf(QLatin1Char('\n'), at) + 1;
    if (!spans.empty()) spans.back().second = static_cast<int>(start);
    spans.emplace_back(static_cast<int>(start), static_cast<int>(box.size()));
    from = at + header.size();
  }
  return spans;
}

}  // namespace

WorkbenchWindow::WorkbenchWindow(std::filesystem::path programDir, QWidget* parent)
    : QMainWindow(parent),
      m_ui(std::make_unique<Ui::WorkbenchWindow>()),
      m_programDir(std::move(programDir)),
      m_workbench(m_programDir),
      m_messages(this) {
  m_ui->setupUi(this);
  wheelOnlyWhenFocused(*m_ui->controlsArea);
  m_ui->outputBox->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  m_filling = true;
  fillChoices();
  fillFontBox();
  loadSettings();
  m_filling = false;
  connectControls();
  connectOutput();
  m_fontLister.setFuture(QtConcurrent::run([] { return systemFonts(); }));
  controlsChanged();
}

WorkbenchWindow::~WorkbenchWindow() {
  m_runner.waitForFinished();
  m_fontLister.waitForFinished();
}

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
  for (const int size : {8, 12, 14, 16, 20, 24, 32, 48, 64}) m_ui->sizeBox->addItem(QString::number(size));
  m_ui->encodingBox->addItem(tr("自动（UTF-8 或带 BOM 的 UTF-16）"), QString());
  for (const QString& name : qs(encodingNameList()).split(QStringLiteral(", "))) m_ui->encodingBox->addItem(name, name);
  for (const SourceEncoding encoding : kSourceEncodings) {
    const QString name = qs(sourceEncodingName(encoding));
    m_ui->saveEncodingBox->addItem(name.toUpper(), name);
  }
  m_ui->asciiFontBox->addItem(tr("与字体相同"), kSameFont);
  m_ui->asciiFontBox->addItem(tr("其他字体文件…"), kOtherFile);
}

void WorkbenchWindow::fillFontBox() {
  const bool was = m_filling;
  m_filling = true;
  m_fontEntries.clear();
  m_ui->fontBox->clear();
  std::filesystem::path folder = m_fontDir;
  if (folder.empty()) {
    for (const auto& candidate : fontFolders(m_programDir)) {
      if (!builtFonts(candidate).empty()) {
        folder = candidate;
        break;
      }
    }
  }
  for (const BuiltFont& font : builtFonts(folder)) {
    addFontEntry({FontEntry::Kind::built, font.cell, font.charset, {}, 0, builtLabel(font)}, false);
  }
  for (const SystemFont& font : m_systemFonts) {
    addFontEntry({FontEntry::Kind::system, {}, Charset::gb2312, font.file, font.face,
                  qs(font.family + " " + font.style)},
                 false);
  }
  m_ui->fontBox->addItem(tr("其他字体文件…"), kOtherFile);
  m_filling = was;
}

void WorkbenchWindow::addFontEntry(const FontEntry& entry, bool select) {
  const int index = static_cast<int>(m_fontEntries.size());
  m_fontEntries.push_back(entry);
  const int at = m_ui->fontBox->findData(kOtherFile);
  m_ui->fontBox->insertItem(at < 0 ? m_ui->fontBox->count() : at, entry.label, index);
  if (select) m_ui->fontBox->setCurrentIndex(m_ui->fontBox->findData(index));
}

void WorkbenchWindow::systemFontsListed() {
  m_systemFonts = m_fontLister.result();
  const FontEntry* current = chosenFont();
  const FontEntry kept = current ? *current : FontEntry{};
  std::vector<FontEntry> chosenFiles;
  for (const FontEntry& entry : m_fontEntries) {
    if (entry.kind == FontEntry::Kind::file) chosenFiles.push_back(entry);
  }
  m_filling = true;
  fillFontBox();
  for (const FontEntry& entry : chosenFiles) addFontEntry(entry, false);
  for (std::size_t i = 0; i < m_fontEntries.size(); ++i) {
    const FontEntry& e = m_fontEntries[i];
    if (e.kind == kept.kind && e.file == kept.file && e.face == kept.face && e.cell == kept.cell &&
        e.charset == kept.charset) {
      m_ui->fontBox->setCurrentIndex(m_ui->fontBox->findData(static_cast<int>(i)));
      break;
    }
  }
  for (const SystemFont& font : m_systemFonts) {
    m_ui->asciiFontBox->insertItem(m_ui->asciiFontBox->count() - 1, qs(font.family + " " + font.style),
                                   qs(font.file));
  }
  m_filling = false;
  statusBar()->showMessage(tr("已列出系统字体 %1 个").arg(m_systemFonts.size()), 5000);
}

const FontEntry* WorkbenchWindow::chosenFont() const {
  const int index = m_ui->fontBox->currentData().toInt();
  return index >= 0 && static_cast<std::size_t>(index) < m_fontEntries.size()
             ? &m_fontEntries[static_cast<std::size_t>(index)]
             : nullptr;
}

void WorkbenchWindow::fontChosen() {
  if (m_filling) return;
  if (m_ui->fontBox->currentData().toInt() == kOtherFile) {
    chooseFontFile(false);
    return;
  }
  showFontControls();
  controlsChanged();
}

// A built font has its own size; a font drawn from takes the size box's and a single-byte font of its own.
void WorkbenchWindow::showFontControls() {
  const FontEntry* font = chosenFont();
  const bool drawn = font && font->kind != FontEntry::Kind::built;
  m_ui->sizeBox->setEnabled(drawn);
  m_ui->asciiFontBox->setEnabled(drawn);
  m_ui->faceBox->setEnabled(drawn);
  if (font && !drawn) {
    const bool was = m_filling;
    m_filling = true;
    m_ui->sizeBox->setCurrentText(qs(font->cell.name()));
    m_filling = was;
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

void WorkbenchWindow::chooseFontFile(bool ascii) {
  const QString path = QFileDialog::getOpenFileName(
      this, tr("选择字体文件"), QString(),
      tr("字体文件 (*.ttf *.otf *.ttc *.otc *.pcf *.pcf.gz *.bdf *.bdf.gz *.hex *.hex.gz);;所有文件 (*)"));
  m_filling = true;
  if (ascii) {
    if (path.isEmpty()) {
      m_ui->asciiFontBox->setCurrentIndex(0);
    } else {
      m_ui->asciiFontBox->insertItem(m_ui->asciiFontBox->count() - 1, QFileInfo(path).fileName(), path);
      m_ui->asciiFontBox->setCurrentIndex(m_ui->asciiFontBox->count() - 2);
    }
  } else if (!path.isEmpty()) {
    addFontEntry({FontEntry::Kind::file, {}, Charset::gb2312, pathOf(path).string(), 0, QFileInfo(path).fileName()},
                 true);
  } else {
    m_ui->fontBox->setCurrentIndex(0);
  }
  m_filling = false;
  fontChosen();
}

FontChoice WorkbenchWindow::fontChoice() const {
  FontChoice choice;
  const FontEntry* font = chosenFont();
  if (!font) return choice;
  if (font->kind == FontEntry::Kind::built) {
    choice.cell = font->cell;
    choice.charset = font->charset;
    return choice;
  }
  choice.cell = CellSize::named(m_ui->sizeBox->currentText().trimmed().toStdString()).value_or(CellSize{});
  choice.file = font->file;
  choice.face = font->kind == FontEntry::Kind::file ? m_ui->faceBox->value() : font->face;
  const QVariant ascii = m_ui->asciiFontBox->currentData();
  if (ascii.typeId() == QMetaType::QString) choice.asciiFile = pathOf(ascii.toString()).string();
  return choice;
}

WorkbenchSettings WorkbenchWindow::settings() const {
  WorkbenchSettings settings;
  settings.text = windowsText(*m_ui->textBox);
  if (m_ui->inputTabs->currentWidget() == m_ui->pictureTab && m_picture) {
    DotOptions dots;
    dots.threshold = m_ui->thresholdBox->value();
    dots.dither = m_ui->ditherCheck->isChecked();
    dots.invert = m_ui->invertCheck->isChecked();
    if (m_ui->pictureHeightBox->value() > 0) dots.scale.height = m_ui->pictureHeightBox->value();
    settings.picture = PictureChoice{m_picture, dots};
  }
  settings.fontDir = m_fontDir;
  settings.font = fontChoice();
  settings.layout = {static_cast<Scan>(m_ui->scanBox->currentData().toInt()), m_ui->lsbFirstCheck->isChecked(),
                     m_ui->negativeCheck->isChecked()};
  settings.format = static_cast<OutputFormat>(m_ui->formatBox->currentData().toInt());
  settings.names.prefix = m_ui->prefixEdit->text().trimmed().toStdString();
  if (settings.names.prefix.empty()) settings.names.prefix = SourceNames{}.prefix;
  settings.names.oneTable = m_ui->tableCheck->isChecked();
  settings.source.credit = !m_ui->noCreditCheck->isChecked();
  settings.source.encoding = sourceEncodingOf(m_ui->saveEncodingBox->currentData());
  settings.subset = m_ui->subsetCheck->isChecked();
  return settings;
}

void WorkbenchWindow::connectControls() {
  const auto changed = [this] { controlsChanged(); };
  connect(m_ui->textBox, &QPlainTextEdit::textChanged, this, changed);
  connect(m_ui->inputTabs, &QTabWidget::currentChanged, this, changed);
  connect(m_ui->openTextButton, &QPushButton::clicked, this, &WorkbenchWindow::openTextFile);
  connect(m_ui->openPictureButton, &QPushButton::clicked, this, &WorkbenchWindow::openPicture);
  for (QSpinBox* box : {m_ui->thresholdBox, m_ui->pictureHeightBox, m_ui->faceBox}) {
    connect(box, &QSpinBox::valueChanged, this, changed);
  }
  for (QCheckBox* box : {m_ui->ditherCheck, m_ui->invertCheck, m_ui->lsbFirstCheck, m_ui->negativeCheck,
                         m_ui->tableCheck, m_ui->noCreditCheck, m_ui->subsetCheck}) {
    connect(box, &QCheckBox::toggled, this, changed);
  }
  connect(m_ui->fontBox, &QComboBox::currentIndexChanged, this, &WorkbenchWindow::fontChosen);
  connect(m_ui->asciiFontBox, &QComboBox::currentIndexChanged, this, [this] {
    const QVariant item = m_ui->asciiFontBox->currentData();
    if (!m_filling && item.typeId() == QMetaType::Int && item.toInt() == kOtherFile) {
      chooseFontFile(true);
    } else {
      controlsChanged();
    }
  });
  connect(m_ui->sizeBox, &QComboBox::currentTextChanged, this, changed);
  connect(m_ui->scanBox, &QComboBox::currentIndexChanged, this, changed);
  connect(m_ui->formatBox, &QComboBox::currentIndexChanged, this, [this] {
    showSourceControls();
    controlsChanged();
  });
  connect(m_ui->saveEncodingBox, &QComboBox::currentIndexChanged, this, changed);
  connect(m_ui->prefixEdit, &QLineEdit::textChanged, this, changed);
  connect(m_ui->detectButton, &QPushButton::clicked, this, &WorkbenchWindow::detectLayout);
  connect(m_ui->defaultsButton, &QPushButton::clicked, this, &WorkbenchWindow::restoreDefaults);
  connect(&m_fontLister, &QFutureWatcher<std::vector<SystemFont>>::finished, this,
          &WorkbenchWindow::systemFontsListed);
  connect(&m_runner, &QFutureWatcher<WorkbenchOutput>::finished, this, &WorkbenchWindow::runFinished);
}

void WorkbenchWindow::connectOutput() {
  connect(m_ui->copyButton, &QPushButton::clicked, this, &WorkbenchWindow::copyOutput);
  connect(m_ui->saveButton, &QPushButton::clicked, this, &WorkbenchWindow::save);
  auto* copy = new QShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C), this);
  connect(copy, &QShortcut::activated, this, &WorkbenchWindow::copyOutput);
  auto* saving = new QShortcut(QKeySequence::Save, this);
  connect(saving, &QShortcut::activated, this, &WorkbenchWindow::save);
  connect(m_ui->zoomSlider, &QSlider::valueChanged, m_ui->dotView, &DotView::setZoom);
  connect(m_ui->dotView, &DotView::hovered, m_ui->hoverLabel, &QLabel::setText);
  connect(m_ui->dotView, &DotView::glyphPicked, this, &WorkbenchWindow::pickGlyph);
  connect(m_ui->outputBox, &QPlainTextEdit::cursorPositionChanged, this, &WorkbenchWindow::cursorMoved);
  connect(m_ui->signBox, &SignBox::panelChanged, m_ui->dotView, &DotView::showPanel);
  connect(m_ui->signBox, &SignBox::simulationStopped, this,
          [this] { m_ui->dotView->setGlyphs(m_output.glyphs, m_shown.layout); });
}

void WorkbenchWindow::openTextFile() {
  const QString path = QFileDialog::getOpenFileName(this, tr("打开文本文件"), QString(),
                                                    tr("文本文件 (*.txt);;所有文件 (*)"));
  if (path.isEmpty()) return;
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    QMessageBox::warning(this, tr("打开文本文件"), tr("无法读取 %1：%2").arg(path, file.errorString()));
    return;
  }
  const QByteArray bytes = file.readAll();
  const std::string name = m_ui->encodingBox->currentData().toString().toStdString();
  const auto decoded = decodeText(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())),
                                  name.empty() ? std::nullopt : encodingNamed(name));
  if (const auto* failure = std::get_if<DecodeFailure>(&decoded)) {
    QMessageBox::warning(this, tr("打开文本文件"),
                         tr("%1 的第 %2 个字节（0x%3）在所选编码中无效；请选择文件的编码再打开。")
                             .arg(path)
                             .arg(failure->offset + 1)
                             .arg(failure->byte, 2, 16, QLatin1Char('0')));
    return;
  }
  m_ui->inputTabs->setCurrentWidget(m_ui->textTab);
  m_ui->textBox->setPlainText(QString::fromStdString(std::get<std::string>(decoded)));
}

void WorkbenchWindow::openPicture() {
  const QString path = QFileDialog::getOpenFileName(this, tr("选择图片"), QString(),
                                                    tr("图片 (*.png *.bmp *.gif *.jpg *.jpeg);;所有文件 (*)"));
  if (!path.isEmpty()) openPictureFile(path);
}

void WorkbenchWindow::openPictureFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    QMessageBox::warning(this, tr("选择图片"), tr("无法读取 %1：%2").arg(path, file.errorString()));
    return;
  }
  const QByteArray bytes = file.readAll();
  auto grey = readPicture({reinterpret_cast<const std::uint8_t*>(bytes.constData()), static_cast<std::size_t>(bytes.size())},
                          pathOf(path).string());
  if (!grey) return m_messages.show(windowWarning(grey.error()));
  m_picture = std::make_shared<const GreyPicture>(std::move(*grey));
  m_pictureName = path;
  m_ui->openPictureButton->setText(QFileInfo(path).fileName());
  m_ui->openPictureButton->setToolTip(path);
  m_ui->inputTabs->setCurrentWidget(m_ui->pictureTab);
  controlsChanged();
}

Result<std::vector<GlyphPicture>> WorkbenchWindow::ourGlyphs(const std::u16string& characters) const {
  RunFonts fonts(m_fontDir, fontChoice(), m_programDir);
  if (fonts.failure()) return *fonts.failure();
  const auto glyphs = lookUp(characters, ByteLayout{}, fonts.source());
  if (!glyphs) return glyphs.error();
  return glyphPictures(*glyphs, ByteLayout{});
}

void WorkbenchWindow::detectLayout() {
  DetectDialog dialog([this](const std::u16string& characters) { return ourGlyphs(characters); }, this);
  if (dialog.exec() != QDialog::Accepted) return;
  const ByteLayout layout = dialog.chosenLayout();
  m_filling = true;
  m_ui->scanBox->setCurrentIndex(m_ui->scanBox->findData(static_cast<int>(layout.scan)));
  m_ui->lsbFirstCheck->setChecked(layout.lsbFirst);
  m_ui->negativeCheck->setChecked(layout.negative);
  m_filling = false;
  controlsChanged();
}

Result<void> WorkbenchWindow::saveOutput(const std::filesystem::path& path) const {
  if (m_output.failure) return Failure("nothing to save: " + m_output.failure->text);
  return replaceFile(path, m_output.file);
}

void WorkbenchWindow::save() {
  const QString suffix = fileSuffix(m_shown.format, m_shown.subset);
  const QString path = QFileDialog::getSaveFileName(this, tr("保存输出"), QStringLiteral("glyphs.") + suffix,
                                                    tr("*.%1 文件 (*.%1);;所有文件 (*)").arg(suffix));
  if (path.isEmpty()) return;
  if (const auto saved = saveOutput(pathOf(path)); !saved) return m_messages.show(windowWarning(saved.error()));
  statusBar()->showMessage(tr("已保存到 %1").arg(path), 5000);
}

void WorkbenchWindow::copyOutput() const {
  if (!m_output.failure) QApplication::clipboard()->setText(qs(m_output.text));
}

void WorkbenchWindow::controlsChanged() {
  if (m_filling) return;
  const QString size = m_ui->sizeBox->currentText().trimmed();
  if (m_ui->sizeBox->isEnabled() && !CellSize::named(size.toStdString())) {
    statusBar()->showMessage(tr("字号“%1”无效：请填 8 到 64，或 宽x高，如 24x16").arg(size));
    return;
  }
  if (m_ui->inputTabs->currentWidget() == m_ui->pictureTab && !m_picture) {
    statusBar()->showMessage(tr("请先选择一张图片"));
    return;
  }
  if (m_running) {
    m_waiting = settings();
    return;
  }
  startRun(settings());
}

void WorkbenchWindow::startRun(const WorkbenchSettings& settings) {
  m_ui->signBox->setGlyphs({}, {});
  m_running = true;
  m_runner.setFuture(QtConcurrent::run([this, settings] { return m_workbench.run(settings); }));
  m_shown = settings;
}

bool WorkbenchWindow::busy() const { return m_running || m_waiting.has_value(); }

void WorkbenchWindow::runFinished() {
  m_running = false;
  showOutput(m_runner.result());
  if (m_waiting) {
    const WorkbenchSettings next = std::move(*m_waiting);
    m_waiting.reset();
    startRun(next);
  }
}

void WorkbenchWindow::showOutput(WorkbenchOutput output) {
  m_output = std::move(output);
  if (m_output.failure) {
    m_ui->outputBox->clear();
    statusBar()->showMessage(FailureWords::what(*m_output.failure));
  } else {
    const QString box = displayed(m_output.text);
    m_ui->outputBox->setPlainText(box);
    m_glyphSpans = m_shown.subset ? std::vector<std::pair<int, int>>{} : glyphSpans(box, m_output.glyphs, m_shown.format);
    statusBar()->showMessage(tr("%n 个字模，%1 字节", nullptr, static_cast<int>(m_output.glyphs.glyphs.size()))
                                 .arg(m_output.glyphs.bytes.size()));
  }
  m_ui->dotView->setGlyphs(m_output.glyphs, m_shown.layout);
  m_ui->signBox->setGlyphs(m_output.glyphs, m_shown.layout);
  m_ui->copyButton->setEnabled(!m_output.failure);
  m_ui->saveButton->setEnabled(!m_output.failure);
  showLacking();
  emit outputShown();
}

void WorkbenchWindow::showLacking() {
  const auto& lacking = m_output.lacking;
  QString named;
  for (std::size_t i = 0; i < std::min(lacking.size(), kLackingNamed); ++i) named += qs(lacking[i]) + QLatin1Char(' ');
  if (lacking.size() > kLackingNamed) named += tr("等");
  m_ui->lackingLabel->setText(lacking.empty() ? QString()
                                              : tr("字库缺少 %n 个字：%1", nullptr, static_cast<int>(lacking.size()))
                                                    .arg(named.trimmed()));
}

void WorkbenchWindow::pickGlyph(int index) {
  if (index < 0 || static_cast<std::size_t>(index) >= m_glyphSpans.size()) return;
  const auto [from, to] = m_glyphSpans[static_cast<std::size_t>(index)];
  QTextCursor cursor(m_ui->outputBox->document());
  cursor.setPosition(from);
  cursor.setPosition(to, QTextCursor::KeepAnchor);
  const QSignalBlocker quiet(m_ui->outputBox);
  m_ui->outputBox->setTextCursor(cursor);
  m_ui->outputBox->ensureCursorVisible();
}

void WorkbenchWindow::cursorMoved() {
  const int at = m_ui->outputBox->textCursor().position();
  for (std::size_t i = 0; i < m_glyphSpans.size(); ++i) {
    if (at >= m_glyphSpans[i].first && at < m_glyphSpans[i].second) {
      m_ui->dotView->setPicked(static_cast<int>(i));
      return;
    }
  }
  m_ui->dotView->setPicked(-1);
}

namespace {

// Where each control keeps its value between runs.
constexpr auto kText = "input/text";
constexpr auto kTab = "input/tab";
constexpr auto kFontKind = "font/kind";
constexpr auto kFontFile = "font/file";
constexpr auto kFontFace = "font/face";
constexpr auto kFontCell = "font/cell";
constexpr auto kFontCharset = "font/charset";
constexpr auto kSize = "font/size";
constexpr auto kScan = "layout/scan";
constexpr auto kLsbFirst = "layout/lsbFirst";
constexpr auto kNegative = "layout/negative";
constexpr auto kFormat = "output/format";
constexpr auto kPrefix = "output/prefix";
constexpr auto kTable = "output/table";
constexpr auto kNoCredit = "output/noCredit";
constexpr auto kSaveEncoding = "output/encoding";  // by sourceEncodingName
constexpr auto kSubset = "output/subset";
constexpr auto kZoom = "view/zoom";

}  // namespace

void WorkbenchWindow::loadSettings() {
  QSettings saved;
  m_ui->textBox->setPlainText(saved.value(kText).toString());
  m_ui->inputTabs->setCurrentIndex(0);
  const auto kind = static_cast<FontEntry::Kind>(saved.value(kFontKind, 0).toInt());
  if (kind == FontEntry::Kind::built) {
    const CellSize cell = CellSize::named(saved.value(kFontCell, QStringLiteral("16")).toString().toStdString())
                              .value_or(CellSize{});
    const Charset charset = saved.value(kFontCharset, 0).toInt() == 1 ? Charset::gbk : Charset::gb2312;
    for (std::size_t i = 0; i < m_fontEntries.size(); ++i) {
      if (m_fontEntries[i].cell == cell && m_fontEntries[i].charset == charset) {
        m_ui->fontBox->setCurrentIndex(m_ui->fontBox->findData(static_cast<int>(i)));
      }
    }
  } else if (const QString file = saved.value(kFontFile).toString(); !file.isEmpty()) {
    addFontEntry({FontEntry::Kind::file, {}, Charset::gb2312, pathOf(file).string(), saved.value(kFontFace, 0).toInt(),
                  QFileInfo(file).fileName()},
                 true);
  }
  m_ui->sizeBox->setCurrentText(saved.value(kSize, QStringLiteral("16")).toString());
  m_ui->scanBox->setCurrentIndex(saved.value(kScan, 0).toInt());
  m_ui->lsbFirstCheck->setChecked(saved.value(kLsbFirst, false).toBool());
  m_ui->negativeCheck->setChecked(saved.value(kNegative, false).toBool());
  m_ui->formatBox->setCurrentIndex(saved.value(kFormat, 0).toInt());
  m_ui->prefixEdit->setText(saved.value(kPrefix, QStringLiteral("ZI")).toString());
  m_ui->tableCheck->setChecked(saved.value(kTable, false).toBool());
  m_ui->noCreditCheck->setChecked(saved.value(kNoCredit, false).toBool());
  showSaveEncoding(sourceEncodingOf(saved.value(kSaveEncoding)));
  m_ui->subsetCheck->setChecked(saved.value(kSubset, false).toBool());
  m_ui->zoomSlider->setValue(saved.value(kZoom, kFirstZoom).toInt());
  m_ui->dotView->setZoom(m_ui->zoomSlider->value());
  m_ui->signBox->loadSettings(saved);
  showFontControls();
  showSourceControls();
}

void WorkbenchWindow::saveSettings() const {
  QSettings saved;
  saved.setValue(kText, m_ui->textBox->toPlainText());
  saved.setValue(kTab, m_ui->inputTabs->currentIndex());
  if (const FontEntry* font = chosenFont()) {
    saved.setValue(kFontKind, font->kind == FontEntry::Kind::built ? 0 : 2);
    saved.setValue(kFontFile, qs(font->file));
    saved.setValue(kFontFace, m_ui->faceBox->value());
    saved.setValue(kFontCell, qs(font->cell.name()));
    saved.setValue(kFontCharset, font->charset == Charset::gbk ? 1 : 0);
  }
  saved.setValue(kSize, m_ui->sizeBox->currentText());
  saved.setValue(kScan, m_ui->scanBox->currentIndex());
  saved.setValue(kLsbFirst, m_ui->lsbFirstCheck->isChecked());
  saved.setValue(kNegative, m_ui->negativeCheck->isChecked());
  saved.setValue(kFormat, m_ui->formatBox->currentIndex());
  saved.setValue(kPrefix, m_ui->prefixEdit->text());
  saved.setValue(kTable, m_ui->tableCheck->isChecked());
  saved.setValue(kNoCredit, m_ui->noCreditCheck->isChecked());
  saved.setValue(kSaveEncoding, m_ui->saveEncodingBox->currentData());
  saved.setValue(kSubset, m_ui->subsetCheck->isChecked());
  saved.setValue(kZoom, m_ui->zoomSlider->value());
  m_ui->signBox->saveSettings(saved);
}

// Every control back as a first start has it; the text and the picture stay, they are the user's work.
void WorkbenchWindow::restoreDefaults() {
  {
    QSettings saved;
    saved.clear();
  }
  WorkbenchSettings defaults;
  defaults.text = windowsText(*m_ui->textBox);
  showSettings(defaults, SendBoxes{});
}

void WorkbenchWindow::closeEvent(QCloseEvent* event) {
  saveSettings();
  event->accept();
}

void WorkbenchWindow::apply(const WorkbenchStart& start) {
  if (start.commandLine) showSettings(start.settings, start.sign);
  if (!start.pictureFile.empty()) openPictureFile(qs(start.pictureFile));
}

// Every control the settings hold, none kept from before, and the view at its first zoom.
void WorkbenchWindow::showSettings(const WorkbenchSettings& shown, const SendBoxes& sign) {
  m_filling = true;
  m_ui->textBox->setPlainText(qs(shown.text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
  m_ui->inputTabs->setCurrentWidget(m_ui->textTab);
  m_ui->scanBox->setCurrentIndex(m_ui->scanBox->findData(static_cast<int>(shown.layout.scan)));
  m_ui->lsbFirstCheck->setChecked(shown.layout.lsbFirst);
  m_ui->negativeCheck->setChecked(shown.layout.negative);
  m_ui->formatBox->setCurrentIndex(m_ui->formatBox->findData(static_cast<int>(shown.format)));
  m_ui->prefixEdit->setText(qs(shown.names.prefix));
  m_ui->tableCheck->setChecked(shown.names.oneTable);
  m_ui->noCreditCheck->setChecked(!shown.source.credit);
  showSaveEncoding(shown.source.encoding);
  m_ui->subsetCheck->setChecked(shown.subset);
  applyFont(shown);
  m_ui->signBox->showBoxes(sign);
  m_ui->zoomSlider->setValue(kFirstZoom);
  m_filling = false;
  fontChosen();
}

void WorkbenchWindow::showSaveEncoding(SourceEncoding encoding) {
  m_ui->saveEncodingBox->setCurrentIndex(m_ui->saveEncodingBox->findData(qs(sourceEncodingName(encoding))));
}

// The font the command line names: a file drawn at its size, or the built font files of a size and grid
// (offered even when not built, so the run says which file is missing).
void WorkbenchWindow::applyFont(const WorkbenchSettings& asked) {
  m_fontDir = asked.fontDir;
  fillFontBox();
  const FontChoice& font = asked.font;
  m_ui->faceBox->setValue(font.face);
  m_ui->sizeBox->setCurrentText(qs(font.cell.name()));
  m_ui->asciiFontBox->setCurrentIndex(m_ui->asciiFontBox->findData(kSameFont));
  if (font.rendered()) {
    addFontEntry({FontEntry::Kind::file, {}, Charset::gb2312, font.file, font.face,
                  QFileInfo(qs(font.file)).fileName()},
                 true);
    if (!font.asciiFile.empty()) {
      m_ui->asciiFontBox->insertItem(m_ui->asciiFontBox->count() - 1, QFileInfo(qs(font.asciiFile)).fileName(),
                                     qs(font.asciiFile));
      m_ui->asciiFontBox->setCurrentIndex(m_ui->asciiFontBox->count() - 2);
    }
    return;
  }
  for (std::size_t i = 0; i < m_fontEntries.size(); ++i) {
    if (m_fontEntries[i].kind == FontEntry::Kind::built && m_fontEntries[i].cell == font.cell &&
        m_fontEntries[i].charset == font.charset) {
      m_ui->fontBox->setCurrentIndex(m_ui->fontBox->findData(static_cast<int>(i)));
      return;
    }
  }
  FontEntry missing{FontEntry::Kind::built, font.cell, font.charset, {}, 0, {}};
  missing.label = builtLabel({font.cell, font.charset}) + tr("（未构建）");
  addFontEntry(missing, true);
}

}  // namespace lumadot
