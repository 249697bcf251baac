#include "sign/frame_report.h"

#include <cstdio>

#include "extract/text_codec.h"
#include "frame/display_frame.h"
#include "frame/frame_decoder.h"

namespace lumadot {
namespace {

std::string hexByte(std::uint8_t value) {
  char text[8];
  std::snprintf(text, sizeof text, "0x%02X", value);
  return text;
}

std::string leadInText(const FrameWarning& warning) {
  std::string text = "lead-in: byte " + std::to_string(warning.found) + " is " + hexByte(warning.leadInByte) +
                     ", not zero";
  if (warning.moreLeadIn > 0) text += ", nor are " + std::to_string(warning.moreLeadIn) + " more";
  return text;
}

}  // namespace

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

std::string warningText(const FrameWarning& warning) {
  const std::string found = std::to_string(warning.found);
  switch (warning.field) {
    case FrameWarning::Field::width:
      return "width: " + found + ", less than " + std::to_string(kNarrowestFrame) + ", so no display bytes";
    case FrameWarning::Field::speed:
      return "speed: " + found + ", outside " + std::to_string(kSlowestSpeed) + " to " + std::to_string(kFastestSpeed);
    case FrameWarning::Field::mode:
      return "mode: " + found + ", outside 0 to " + std::to_string(kLastMode) + ", so shown still";
    case FrameWarning::Field::leadIn:
      return leadInText(warning);
    case FrameWarning::Field::tail:
      return "tail: " + found + " zero bytes, expected at least " + std::to_string(kShortestTail);
  }
  return {};
}

std::vector<std::string> frameLines(const ReceivedFrame& frame, int number) {
  std::vector<std::string> lines{frameSummary(frame, number)};
  for (const FrameWarning& warning : frame.warnings) lines.push_back("  warning: " + warningText(warning));
  return lines;
}

}  // namespace lumadot
