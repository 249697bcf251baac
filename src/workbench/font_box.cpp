#include "workbench/font_box.h"

#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QSpinBox>
#include <QtConcurrent/QtConcurrentRun>
#include <algorithm>

#include "extract/font_location.h"
#include "workbench/qt_strings.h"
#include "workbench/saved_controls.h"

namespace lumadot {
namespace {

constexpr int kOtherFile = -1;  // the font box's last item: choose a file
constexpr int kSameFont = -2;   // the single-byte font box's first item


QString builtLabel(const BuiltFont& font) {
  return QObject::tr("Lumadot 点阵字库 %1（%2）")
      .arg(qs(font.cell.name()), font.charset == Charset::gbk ? QStringLiteral("GBK") : QStringLiteral("GB2312"));
}

QLabel* label(const QString& text, const char* name) {
  auto* label = new QLabel(text);
  label->setObjectName(QString::fromLatin1(name));
  return label;
}

}  // namespace

FontBox::FontBox(QWidget* parent)
    : QWidget(parent),
      m_fontBox(new QComboBox),
      m_asciiFontBox(new QComboBox),
      m_sizeBox(new QComboBox),
      m_faceBox(new QSpinBox) {
  m_fontBox->setObjectName(QStringLiteral("fontBox"));
  m_asciiFontBox->setObjectName(QStringLiteral("asciiFontBox"));
  m_sizeBox->setObjectName(QStringLiteral("sizeBox"));
  m_sizeBox->setEditable(true);
  m_faceBox->setObjectName(QStringLiteral("faceBox"));
  m_faceBox->setMaximum(999);
  auto* layout = new QGridLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(label(tr("字体："), "fontLabel"), 0, 0);
  layout->addWidget(m_fontBox, 0, 1);
  layout->addWidget(label(tr("半角字体："), "asciiFontLabel"), 1, 0);
  layout->addWidget(m_asciiFontBox, 1, 1);
  layout->addWidget(label(tr("字号："), "sizeLabel"), 2, 0);
  layout->addWidget(m_sizeBox, 2, 1);
  layout->addWidget(label(tr("字体序号："), "faceLabel"), 4, 0);
  layout->addWidget(m_faceBox, 4, 1);

  for (const int size : {8, 12, 14, 16, 20, 24, 32, 48, 64}) m_sizeBox->addItem(QString::number(size));
  m_asciiFontBox->addItem(tr("与字体相同"), kSameFont);
  m_asciiFontBox->addItem(tr("其他字体文件…"), kOtherFile);

  connect(m_faceBox, &QSpinBox::valueChanged, this, &FontBox::changedByUser);
  connect(m_sizeBox, &QComboBox::currentTextChanged, this, &FontBox::changedByUser);
  connect(m_fontBox, &QComboBox::currentIndexChanged, this, [this] {
    if (!m_filling) fontChosen();
  });
  connect(m_asciiFontBox, &QComboBox::currentIndexChanged, this, [this] {
    const QVariant item = m_asciiFontBox->currentData();
    if (!m_filling && item.typeId() == QMetaType::Int && item.toInt() == kOtherFile) {
      chooseFontFile(true);
    } else {
      changedByUser();
    }
  });
  connect(&m_lister, &QFutureWatcher<std::vector<SystemFont>>::finished, this, &FontBox::listed);
}

FontBox::~FontBox() { m_lister.waitForFinished(); }

void FontBox::start(std::filesystem::path programDir) {
  m_programDir = std::move(programDir);
  m_filling = true;
  fillFontBox();
  m_filling = false;
  m_lister.setFuture(QtConcurrent::run([] { return systemFonts(); }));
}

void FontBox::changedByUser() {
  if (!m_filling) emit changed();
}

void FontBox::fillFontBox() {
  m_fontEntries.clear();
  m_fontBox->clear();
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
  m_fontBox->addItem(tr("其他字体文件…"), kOtherFile);
}

void FontBox::addFontEntry(const FontEntry& entry, bool select) {
  const int index = static_cast<int>(m_fontEntries.size());
  m_fontEntries.push_back(entry);
  const int at = m_fontBox->findData(kOtherFile);
  m_fontBox->insertItem(at < 0 ? m_fontBox->count() : at, entry.label, index);
  if (select) m_fontBox->setCurrentIndex(m_fontBox->findData(index));
}

void FontBox::listed() {
  m_systemFonts = m_lister.result();
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
      m_fontBox->setCurrentIndex(m_fontBox->findData(static_cast<int>(i)));
      break;
    }
  }
  for (const SystemFont& font : m_systemFonts) {
    m_asciiFontBox->insertItem(m_asciiFontBox->count() - 1, qs(font.family + " " + font.style), qs(font.file));
  }
  m_filling = false;
  emit systemFontsListed(static_cast<int>(m_systemFonts.size()));
}

const FontEntry* FontBox::chosenFont() const {
  const int index = m_fontBox->currentData().toInt();
  return index >= 0 && static_cast<std::size_t>(index) < m_fontEntries.size()
             ? &m_fontEntries[static_cast<std::size_t>(index)]
             : nullptr;
}

void FontBox::fontChosen() {
  if (m_fontBox->currentData().toInt() == kOtherFile) {
    chooseFontFile(false);
    return;
  }
  showFontControls();
  emit changed();
}

// A built font has its own size; a font drawn from takes the size box's and a single-byte font of its own.
void FontBox::showFontControls() {
  const FontEntry* font = chosenFont();
  const bool drawn = font && font->kind != FontEntry::Kind::built;
  m_sizeBox->setEnabled(drawn);
  m_asciiFontBox->setEnabled(drawn);
  m_faceBox->setEnabled(drawn);
  if (font && !drawn) {
    const bool was = m_filling;
    m_filling = true;
    m_sizeBox->setCurrentText(qs(font->cell.name()));
    m_filling = was;
  }
}

void FontBox::chooseFontFile(bool ascii) {
  const QString path = QFileDialog::getOpenFileName(
      this, tr("选择字体文件"), QString(),
      tr("字体文件 (*.ttf *.otf *.ttc *.otc *.pcf *.pcf.gz *.bdf *.bdf.gz *.hex *.hex.gz);;所有文件 (*)"));
  m_filling = true;
  if (ascii) {
    if (path.isEmpty()) {
      m_asciiFontBox->setCurrentIndex(0);
    } else {
      m_asciiFontBox->insertItem(m_asciiFontBox->count() - 1, QFileInfo(path).fileName(), path);
      m_asciiFontBox->setCurrentIndex(m_asciiFontBox->count() - 2);
    }
  } else if (!path.isEmpty()) {
    addFontEntry({FontEntry::Kind::file, {}, Charset::gb2312, pathOf(path).string(), 0, QFileInfo(path).fileName()},
                 true);
  } else {
    m_fontBox->setCurrentIndex(0);
  }
  m_filling = false;
  fontChosen();
}

FontChoice FontBox::choice() const {
  FontChoice choice;
  const FontEntry* font = chosenFont();
  if (!font) return choice;
  if (font->kind == FontEntry::Kind::built) {
    choice.cell = font->cell;
    choice.charset = font->charset;
    return choice;
  }
  choice.cell = CellSize::named(m_sizeBox->currentText().trimmed().toStdString()).value_or(CellSize{});
  choice.file = font->file;
  choice.face = font->kind == FontEntry::Kind::file ? m_faceBox->value() : font->face;
  const QVariant ascii = m_asciiFontBox->currentData();
  if (ascii.typeId() == QMetaType::QString) choice.asciiFile = pathOf(ascii.toString()).string();
  return choice;
}

QString FontBox::sizeText() const { return m_sizeBox->currentText(); }

std::optional<QString> FontBox::badSize() const {
  const QString size = m_sizeBox->currentText().trimmed();
  if (m_sizeBox->isEnabled() && !CellSize::named(size.toStdString())) return size;
  return std::nullopt;
}

void FontBox::showChoice(const std::string& fontDir, const FontChoice& font) {
  m_filling = true;
  m_fontDir = fontDir;
  fillFontBox();
  m_faceBox->setValue(font.face);
  m_sizeBox->setCurrentText(qs(font.cell.name()));
  m_asciiFontBox->setCurrentIndex(m_asciiFontBox->findData(kSameFont));
  if (font.rendered()) {
    addFontEntry({FontEntry::Kind::file, {}, Charset::gb2312, font.file, font.face, QFileInfo(qs(font.file)).fileName()},
                 true);
    if (!font.asciiFile.empty()) {
      m_asciiFontBox->insertItem(m_asciiFontBox->count() - 1, QFileInfo(qs(font.asciiFile)).fileName(),
                                 qs(font.asciiFile));
      m_asciiFontBox->setCurrentIndex(m_asciiFontBox->count() - 2);
    }
    m_filling = false;
    return;
  }
  const auto built = std::find_if(m_fontEntries.begin(), m_fontEntries.end(), [&font](const FontEntry& e) {
    return e.kind == FontEntry::Kind::built && e.cell == font.cell && e.charset == font.charset;
  });
  if (built != m_fontEntries.end()) {
    m_fontBox->setCurrentIndex(m_fontBox->findData(static_cast<int>(built - m_fontEntries.begin())));
  } else {
    FontEntry missing{FontEntry::Kind::built, font.cell, font.charset, {}, 0, {}};
    missing.label = builtLabel({font.cell, font.charset}) + tr("（未构建）");
    addFontEntry(missing, true);
  }
  m_filling = false;
}

// A system font comes back as its file: the system's fonts are listed only after the saved ones are shown.
std::optional<SavedFont> FontBox::saved() const {
  const FontEntry* font = chosenFont();
  if (!font) return std::nullopt;
  if (font->kind == FontEntry::Kind::built) return SavedFont{false, font->cell, font->charset, {}, 0};
  return SavedFont{true, {}, Charset::gb2312, qs(font->file), choice().face};
}

void FontBox::showSaved(const SavedFont& font, const QString& size) {
  m_filling = true;
  if (!font.drawn) {
    for (std::size_t i = 0; i < m_fontEntries.size(); ++i) {
      const FontEntry& e = m_fontEntries[i];
      if (e.kind == FontEntry::Kind::built && e.cell == font.cell && e.charset == font.charset) {
        m_fontBox->setCurrentIndex(m_fontBox->findData(static_cast<int>(i)));
      }
    }
  } else if (!font.file.isEmpty()) {
    addFontEntry({FontEntry::Kind::file, {}, Charset::gb2312, pathOf(font.file).string(), font.face,
                  QFileInfo(font.file).fileName()},
                 true);
    m_faceBox->setValue(font.face);
  }
  m_sizeBox->setCurrentText(size);
  m_filling = false;
  showFontControls();
}

}  // namespace lumadot
