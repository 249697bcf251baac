#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "extract/font_file.h"
#include "extract/glyph_buffer.h"

namespace lumadot {

// Message-box style values: OK button only, with no icon or with an exclamation icon.
inline constexpr int kStyleNoIcon = 0;
inline constexpr int kStyleWarning = 48;
inline constexpr std::u16string_view kWarningTitle = u"警告";

struct Message {
  std::u16string title;
  std::u16string text;
  int style = kStyleNoIcon;

  friend bool operator==(const Message&, const Message&) = default;
};

// The window's three options as a run reads them.
struct RunOptions {
  bool reverseBits = false;  // "字节倒序"
  bool split8x16 = false;    // "8*16格式"
  bool send = false;         // "取模并发送"
};

// The serial side of a run, in the order the run calls it. selectPort is
// called on every run; the rest only while sending. A false return is a
// failure: the run then shows failureMessage() and calls close().
class Transmission {
 public:
  virtual ~Transmission() = default;
  virtual bool selectPort() = 0;
  virtual bool open() = 0;                        // open and apply the line settings
  // Width, speed and mode bytes; the glyph byte count tells the size of the
  // whole frame before its first byte goes out.
  virtual bool writeHeader(int columnCount, std::int32_t glyphByteCount) = 0;
  virtual bool writeLeadIn() = 0;
  virtual bool writeGlyphByte(std::uint8_t value) = 0;
  virtual bool writeTail() = 0;
  virtual bool close() = 0;  // closing an unopened port does nothing
  virtual Message successMessage(std::int32_t glyphByteCount) = 0;
  virtual Message failureMessage() = 0;
};

// How a run reaches the window.
class RunHooks {
 public:
  virtual ~RunHooks() = default;
  // The result box's whole new text: before each message box, so the box sits
  // over what the run has written so far, and once at the end.
  virtual void showListing(std::u16string_view text) = 0;
  // Modal: returns once the user has closed the box.
  virtual void showMessage(const Message& message) = 0;
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
  bool selectPort() override { return true; }
  bool open() override { return false; }
  bool writeHeader(int, std::int32_t) override { return false; }
  bool writeLeadIn() override { return false; }
  bool writeGlyphByte(std::uint8_t) override { return false; }
  bool writeTail() override { return false; }
  bool close() override { return true; }
  Message successMessage(std::int32_t) override { return {}; }
  Message failureMessage() override;
};

}  // namespace lumadot
