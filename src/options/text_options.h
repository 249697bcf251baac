#pragma once

// Where a command's text comes from, as options: TEXT, --text-file and --encoding.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/result.h"

#include "extract/text_encoding.h"

namespace CLI {
class App;
}  // namespace CLI

namespace lumadot {

// Far more than any text a sign can show, whose glyphs fill at most 65,536
// bytes; a file or pipe that runs past it is refused rather than held in memory.
inline constexpr std::size_t kMaxTextBytes = std::size_t{4} << 20;

// TEXT as it stands, else the --text-file or standard input, in the --encoding asked for.
struct TextInput {
  std::vector<std::string> texts;  // TEXT
  std::string file;                // --text-file; empty: standard input
  std::optional<TextEncoding> encoding;
};

// TEXT (with `help`), --text-file and --encoding.
void addTextOptions(CLI::App& app, TextInput& input, const std::string& help);
// --encoding alone, of what the command reads (`read`: "the text file or standard input").
void addEncodingOption(CLI::App& app, std::optional<TextEncoding>& encoding, const std::string& read);


// TEXT as it stands, or the --text-file decoded and read as typed text;
// nothing when neither was given (standard input is the program's to read).
Result<std::optional<std::string>> givenText(const TextInput& input);
// `bytes` from `source` (a file's name, "standard input") as UTF-8 text, or why
// not: a byte not valid in the encoding, or a NUL, with the encoding it reads as.
Result<std::string> decodedText(std::string_view bytes, const std::string& source,
                                std::optional<TextEncoding> encoding);
// Piped text as the input box would hold it typed: a line feed without its
// carriage return becomes CR LF.
std::string typedText(std::string_view piped);

}  // namespace lumadot
