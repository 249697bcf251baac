#pragma once

#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "extract/byte_layout.h"
#include "extract/font_file.h"
#include "extract/glyphs.h"
#include "fonts/run_fonts.h"
#include "formats/source_options.h"
#include "options/run_options.h"
#include "run/extraction_run.h"
#include "serial/send_request.h"
#include "serial/serial_device.h"

// What extract and clock share: where the fonts are, and how a run sends.

namespace lumadot::cli {

// The font files --font-dir names, or those found beside this program or in its share folder.
FontPaths fontPaths(const RunSettings& settings);

// The fonts --font-dir and the glyph options choose.
RunFonts fontsOf(const RunSettings& settings);

// A lookup's failure, and how to build the font files of another size when they are missing.
void printLookUpFailure(const Failure& failure, const RunFonts& fonts);

// Extraction runs as the command line shows them: a warning for each kind of
// character the run cannot draw as typed, each message on standard error as
// the run shows it, with its reason beneath, then the listing on standard output.
class ConsoleRunner {
 public:
  // The fonts from --font-dir; the port, or the --frame-out file standing in for it.
  ConsoleRunner(const RunSettings& settings, std::u16string decimalSeparator);
  ~ConsoleRunner();

  struct Outcome {
    bool completed = false;
    bool listingWritten = true;  // false when standard output failed
    Glyphs glyphs;               // as the listing and the frame have them
  };
  // Sends with `request` when given. `afterListing` follows the listing;
  // without `printListing` neither is printed.
  Outcome run(std::u16string_view text, const ByteLayout& layout, const SendRequest* request, bool printListing,
              std::string_view afterListing = {});
  // The same for glyphs made already (a picture's), shown and sent alike.
  Outcome run(Result<Glyphs> glyphs, const SendRequest* request, bool printListing, std::string_view afterListing = {});
  // The listing printed from now on in `encoding`, UTF-8 until this is called.
  void setListingEncoding(SourceEncoding encoding) { m_listingEncoding = encoding; }

 private:
  Outcome shown(RunReport report, bool printListing, std::string_view afterListing);
  RunReport extract(std::u16string_view text, const ByteLayout& layout, SendTarget* target);
  void tellOnce(const std::string& note);

  RunFonts m_fonts;
  std::string m_frameOut;
  std::unique_ptr<SerialDevice> m_device;
  std::u16string m_decimalSeparator;
  SourceEncoding m_listingEncoding = SourceEncoding::utf8;
  std::set<std::string> m_told;  // warnings already printed
};

}  // namespace lumadot::cli
