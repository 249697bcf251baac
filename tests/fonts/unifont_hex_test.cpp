#include "fonts/unifont_hex.h"

#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <sstream>
#include <string>

#include "support/process.h"
#include "support/unifont_lines.h"

namespace lumadot {
namespace {

namespace fs = std::filesystem;
using test::hexLine;
using test::makeGlyph;
using test::TempDir;

Result<UnifontGlyphs> parse(const std::string& text) {
  std::istringstream in(text);
  return parseUnifontHex(in, "t.hex");
}

TEST(UnifontHexTest, ParsesBothWidthsSkippingBlankAndCommentLines) {
  const UnifontGlyph narrow = makeGlyph(8, 1), wide = makeGlyph(16, 2), later = makeGlyph(8, 3);
  std::string crlfLine = hexLine(0x10FFFF, narrow);
  crlfLine.insert(crlfLine.size() - 1, "\r");
  std::string lower = hexLine(0x4E2D, wide);
  for (auto& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  const auto result = parse("# comment\n\n" + hexLine(0x41, narrow) + lower + crlfLine + hexLine(0x41, later));
  ASSERT_TRUE(result) << result.error().text;
  EXPECT_EQ(result->size(), 3u);
  EXPECT_EQ(result->at(0x41), later);  // a repeated code: the later line wins
  EXPECT_EQ(result->at(0x4E2D), wide);
  EXPECT_EQ(result->at(0x10FFFF), narrow);
}

TEST(UnifontHexTest, RejectsMalformedLinesNamingTheLine) {
  const std::string good = hexLine(0x41, makeGlyph(8, 1));
  const struct {
    std::string line;
    const char* mentions;
  } cases[] = {
      {"0041", "':'"},
      {"041:00000000000000000000000000000000", "code"},
      {"1000041:00000000000000000000000000000000", "code"},
      {"00G1:00000000000000000000000000000000", "00G1"},
      {"110000:00000000000000000000000000000000", "10FFFF"},
      {"0041:", "0 characters"},
      {"0041:0000000000000000000000000000000", "31 characters"},
      {"0041:000000000000000000000000000000000", "33 characters"},
      {"0041:000000000000000000000000000000000000000000000000000000000000000", "63 characters"},
      {"0041:0000000000000000000000000000000Z", "'Z' at column 37"},
      {"0041: 0000000000000000000000000000000", "' '"},
      {std::string(5000, '\0'), "longer than 4096 characters"},  // a binary file is not read to its end
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    const auto result = parse(good + "\n" + c.line + "\n" + good);
    ASSERT_FALSE(result);
    EXPECT_EQ(result.error().text.rfind("t.hex:3: ", 0), 0u) << result.error().text;
    EXPECT_NE(result.error().text.find(c.mentions), std::string::npos) << result.error().text;
  }
}

TEST(UnifontHexTest, FileWithoutGlyphsOrUnreadableIsAnError) {
  for (const std::string& text : {std::string(), std::string("# only a comment\n\n"), "#" + std::string(9000, 'x')}) {
    const auto result = parse(text);
    ASSERT_FALSE(result);
    EXPECT_EQ(result.error().text, "t.hex: no glyphs found");
  }
  TempDir dir;
  for (const fs::path& path : {dir.path() / "missing.hex", dir.path()}) {
    const auto result = loadUnifontHex(path);
    ASSERT_FALSE(result) << path;
    EXPECT_EQ(result.error().text.rfind(path.string() + ": ", 0), 0u) << result.error().text;
  }
}

}  // namespace
}  // namespace lumadot
