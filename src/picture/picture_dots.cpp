#include "picture/picture_dots.h"

#include <algorithm>
#include <cmath>

namespace lumadot {
namespace {

// The source pixels an output pixel covers, and how much of each.
struct Tap {
  int first = 0;
  std::vector<double> weights;
};

// An output pixel stands for `from / to` source pixels, each weighed by how
// much of it lies under the output pixel, so the average is over its area.
std::vector<Tap> areaTaps(int from, int to) {
  const double step = static_cast<double>(from) / to;
  std::vector<Tap> taps(static_cast<std::size_t>(to));
  for (int i = 0; i < to; ++i) {
    const double low = i * step;
    const double high = (i + 1) * step;
    Tap& tap = taps[static_cast<std::size_t>(i)];
    tap.first = std::min(static_cast<int>(low), from - 1);
    const int last = std::clamp(static_cast<int>(std::ceil(high)) - 1, tap.first, from - 1);
    for (int j = tap.first; j <= last; ++j) {
      tap.weights.push_back(std::max(0.0, std::min(high, j + 1.0) - std::max(low, static_cast<double>(j))) / step);
    }
  }
  return taps;
}

double applied(const Tap& tap, const std::vector<double>& values, std::size_t start, std::size_t stride) {
  double sum = 0;
  for (std::size_t k = 0; k < tap.weights.size(); ++k) {
    sum += tap.weights[k] * values[start + (static_cast<std::size_t>(tap.first) + k) * stride];
  }
  return sum;
}

// Floyd-Steinberg: each pixel's error, in sixteenths, carried to the pixels not yet decided.
std::vector<bool> dithered(const GreyPicture& picture, int threshold) {
  const auto width = static_cast<std::size_t>(picture.width);
  std::vector<bool> lit(picture.grey.size());
  std::vector<int> here(width + 2, 0);
  std::vector<int> below(width + 2, 0);
  for (int y = 0; y < picture.height; ++y) {
    for (std::size_t x = 0; x < width; ++x) {
      const int value = picture.at(static_cast<int>(x), y) + here[x + 1] / 16;
      const bool dot = value < threshold;
      lit[static_cast<std::size_t>(y) * width + x] = dot;
      const int error = value - (dot ? 0 : 255);
      here[x + 2] += error * 7;
      below[x] += error * 3;
      below[x + 1] += error * 5;
      below[x + 2] += error;
    }
    std::swap(here, below);
    std::fill(below.begin(), below.end(), 0);
  }
  return lit;
}

}  // namespace

GreyPicture scaledPicture(const GreyPicture& picture, int width, int height) {
  width = std::max(width, 1);
  height = std::max(height, 1);
  const auto sourceWidth = static_cast<std::size_t>(picture.width);
  const std::vector<double> source(picture.grey.begin(), picture.grey.end());
  std::vector<double> rows(sourceWidth * static_cast<std::size_t>(height));
  const auto down = areaTaps(picture.height, height);
  for (std::size_t y = 0; y < down.size(); ++y) {
    for (std::size_t x = 0; x < sourceWidth; ++x) rows[y * sourceWidth + x] = applied(down[y], source, x, sourceWidth);
  }
  GreyPicture out{width, height,
                  std::vector<std::uint8_t>(static_cast<std::size_t>(width) * static_cast<std::size_t>(height))};
  const auto across = areaTaps(picture.width, width);
  for (std::size_t y = 0; y < down.size(); ++y) {
    for (std::size_t x = 0; x < across.size(); ++x) {
      const double value = applied(across[x], rows, y * sourceWidth, 1);
      out.grey[y * across.size() + x] = static_cast<std::uint8_t>(std::clamp(std::lround(value), 0L, 255L));
    }
  }
  return out;
}

std::pair<int, int> scaledSize(const DotScale& scale, int width, int height) {
  if (!scale.height) return {width, height};
  if (scale.width) return {*scale.width, *scale.height};
  const auto kept = std::llround(static_cast<double>(width) * *scale.height / height);
  return {static_cast<int>(std::clamp<long long>(kept, 1, kMaxPictureSide)), *scale.height};
}

DotGrid pictureDots(const GreyPicture& picture, const DotOptions& options) {
  const auto [width, height] = scaledSize(options.scale, picture.width, picture.height);
  const GreyPicture sized =
      width == picture.width && height == picture.height ? picture : scaledPicture(picture, width, height);
  DotGrid grid{width, height, {}};
  if (options.dither) {
    grid.lit = dithered(sized, options.threshold);
  } else {
    grid.lit.resize(sized.grey.size());
    for (std::size_t i = 0; i < sized.grey.size(); ++i) grid.lit[i] = sized.grey[i] < options.threshold;
  }
  if (options.invert) grid.lit.flip();
  return grid;
}

}  // namespace lumadot
