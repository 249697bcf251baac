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
#include "cli/font_options.h"
#include "fonts/run_fonts.h"
#include "extract/text_encoding.h"
#include "extract/undrawn_characters.h"
#include "formats/source_options.h"
#include "run/extraction_run.h"
#include "serial/send_request.h"
#include "serial/serial_device.h"

// What extract and clock share: where the fonts are, and how a run sends.
namespace CLI {
class App;
}

namespace lumadot::cli {

// What --font-dir, the glyph options, --frame-out and the send options ask of a run.
struct RunSettings {
  std::string fontDir;   // empty: looked for as locateFonts does
  FontChoice font;
  std::string frameOut;  // the file standing in for the port; empty: the port
  bool send = false;
  // The window's start texts as a request, each part replaced by its option when given.
  SendRequest request;

  bool sends() const { return send || !frameOut.empty(); }  // --frame-out implies --send
};

// The font files --font-dir names, or those found beside this program or in its share folder.
FontPaths fontPaths(const RunSettings& settings);

// --font-dir, in the section where `app` lists its own options, and the
// glyph options (--size, --font, ...) in theirs.
void addFontDirOption(CLI::App& app, RunSettings& settings);
// --port (or --device) and the line settings, straight into `request`, in
// `section`. A value the window's boxes would refuse is a usage error here.
void addPortOptions(CLI::App& app, SendRequest& request, const std::string& section);
// --speed and --mode, straight into `request`, in `section`.
void addEffectOptions(CLI::App& app, SendRequest& request, const std::string& section);
// --send and the options standing for the window's send boxes, as their own section.
void addSendOptions(CLI::App& app, RunSettings& settings);

// Why the send-box options given (--port, --speed, ...) are of no use: they
// only matter when sending, and nothing is sent.
Result<void> requireSendForBoxOptions(const CLI::App& app, const RunSettings& settings);

// Where a command's text comes from: TEXT as it stands, else the --text-file
// or standard input, in the --encoding asked for.
struct TextInput {
  std::vector<std::string> texts;  // TEXT
  std::string file;                // --text-file; empty: standard input
  std::optional<TextEncoding> encoding;
};
// TEXT (with `help`), --text-file and --encoding.
void addTextOptions(CLI::App& app, TextInput& input, const std::string& help);
// --encoding alone, of what the command reads (`read`: "the text file or standard input").
void addEncodingOption(CLI::App& app, std::optional<TextEncoding>& encoding, const std::string& read);

// TEXT as it stands, or the file or standard input decoded and read as typed
// text (typedText). Bytes not valid in their encoding extract nothing.
Result<std::string> runText(const TextInput& input);
// `bytes` from `source` (a file's name, "standard input") as UTF-8 text, or why
// not: a byte not valid in the encoding, or a NUL, with the encoding it reads as.
Result<std::string> decodedText(std::string_view bytes, const std::string& source,
                                std::optional<TextEncoding> encoding);
// Piped text as the input box would hold it typed: a line feed without its
// carriage return becomes CR LF.
std::string typedText(std::string_view piped);

// Characters named on one line: up to a line's worth, then how many more.
std::string namedCharacters(const std::vector<std::u16string_view>& characters);
std::string namedCharacters(const std::vector<char32_t>& characters);
// Those of `undrawn` that are undrawn for `why`, named.
std::string namedCharacters(const std::vector<UndrawnCharacter>& undrawn, Undrawn why);

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
