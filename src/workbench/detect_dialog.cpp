#include "workbench/detect_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>
#include <utility>

#include "extract/detect_verdict.h"
#include "extract/firmware_bytes.h"
#include "extract/glyphs.h"
#include "extract/layout_detector.h"
#include "workbench/dot_view.h"
#include "workbench/scan_pictures.h"

namespace lumadot {
namespace {

// What the bytes told: the words to show, and the layout when it can be applied.
struct Verdict {
  QString words;
  std::optional<ByteLayout> layout;
  std::optional<Detection> detection;  // shown as a picture even when the race is close
};

QString fromUtf8(const std::string& text) { return QString::fromStdString(text); }

QString countWords(const ByteVerdict& verdict) {
  return DetectDialog::tr("有%1个字节，但这些字符的字形在横向扫描中占%2个字节，在纵向扫描中占%3个字节")
      .arg(verdict.given)
      .arg(verdict.wanted.rowScans)
      .arg(verdict.wanted.columnScans);
}

QString foundWords(const Detection& found) {
  QString words = DetectDialog::tr("字节的排列：%1\n偏差%2（0为逐点相同）；次佳：%3，偏差%4")
                      .arg(layoutWords(found.best.layout))
                      .arg(found.best.misfit)
                      .arg(layoutWords(found.runnerUp.layout))
                      .arg(found.runnerUp.misfit);
  if (found.fewDots) words += DetectDialog::tr("\n字形的点很少，结果未必可靠；最好给出笔画多一些的汉字的字节");
  for (const ByteLayout& alike : found.best.alike) {
    words += DetectDialog::tr("\n%1画出同样的图形：给出不对称的汉字的字节可以区分").arg(layoutWords(alike));
  }
  return words;
}

QString closeRaceWords(const Detection& found) {
  return DetectDialog::tr("%1与%2几乎一样吻合（偏差%3和%4），无法判断；请给出更多字符的字节%5")
      .arg(layoutWords(found.best.layout), layoutWords(found.runnerUp.layout))
      .arg(found.best.misfit)
      .arg(found.runnerUp.misfit)
      .arg(found.fewDots ? DetectDialog::tr("，笔画多一些的字") : QString());
}

QString symbolWords(const std::u16string& character) {
  return DetectDialog::tr("“%1”不是汉字：符号的字形因字库而异，无法据此判断排列；请给出汉字（如“国”）的字节")
      .arg(QString::fromStdU16String(character));
}

Verdict judge(const std::u16string& characters, const std::vector<std::uint8_t>& bytes,
              const std::vector<GlyphPicture>& ours) {
  ByteVerdict verdict = judgeBytes(bytes, ours);
  switch (verdict.kind) {
    case ByteVerdict::Kind::symbol: return {symbolWords(verdict.character), std::nullopt, std::nullopt};
    case ByteVerdict::Kind::blank:
      return {DetectDialog::tr("我们的“%1”字形是空白的，没有可以与字节比较的")
                  .arg(QString::fromStdU16String(characters)),
              std::nullopt, std::nullopt};
    case ByteVerdict::Kind::wrongCount: return {countWords(verdict), std::nullopt, std::nullopt};
    case ByteVerdict::Kind::unjudgeable:
      return {DetectDialog::tr("这些字节无法判断排列：%1").arg(fromUtf8(verdict.reason)), std::nullopt, std::nullopt};
    case ByteVerdict::Kind::closeRace: return {closeRaceWords(*verdict.detection), std::nullopt, std::move(verdict.detection)};
    case ByteVerdict::Kind::found: break;
  }
  const ByteLayout found = verdict.detection->best.layout;
  return {foundWords(*verdict.detection), found, std::move(verdict.detection)};
}

}  // namespace

DetectDialog::DetectDialog(OurGlyphs ourGlyphs, QWidget* parent)
    : QDialog(parent),
      m_ourGlyphs(std::move(ourGlyphs)),
      m_bytes(new QPlainTextEdit(this)),
      m_characters(new QLineEdit(this)),
      m_verdict(new QLabel(this)),
      m_picture(new DotView),
      m_apply(new QPushButton(tr("应用"), this)) {
  setWindowTitle(tr("从固件字节识别"));
  m_bytes->setObjectName("bytes");
  m_bytes->setPlaceholderText(tr("粘贴固件源码里这些字符的字形字节，如 DB 01H,0F8H 或 {0x01, 0xF8}"));
  m_characters->setObjectName("characters");
  m_characters->setPlaceholderText(tr("这些字节所画的字符，按字形的顺序"));
  m_verdict->setObjectName("verdict");
  m_verdict->setWordWrap(true);
  m_picture->setObjectName("picture");
  m_apply->setObjectName("apply");
  auto* scroll = new QScrollArea(this);
  scroll->setWidget(m_picture);
  scroll->setMinimumHeight(16 * m_picture->zoom() + 24);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Cancel)->setText(tr("取消"));
  buttons->addButton(m_apply, QDialogButtonBox::AcceptRole);
  auto* form = new QFormLayout;
  form->addRow(tr("字节(&B)："), m_bytes);
  form->addRow(tr("字符(&C)："), m_characters);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(m_verdict);
  layout->addWidget(scroll);
  layout->addWidget(buttons);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(m_bytes, &QPlainTextEdit::textChanged, this, &DetectDialog::detect);
  connect(m_characters, &QLineEdit::textChanged, this, &DetectDialog::detect);
  detect();
}

void DetectDialog::detect() {
  const std::u16string characters = m_characters->text().toStdU16String();
  const auto bytes = readFirmwareBytes(m_bytes->toPlainText().toStdString());
  std::optional<Result<std::vector<GlyphPicture>>> ours;
  if (!characters.empty()) ours = m_ourGlyphs(characters);
  Verdict verdict;
  if (!ours) {
    verdict.words = tr("请输入这些字节所画的字符");
  } else if (const auto symbol = judgeCharacters(characters)) {
    verdict.words = symbolWords(symbol->character);
  } else if (!bytes) {
    verdict.words = tr("无法读取字节：%1").arg(fromUtf8(bytes.error().text));
  } else if (bytes->empty()) {
    verdict.words = tr("请粘贴这些字符的字节");
  } else if (!*ours) {
    verdict.words = fromUtf8(ours->error().text);
  } else {
    verdict = judge(characters, *bytes, **ours);
  }
  m_found = verdict.layout;
  m_verdict->setText(verdict.words);
  m_apply->setEnabled(m_found.has_value());
  const ByteLayout shown = verdict.detection ? verdict.detection->best.layout : ByteLayout{};
  m_picture->setGlyphs(verdict.detection ? givenGlyphs(characters, **ours, *bytes, shown) : Glyphs{}, shown);
}

}  // namespace lumadot
