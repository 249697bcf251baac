#include "fonts/freetype_font.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_BDF_H
#include FT_BITMAP_H

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>
#include <vector>

#include "base/utf8_path.h"
#include "extract/ansi_code.h"
#include "fonts/gzip_reader.h"

namespace lumadot {
namespace {

// Metrics beyond this are nonsense from a broken file; clamping keeps the
// placement arithmetic far from overflow.
constexpr FT_Pos kFarthest = 4096;
// The biggest CJK fonts are a few dozen megabytes; a gzip bomb is stopped here.
constexpr std::size_t kLargestUnpacked = std::size_t{256} << 20;

// How the face's character map numbers characters.
enum class CodeMap {
  unicode,
  gbk,     // code page 936 bytes, lead * 256 + trail (a TrueType 'gb' map)
  gb2312,  // GB2312 row and column + 0x20 each, as X11's GB2312.1980 fonts number them
};

std::string ftMessage(FT_Error error) {
  if (const char* text = FT_Error_String(error)) return text;
  return "FreeType error " + std::to_string(error);
}

int pixels(FT_Pos value26dot6) {
  return static_cast<int>(std::clamp<FT_Pos>((value26dot6 + 32) >> 6, -kFarthest, kFarthest));
}
int clamped(FT_Int value) { return static_cast<int>(std::clamp<FT_Pos>(value, -kFarthest, kFarthest)); }

bool isGb2312Registry(FT_Face face) {
  const char* registry = nullptr;
  const char* encoding = nullptr;
  if (FT_Get_BDF_Charset_ID(face, &encoding, &registry) != 0 || !registry) return false;
  std::string name(registry);
  for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return name.starts_with("GB2312");
}

std::optional<CodeMap> chooseCodeMap(FT_Face face) {
  if (FT_Select_Charmap(face, FT_ENCODING_UNICODE) == 0) return CodeMap::unicode;
  if (FT_Select_Charmap(face, FT_ENCODING_PRC) == 0) return CodeMap::gbk;
  if (isGb2312Registry(face) && face->num_charmaps > 0) {
    FT_Set_Charmap(face, face->charmaps[0]);
    return CodeMap::gb2312;
  }
  return std::nullopt;
}

std::optional<int> strikeOf(FT_Face face, int size) {
  for (int i = 0; i < face->num_fixed_sizes; ++i) {
    if (pixels(face->available_sizes[i].y_ppem) == size) return i;
  }
  return std::nullopt;
}

std::string sizeList(FT_Face face) {
  std::vector<int> sizes;
  for (int i = 0; i < face->num_fixed_sizes; ++i) sizes.push_back(pixels(face->available_sizes[i].y_ppem));
  std::sort(sizes.begin(), sizes.end());
  sizes.erase(std::unique(sizes.begin(), sizes.end()), sizes.end());
  std::string list;
  for (std::size_t i = 0; i < sizes.size(); ++i) {
    if (i > 0) list += i + 1 == sizes.size() ? " and " : ", ";
    list += std::to_string(sizes[i]);
  }
  return list;
}

// Whether dot (x, y) of a bitmap is lit, for any pixel mode FreeType gives.
class BitmapDots {
 public:
  BitmapDots(FT_Library library, const FT_Bitmap& bitmap) : m_bitmap(&bitmap) {
    FT_Bitmap_Init(&m_converted);
    if (bitmap.pixel_mode != FT_PIXEL_MODE_MONO && FT_Bitmap_Convert(library, &bitmap, &m_converted, 1) == 0) {
      m_library = library;
      m_bitmap = &m_converted;
    }
  }
  ~BitmapDots() {
    if (m_library) FT_Bitmap_Done(m_library, &m_converted);
  }
  BitmapDots(const BitmapDots&) = delete;
  BitmapDots& operator=(const BitmapDots&) = delete;

  bool operator()(int x, int y) const {
    const FT_Bitmap& b = *m_bitmap;
    const int pitch = b.pitch;
    const unsigned char* row =
        b.buffer + (pitch >= 0 ? y * pitch : (static_cast<int>(b.rows) - 1 - y) * -pitch);
    if (b.pixel_mode == FT_PIXEL_MODE_MONO) return (row[x / 8] >> (7 - x % 8)) & 1;
    if (b.pixel_mode != FT_PIXEL_MODE_GRAY) return false;  // a mode FreeType could not convert
    return 2 * row[x] >= std::max<int>(b.num_grays, 2);
  }

 private:
  const FT_Bitmap* m_bitmap;
  FT_Bitmap m_converted;
  FT_Library m_library = nullptr;
};

Result<std::vector<std::uint8_t>> readGzip(std::istream& in, const std::string& name) {
  GzipReader reader(in);
  std::vector<std::uint8_t> bytes;
  std::array<char, 1 << 16> block;
  std::istream unpacked(&reader);
  while (unpacked.read(block.data(), block.size()) || unpacked.gcount() > 0) {
    if (bytes.size() + static_cast<std::size_t>(unpacked.gcount()) > kLargestUnpacked) {
      return Failure(name + ": unpacks to more than " + std::to_string(kLargestUnpacked >> 20) + " MB, too big for a font");
    }
    bytes.insert(bytes.end(), block.begin(), block.begin() + unpacked.gcount());
  }
  if (!reader.error().empty()) return Failure(name + ": " + reader.error());
  return bytes;
}

}  // namespace

struct FreeTypeFont::State {
  FT_Library library = nullptr;
  FT_Face face = nullptr;
  CodeMap codeMap = CodeMap::unicode;
  int size = 16;  // pixels
  bool bitmaps = false;
  // Where the face comes from: a file, or without a path bytes in memory.
  std::string path;
  std::span<const std::uint8_t> bytes;
  std::vector<std::uint8_t> owned;  // unpacked from gzip; on Windows, any file read
  // Over a file's bytes FreeType reports a file too short for any format as a
  // failed read, where over its path it says the format is unknown.
  bool fileInMemory = false;

  FT_Error newFace(FT_Long index) {
    if (path.empty()) return FT_New_Memory_Face(library, bytes.data(), static_cast<FT_Long>(bytes.size()), index, &face);
    return FT_New_Face(library, path.c_str(), index, &face);
  }

  Result<void> openFace(int index, const std::string& name) {
    const auto failure = [&](const std::string& what) { return Failure(name + ": " + what); };
    if (const FT_Error error = FT_Init_FreeType(&library)) return failure(ftMessage(error));
    if (const FT_Error error = newFace(0)) {
      if (error == FT_Err_Unknown_File_Format || (fileInMemory && error == FT_Err_Invalid_Stream_Operation)) {
        return failure("is not a font file FreeType can read");
      }
      return failure("cannot read the font: " + ftMessage(error));
    }
    const FT_Long faces = face->num_faces;
    if (index >= faces) {
      return failure("has no face " + std::to_string(index) + "; " +
                     (faces == 1 ? std::string("its only face is 0") : "its faces are 0 to " + std::to_string(faces - 1)));
    }
    if (index == 0) return {};
    FT_Done_Face(face);
    face = nullptr;
    if (const FT_Error error = newFace(index)) {
      return failure("cannot read face " + std::to_string(index) + ": " + ftMessage(error));
    }
    return {};
  }

  // The face's own bitmaps of `size` where it has them, else its outlines.
  Result<void> setSize(const std::string& name) {
    const auto failure = [&](const std::string& what) { return Failure(name + ": " + what); };
    const std::string pixelSize = std::to_string(size) + "-pixel";
    if (const auto strike = strikeOf(face, size)) {
      bitmaps = true;
      if (const FT_Error error = FT_Select_Size(face, *strike)) return failure(ftMessage(error));
    } else if (!FT_IS_SCALABLE(face)) {
      if (face->num_fixed_sizes == 0) return failure("has neither outlines nor bitmaps");
      return failure("has no " + pixelSize + " size; its bitmaps are " + sizeList(face) + " pixels");
    } else if (const FT_Error error = FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(size))) {
      return failure("cannot be drawn at " + std::to_string(size) + " pixels: " + ftMessage(error));
    }
    return {};
  }

  // FreeType can read a .pcf.gz itself, but it seeks back by unpacking from
  // the start again, which takes seconds; once in memory it takes none.
  Result<void> unpack(std::istream& gzip, const std::string& name) {
    auto unpacked = readGzip(gzip, name);
    if (!unpacked) return unpacked.error();
    owned = std::move(*unpacked);
    bytes = owned;
    return {};
  }

#ifdef _WIN32
  // FT_New_Face takes the path in the ANSI code page, which cannot spell every
  // name (Chinese ones on a Western system): the face reads the bytes instead.
  void useFile(std::istream& in, const std::string& /*name*/) {
    owned.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    bytes = owned;
    fileInMemory = true;
  }
#else
  void useFile(std::istream& /*in*/, const std::string& name) { path = name; }
#endif

  ~State() {
    if (face) FT_Done_Face(face);
    if (library) FT_Done_FreeType(library);
  }

  // The code the face's character map gives `character`, 0 for none.
  FT_ULong code(char32_t character) const {
    if (codeMap == CodeMap::unicode) return character;
    const std::int16_t code = ansiCode(character);
    if (code == kQuestionMarkCode && character != U'?') return 0;
    const auto ansi = static_cast<std::uint16_t>(code);
    if (codeMap == CodeMap::gbk) return ansi;
    const unsigned lead = ansi >> 8, trail = ansi & 0xFFu;
    if (lead < 0xA1 || trail < 0xA1) return 0;
    return (lead - 0x80) << 8 | (trail - 0x80);
  }

  std::optional<SourceGlyph> glyph(char32_t character) const;
  // Outlines drawn at `pixels` for once; bitmaps have their one size.
  std::optional<SourceGlyph> glyph(char32_t character, int pixels) const {
    if (bitmaps || pixels == size) return glyph(character);
    if (FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(pixels)) != 0) return std::nullopt;
    auto drawn = glyph(character);
    FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(size));
    return drawn;
  }
};

std::optional<SourceGlyph> FreeTypeFont::State::glyph(char32_t character) const {
  const FT_ULong at = code(character);
  const FT_UInt index = at == 0 && character != 0 ? 0 : FT_Get_Char_Index(face, at);
  if (index == 0) return std::nullopt;
  // FreeType's own one-bit rendering, with the font's hinting; the autohinter
  // would redraw the designer's strokes.
  if (FT_Load_Glyph(face, index, FT_LOAD_TARGET_MONO | FT_LOAD_MONOCHROME | FT_LOAD_NO_AUTOHINT) != 0) return std::nullopt;
  FT_GlyphSlot slot = face->glyph;
  if (slot->format != FT_GLYPH_FORMAT_BITMAP && FT_Render_Glyph(slot, FT_RENDER_MODE_MONO) != 0) return std::nullopt;
  const int advance = pixels(slot->advance.x), left = clamped(slot->bitmap_left), top = clamped(slot->bitmap_top);
  // A broken BDF can give a glyph a size but no bitmap: it draws nothing.
  if (!slot->bitmap.buffer) return SourceGlyph::blank(advance, left, top, 0, 0);
  const BitmapDots dots(library, slot->bitmap);
  // Only the middle of a giant bitmap is read, so a smaller stand-in size keeps it in int.
  const auto side = [](unsigned n) { return static_cast<int>(std::min(n, 0xFFFFu)); };
  return SourceGlyph::fromBitmap(advance, left, top, side(slot->bitmap.width), side(slot->bitmap.rows), dots);
}

Result<FreeTypeFont> FreeTypeFont::load(std::unique_ptr<State> state, int faceIndex, const std::string& name) {
  if (const auto opened = state->openFace(faceIndex, name); !opened) return opened.error();
  if (const auto sized = state->setSize(name); !sized) return sized.error();
  const auto codeMap = chooseCodeMap(state->face);
  if (!codeMap) return Failure(name + ": has no character map for Unicode or GB2312");
  state->codeMap = *codeMap;
  return FreeTypeFont(std::move(state));
}

Result<FreeTypeFont> FreeTypeFont::open(const std::filesystem::path& path, int face, int pixels) {
  const std::string name = utf8Path(path);
  // FreeType says only "cannot open resource"; the system says why.
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) return Failure(name + ": is a directory");
  std::ifstream in(path, std::ios::binary);
  if (!in) return Failure(name + ": cannot open: " + std::strerror(errno));
  auto state = std::make_unique<State>();
  state->size = pixels;
  if (startsWithGzipMagic(in)) {
    if (auto unpacked = state->unpack(in, name); !unpacked) return unpacked.error();
  } else {
    state->useFile(in, name);
  }
  return load(std::move(state), face, name);
}

Result<FreeTypeFont> FreeTypeFont::fromBytes(std::span<const std::uint8_t> bytes, int face, const std::string& name,
                                             int pixels) {
  auto state = std::make_unique<State>();
  state->size = pixels;
  state->bytes = bytes;
  if (bytes.size() >= 2 && bytes[0] == 0x1F && bytes[1] == 0x8B) {  // gzip's magic
    std::istringstream in(std::string(bytes.begin(), bytes.end()));
    if (auto unpacked = state->unpack(in, name); !unpacked) return unpacked.error();
  }
  return load(std::move(state), face, name);
}

FreeTypeFont::FreeTypeFont(std::unique_ptr<State> state) : m_state(std::move(state)) {}
FreeTypeFont::FreeTypeFont(FreeTypeFont&&) noexcept = default;
FreeTypeFont& FreeTypeFont::operator=(FreeTypeFont&&) noexcept = default;
FreeTypeFont::~FreeTypeFont() = default;

std::optional<SourceGlyph> FreeTypeFont::glyph(char32_t character) const { return m_state->glyph(character); }

GlyphFace FreeTypeFont::face() const {
  const State* state = m_state.get();
  return {[state](char32_t character, int pixels) { return state->glyph(character, pixels); }, state->size, ascent(),
          !state->bitmaps};
}

int FreeTypeFont::ascent() const { return pixels(m_state->face->size->metrics.ascender); }

std::string FreeTypeFont::description() const {
  const FT_Face face = m_state->face;
  std::string name = face->family_name ? face->family_name : "an unnamed face";
  if (face->style_name) name += std::string(" ") + face->style_name;
  const std::string size = std::to_string(m_state->size);
  return name + (m_state->bitmaps ? ", its " + size + "-pixel bitmaps" : ", outlines rendered at " + size + " pixels");
}

}  // namespace lumadot
