// The layout detector on real glyphs: bytes made in every layout from our
// fonts and from two other 16-dot fonts must come back as their layout.
#include "extract/layout_detector.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "extract/ansi_code.h"
#include "extract/font_layout.h"
#include "extract/glyph_lookup.h"
#include "support/font_bitmaps.h"

namespace lumadot {
namespace {

const std::filesystem::path kFonts = LUMADOT_BIN_DIR;
// WenQuanYi Bitmap Song (xfonts-wqy), whose Chinese glyphs Unifont's are drawn from,
// and AR PL UMing's own 16-pixel bitmaps (fonts-arphic-uming), of another design.
const std::filesystem::path kWenQuanYi = "/usr/share/fonts/X11/misc/wenquanyi_12pt.pcf";
const std::filesystem::path kUMing = "/usr/share/fonts/truetype/arphic/uming.ttc";

std::vector<std::uint8_t> fileBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

struct Sample {
  char32_t character;
  GlyphPicture ours;
};

// Every `step`-th Chinese character of GB2312 with its glyph in our hzk16.
std::vector<Sample> hanzi(int step) {
  const auto hzk16 = fileBytes(kFonts / "hzk16");
  EXPECT_EQ(hzk16.size(), kHzk16Size);
  std::vector<Sample> samples;
  int n = 0;
  for (int lead = 0xB0; lead <= 0xF7; ++lead) {
    for (int trail = 0xA1; trail <= 0xFE; ++trail) {
      const char bytes[] = {static_cast<char>(lead), static_cast<char>(trail)};
      const auto character = fromAnsiBytes({bytes, 2});
      if (!character || n++ % step != 0) continue;
      const auto offset = *hzk16Offset(static_cast<std::int16_t>(lead << 8 | trail));
      samples.push_back({*character, decodeGlyph(std::span(hzk16).subspan(offset, 32), Dots{16, 16}, {})});
    }
  }
  return samples;
}

// A layout as a failing check names it.
std::string shown(const ByteLayout& layout) {
  return std::string(scanName(layout.scan)) + (layout.lsbFirst ? " lsb-first" : "") + (layout.negative ? " negative" : "");
}

struct Tally {
  int right = 0, refused = 0, wrong = 0;
  std::string firstWrong;
};

// Each glyph's bytes in all 16 layouts, detected against our glyph.
Tally detectEveryLayout(const std::vector<std::pair<GlyphPicture, GlyphPicture>>& glyphs) {
  Tally tally;
  for (const auto& [theirs, ours] : glyphs) {
    for (const ByteLayout& layout : allLayouts()) {
      std::array<std::uint8_t, 32> bytes{};
      encodeGlyph(theirs, layout, bytes);
      const auto found = detectLayout(std::span(bytes).first(glyphSize(theirs.dots())), ours);
      if (!found || !found->clear) {
        ++tally.refused;
      } else if (found->best.pictures.front() == theirs) {  // the layout, or one that draws these bytes alike
        ++tally.right;
      } else if (tally.wrong++ == 0) {
        tally.firstWrong = shown(layout) + " taken for " + shown(found->best.layout);
      }
    }
  }
  return tally;
}

std::vector<std::pair<GlyphPicture, GlyphPicture>> fromFont(const std::filesystem::path& file, int face, int step) {
  test::FontBitmaps font(file, face);
  std::vector<std::pair<GlyphPicture, GlyphPicture>> glyphs;
  for (const Sample& sample : hanzi(step)) {
    if (const auto theirs = font.glyph(sample.character); theirs && theirs->litCount() > 0) {
      glyphs.emplace_back(*theirs, sample.ours);
    }
  }
  return glyphs;
}

TEST(DetectLayout, OurOwnGlyphsInEveryLayout) {
  std::vector<std::pair<GlyphPicture, GlyphPicture>> glyphs;
  for (const Sample& sample : hanzi(37)) glyphs.emplace_back(sample.ours, sample.ours);
  const auto asc16 = fileBytes(kFonts / "asc16");
  for (const char c : std::string("AFGJKLNPQRSZ4579&?@bdfghjkpqrty")) {
    const auto glyph = decodeGlyph(std::span(asc16).subspan(asc16Offset(static_cast<std::uint8_t>(c)), 16), Dots{8, 16}, {});
    glyphs.emplace_back(glyph, glyph);
  }
  const Tally tally = detectEveryLayout(glyphs);
  EXPECT_EQ(tally.wrong, 0) << tally.firstWrong;
  EXPECT_EQ(tally.refused, 0);
  EXPECT_EQ(tally.right, 16 * static_cast<int>(glyphs.size()));
}

TEST(DetectLayout, WenQuanYiBitmapSongInEveryLayout) {
  const auto glyphs = fromFont(kWenQuanYi, 0, 23);
  ASSERT_GT(glyphs.size(), 250u);
  const Tally tally = detectEveryLayout(glyphs);
  EXPECT_EQ(tally.wrong, 0) << tally.firstWrong;
  EXPECT_EQ(tally.refused, 0);
}

// Another design: where its glyph differs much from ours, the race is close
// and the detector refuses rather than guess; a wrong answer stays rare.
TEST(DetectLayout, UMingBitmapsInEveryLayout) {
  const auto glyphs = fromFont(kUMing, 0, 23);
  ASSERT_GT(glyphs.size(), 250u);
  const Tally tally = detectEveryLayout(glyphs);
  const int all = 16 * static_cast<int>(glyphs.size());
  EXPECT_LE(tally.wrong * 500, all) << tally.firstWrong;  // at most 0.2 %
  EXPECT_LE(tally.refused * 10, all);                   // at most 10 %
  std::cout << "AR PL UMing: " << tally.right << " right, " << tally.refused << " refused, " << tally.wrong
            << " wrong of " << all << "\n";
}

// A font table: glyphs in one layout, one after another.
struct Table {
  std::vector<GlyphPicture> theirs, ours;
  std::vector<std::uint8_t> bytes;
};

// Font tables of `size` Chinese characters picked at random (the same every
// run), their glyphs in AR PL UMing's design and ours.
class Tables {
 public:
  explicit Tables(int size) : m_size(size), m_samples(hanzi(1)), m_uming(kUMing, 0) {}

  Table next(const ByteLayout& layout) {
    Table table;
    while (static_cast<int>(table.ours.size()) < m_size) {
      m_state = m_state * 6364136223846793005U + 1442695040888963407U;
      const Sample& sample = m_samples[(m_state >> 33) % m_samples.size()];
      const auto theirs = m_uming.glyph(sample.character);
      if (!theirs || theirs->litCount() == 0) continue;
      std::array<std::uint8_t, 32> glyph{};
      encodeGlyph(*theirs, layout, glyph);
      table.bytes.insert(table.bytes.end(), glyph.begin(), glyph.end());
      table.theirs.push_back(*theirs);
      table.ours.push_back(sample.ours);
    }
    return table;
  }

 private:
  int m_size;
  std::vector<Sample> m_samples;
  test::FontBitmaps m_uming;
  std::uint64_t m_state = 20260101;
};

// Tables of 8 in AR PL UMing's design against ours, each in one of the 16
// layouts in turn: a table names its layout every time, where one glyph of it
// may be refused. The same bytes taken for the previous table's characters
// are refused.
TEST(DetectLayout, TablesOfEightUMingGlyphsInEveryLayout) {
  constexpr int kTables = 320;
  Tables tables(8);
  Tally tally;
  int othersNamed = 0;
  std::vector<GlyphPicture> previous;
  for (int n = 0; n < kTables; ++n) {
    const ByteLayout layout = allLayouts()[static_cast<std::size_t>(n % kLayoutCount)];
    const Table table = tables.next(layout);
    const auto found = detectLayout(table.bytes, table.ours);
    if (!found || !found->clear) {
      ++tally.refused;
    } else if (found->best.pictures == table.theirs) {  // the layout, or one that draws these bytes alike
      ++tally.right;
    } else if (tally.wrong++ == 0) {
      tally.firstWrong = shown(layout) + " taken for " + shown(found->best.layout);
    }
    if (!previous.empty()) {
      const auto other = detectLayout(table.bytes, previous);
      othersNamed += other && other->clear ? 1 : 0;
    }
    previous = table.ours;
  }
  EXPECT_EQ(tally.wrong, 0) << tally.firstWrong;
  EXPECT_EQ(tally.refused, 0);
  EXPECT_EQ(tally.right, kTables);
  EXPECT_EQ(othersNamed, 0);
}

TEST(DetectLayout, RefusesWhatCannotTell) {
  GlyphPicture zhong = hanzi(1).at(0).ours;
  const std::vector<std::uint8_t> blank(32, 0x00), lit(32, 0xFF), shortOne(31, 0x01);
  EXPECT_NE(detectLayout(blank, zhong).error().text.find("same picture in every layout"), std::string::npos);
  EXPECT_NE(detectLayout(lit, zhong).error().text.find("same picture in every layout"), std::string::npos);
  EXPECT_NE(detectLayout(shortOne, zhong).error().text.find("there are 31 bytes, but the glyph takes 32 in the row scans and 32 in the column scans"), std::string::npos);
  // A glyph that turns into itself: a cross, the same across the diagonal.
  GlyphPicture cross;
  for (int y = 0; y < 16; ++y) cross.rows[static_cast<std::size_t>(y)] = std::uint64_t{y == 7 ? 0xFFFFU : 0x0100U} << 48;
  std::array<std::uint8_t, 32> bytes{};
  encodeGlyph(cross, {}, bytes);
  const auto found = detectLayout(bytes, cross);
  ASSERT_TRUE(found) << found.error().text;
  EXPECT_FALSE(found->best.alike.empty());  // rows and columns draw it alike, and it says so
  EXPECT_TRUE(found->clear);
}

// Another character's bytes: two layouts fit it nearly as well, and both come back for the caller to name.
TEST(DetectLayout, ACloseRaceIsNotClear) {
  const auto samples = hanzi(1);
  const auto glyphOf = [&samples](char32_t c) {
    return std::find_if(samples.begin(), samples.end(), [c](const Sample& s) { return s.character == c; })->ours;
  };
  std::array<std::uint8_t, 32> zhong{};
  encodeGlyph(glyphOf(U'中'), {}, zhong);
  const auto found = detectLayout(zhong, glyphOf(U'国'));
  ASSERT_TRUE(found) << found.error().text;
  EXPECT_FALSE(found->clear);
  EXPECT_FALSE(found->best.pictures == found->runnerUp.pictures);
  EXPECT_LE(found->best.misfit, found->runnerUp.misfit);
  EXPECT_FALSE(found->fewDots);  // 中 has strokes enough; more characters would tell
  // 一 taken for 二: hardly a stroke to tell by.
  std::array<std::uint8_t, 32> yi{};
  encodeGlyph(glyphOf(U'一'), {}, yi);
  const auto few = detectLayout(yi, glyphOf(U'二'));
  ASSERT_TRUE(few) << few.error().text;
  EXPECT_FALSE(few->clear);
  EXPECT_TRUE(few->fewDots);
}

// Glyphs of two sizes in one table, 24 x 16 and 12 x 16: 80 bytes in the row
// scans, 72 in the column scans, so the count alone leaves out half the
// layouts, and each layout splits the bytes by its own glyph sizes.
TEST(DetectLayout, ATableIsSplitByEachLayoutsGlyphSizes) {
  const auto samples = hanzi(1);
  const GlyphPicture guo =
      std::find_if(samples.begin(), samples.end(), [](const Sample& s) { return s.character == U'国'; })->ours;
  const auto asc16 = fileBytes(kFonts / "asc16");
  const GlyphPicture a = decodeGlyph(std::span(asc16).subspan(asc16Offset('A'), 16), Dots{8, 16}, {});
  std::array<GlyphPicture, 2> ours{GlyphPicture(CellSize{24, 16}.doubleByte()), GlyphPicture(CellSize{24, 16}.singleByte())};
  for (int y = 0; y < 16; ++y) {
    ours[0].rows[static_cast<std::size_t>(y)] = guo.rows[static_cast<std::size_t>(y)] >> 4;  // 4 dots in from the left
    ours[1].rows[static_cast<std::size_t>(y)] = a.rows[static_cast<std::size_t>(y)] >> 2;
  }
  EXPECT_EQ(glyphBytes(ours).rowScans, 80U);
  EXPECT_EQ(glyphBytes(ours).columnScans, 72U);
  for (const ByteLayout& layout : allLayouts()) {
    std::vector<std::uint8_t> bytes(glyphSize(ours[0].dots(), layout.scan) + glyphSize(ours[1].dots(), layout.scan));
    encodeGlyph(ours[0], layout, bytes);
    encodeGlyph(ours[1], layout, std::span(bytes).subspan(glyphSize(ours[0].dots(), layout.scan)));
    const auto found = detectLayout(bytes, ours);
    ASSERT_TRUE(found) << shown(layout) << ": " << found.error().text;
    EXPECT_TRUE(found->clear) << shown(layout);
    EXPECT_EQ(found->best.misfit, 0) << shown(layout);
    EXPECT_EQ(found->best.layout, layout) << shown(layout) << " taken for " << shown(found->best.layout);
    for (const LayoutFit& fit : rankLayouts(bytes, ours)) {
      EXPECT_EQ(scansColumns(fit.layout.scan), scansColumns(layout.scan)) << shown(fit.layout);
    }
    const auto cut = detectLayout(std::span(bytes).first(bytes.size() - 1), ours);
    ASSERT_FALSE(cut);
    EXPECT_EQ(cut.error().text, "there are " + std::to_string(bytes.size() - 1) +
                                    " bytes, but the glyphs take 80 in the row scans and 72 in the column scans");
  }
}

}  // namespace
}  // namespace lumadot
