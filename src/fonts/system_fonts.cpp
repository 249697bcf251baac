#include "fonts/system_fonts.h"

#include <fontconfig/fontconfig.h>

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
constexpr std::array<std::string_view, 4> kReadFormats{"TrueType", "CFF", "PCF", "BDF"};

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
  std::sort(fonts.begin(), fonts.end(), [](const SystemFont& a, const SystemFont& b) {
    return std::tie(a.family, a.style, a.file, a.face) < std::tie(b.family, b.style, b.file, b.face);
  });
  return fonts;
}

}  // namespace lumadot
