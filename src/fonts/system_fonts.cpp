#include "fonts/system_fonts.h"

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_FONT_FORMATS_H
#include FT_SFNT_NAMES_H
#include FT_TRUETYPE_IDS_H

#include <cstdlib>
#include <filesystem>
#include <fstream>
#else
#include <fontconfig/fontconfig.h>
#endif

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <optional>
#include <set>
#include <string_view>
#include <tuple>
#include <utility>

namespace lumadot {
namespace {

// What fontconfig calls the formats FreeTypeFont reads: CFF is OpenType's other outline.
// FreeType's FT_Get_Font_Format, which fontconfig reports, names them alike.
constexpr std::array<std::string_view, 4> kReadFormats{"TrueType", "CFF", "PCF", "BDF"};

void sortFonts(std::vector<SystemFont>& fonts) {
  std::sort(fonts.begin(), fonts.end(), [](const SystemFont& a, const SystemFont& b) {
    return std::tie(a.family, a.style, a.file, a.face) < std::tie(b.family, b.style, b.file, b.face);
  });
}

}  // namespace
}  // namespace lumadot

#ifdef _WIN32
namespace lumadot {
namespace {

// The folders Windows installs fonts into: for every user, and for this user alone.
std::vector<std::filesystem::path> fontFolders() {
  std::vector<std::filesystem::path> folders;
  wchar_t windows[MAX_PATH] = {};
  const UINT length = GetWindowsDirectoryW(windows, MAX_PATH);
  if (length > 0 && length < MAX_PATH) folders.push_back(std::filesystem::path(windows) / L"Fonts");
  if (const wchar_t* local = _wgetenv(L"LOCALAPPDATA"); local && *local) {
    folders.push_back(std::filesystem::path(local) / L"Microsoft" / L"Windows" / L"Fonts");
  }
  return folders;
}

void appendUtf8(std::string& text, char32_t c) {
  if (c < 0x80) {
    text += static_cast<char>(c);
  } else if (c < 0x800) {
    text += {static_cast<char>(0xC0 | c >> 6), static_cast<char>(0x80 | (c & 0x3F))};
  } else if (c < 0x10000) {
    text += {static_cast<char>(0xE0 | c >> 12), static_cast<char>(0x80 | (c >> 6 & 0x3F)),
             static_cast<char>(0x80 | (c & 0x3F))};
  } else {
    text += {static_cast<char>(0xF0 | c >> 18), static_cast<char>(0x80 | (c >> 12 & 0x3F)),
             static_cast<char>(0x80 | (c >> 6 & 0x3F)), static_cast<char>(0x80 | (c & 0x3F))};
  }
}

// A Microsoft name record, UTF-16 big-endian, as UTF-8.
std::string fromUtf16BigEndian(const FT_SfntName& name) {
  std::string text;
  for (FT_UInt i = 0; i + 1 < name.string_len; i += 2) {
    char32_t c = static_cast<char32_t>(name.string[i] << 8 | name.string[i + 1]);
    if (c >= 0xD800 && c < 0xDC00 && i + 3 < name.string_len) {
      const char32_t low = static_cast<char32_t>(name.string[i + 2] << 8 | name.string[i + 3]);
      if (low >= 0xDC00 && low < 0xE000) {
        c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
        i += 2;
      }
    }
    appendUtf8(text, c);
  }
  return text;
}

// FreeType's own family_name drops what is not ASCII, so the name table is
// read itself: the English name, else the first, as fontconfig lists them.
std::string englishName(FT_Face face, FT_UShort nameId, const char* fallback) {
  std::optional<std::string> first;
  FT_SfntName name{};
  for (FT_UInt i = 0, count = FT_Get_Sfnt_Name_Count(face); i < count; ++i) {
    if (FT_Get_Sfnt_Name(face, i, &name) != 0 || name.name_id != nameId || name.platform_id != TT_PLATFORM_MICROSOFT ||
        (name.encoding_id != TT_MS_ID_UNICODE_CS && name.encoding_id != TT_MS_ID_UCS_4)) {
      continue;
    }
    if (name.language_id == TT_MS_LANGID_ENGLISH_UNITED_STATES) return fromUtf16BigEndian(name);
    if (!first) first = fromUtf16BigEndian(name);
  }
  return first.value_or(fallback ? fallback : "");
}

std::optional<SystemFont> readableFace(FT_Face face, const std::filesystem::path& file, int index) {
  const char* format = FT_Get_Font_Format(face);
  if (!format || std::find(kReadFormats.begin(), kReadFormats.end(), format) == kReadFormats.end()) return std::nullopt;
  const std::u8string path = file.u8string();
  SystemFont font{englishName(face, TT_NAME_ID_FONT_FAMILY, face->family_name),
                  englishName(face, TT_NAME_ID_FONT_SUBFAMILY, face->style_name), std::string(path.begin(), path.end()),
                  index, FT_IS_SCALABLE(face) != 0, {}};
  if (font.scalable) return font;
  for (FT_Int i = 0; i < face->num_fixed_sizes; ++i) {
    font.pixelSizes.push_back(static_cast<int>(std::lround(face->available_sizes[i].y_ppem / 64.0)));
  }
  std::sort(font.pixelSizes.begin(), font.pixelSizes.end());
  font.pixelSizes.erase(std::unique(font.pixelSizes.begin(), font.pixelSizes.end()), font.pixelSizes.end());
  return font;
}

// FreeType reads through the stream, as FT_New_Face takes only ANSI paths.
unsigned long readAt(FT_Stream stream, unsigned long offset, unsigned char* buffer, unsigned long count) {
  auto& in = *static_cast<std::ifstream*>(stream->descriptor.pointer);
  in.clear();
  in.seekg(static_cast<std::streamoff>(offset));
  if (count == 0) return in ? 0 : 1;  // a seek: 0 is success
  in.read(reinterpret_cast<char*>(buffer), static_cast<std::streamsize>(count));
  return static_cast<unsigned long>(in.gcount());
}

void addFaces(FT_Library library, const std::filesystem::path& file, std::vector<SystemFont>& fonts) {
  std::ifstream in(file, std::ios::binary | std::ios::ate);
  if (!in) return;
  FT_StreamRec stream{};
  stream.size = static_cast<unsigned long>(in.tellg());
  stream.descriptor.pointer = &in;
  stream.read = readAt;
  FT_Open_Args args{};
  args.flags = FT_OPEN_STREAM;
  args.stream = &stream;
  for (FT_Long index = 0, faces = 1; index < faces; ++index) {
    FT_Face face = nullptr;
    if (FT_Open_Face(library, &args, index, &face) != 0) return;
    faces = face->num_faces;
    if (auto font = readableFace(face, file, static_cast<int>(index))) fonts.push_back(std::move(*font));
    FT_Done_Face(face);
  }
}

}  // namespace

std::vector<SystemFont> systemFonts() {
  FT_Library library = nullptr;
  if (FT_Init_FreeType(&library) != 0) return {};
  std::vector<SystemFont> fonts;
  std::set<std::filesystem::path> seen;
  for (const auto& folder : fontFolders()) {
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
      if (entry.is_regular_file(ec) && seen.insert(entry.path()).second) addFaces(library, entry.path(), fonts);
    }
  }
  FT_Done_FreeType(library);
  sortFonts(fonts);
  return fonts;
}

}  // namespace lumadot
#else

namespace lumadot {
namespace {

struct ConfigDeleter {
  void operator()(FcConfig* config) const { FcConfigDestroy(config); }
};
struct FontSetDeleter {
  void operator()(FcFontSet* set) const { FcFontSetDestroy(set); }
};

std::optional<std::string> text(FcPattern* pattern, const char* object, int n = 0) {
  FcChar8* value = nullptr;
  if (FcPatternGetString(pattern, object, n, &value) != FcResultMatch || value == nullptr) return std::nullopt;
  return std::string(reinterpret_cast<const char*>(value));
}

// A name a font gives in several languages: the English one, else the first.
std::string englishName(FcPattern* pattern, const char* object, const char* languages) {
  for (int n = 0;; ++n) {
    const auto name = text(pattern, object, n);
    if (!name) break;
    if (text(pattern, languages, n) == "en") return *name;
  }
  return text(pattern, object).value_or("");
}

std::vector<int> pixelSizes(FcPattern* pattern) {
  std::vector<int> sizes;
  double size = 0;
  for (int n = 0; FcPatternGetDouble(pattern, FC_PIXEL_SIZE, n, &size) == FcResultMatch; ++n) {
    sizes.push_back(static_cast<int>(std::lround(size)));
  }
  std::sort(sizes.begin(), sizes.end());
  sizes.erase(std::unique(sizes.begin(), sizes.end()), sizes.end());
  return sizes;
}

// The face `pattern` describes, or nothing for a format we do not read or a
// variable font's named instance (the face itself is listed on its own).
std::optional<SystemFont> readableFace(FcPattern* pattern) {
  const auto file = text(pattern, FC_FILE);
  const auto format = text(pattern, FC_FONTFORMAT);
  int index = 0;
  if (!file || !format || FcPatternGetInteger(pattern, FC_INDEX, 0, &index) != FcResultMatch || (index >> 16) != 0 ||
      std::find(kReadFormats.begin(), kReadFormats.end(), *format) == kReadFormats.end()) {
    return std::nullopt;
  }
  FcBool scalable = FcTrue;
  FcPatternGetBool(pattern, FC_SCALABLE, 0, &scalable);
  SystemFont font{englishName(pattern, FC_FAMILY, FC_FAMILYLANG), englishName(pattern, FC_STYLE, FC_STYLELANG), *file,
                  index, scalable != FcFalse, {}};
  if (!font.scalable) font.pixelSizes = pixelSizes(pattern);
  return font;
}

}  // namespace

std::vector<SystemFont> systemFonts() {
  // A configuration of its own, so a call from any thread shares nothing with the window's.
  const std::unique_ptr<FcConfig, ConfigDeleter> config(FcInitLoadConfigAndFonts());
  if (!config) return {};
  const std::unique_ptr<FcPattern, decltype(&FcPatternDestroy)> all(FcPatternCreate(), &FcPatternDestroy);
  const std::unique_ptr<FcObjectSet, decltype(&FcObjectSetDestroy)> objects(
      FcObjectSetBuild(FC_FAMILY, FC_FAMILYLANG, FC_STYLE, FC_STYLELANG, FC_FILE, FC_INDEX, FC_FONTFORMAT,
                       FC_SCALABLE, FC_PIXEL_SIZE, nullptr),
      &FcObjectSetDestroy);
  const std::unique_ptr<FcFontSet, FontSetDeleter> set(FcFontList(config.get(), all.get(), objects.get()));
  std::vector<SystemFont> fonts;
  if (!set) return fonts;
  std::set<std::pair<std::string, int>> seen;
  for (int i = 0; i < set->nfont; ++i) {
    auto font = readableFace(set->fonts[i]);
    if (font && seen.emplace(font->file, font->face).second) fonts.push_back(std::move(*font));
  }
  sortFonts(fonts);
  return fonts;
}

}  // namespace lumadot

#endif
