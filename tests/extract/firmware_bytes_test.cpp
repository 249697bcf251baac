#include "extract/firmware_bytes.h"
#include "support/named_rows.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace lumadot {
namespace {

using test::PrintTo;

struct SpellingCase {
  const char* name;
  std::string text;
  std::vector<std::uint8_t> bytes;
};

class FirmwareBytes : public ::testing::TestWithParam<SpellingCase> {};

TEST_P(FirmwareBytes, ReadsEverySpelling) {
  const auto read = readFirmwareBytes(GetParam().text);
  ASSERT_TRUE(read) << read.error().text;
  EXPECT_EQ(*read, GetParam().bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Spellings, FirmwareBytes,
    ::testing::Values(
        SpellingCase{"CHex", "0x1F, 0Xf8,0x0", {0x1F, 0xF8, 0x00}},
        SpellingCase{"IntelHex", "1FH,0F8H,0f8h, F8H, 0BBH", {0x1F, 0xF8, 0xF8, 0xF8, 0xBB}},
        SpellingCase{"Decimal", "31 248\t0", {31, 248, 0}},
        SpellingCase{"Binary", "0b11111 11111000B 0B", {0x1F, 0xF8, 0}},
        SpellingCase{"Dollar", "$1F,$f8", {0x1F, 0xF8}},
        SpellingCase{"OurListing",
                     "\r\n;--------中--------字模结构：　16*16　点阵\r\nDB  1H,0H,\r\n3FH,F8H,\r\n\r\n;本字模由 提取",
                     {0x01, 0x00, 0x3F, 0xF8}},
        SpellingCase{"A51", "ZI_0:\n        DB 001H,000H ; top\n        DB 0F8H", {0x01, 0x00, 0xF8}},
        SpellingCase{"As31AndSdas", "ZI_0:: .db 0x01,0x00\n\t.DB 0xF8\n.byte 7\nDEFB 8", {0x01, 0x00, 0xF8, 7, 8}},
        SpellingCase{"WholeSource", "\t.area CSEG (CODE)\n\tORG 0100H\nZI_0: DB 1\n\tEND\n", {1}},
        SpellingCase{"CArray",
                     "/* 中 */ unsigned char code ZI_0[32] = { 0x01,0x00, // row 0\n 0xF8 };\nchar x[1] = {9};",
                     {0x01, 0x00, 0xF8, 9}},
        SpellingCase{"CommentsOnly", "; nothing\n// here /* or */", {}},
        SpellingCase{"Empty", "", {}}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(FirmwareBytesRefusal, NamesTheFirstTokenThatIsNoByte) {
  const std::pair<std::string, std::string> cases[] = {
      {"0x01, zz, 0x02", "cannot read 'zz' as a byte"},
      {"0x100", "cannot read '0x100' as a byte: it is more than 255"},
      {"256", "'256' as a byte: it is more than 255"},
      {"F8", "cannot read 'F8' as a byte"},  // bare hex is no decimal
      {"0x", "cannot read '0x'"},
      {"1, 2 DB 3", "cannot read 'DB'"},  // a directive only starts a line
      {"ZI_0[32] = 1", "cannot read 'ZI_0[32]'"},
      {"99999999999999999999", "cannot read '99999999999999999999'"},
  };
  for (const auto& [text, message] : cases) {
    const auto read = readFirmwareBytes(text);
    ASSERT_FALSE(read) << text;
    EXPECT_NE(read.error().text.find(message), std::string::npos) << read.error().text;
  }
}

}  // namespace
}  // namespace lumadot
