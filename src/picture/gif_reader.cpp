#include <gif_lib.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <optional>
#include <vector>

#include "picture/picture_decoders.h"

namespace lumadot::picture_detail {
namespace {

struct GifInput {
  std::span<const std::uint8_t> bytes;
  std::size_t at = 0;
  bool truncated = false;
};

int readBytes(GifFileType* gif, GifByteType* out, int count) {
  auto& input = *static_cast<GifInput*>(gif->UserData);
  const std::size_t wanted = static_cast<std::size_t>(std::max(count, 0));
  const std::size_t given = std::min(wanted, input.bytes.size() - input.at);
  if (given < wanted) input.truncated = true;
  std::memcpy(out, input.bytes.data() + input.at, given);
  input.at += given;
  return static_cast<int>(given);
}

struct GifCloser {
  void operator()(GifFileType* gif) const { DGifCloseFile(gif, nullptr); }
};
using GifFile = std::unique_ptr<GifFileType, GifCloser>;

Failure gifFailure(const GifInput& input, int error, const std::string& name) {
  if (input.truncated) return truncated(name, "GIF");
  const char* why = GifErrorString(error);
  return damaged(name, "GIF", why != nullptr ? why : "unknown error");
}

// The transparent colour a graphic control block names, or -1; nothing when giflib fails.
std::optional<int> skipExtension(GifFileType* gif, int transparent) {
  int code = 0;
  GifByteType* block = nullptr;
  if (DGifGetExtension(gif, &code, &block) == GIF_ERROR) return std::nullopt;
  GraphicsControlBlock control{};
  if (code == GRAPHICS_EXT_FUNC_CODE && block != nullptr &&
      DGifExtensionToGCB(block[0], block + 1, &control) == GIF_OK) {
    transparent = control.TransparentColor;
  }
  while (block != nullptr) {
    if (DGifGetExtensionNext(gif, &block) == GIF_ERROR) return std::nullopt;
  }
  return transparent;
}

// The rows of an interlaced frame come in four passes.
std::vector<int> rowOrder(int height, bool interlaced) {
  std::vector<int> rows;
  if (!interlaced) {
    for (int y = 0; y < height; ++y) rows.push_back(y);
    return rows;
  }
  constexpr int kStart[] = {0, 4, 2, 1};
  constexpr int kStep[] = {8, 8, 4, 2};
  for (int pass = 0; pass < 4; ++pass) {
    for (int y = kStart[pass]; y < height; y += kStep[pass]) rows.push_back(y);
  }
  return rows;
}

void paintRow(RgbaPicture& out, const GifImageDesc& frame, const ColorMapObject* map, int y,
              const std::vector<GifPixelType>& line, int transparent) {
  const std::size_t first = static_cast<std::size_t>(frame.Top + y) * static_cast<std::size_t>(out.width) +
                            static_cast<std::size_t>(frame.Left);
  std::uint8_t* pixel = out.rgba.data() + first * 4;
  for (int x = 0; x < frame.Width; ++x, pixel += 4) {
    const int index = line[static_cast<std::size_t>(x)];
    if (index == transparent) continue;  // the white beneath shows
    const bool known = map != nullptr && index < map->ColorCount;
    const GifColorType colour = known ? map->Colors[static_cast<std::size_t>(index)] : GifColorType{0, 0, 0};
    pixel[0] = colour.Red;
    pixel[1] = colour.Green;
    pixel[2] = colour.Blue;
  }
}

// The first frame on its screen; the screen beyond it is white.
Result<RgbaPicture> readFrame(GifFileType* gif, const GifInput& input, int transparent, const std::string& name) {
  if (DGifGetImageDesc(gif) == GIF_ERROR) return gifFailure(input, gif->Error, name);
  const GifImageDesc& frame = gif->Image;
  if (frame.Left < 0 || frame.Top < 0 || frame.Width < 0 || frame.Height < 0) {
    return damaged(name, "GIF", "a frame outside its screen");
  }
  const std::uint64_t width = std::max<std::uint64_t>(static_cast<std::uint64_t>(gif->SWidth),
                                                     static_cast<std::uint64_t>(frame.Left) + static_cast<std::uint64_t>(frame.Width));
  const std::uint64_t height = std::max<std::uint64_t>(static_cast<std::uint64_t>(gif->SHeight),
                                                      static_cast<std::uint64_t>(frame.Top) + static_cast<std::uint64_t>(frame.Height));
  if (auto refusal = sizeRefusal(name, width, height)) return *refusal;
  RgbaPicture out = blankPicture(static_cast<int>(width), static_cast<int>(height));
  const ColorMapObject* map = frame.ColorMap != nullptr ? frame.ColorMap : gif->SColorMap;
  std::vector<GifPixelType> line(static_cast<std::size_t>(frame.Width) + 1);
  for (const int y : rowOrder(frame.Height, frame.Interlace)) {
    if (DGifGetLine(gif, line.data(), frame.Width) == GIF_ERROR) return gifFailure(input, gif->Error, name);
    paintRow(out, frame, map, y, line, transparent);
  }
  return out;
}

}  // namespace

Result<RgbaPicture> decodeGif(std::span<const std::uint8_t> bytes, const std::string& name) {
  GifInput input{bytes};
  int error = 0;
  const GifFile gif(DGifOpen(&input, readBytes, &error));
  if (!gif) return gifFailure(input, error, name);
  int transparent = NO_TRANSPARENT_COLOR;
  for (;;) {
    GifRecordType type = UNDEFINED_RECORD_TYPE;
    if (DGifGetRecordType(gif.get(), &type) == GIF_ERROR) return gifFailure(input, gif->Error, name);
    if (type == IMAGE_DESC_RECORD_TYPE) return readFrame(gif.get(), input, transparent, name);
    if (type == TERMINATE_RECORD_TYPE) return damaged(name, "GIF", "it holds no frame");
    if (type == EXTENSION_RECORD_TYPE) {
      const auto found = skipExtension(gif.get(), transparent);
      if (!found) return gifFailure(input, gif->Error, name);
      transparent = *found;
    }
  }
}

}  // namespace lumadot::picture_detail
