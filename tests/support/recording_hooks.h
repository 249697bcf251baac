#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "message/message.h"
#include "run/extraction_run.h"

namespace lumadot {

// For test failures: a Message as text rather than bytes.
inline void PrintTo(const Message& message, std::ostream* out) {
  *out << '{' << message.title << ", " << message.text << ", " << (message.icon == MessageIcon::warning ? "warning" : "none")
       << ", " << message.detail << '}';
}

}  // namespace lumadot

namespace lumadot::test {

// A run as the window shows it: the result box's last text and every message
// box, each failure with its cause.
struct ShownRun {
  std::u16string listing;
  std::vector<Message> messages;
  std::vector<Failure> failures;
};

inline ShownRun shown(const RunReport& report) {
  ShownRun run{report.resultText(), {}, {}};
  if (report.failure) {
    run.messages.push_back(warningMessage(*report.failure));
    run.failures.push_back(*report.failure);
  } else if (!report.sentConfirmation.empty()) {
    run.messages.push_back(noticeMessage(report.sentConfirmation));
  }
  return run;
}

}  // namespace lumadot::test
