#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "common/arguments.h"
#include "extract/extraction_run.h"
#include "extract/font_file.h"
#include "serial/serial_device.h"
#include "serial/serial_transmission.h"

// What extract and clock share: where the fonts are, and how a run sends.
namespace lumadot {
struct GlyphBuffer;
}

namespace lumadot::cli {

// A command's own options, then --font-dir and the send options, each send
// option standing for its box in the window.
std::vector<tools::KnownOption> withRunOptions(std::vector<tools::KnownOption> own);
// --speed, which the clock fixes, is left out when `withSpeed` is false.
std::string_view sendOptionsHelp(bool withSpeed);
std::string_view fontDirHelp();

// TEXT, or when it is not given the whole of standard input, every byte kept.
std::string runText(const tools::Arguments& parsed);

bool sends(const tools::Arguments& parsed);  // --send, or --frame-out which implies it
// The boxes start with the window's start texts; each option given replaces its box's text.
SendBoxes sendBoxes(const tools::Arguments& parsed);

// Extraction runs as the command line shows them: each message on standard
// error as the run shows it, then the port's own reason for a failure, then
// the listing on standard output.
class ConsoleRunner {
 public:
  // The fonts from --font-dir; the port, or the --frame-out file standing in for it.
  ConsoleRunner(const tools::Arguments& parsed, std::u16string decimalSeparator);
  ~ConsoleRunner();

  struct Outcome {
    bool completed = false;
    bool listingWritten = true;  // false when standard output failed
  };
  // `afterListing` follows the listing; without `printListing` neither is printed.
  Outcome run(std::u16string_view text, const RunOptions& options, const SendBoxes& boxes, bool printListing,
              std::string_view afterListing = {});

  // The glyph bytes of the last run, as the listing and the frame have them.
  const GlyphBuffer& buffer() const { return *m_buffer; }

 private:
  FontPaths m_fonts;
  std::unique_ptr<SerialDevice> m_device;
  std::unique_ptr<GlyphBuffer> m_buffer;
  std::u16string m_decimalSeparator;
};

}  // namespace lumadot::cli
