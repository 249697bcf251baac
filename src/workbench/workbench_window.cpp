#include "workbench/workbench_window.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QKeySequence>
#include <QSettings>
#include <QShortcut>

#include "base/file_writer.h"
#include "extract/glyph_entries.h"
#include "extract/text_codec.h"
#include "extract/text_encoding.h"
#include "ui_workbench_window.h"
#include "widgets/failure_words.h"
#include "widgets/typed_text.h"
#include "workbench/detect_dialog.h"
#include "workbench/dot_view.h"
#include "workbench/font_box.h"
#include "workbench/input_files.h"
#include "workbench/latest_run.h"
#include "workbench/output_box.h"
#include "workbench/qt_strings.h"
#include "workbench/saved_controls.h"
#include "workbench/scan_pictures.h"
#include "workbench/sign_box.h"
#include "workbench/wheel_focus.h"

namespace lumadot {
namespace {

constexpr std::size_t kLackingNamed = 20;


}  // namespace

struct WorkbenchWindow::Runs : LatestRun<WorkbenchSettings, WorkbenchOutput> {
  using LatestRun::LatestRun;
};

WorkbenchWindow::WorkbenchWindow(std::filesystem::path programDir, QWidget* parent)
    : QMainWindow(parent),
      m_ui(std::make_unique<Ui::WorkbenchWindow>()),
      m_programDir(std::move(programDir)),
      m_workbench(m_programDir),
      m_messages(this) {
  m_ui->setupUi(this);
  wheelOnlyWhenFocused(*m_ui->controlsArea);
  m_ui->outputBox->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  m_runs = std::make_unique<Runs>(
      [this](const WorkbenchSettings& settings) { return m_workbench.run(settings); },
      [this](const WorkbenchSettings& settings) {
        m_ui->signBox->setGlyphs({}, {});
        m_shown = settings;
      },
      [this](WorkbenchOutput output) { showOutput(std::move(output)); });
  m_filling = true;
  fillChoices();
  m_ui->fontControls->start(m_programDir);
  QSettings kept;
  showSaved(SavedControls::load(kept));
  m_ui->signBox->loadSettings(kept);
  m_filling = false;
  connectControls();
  connectOutput();
  controlsChanged();
}

WorkbenchWindow::~WorkbenchWindow() = default;

void WorkbenchWindow::connectControls() {
  const auto changed = [this] { controlsChanged(); };
  connect(m_ui->textBox, &QPlainTextEdit::textChanged, this, changed);
  connect(m_ui->inputTabs, &QTabWidget::currentChanged, this, changed);
  connect(m_ui->openTextButton, &QPushButton::clicked, this, &WorkbenchWindow::openTextFile);
  connect(m_ui->openPictureButton, &QPushButton::clicked, this, [this] {
    if (const QString path = InputFiles::choosePicture(this); !path.isEmpty()) openPictureFile(path);
  });
  for (QSpinBox* box : {m_ui->thresholdBox, m_ui->pictureHeightBox}) connect(box, &QSpinBox::valueChanged, this, changed);
  for (QCheckBox* box : {m_ui->ditherCheck, m_ui->invertCheck, m_ui->lsbFirstCheck, m_ui->negativeCheck,
                         m_ui->tableCheck, m_ui->noCreditCheck, m_ui->subsetCheck}) {
    connect(box, &QCheckBox::toggled, this, changed);
  }
  connect(m_ui->fontControls, &FontBox::changed, this, changed);
  connect(m_ui->fontControls, &FontBox::systemFontsListed, this,
          [this](int count) { statusBar()->showMessage(tr("已列出系统字体 %1 个").arg(count), 5000); });
  connect(m_ui->scanBox, &QComboBox::currentIndexChanged, this, changed);
  connect(m_ui->formatBox, &QComboBox::currentIndexChanged, this, [this] {
    showSourceControls();
    controlsChanged();
  });
  connect(m_ui->saveEncodingBox, &QComboBox::currentIndexChanged, this, changed);
  connect(m_ui->prefixEdit, &QLineEdit::textChanged, this, changed);
  connect(m_ui->detectButton, &QPushButton::clicked, this, &WorkbenchWindow::detectLayout);
  connect(m_ui->defaultsButton, &QPushButton::clicked, this, &WorkbenchWindow::restoreDefaults);
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
  connect(m_ui->dotView, &DotView::glyphPicked, m_ui->outputBox, &OutputBox::pickGlyph);
  connect(m_ui->outputBox, &OutputBox::cursorOnGlyph, m_ui->dotView, &DotView::setPicked);
  connect(m_ui->signBox, &SignBox::panelChanged, m_ui->dotView, &DotView::showPanel);
  connect(m_ui->signBox, &SignBox::simulationStopped, this,
          [this] { m_ui->dotView->setGlyphs(m_output.glyphs, m_shown.layout); });
}

void WorkbenchWindow::openTextFile() {
  const auto text = InputFiles::chooseText(this, m_ui->encodingBox->currentData().toString().toStdString());
  if (!text) return;
  m_ui->inputTabs->setCurrentWidget(m_ui->textTab);
  m_ui->textBox->setPlainText(*text);
}

void WorkbenchWindow::openPictureFile(const QString& path) {
  auto grey = InputFiles::readPictureFile(this, path, m_messages);
  if (!grey) return;
  m_picture = std::make_shared<const GreyPicture>(std::move(*grey));
  m_ui->openPictureButton->setText(QFileInfo(path).fileName());
  m_ui->openPictureButton->setToolTip(path);
  m_ui->inputTabs->setCurrentWidget(m_ui->pictureTab);
  controlsChanged();
}

Result<std::vector<GlyphPicture>> WorkbenchWindow::ourGlyphs(const std::u16string& characters) const {
  RunFonts fonts(m_ui->fontControls->fontDir(), m_ui->fontControls->choice(), m_programDir);
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
  return replaceFile(path, m_output.shown.file);
}

void WorkbenchWindow::save() {
  const QString path = m_ui->outputBox->askSavePath();
  if (path.isEmpty()) return;
  if (const auto saved = saveOutput(pathOf(path)); !saved) return m_messages.show(windowWarning(saved.error()));
  statusBar()->showMessage(tr("已保存到 %1").arg(path), 5000);
}

void WorkbenchWindow::copyOutput() const {
  if (!m_output.failure) QApplication::clipboard()->setText(qs(m_output.shown.text));
}

void WorkbenchWindow::controlsChanged() {
  if (m_filling) return;
  if (const auto size = m_ui->fontControls->badSize()) {
    statusBar()->showMessage(tr("字号“%1”无效：请填 8 到 64，或 宽x高，如 24x16").arg(*size));
    return;
  }
  if (m_ui->inputTabs->currentWidget() == m_ui->pictureTab && !m_picture) {
    statusBar()->showMessage(tr("请先选择一张图片"));
    return;
  }
  m_runs->ask(settings());
}

bool WorkbenchWindow::busy() const { return m_runs->busy(); }

void WorkbenchWindow::showOutput(WorkbenchOutput output) {
  m_output = std::move(output);
  m_ui->outputBox->showOutput(m_output, m_shown);
  if (m_output.failure) {
    statusBar()->showMessage(FailureWords::what(*m_output.failure));
  } else {
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

// Every control back as a first start has it; the text and the picture stay, they are the user's work.
void WorkbenchWindow::restoreDefaults() {
  {
    QSettings saved;
    saved.clear();
  }
  WorkbenchSettings defaults;
  defaults.text = typedText(*m_ui->textBox);
  showSettings(defaults, SendBoxes{});
}

void WorkbenchWindow::closeEvent(QCloseEvent* event) {
  QSettings kept;
  saved().save(kept);
  m_ui->signBox->saveSettings(kept);
  event->accept();
}

void WorkbenchWindow::apply(const WorkbenchStart& start) {
  if (start.commandLine) showSettings(start.settings, start.sign);
  if (!start.pictureFile.empty()) openPictureFile(qs(start.pictureFile));
}

}  // namespace lumadot
