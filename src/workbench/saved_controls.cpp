#include "workbench/saved_controls.h"

#include <QSettings>

#include "workbench/qt_strings.h"

namespace lumadot {
namespace {

constexpr auto kText = "input/text";
constexpr auto kFontKind = "font/kind";  // "built" or "drawn"
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
constexpr auto kSaveEncoding = "output/encoding";
constexpr auto kSubset = "output/subset";
constexpr auto kZoom = "view/zoom";
// Written by earlier versions and never read: the picture is not kept, so neither is its tab.
constexpr auto kOldTab = "input/tab";

constexpr auto kBuilt = "built";
constexpr auto kDrawn = "drawn";


std::optional<OutputFormat> formatNamed(const QString& name) {
  for (int i = 0; i <= static_cast<int>(OutputFormat::hex); ++i) {
    if (qs(formatName(static_cast<OutputFormat>(i))) == name) return static_cast<OutputFormat>(i);
  }
  return std::nullopt;
}

// A value an earlier version kept as the item's place in its box, or the font's kind and grid as numbers.
std::optional<int> oldPlace(const QSettings& settings, const char* key, int places) {
  bool number = false;
  const int place = settings.value(key).toString().toInt(&number);
  return number && place >= 0 && place < places ? std::optional<int>(place) : std::nullopt;
}

// The scan box listed kScans in order; the format box the formats in OutputFormat's order; the font's kind
// was 0 for the built font files and 2 for a file, its grid 0 for GB2312 and 1 for GBK.
void migrate(QSettings& settings) {
  if (const auto place = oldPlace(settings, kScan, static_cast<int>(kScans.size()))) {
    settings.setValue(kScan, qs(scanName(kScans[static_cast<std::size_t>(*place)])));
  }
  if (const auto place = oldPlace(settings, kFormat, static_cast<int>(OutputFormat::hex) + 1)) {
    settings.setValue(kFormat, qs(formatName(static_cast<OutputFormat>(*place))));
  }
  if (const auto kind = oldPlace(settings, kFontKind, 3)) settings.setValue(kFontKind, *kind == 0 ? kBuilt : kDrawn);
  if (const auto grid = oldPlace(settings, kFontCharset, 2)) {
    settings.setValue(kFontCharset, qs(charsetName(*grid == 1 ? Charset::gbk : Charset::gb2312)));
  }
  settings.remove(kOldTab);
}

std::string named(const QSettings& settings, const char* key) { return settings.value(key).toString().toStdString(); }

}  // namespace

SavedControls SavedControls::load(QSettings& settings) {
  migrate(settings);
  const SavedControls first;
  SavedControls saved;
  saved.text = settings.value(kText).toString();
  SavedFont font;
  font.drawn = settings.value(kFontKind).toString() == QLatin1String(kDrawn);
  font.cell = CellSize::named(named(settings, kFontCell)).value_or(CellSize{});
  font.charset = charsetNamed(named(settings, kFontCharset)).value_or(Charset::gb2312);
  font.file = settings.value(kFontFile).toString();
  font.face = settings.value(kFontFace, 0).toInt();
  saved.font = font;
  saved.size = settings.value(kSize, first.size).toString();
  saved.layout.scan = scanNamed(named(settings, kScan)).value_or(Scan::rows);
  saved.layout.lsbFirst = settings.value(kLsbFirst, false).toBool();
  saved.layout.negative = settings.value(kNegative, false).toBool();
  saved.format = formatNamed(settings.value(kFormat).toString()).value_or(OutputFormat::listing);
  saved.prefix = settings.value(kPrefix, first.prefix).toString();
  saved.oneTable = settings.value(kTable, false).toBool();
  saved.noCredit = settings.value(kNoCredit, false).toBool();
  saved.encoding = sourceEncodingNamed(named(settings, kSaveEncoding)).value_or(SourceEncoding::utf8);
  saved.subset = settings.value(kSubset, false).toBool();
  saved.zoom = settings.value(kZoom, first.zoom).toInt();
  return saved;
}

void SavedControls::save(QSettings& settings) const {
  settings.setValue(kText, text);
  if (font) {
    settings.setValue(kFontKind, font->drawn ? kDrawn : kBuilt);
    settings.setValue(kFontFile, font->file);
    settings.setValue(kFontFace, font->face);
    settings.setValue(kFontCell, qs(font->cell.name()));
    settings.setValue(kFontCharset, qs(charsetName(font->charset)));
  }
  settings.setValue(kSize, size);
  settings.setValue(kScan, qs(scanName(layout.scan)));
  settings.setValue(kLsbFirst, layout.lsbFirst);
  settings.setValue(kNegative, layout.negative);
  settings.setValue(kFormat, qs(formatName(format)));
  settings.setValue(kPrefix, prefix);
  settings.setValue(kTable, oneTable);
  settings.setValue(kNoCredit, noCredit);
  settings.setValue(kSaveEncoding, qs(sourceEncodingName(encoding)));
  settings.setValue(kSubset, subset);
  settings.setValue(kZoom, zoom);
  settings.remove(kOldTab);
}

}  // namespace lumadot
