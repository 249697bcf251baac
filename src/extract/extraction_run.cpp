#include "extract/extraction_run.h"

#include <cerrno>
#include <cstring>
#include <optional>

#include "extract/bit_order.h"
#include "extract/character_walk.h"
#include "extract/glyph_lookup.h"
#include "extract/listing.h"
#include "extract/text_codec.h"

namespace lumadot {
namespace {

std::u16string systemErrorText(int error) {
  switch (error) {
    case ENOENT: return u"文件不存在";
    case EACCES:
    case EPERM: return u"没有读取权限";
    case EISDIR: return u"这是一个文件夹";
    default: return utf8ToUtf16(std::strerror(error));
  }
}

Message fontFailureMessage(LookupStatus status, const FontFile& font) {
  const std::u16string name = u"“" + utf8ToUtf16(font.path().string()) + u"”";
  const std::u16string what = status == LookupStatus::openFailed ? u"无法打开字库文件" + name
                                                                   : u"读取字库文件" + name + u"失败";
  return {std::u16string(kWarningTitle), what + u"：" + systemErrorText(font.systemError()), kStyleWarning};
}

Message overflowMessage() {
  return {std::u16string(kWarningTitle), u"文字太长：一次最多能取模4096个单字节字符或2048个双字节字符",
          kStyleWarning};
}

// Looks every character up, in text order. The font files stay open only for
// the walk. Returns the warning for a failed lookup.
std::optional<Message> walk(std::u16string_view text, bool split8x16, const FontPaths& fonts, GlyphBuffer& buffer,
                            int& columnCount) {
  FontFile asc16(fonts.asc16, kAsc16Size);
  FontFile hzk16(fonts.hzk16, kHzk16Size);
  CharacterWalk characters(text);
  while (const auto c = characters.next()) {
    const bool wide = isDoubleByte(*c);
    columnCount += wide ? 2 : 1;
    const LookupStatus status = wide ? hzdz(buffer, hzk16, c->code, split8x16)
                                     : english(buffer, asc16, static_cast<std::uint8_t>(c->code));
    if (status == LookupStatus::bufferFull) return overflowMessage();
    if (status != LookupStatus::ok) return fontFailureMessage(status, wide ? hzk16 : asc16);
  }
  return std::nullopt;
}

}  // namespace

RunResult runExtraction(std::u16string_view text, const RunOptions& options, const FontPaths& fonts,
                        GlyphBuffer& buffer, Transmission& transmission, RunHooks& hooks) {
  buffer.fillCount = 0;
  RunResult result;

  if (const auto failure = walk(text, options.split8x16, fonts, buffer, result.columnCount)) {
    // Nothing has been sent yet: stop before the port is touched.
    hooks.showListing({});
    hooks.showMessage(*failure);
    return result;
  }

  if (options.reverseBits) reverseBitOrder(buffer);

  const bool portSelected = transmission.selectPort();

  // From here on every failure goes through one handler.
  auto fail = [&](std::u16string_view listingSoFar) {
    hooks.showListing(listingSoFar);
    if (options.send) {
      hooks.showMessage(transmission.failureMessage());
      transmission.close();
    }
    return result;
  };

  if (options.send) {
    if (!portSelected || !transmission.open() || !transmission.writeHeader(result.columnCount, buffer.fillCount) ||
        !transmission.writeLeadIn()) {
      return fail({});
    }
  }

  ByteHook hook;
  if (options.send) hook = [&transmission](std::uint8_t value) { return transmission.writeGlyphByte(value); };
  ListingResult listing = writeListing(buffer, text, hook);
  if (!listing.completed) return fail(listing.text);

  if (options.send) {
    if (!transmission.writeTail() || !transmission.close()) return fail(listing.text);
    const Message success = transmission.successMessage(buffer.fillCount);
    hooks.showListing(listing.text);
    hooks.showMessage(success);
  }

  appendCreditBlock(listing.text);
  hooks.showListing(listing.text);
  result.completed = true;
  return result;
}

Message NoTransmission::failureMessage() {
  return {std::u16string(kWarningTitle), u"这个版本还不能发送到显示屏", kStyleWarning};
}

}  // namespace lumadot
