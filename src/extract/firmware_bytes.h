#pragma once

// Glyph bytes as they stand in someone's firmware source, pasted as they are:
// assembler (DB 01H,0F8H / .db 0x1F), C ({0x01, 0xF8}), our own listing,
// decimal, binary, with labels, declarations and comments around them.

#include <cstdint>
#include <string_view>
#include <vector>

#include "base/result.h"

namespace lumadot {

// Every byte in `text`, in order. Comments run from ";" or "//" to the end of
// the line, or from "/*" to "*/". When the text has braces, only what is
// inside them counts (the C declaration around them does not). A label
// ("ZI_0:") and a data directive (DB, .db, .byte, DEFB) at the start of a line
// are skipped, and so is a line of another directive (.area, ORG, END, ...).
// Numbers: 0x1F, $1F, 1FH, 0F8H, 0b1010, 1010B, 31.
// Fails naming the first token that is not a byte.
Result<std::vector<std::uint8_t>> readFirmwareBytes(std::string_view text);

}  // namespace lumadot
