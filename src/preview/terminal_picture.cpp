#include "preview/terminal_picture.h"

#include <algorithm>
#include <cstddef>
#include <vector>

namespace lumadot {

namespace {

void appendBand(std::string& out, const DotPicture& picture, const DotCharacters& dots, int begin, int end) {
  for (int y = 0; y < picture.height(); ++y) {
    for (int x = begin; x < end; ++x) out += picture.lit(x, y) ? dots.lit : dots.unlit;
    out += '\n';
  }
}

}  // namespace

std::string terminalPicture(const DotPicture& picture, const DotCharacters& dots, int maxWidth) {
  std::string out;
  const int width = picture.width();
  if (width == 0) return out;

  // Glyph starts begin at 0 in a picture with any dots.
  std::vector<int> cuts = picture.glyphStarts();
  cuts.push_back(width);

  const std::size_t cell = std::max(dots.lit.size(), dots.unlit.size());
  const std::size_t bandCount = maxWidth > 0 ? cuts.size() - 1 : 1;
  const auto height = static_cast<std::size_t>(picture.height());
  out.reserve(static_cast<std::size_t>(width) * height * cell + bandCount * (height + 1));

  std::size_t first = 0;
  while (first + 1 < cuts.size()) {
    std::size_t last = cuts.size() - 1;
    if (maxWidth > 0) {
      // At least one glyph, then as many more as still fit.
      last = first + 1;
      while (last + 1 < cuts.size() && cuts[last + 1] - cuts[first] <= maxWidth) ++last;
    }
    if (first != 0) out += '\n';
    appendBand(out, picture, dots, cuts[first], cuts[last]);
    first = last;
  }
  return out;
}

}  // namespace lumadot
