#include "formats/intel_hex.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace lumadot {
namespace {

std::vector<std::uint8_t> counting(std::size_t count) {
  std::vector<std::uint8_t> bytes(count);
  for (std::size_t i = 0; i < count; ++i) bytes[i] = static_cast<std::uint8_t>(i * 7);
  return bytes;
}

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> out;
  for (std::size_t pos = 0; pos < text.size();) {
    const std::size_t end = text.find("\r\n", pos);
    EXPECT_NE(end, std::string::npos) << "every record ends with CR LF";
    if (end == std::string::npos) break;
    out.push_back(text.substr(pos, end - pos));
    pos = end + 2;
  }
  return out;
}

TEST(IntelHex, RecordsMatchWhatAs31WritesForTheSameBytes) {
  // as31 assembled these eight bytes into exactly this record.
  const std::vector<std::uint8_t> bytes{0x01, 0xF8, 0x00, 0xFF, 0x3C, 0xA5, 0x18, 0x24};
  EXPECT_EQ(intelHex(bytes), ":0800000001F800FF3CA51824E3\r\n:00000001FF\r\n");
}

TEST(IntelHex, SixteenBytesARecordAndOnlyTheEndForNothing) {
  EXPECT_EQ(intelHex({}), ":00000001FF\r\n");
  const auto seventeen = lines(intelHex(counting(17)));
  ASSERT_EQ(seventeen.size(), 3u);
  EXPECT_EQ(seventeen[0].substr(0, 9), ":10000000");
  EXPECT_EQ(seventeen[1], ":01001000707F");  // 16 * 7 = 0x70; 01+10+70+7F = 0x100
  EXPECT_EQ(seventeen[2], ":00000001FF");
}

TEST(IntelHex, AFullBufferEndsAtTheTopOfSixteenBitAddresses) {
  const auto records = lines(intelHex(counting(65536)));
  ASSERT_EQ(records.size(), 4097u);
  EXPECT_EQ(records[4095].substr(0, 9), ":10FFF000");
  for (const auto& record : records) {
    unsigned long sum = 0;
    for (std::size_t i = 1; i + 1 < record.size(); i += 2) sum += std::stoul(record.substr(i, 2), nullptr, 16);
    ASSERT_EQ(sum % 256, 0ul) << record;
  }
}

}  // namespace
}  // namespace lumadot
