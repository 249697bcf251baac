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

#include "extract/font_layout.h"
#include "extract/listing.h"
#include "fuzz/fuzz_input.h"
#include "support/memory_device.h"
#include "frame/display_frame.h"
#include "run/extraction_run.h"

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

// A whole frame: header, zero lead-in, the run's bytes as they stand, zero tail.
void checkFrame(const std::vector<std::uint8_t>& frame, const Glyphs& glyphs) {
  const std::size_t count = glyphs.bytes.size();
  FUZZ_EXPECT(frame.size() == kFrameOverhead + count);
  FUZZ_EXPECT(frame[0] == widthByte(glyphs.columnCount()));
  const auto zero = [](std::uint8_t b) { return b == 0; };
  const auto glyphStart = frame.begin() + kHeaderBytes + kLeadInBytes;
  FUZZ_EXPECT(std::all_of(frame.begin() + kHeaderBytes, glyphStart, zero));
  FUZZ_EXPECT(std::equal(glyphStart, glyphStart + static_cast<std::ptrdiff_t>(count), glyphs.bytes.begin()));
  FUZZ_EXPECT(std::all_of(glyphStart + static_cast<std::ptrdiff_t>(count), frame.end(), zero));
}

}  // namespace

void fuzzInput(FuzzedDataProvider& in) {
  const FontPaths fonts = FontPaths::inDirectory(fontDir());
  placeFont(in, fonts.asc16, kAsc16Size);
  placeFont(in, fonts.hzk16, kHzk16Size);
  const ByteLayout layout = in.PickValueInArray(allLayouts());
  const bool sending = in.ConsumeBool();
  const SendBoxes boxes = sendBoxes(in);
  test::MemoryDevice device(in.ConsumeBool() ? in.ConsumeIntegral<std::uint16_t>() : std::numeric_limits<std::size_t>::max());
  SendTarget target{sendRequest(boxes), device};
  const std::u16string text = repeatedText(in);

  const RunReport report = runExtraction(text, layout, fonts, sending ? &target : nullptr);

  FUZZ_EXPECT(report.completed() || !report.failure->text.empty());  // a run that stops says why
  FUZZ_EXPECT(report.glyphs.bytes.size() % 16 == 0);
  // Whatever was listed is where the full listing starts.
  FUZZ_EXPECT(listingEntries(report.glyphs).starts_with(report.listing));
  if (!report.completed()) return;
  FUZZ_EXPECT(report.resultText().ends_with(kCreditLines.back()));
  FUZZ_EXPECT(report.sentConfirmation.empty() != sending);
  if (sending) checkFrame(device.sent, report.glyphs);
}

}  // namespace lumadot::fuzz
