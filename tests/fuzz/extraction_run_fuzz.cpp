// The whole extraction run: any text, both options, sending or not, through
// any send boxes to a port that may vanish mid-frame, with font files of any
// size and content (missing, a folder, empty, short, whole, long).

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "extract/extraction_run.h"
#include "extract/font_layout.h"
#include "extract/listing.h"
#include "fuzz/fuzz_input.h"
#include "support/memory_device.h"
#include "serial/display_frame.h"
#include "serial/serial_transmission.h"

namespace lumadot::fuzz {
namespace {

const std::filesystem::path& fontDir() {
  static const std::filesystem::path dir = [] {
    std::string name = (std::filesystem::temp_directory_path() / "lumadot-fuzz-XXXXXX").string();
    if (mkdtemp(name.data()) == nullptr) std::abort();
    std::atexit([] { std::filesystem::remove_all(fontDir()); });
    return std::filesystem::path(name);
  }();
  return dir;
}

void placeFont(FuzzedDataProvider& in, const std::filesystem::path& path, std::size_t layoutSize) {
  std::filesystem::remove_all(path);
  switch (in.ConsumeIntegralInRange(0, 9)) {
    case 0: return;  // missing
    case 1: std::filesystem::create_directory(path); return;
    default: break;
  }
  // Empty, short, whole or past the part that can hold glyphs.
  const auto size = in.ConsumeIntegralInRange<std::size_t>(0, layoutSize + layoutSize / 4);
  const auto bytes = patternBytes(in, size);
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                              static_cast<std::streamsize>(bytes.size()));
}

std::u16string box(FuzzedDataProvider& in, std::u16string_view usual) {
  return in.ConsumeBool() ? std::u16string(usual) : utf8ToUtf16(in.ConsumeRandomLengthString(16));
}

SendBoxes sendBoxes(FuzzedDataProvider& in) {
  SendBoxes boxes;
  boxes.port = box(in, u"com1");
  boxes.baud = box(in, u"9600");
  boxes.parity = box(in, u"E");
  boxes.dataBits = box(in, u"8");
  boxes.stopBits = box(in, u"1");
  boxes.speed = box(in, u"5");
  boxes.mode = box(in, u"左移");
  return boxes;
}

class Hooks final : public RunHooks {
 public:
  void showListing(std::u16string_view text) override { listing.assign(text); }
  void showFailure(const Failure& failure) override {
    FUZZ_EXPECT(!failure.text.empty());
    ++failures;
  }
  void showSent(std::string_view) override { ++sent; }

  std::u16string listing;
  int failures = 0;
  int sent = 0;
};

// A whole frame: header, zero lead-in, the run's bytes as they stand, zero tail.
void checkFrame(const std::vector<std::uint8_t>& frame, const GlyphBuffer& buffer, int columnCount) {
  const auto glyphs = static_cast<std::size_t>(buffer.fillCount);
  FUZZ_EXPECT(frame.size() == kFrameOverhead + glyphs);
  FUZZ_EXPECT(frame[0] == widthByte(columnCount));
  const auto zero = [](std::uint8_t b) { return b == 0; };
  const auto glyphStart = frame.begin() + kHeaderBytes + kLeadInBytes;
  FUZZ_EXPECT(std::all_of(frame.begin() + kHeaderBytes, glyphStart, zero));
  FUZZ_EXPECT(std::equal(glyphStart, glyphStart + static_cast<std::ptrdiff_t>(glyphs), buffer.glyphBytes.begin()));
  FUZZ_EXPECT(std::all_of(glyphStart + static_cast<std::ptrdiff_t>(glyphs), frame.end(), zero));
}

}  // namespace
}  // namespace lumadot::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace lumadot;
  using namespace lumadot::fuzz;
  static const auto buffer = std::make_unique<GlyphBuffer>();
  FuzzedDataProvider in(data, size);
  const FontPaths fonts = FontPaths::inDirectory(fontDir());
  placeFont(in, fonts.asc16, kAsc16Size);
  placeFont(in, fonts.hzk16, kHzk16Size);
  const RunOptions options{in.PickValueInArray(allLayouts()), in.ConsumeBool()};
  const SendBoxes boxes = sendBoxes(in);
  test::MemoryDevice device(in.ConsumeBool() ? in.ConsumeIntegral<std::uint16_t>() : std::numeric_limits<std::size_t>::max());
  SerialTransmission transmission(device, boxes);
  Hooks hooks;
  const std::u16string text = repeatedText(in);

  const RunResult result = runExtraction(text, options, fonts, *buffer, transmission, hooks);

  FUZZ_EXPECT(result.completed || hooks.failures > 0);  // a run that stops says why
  FUZZ_EXPECT(buffer->fillCount % 16 == 0);
  if (!result.completed) return 0;
  FUZZ_EXPECT(hooks.failures == 0);
  FUZZ_EXPECT(hooks.listing.ends_with(kCreditLines.back()));
  FUZZ_EXPECT(hooks.sent == (options.send ? 1 : 0));
  if (options.send) checkFrame(device.sent, *buffer, result.columnCount);
  return 0;
}
