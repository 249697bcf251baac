// Random texts of every kind of character the window can hold, checked
// against what must hold for any text.
#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>

#include "extract/character_walk.h"
#include "extract/extraction_run.h"
#include "extract/listing.h"
#include "support/process.h"
#include "support/recording_hooks.h"
#include "support/synthetic_fonts.h"

namespace lumadot {
namespace {

class SendingCounter final : public Transmission {
 public:
  Result<void> selectPort() override { return {}; }
  Result<void> open() override { return {}; }
  Result<void> writeHeader(int, std::int32_t) override { return {}; }
  Result<void> writeLeadIn() override { return {}; }
  Result<void> writeGlyphByte(std::uint8_t) override { return ++sent, Result<void>(); }
  Result<void> writeTail() override { return {}; }
  Result<void> close() override { return {}; }
  std::string sentConfirmation(std::int32_t) override { return {}; }
  std::int32_t sent = 0;
};

std::u16string randomText(std::mt19937& rng, std::size_t length) {
  static const std::u16string pieces[] = {
      u"A", u"z", u" ", u"\t", u"\n", u"\r", u"\r\n", std::u16string(1, u'\0'), u"\x7F", u"€", u"中", u"啊", u"　",
      u"：", u"丟", u"〇", u"한", u"\U0001F600", std::u16string(1, char16_t(0xD800)), std::u16string(1, char16_t(0xDFFF)),
      u"\uFFFD", u"é"};
  std::uniform_int_distribution<std::size_t> pick(0, std::size(pieces) - 1);
  std::u16string text;
  while (text.size() < length) text += pieces[pick(rng)];
  return text;
}

TEST(RandomTexts, EveryGlyphIsListedAndSentOnce) {
  test::TempDir dir;
  const FontPaths fonts = test::writeSyntheticFonts(dir.path());
  auto buffer = std::make_unique<GlyphBuffer>();
  std::mt19937 rng(20261207);
  for (int round = 0; round < 300; ++round) {
    const std::u16string text = randomText(rng, rng() % 200);
    const std::u16string before = text;
    int singles = 0, doubles = 0;
    CharacterWalk walk(text);
    while (const auto c = walk.next()) (isDoubleByte(*c) ? doubles : singles)++;

    test::RecordingHooks hooks;
    SendingCounter port;
    const RunResult result = runExtraction(text, {.layout = allLayouts()[static_cast<std::size_t>(round % kLayoutCount)], .send = true},
                                           fonts, *buffer, port, hooks);
    ASSERT_TRUE(result.completed);
    EXPECT_EQ(text, before);
    EXPECT_EQ(result.columnCount, singles + 2 * doubles);
    EXPECT_EQ(buffer->fillCount, 16 * singles + 32 * doubles);
    EXPECT_EQ(port.sent, buffer->fillCount);
    // One entry per glyph, and a data line per 16 bytes.
    std::size_t entries = 0, dataLines = 0;
    for (std::size_t p = 0; (p = hooks.listing.find(u";--------", p)) != std::u16string::npos; ++p) ++entries;
    for (std::size_t p = 0; (p = hooks.listing.find(u"H,\r\n", p)) != std::u16string::npos; ++p) ++dataLines;
    EXPECT_EQ(entries, static_cast<std::size_t>(singles + doubles)) << "round " << round;
    EXPECT_EQ(dataLines, static_cast<std::size_t>(buffer->fillCount / 16)) << "round " << round;
  }
}

}  // namespace
}  // namespace lumadot
