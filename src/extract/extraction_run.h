#pragma once

// One extraction run, the heart of every program here. In order:
//  1. walk the text, looking each character up in asc16 or hzk16 into the
//     glyph buffer, each glyph in the run's byte layout (a font that cannot
//     be read, or a full buffer, stops the run before anything is sent);
//  2. select the port named in its box, and when sending open it and write
//     the frame's header and lead-in;
//  3. write the listing, each glyph byte going out just before its text;
//  4. when sending, write the tail, close the port and confirm;
//  5. close the listing with the credit block.
// A failure from step 2 on is shown over the listing written so far, and the
// port is closed. The run never changes the user's text.

#include <cstdint>
#include <string>
#include <string_view>

#include "base/result.h"
#include "extract/byte_layout.h"
#include "extract/font_file.h"
#include "extract/glyph_buffer.h"

namespace lumadot {

// The window's options as a run reads them: "字节倒序" and "8*16格式" are
// the layouts windowLayout makes; "取模并发送" is `send`.
struct RunOptions {
  ByteLayout layout{};
  bool send = false;
};

// The serial side of a run, in the order the run calls it. selectPort is
// called on every run, though its failure matters only when sending; the rest
// only while sending. After a failure the run calls close() and shows it.
class Transmission {
 public:
  virtual ~Transmission() = default;
  virtual Result<void> selectPort() = 0;
  virtual Result<void> open() = 0;  // open and apply the line settings
  // Width, speed and mode bytes; the glyph byte count tells the size of the
  // whole frame before its first byte goes out.
  virtual Result<void> writeHeader(int columnCount, std::int32_t glyphByteCount) = 0;
  virtual Result<void> writeLeadIn() = 0;
  virtual Result<void> writeGlyphByte(std::uint8_t value) = 0;
  virtual Result<void> writeTail() = 0;
  virtual Result<void> close() = 0;  // closing an unopened port does nothing
  // What the user is told once the whole frame has gone out.
  virtual std::string sentConfirmation(std::int32_t glyphByteCount) = 0;
};

// How a run reaches the window.
class RunHooks {
 public:
  virtual ~RunHooks() = default;
  // The result box's whole new text: before each message box, so the box sits
  // over what the run has written so far, and once at the end.
  virtual void showListing(std::u16string_view text) = 0;
  // Modal: each returns once the user has closed its box.
  virtual void showFailure(const Failure& failure) = 0;
  virtual void showSent(std::string_view confirmation) = 0;
};

struct RunResult {
  bool completed = false;
  int columnCount = 0;  // width of the text in 8-dot columns
};

// One extraction run over `text`, which the run only reads: the user's text
// is never touched, whatever happens.
RunResult runExtraction(std::u16string_view text, const RunOptions& options, const FontPaths& fonts,
                        GlyphBuffer& buffer, Transmission& transmission, RunHooks& hooks);

// For runs that never send (the command line without a port, tests).
class NoTransmission final : public Transmission {
 public:
  Result<void> selectPort() override { return {}; }
  Result<void> open() override;
  Result<void> writeHeader(int, std::int32_t) override { return open(); }
  Result<void> writeLeadIn() override { return open(); }
  Result<void> writeGlyphByte(std::uint8_t) override { return open(); }
  Result<void> writeTail() override { return open(); }
  Result<void> close() override { return {}; }
  std::string sentConfirmation(std::int32_t) override { return {}; }
};

}  // namespace lumadot
