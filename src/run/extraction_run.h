#pragma once

// One extraction run, the heart of every program here, as values:
//  1. the text's glyphs are looked up (lookUp); a font that cannot be read,
//     or a text too long for one run, stops it before anything is sent;
//  2. the listing is a function of the glyphs;
//  3. when sending, the send boxes' request (read before the run, checked
//     now), the port opened with its line settings, the frame encoded from
//     the glyphs and sent.
// What the run returns is what the user is shown, in this order: the result
// box's text, then at most one message box over it, then, for a completed
// run, the result box's whole text. Each glyph byte goes out just before its
// text is listed, so a send that fails part-way shows the listing as far as
// it got. The run never changes the user's text.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/result.h"
#include "extract/byte_layout.h"
#include "extract/font_file.h"
#include "extract/glyphs.h"
#include "serial/send_request.h"
#include "serial/sending.h"

namespace lumadot {

// Where and how a run sends its frame.
struct SendTarget {
  Result<SendRequest> request;  // a failure is the run's, once the glyphs are looked up
  SerialDevice& device;
  SendProgress* progress = nullptr;
  std::u16string decimalSeparator = u".";  // the user's, for the amount in the success message
};

struct RunReport {
  Glyphs glyphs;  // empty when the lookup failed
  // The result box's text under the message box: what was listed before a
  // failure, or every entry (without the credit block) under the send's success.
  std::u16string listing;
  std::optional<Failure> failure;
  std::string sentConfirmation;  // "使用串口com1共发送0.04K数据发送成功" once the frame is out
  std::u16string sentKilobytes;  // its amount, "0.04", for a window that words it itself
  std::vector<std::uint8_t> frame;  // the frame, once encoded

  bool completed() const { return !failure; }
  // The result box's text once the run is over.
  std::u16string resultText() const;
};

// The frame a run sends for `glyphs` at `speed` and `mode`; glyphs the sign
// cannot show (signCanShow) fail, a text wider than any frame saying by how much.
Result<std::vector<std::uint8_t>> glyphFrame(const Glyphs& glyphs, std::uint8_t speed, std::uint8_t mode);

// One run over `text`; sends when `target` is given.
RunReport runExtraction(std::u16string_view text, const ByteLayout& layout, const FontPaths& fonts,
                        SendTarget* target = nullptr);
// The same with the glyphs `source` gives.
RunReport runExtraction(std::u16string_view text, const ByteLayout& layout, GlyphSource& source,
                        SendTarget* target = nullptr);
// The same from glyphs looked up or made already (a picture's): a failure
// to make them is the run's.
RunReport runExtraction(Result<Glyphs> glyphs, SendTarget* target = nullptr);

}  // namespace lumadot
