// The line settings text as the four boxes make it, over any text: refused
// with a reason, or read into settings that read back the same from their
// own plain spelling.

#include <string>

#include "fuzz/fuzz_input.h"
#include "serial/line_settings.h"

namespace lumadot::fuzz {
namespace {

std::u16string spelled(const LineSettings& settings) {
  constexpr char16_t kParity[] = {u'N', u'E', u'O', u'M', u'S'};
  const std::u16string stop[] = {u"1", u"1.5", u"2"};
  const std::string baud = std::to_string(settings.baud);
  const std::string bits = std::to_string(settings.dataBits);
  return settingsText(std::u16string(baud.begin(), baud.end()),
                      std::u16string(1, kParity[static_cast<int>(settings.parity)]),
                      std::u16string(bits.begin(), bits.end()), stop[static_cast<int>(settings.stopBits)]);
}

}  // namespace
}  // namespace lumadot::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace lumadot;
  using namespace lumadot::fuzz;
  const std::u16string text = utf8ToUtf16({reinterpret_cast<const char*>(data), size});
  const auto settings = parseLineSettings(text);
  if (!settings) {
    FUZZ_EXPECT(!settings.error().text.empty());
    return 0;
  }
  FUZZ_EXPECT(settings->baud > 0);
  FUZZ_EXPECT(settings->dataBits >= 5 && settings->dataBits <= 8);
  FUZZ_EXPECT(settings->bitsPerByte() >= 7 && settings->bitsPerByte() <= 12);
  const auto again = parseLineSettings(spelled(*settings));
  FUZZ_EXPECT(again && *again == *settings);
  return 0;
}
