#include "sign/frame_report.h"

#include "extract/text_codec.h"
#include "frame/display_frame.h"
#include "frame/frame_decoder.h"

namespace lumadot {

std::string frameSummary(const ReceivedFrame& frame, int number) {
  std::string line = "frame " + std::to_string(number) + ": ";
  if (!frame.complete()) {
    return line + "incomplete, " + std::to_string(frame.bytes.size()) + " of " + std::to_string(frame.expected) +
           " bytes";
  }
  const std::uint8_t mode = frame.mode().value_or(0);
  const auto name = modeName(mode);
  return line + "width " + std::to_string(frame.width()) + ", speed " + std::to_string(frame.speed().value_or(0)) +
         ", mode " + std::to_string(mode) + " (" + (name ? utf16ToUtf8(*name) : "?") + "), " +
         std::to_string(frame.display().size()) + " display bytes";
}

std::vector<std::string> frameLines(const ReceivedFrame& frame, int number) {
  std::vector<std::string> lines{frameSummary(frame, number)};
  for (const std::string& warning : frame.warnings) lines.push_back("  warning: " + warning);
  return lines;
}

}  // namespace lumadot
