#pragma once

// The glyph size and grid options both tools take, read once into their
// types and refused in the same words.

#include <string>

#include "extract/font_layout.h"

namespace CLI {
class App;
class Option;
}  // namespace CLI

namespace lumadot {

// --size N or WxH, each side 8 to 64.
CLI::Option* addSizeOption(CLI::App& app, CellSize& cell, const std::string& help);
// --charset gb2312 or gbk.
CLI::Option* addCharsetOption(CLI::App& app, Charset& charset, const std::string& help);

}  // namespace lumadot
