#pragma once

#include <chrono>
#include <span>
#include <string>

#include "base/result.h"
#include "preview/dot_picture.h"

namespace lumadot {

// A picture and how long it stays, as one image of an animation.
struct TimedPicture {
  DotPicture picture;
  std::chrono::milliseconds shown{};
};

// The bytes of an animated GIF that loops forever, dots drawn as the PNG
// draws them (pngImage, with its lines at `seams`), each image `scale` pixels a dot and shown for its
// time to the nearest hundredth of a second (at least one). The pictures
// must have one width; a picture that differs from the one before is
// stored as the columns that changed. Nothing to draw gives "".
Result<std::string> gifAnimation(std::span<const TimedPicture> images, int scale, std::span<const int> seams = {});

}  // namespace lumadot
