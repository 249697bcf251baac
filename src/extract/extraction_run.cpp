#include "extract/extraction_run.h"

#include <optional>
#include <string>

#include "extract/character_walk.h"
#include "extract/glyph_lookup.h"
#include "extract/listing.h"
#include "extract/text_codec.h"

namespace lumadot {
namespace {

// How far past the buffer a text runs, for the too-long message's reason.
std::string tooLongReason(std::u16string_view text) {
  std::int64_t single = 0;
  std::int64_t wide = 0;
  CharacterWalk characters(text);
  while (const auto c = characters.next()) ++(isDoubleByte(*c) ? wide : single);
  const std::int64_t bytes = single * kAsc16GlyphSize + wide * kHzk16GlyphSize;
  return "the text has " + std::to_string(single) + " single-byte and " + std::to_string(wide) +
         " double-byte characters, " + std::to_string(bytes) + " glyph bytes; one run holds " +
         std::to_string(GlyphBuffer::kCapacity);
}

// Looks every character up, in text order. The font files stay open only for
// the walk. Fails with the first lookup that fails.
Result<void> walk(std::u16string_view text, const ByteLayout& layout, const FontPaths& fonts, GlyphBuffer& buffer,
                  int& columnCount) {
  FontFile asc16(fonts.asc16, kAsc16Size, fonts.lookedIn);
  FontFile hzk16(fonts.hzk16, kHzk16Size, fonts.lookedIn);
  CharacterWalk characters(text);
  while (const auto c = characters.next()) {
    const bool wide = isDoubleByte(*c);
    columnCount += wide ? 2 : 1;
    auto looked = wide ? hzdz(buffer, hzk16, c->code, layout)
                       : english(buffer, asc16, static_cast<std::uint8_t>(c->code), layout);
    if (!looked) {
      if (buffer.fillCount == GlyphBuffer::kCapacity) return Failure(looked.error().text, tooLongReason(text));
      return looked;
    }
  }
  return {};
}

// The frame up to its first glyph byte.
Result<void> startFrame(Transmission& transmission, const Result<void>& selected, int columnCount,
                        std::int32_t glyphByteCount) {
  if (!selected) return selected;
  if (auto opened = transmission.open(); !opened) return opened;
  if (auto header = transmission.writeHeader(columnCount, glyphByteCount); !header) return header;
  return transmission.writeLeadIn();
}

// The frame after its last glyph byte.
Result<void> endFrame(Transmission& transmission) {
  if (auto tail = transmission.writeTail(); !tail) return tail;
  return transmission.close();
}

// The listing, each glyph byte sent just before its text, inside the frame.
// A failure is shown over the listing written so far, the port closed, and
// nothing returned.
std::optional<std::u16string> listAndSend(const GlyphBuffer& buffer, std::u16string_view text, int columnCount,
                                          const Result<void>& selected, Transmission& transmission,
                                          RunHooks& hooks) {
  auto fail = [&](std::u16string_view listingSoFar, const Failure& failure) {
    hooks.showListing(listingSoFar);
    hooks.showFailure(failure);
    // The failure shown is the one that matters; closing only drops the rest.
    static_cast<void>(transmission.close());
    return std::nullopt;
  };
  if (auto started = startFrame(transmission, selected, columnCount, buffer.fillCount); !started) {
    return fail({}, started.error());
  }
  std::optional<Failure> byteFailure;
  const ByteHook hook = [&](std::uint8_t value) {
    auto written = transmission.writeGlyphByte(value);
    if (!written) byteFailure = written.error();
    return written.has_value();
  };
  ListingResult listing = writeListing(buffer, text, hook);
  if (!listing.completed) return fail(listing.text, byteFailure.value());
  if (auto ended = endFrame(transmission); !ended) return fail(listing.text, ended.error());
  const std::string confirmation = transmission.sentConfirmation(buffer.fillCount);
  hooks.showListing(listing.text);
  hooks.showSent(confirmation);
  return std::move(listing.text);
}

}  // namespace

RunResult runExtraction(std::u16string_view text, const RunOptions& options, const FontPaths& fonts,
                        GlyphBuffer& buffer, Transmission& transmission, RunHooks& hooks) {
  buffer.fillCount = 0;
  RunResult result;

  if (const auto walked = walk(text, options.layout, fonts, buffer, result.columnCount); !walked) {
    // Nothing has been sent yet: stop before the port is touched.
    hooks.showListing({});
    hooks.showFailure(walked.error());
    return result;
  }

  // Selected on every run, though only a send minds a box that names no port.
  const Result<void> selected = transmission.selectPort();
  std::optional<std::u16string> listing =
      options.send ? listAndSend(buffer, text, result.columnCount, selected, transmission, hooks)
                   : writeListing(buffer, text).text;
  if (!listing) return result;

  appendCreditBlock(*listing);
  hooks.showListing(*listing);
  result.completed = true;
  return result;
}

Result<void> NoTransmission::open() { return Failure("这个版本还不能发送到显示屏"); }

}  // namespace lumadot
