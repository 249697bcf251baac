#pragma once

// What a source file holds besides its glyph bytes, chosen once by whoever
// asks for the source and handed to every source format: extract's
// (formatGlyphs), a font subset's (subsetSource). lumadot-cli reads it from
// --no-credit and --output-encoding (src/options/format_options); a window
// holds the same value behind a check box and an encoding box, and saves it
// under sourceEncodingName's names. Raw bytes and Intel HEX hold no text and
// are the same whatever it says. The listing keeps its credit lines, since
// they are part of the text the result box shows; only its encoding may change.

#include <optional>
#include <string>
#include <string_view>

namespace lumadot {

// UTF-8 for SDCC, as31 and modern editors; GBK (code page 936) for Keil on a
// Chinese Windows, which reads a source in the system's code page.
enum class SourceEncoding { utf8, gbk };

inline constexpr SourceEncoding kSourceEncodings[] = {SourceEncoding::utf8, SourceEncoding::gbk};

struct SourceOptions {
  bool credit = true;  // the credit lines close the file
  // Of the comments, the only text of a source that is not ASCII: the glyphs'
  // header lines and the credit lines.
  SourceEncoding encoding = SourceEncoding::utf8;

  bool operator==(const SourceOptions&) const = default;
};

// "utf-8" and "gbk", as --output-encoding takes them and a setting is saved.
std::string_view sourceEncodingName(SourceEncoding encoding);
// A name as a user may type it ("GBK", "utf8"), or nothing.
std::optional<SourceEncoding> sourceEncodingNamed(std::string_view name);
std::string_view sourceEncodingNameList();  // "utf-8 or gbk", for messages

// UTF-8 text as a file in `encoding` holds it: as it is in UTF-8; in GBK, a
// character that code page 936 cannot hold is written U+XXXX, as a control
// character in a header comment is, so nothing is lost and nothing fails.
std::string encodedText(std::string_view utf8, SourceEncoding encoding);

}  // namespace lumadot
