#include "extract/layout_detector.h"

#include <algorithm>
#include <array>
#include <bit>
#include <climits>
#include <string>

namespace lumadot {
namespace {

constexpr int kMaxShift = 2;
// A stray dot counts its distance to the nearest dot of the other picture, up to this.
constexpr int kMaxDistance = 8;
// Room around a picture for it to move and grow without losing a dot.
constexpr int kMargin = kMaxShift + kMaxDistance;
constexpr int kFrameRows = Dots::kMaxSide + 2 * kMargin;
// Dot (x, y) of a picture is bit 127 - kMargin - x of frame row kMargin + y:
// a 64-dot row with room to move and grow either way.
__extension__ using Row = unsigned __int128;
constexpr int kFrameShift = 64 - kMargin;

using Frame = std::array<Row, kFrameRows>;
// A picture grown step by step: ring k holds every place within k dots of a
// dot (chessboard distance), so a place outside ring k is more than k away.
using Rings = std::array<Frame, kMaxDistance>;

Frame framed(const GlyphPicture& picture) {
  Frame frame{};
  for (int y = 0; y < picture.height; ++y) {
    frame[static_cast<std::size_t>(kMargin + y)] = Row{picture.rows[static_cast<std::size_t>(y)]} << kFrameShift;
  }
  return frame;
}

int popcount(Row row) {
  return std::popcount(static_cast<std::uint64_t>(row)) + std::popcount(static_cast<std::uint64_t>(row >> 64));
}

// Every dot grown into its 3 x 3 neighbourhood.
Frame grown(const Frame& frame) {
  Frame out{};
  for (std::size_t y = 0; y < frame.size(); ++y) {
    const Row wide = frame[y] | frame[y] << 1 | frame[y] >> 1;
    if (y > 0) out[y - 1] |= wide;
    out[y] |= wide;
    if (y + 1 < frame.size()) out[y + 1] |= wide;
  }
  return out;
}

Rings ringsOf(const Frame& frame) {
  Rings rings{};
  rings[0] = frame;
  for (std::size_t k = 1; k < rings.size(); ++k) rings[k] = grown(rings[k - 1]);
  return rings;
}

// Row y of `frame` moved dx dots right and dy down.
Row movedRow(const Frame& frame, int y, int dx, int dy) {
  const Row row = frame[static_cast<std::size_t>(y - dy)];
  return dx >= 0 ? row >> dx : row << -dx;
}

// The dots of `picture` moved by (dx, dy) and of `ours`, each counted by its
// distance to the nearest dot of the other, up to kMaxDistance. Moving the
// picture one way is moving ours the other, so both sets of rings stay put.
int misfitAt(const Rings& picture, const Rings& ours, int height, int dx, int dy) {
  int sum = 0;
  for (int y = kMargin - kMaxShift; y < kMargin + height + kMaxShift; ++y) {
    const Row moved = movedRow(picture[0], y, dx, dy);
    const Row movedBack = movedRow(ours[0], y, -dx, -dy);
    const auto row = static_cast<std::size_t>(y);
    for (std::size_t k = 0; k < ours.size(); ++k) {
      sum += popcount(moved & ~ours[k][row]) + popcount(movedBack & ~picture[k][row]);
    }
  }
  return sum;
}

// misfit, with our glyph's rings grown once for every picture compared with it.
int misfitAgainst(const GlyphPicture& picture, const Rings& ours) {
  const Rings pictureRings = ringsOf(framed(picture));
  int best = INT_MAX;
  for (int dy = -kMaxShift; dy <= kMaxShift; ++dy) {
    for (int dx = -kMaxShift; dx <= kMaxShift; ++dx) {
      best = std::min(best, misfitAt(pictureRings, ours, picture.height, dx, dy));
    }
  }
  return best;
}

// A best fit is trusted only this far ahead of the runner-up: a fifth of its
// misfit and two more. Measured over every GB2312 glyph of another font in
// every layout, a closer race is where the fonts' designs differ enough to
// mislead.
bool clearlyAhead(const LayoutFit& best, const LayoutFit& runnerUp) {
  return 5 * runnerUp.misfit >= 6 * best.misfit + 10;
}

}  // namespace

int misfit(const GlyphPicture& picture, const GlyphPicture& ours) { return misfitAgainst(picture, ringsOf(framed(ours))); }

std::vector<LayoutFit> rankLayouts(std::span<const std::uint8_t> bytes, const GlyphPicture& ours) {
  const Rings ourRings = ringsOf(framed(ours));
  std::vector<LayoutFit> fits;
  for (const ByteLayout& layout : allLayouts()) {
    const GlyphPicture picture = decodeGlyph(bytes, ours.dots(), layout);
    const auto same = std::find_if(fits.begin(), fits.end(), [&](const LayoutFit& fit) { return fit.picture == picture; });
    if (same == fits.end()) {
      fits.push_back({layout, picture, misfitAgainst(picture, ourRings), {}});
    } else {
      same->alike.push_back(layout);
    }
  }
  std::stable_sort(fits.begin(), fits.end(), [](const LayoutFit& a, const LayoutFit& b) { return a.misfit < b.misfit; });
  return fits;
}

Result<Detection> detectLayout(std::span<const std::uint8_t> bytes, const GlyphPicture& ours) {
  const std::size_t rowScans = glyphSize(ours.dots(), Scan::rows);
  if (bytes.size() != rowScans && bytes.size() != glyphSize(ours.dots(), Scan::columns)) {
    return Failure("a glyph " + std::to_string(ours.width) + " dots wide has " + std::to_string(rowScans) +
                   " bytes, not " + std::to_string(bytes.size()));
  }
  std::vector<LayoutFit> fits = rankLayouts(bytes, ours);
  const auto pictures = std::count_if(fits.begin(), fits.end(), [](const LayoutFit& fit) { return !fit.layout.negative; });
  if (pictures < 2) {
    return Failure("the bytes draw the same picture in every layout (a blank glyph?), so they cannot tell one "
                   "layout from another; give the bytes of a character with strokes");
  }
  const bool clear = clearlyAhead(fits[0], fits[1]);
  return Detection{std::move(fits[0]), std::move(fits[1]), clear};
}

}  // namespace lumadot
