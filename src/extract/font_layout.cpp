#include "extract/font_layout.h"

#include <array>
#include <charconv>

#include "extract/ansi_code.h"

namespace lumadot {
namespace {

constexpr std::array<std::string_view, 2> kCharsetNames{"gb2312", "gbk"};

// GB2312: lead and trail bytes A1 to FE. GBK: lead bytes 81 to FE, trail
// bytes 40 to FE but 7F.
constexpr int kGbkLeads = 126;
constexpr int kGbkTrails = 190;

std::optional<int> side(std::string_view text) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc{} || end != text.data() + text.size() || text.empty() || text.front() == '+') return {};
  if (value < CellSize::kMinSide || value > CellSize::kMaxSide) return {};
  return value;
}

}  // namespace

std::string CellSize::name() const {
  return width == height ? std::to_string(width) : std::to_string(width) + "x" + std::to_string(height);
}

std::optional<CellSize> CellSize::named(std::string_view text) {
  const auto x = text.find('x');
  if (x == std::string_view::npos) {
    const auto n = side(text);
    return n ? std::optional(CellSize{*n, *n}) : std::nullopt;
  }
  const auto w = side(text.substr(0, x));
  const auto h = side(text.substr(x + 1));
  return w && h ? std::optional(CellSize{*w, *h}) : std::nullopt;
}

std::string_view charsetName(Charset charset) { return kCharsetNames[static_cast<std::size_t>(charset)]; }

std::optional<Charset> charsetNamed(std::string_view name) {
  for (std::size_t i = 0; i < kCharsetNames.size(); ++i) {
    if (kCharsetNames[i] == name) return static_cast<Charset>(i);
  }
  return std::nullopt;
}

std::size_t gridPlaces(Charset charset) {
  return charset == Charset::gbk ? std::size_t{kGbkLeads} * kGbkTrails : std::size_t{kGridSize} * kGridSize;
}

std::optional<std::size_t> gridPlace(Charset charset, std::int16_t code) {
  const int lead = leadByte(code);
  const int trail = trailByte(code);
  if (charset == Charset::gb2312) {
    if (lead < 0xA1 || lead > 0xFE || trail < 0xA1 || trail > 0xFE) return std::nullopt;
    return static_cast<std::size_t>((lead - 0xA1) * kGridSize + (trail - 0xA1));
  }
  if (lead < 0x81 || lead > 0xFE || trail < 0x40 || trail > 0xFE || trail == 0x7F) return std::nullopt;
  return static_cast<std::size_t>((lead - 0x81) * kGbkTrails + (trail < 0x7F ? trail - 0x40 : trail - 0x41));
}

std::int16_t gridCode(Charset charset, std::size_t place) {
  int lead = 0;
  int trail = 0;
  if (charset == Charset::gb2312) {
    lead = 0xA1 + static_cast<int>(place / kGridSize);
    trail = 0xA1 + static_cast<int>(place % kGridSize);
  } else {
    lead = 0x81 + static_cast<int>(place / kGbkTrails);
    const int column = static_cast<int>(place % kGbkTrails);
    trail = column < 0x3F ? 0x40 + column : 0x41 + column;
  }
  return static_cast<std::int16_t>(lead * 256 + trail - 65536);
}

std::string singleByteFileName(CellSize cell) { return "asc" + cell.name(); }

std::string doubleByteFileName(CellSize cell, Charset charset) {
  return (charset == Charset::gbk ? "gbk" : "hzk") + cell.name();
}

std::size_t singleByteFileSize(CellSize cell) { return 256 * glyphSize(cell.singleByte()); }

std::size_t doubleByteFileSize(CellSize cell, Charset charset) {
  return gridPlaces(charset) * glyphSize(cell.doubleByte());
}

}  // namespace lumadot
