#pragma once

#include <string>
#include <vector>

namespace lumadot {

struct FrameWarning;
struct ReceivedFrame;

// "frame 3: width 12, speed 5, mode 1 (左移), 128 display bytes", or for a
// frame cut off "frame 3: incomplete, 300 of 384 bytes"; its warnings are not part of it.
std::string frameSummary(const ReceivedFrame& frame, int number);
// "speed: 0, outside 1 to 10": the field, then what was found.
std::string warningText(const FrameWarning& warning);
// The summary, then "  warning: " and each warning, one line each.
std::vector<std::string> frameLines(const ReceivedFrame& frame, int number);

}  // namespace lumadot
