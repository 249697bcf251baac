#pragma once

// The sign window's list of frames: each frame's report in the window's own
// words, Chinese in the source, English through its translation. lumadot-cli
// sign prints the same fields in its own English (sign/frame_report.h).

#include <QCoreApplication>
#include <QStringList>

namespace lumadot {

struct FrameWarning;
struct ReceivedFrame;

class FrameRows {
  Q_DECLARE_TR_FUNCTIONS(FrameRows)

 public:
  // The frame's summary, then one indented row for each warning.
  static QStringList of(const ReceivedFrame& frame, int number);

 private:
  static QString summary(const ReceivedFrame& frame, int number);
  static QString warning(const FrameWarning& warning);
  static QString modeName(std::uint8_t mode);
};

}  // namespace lumadot
