#include "run/extraction_run.h"

#include <algorithm>
#include <utility>

#include "extract/glyph_source.h"
#include "extract/listing.h"
#include "extract/text_codec.h"
#include "frame/display_frame.h"
#include "run/sign_can_show.h"

namespace lumadot {
namespace {

// The warning for a port that fails. A file standing in for the port is
// named itself: no port was involved.
Failure deviceFailure(const SerialDevice& device, std::u16string_view portName, const Failure& cause) {
  if (const std::string file = device.fileName(); !file.empty()) {
    return failureOver("cannot write " + file, FailureKind::fileWrite, file, cause);
  }
  return portFailure(portName, cause);
}

// The listing as far as the frame got: nothing before the first glyph byte,
// every entry once the tail is reached.
std::u16string listedBefore(const Glyphs& glyphs, std::size_t frameBytesSent) {
  if (frameBytesSent < kFrameHeadBytes) return {};
  return listingBefore(glyphs, std::min(frameBytesSent - kFrameHeadBytes, glyphs.bytes.size()));
}

// Opens the line, encodes the frame and sends it, filling in the report.
void sendFrame(RunReport& report, SendTarget& target) {
  const SendRequest& request = *target.request;
  auto fail = [&](const Failure& cause) { report.failure = deviceFailure(target.device, request.portName, cause); };
  if (auto opened = openLine(target.device, request.port, request.line); !opened) return fail(opened.error());
  // The width is checked on the open port, as the sign's header is written.
  auto frame = glyphFrame(report.glyphs, request.speed, request.mode);
  if (!frame) {
    target.device.abandon();
    // The window blames the port whatever failed; a file standing in for it was never the trouble.
    if (const std::string file = target.device.fileName(); !file.empty()) {
      report.failure = Failure("the text is too wide for a frame; " + file + " is left as it was", frame.error().text);
      return;
    }
    return fail(frame.error());
  }
  report.frame = std::move(*frame);
  const SendReport sent = send(target.device, report.frame, target.progress);
  report.listing = listedBefore(report.glyphs, sent.sent);
  if (!sent.result) return fail(sent.result.error());
  const auto glyphBytes = static_cast<std::int32_t>(report.glyphs.bytes.size());
  report.sentKilobytes = amountText(glyphBytes, target.decimalSeparator);
  report.sentConfirmation = utf16ToUtf8(u"使用串口" + request.portName + u"共发送" + report.sentKilobytes + u"K数据发送成功");
}

}  // namespace

Result<std::vector<std::uint8_t>> glyphFrame(const Glyphs& glyphs, std::uint8_t speed, std::uint8_t mode) {
  if (const SignVerdict shows = signCanShow(glyphs); !shows) return signFailure(*shows.refusal);
  const auto fields = frameFields(glyphs.columnCount(), speed, mode);
  if (!fields) return fields.error();
  return encodeFrame(*fields, glyphs.bytes);
}

std::u16string RunReport::resultText() const {
  if (!completed()) return listing;
  std::u16string text = listing;
  appendCreditBlock(text);
  return text;
}

RunReport runExtraction(std::u16string_view text, const ByteLayout& layout, const FontPaths& fonts,
                        SendTarget* target) {
  FontFileSource source(fonts);
  return runExtraction(text, layout, source, target);
}

RunReport runExtraction(std::u16string_view text, const ByteLayout& layout, GlyphSource& source,
                        SendTarget* target) {
  return runExtraction(lookUp(text, layout, source), target);
}

RunReport runExtraction(Result<Glyphs> glyphs, SendTarget* target) {
  RunReport report;
  if (!glyphs) {
    report.failure = glyphs.error();
    return report;
  }
  report.glyphs = std::move(*glyphs);
  if (!target) {
    report.listing = listingEntries(report.glyphs);
  } else if (!target->request) {
    report.failure = target->request.error();
  } else {
    sendFrame(report, *target);
  }
  return report;
}

}  // namespace lumadot
