// The fonts installed here, as Debian's font packages put them (the Makefile installs them).
#include "fonts/system_fonts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <tuple>
#include <utility>
#include <vector>

namespace lumadot {
namespace {

TEST(SystemFonts, ListsTheInstalledPackagesFacesEachOnceInOrder) {
  const std::vector<SystemFont> fonts = systemFonts();
  struct Row {
    const char* family;
    const char* file;
    std::vector<int> pixelSizes;  // none: scalable
  };
  const Row rows[] = {
      {"WenQuanYi Zen Hei", "/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc", {}},
      {"AR PL UMing", "/usr/share/fonts/truetype/arphic/uming.ttc", {}},
      {"DejaVu Sans", "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", {}},
      {"WenQuanYi Bitmap Song", "/usr/share/fonts/X11/misc/wenquanyi_12pt.pcf", {16}},
  };
  for (const Row& row : rows) {
    const auto found = std::find_if(fonts.begin(), fonts.end(), [&](const SystemFont& f) {
      return f.family.find(row.family) != std::string::npos && f.file == row.file;
    });
    ASSERT_NE(found, fonts.end()) << row.family << " in " << row.file;
    EXPECT_EQ(found->scalable, row.pixelSizes.empty()) << row.file;
    EXPECT_EQ(found->pixelSizes, row.pixelSizes) << row.file;
  }
  std::set<std::pair<std::string, int>> faces;
  for (const SystemFont& font : fonts) {
    EXPECT_TRUE(std::filesystem::is_regular_file(font.file)) << font.file;
    EXPECT_TRUE(faces.emplace(font.file, font.face).second) << font.file << " face " << font.face << " twice";
  }
  // A collection's second face is a face of its own.
  EXPECT_TRUE(faces.contains({"/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc", 1}));
  EXPECT_TRUE(std::is_sorted(fonts.begin(), fonts.end(), [](const SystemFont& a, const SystemFont& b) {
    return std::tie(a.family, a.style) < std::tie(b.family, b.style);
  }));
}

}  // namespace
}  // namespace lumadot
