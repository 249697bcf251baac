#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "extract/extraction_run.h"
#include "message/message.h"

namespace lumadot {

// For test failures: a Message as text rather than bytes.
inline void PrintTo(const Message& message, std::ostream* out) {
  *out << '{' << message.title << ", " << message.text << ", " << (message.icon == MessageIcon::warning ? "warning" : "none")
       << ", " << message.detail << '}';
}

}  // namespace lumadot

namespace lumadot::test {

// Keeps the result box's last text and every message box a run shows, as
// the window shows it, and each failure with its cause.
class RecordingHooks final : public RunHooks {
 public:
  void showListing(std::u16string_view text) override { listing.assign(text); }
  void showFailure(const Failure& failure) override {
    messages.push_back(warningMessage(failure));
    failures.push_back(failure);
  }
  void showSent(std::string_view confirmation) override { messages.push_back(noticeMessage(confirmation)); }

  std::u16string listing;
  std::vector<Message> messages;
  std::vector<Failure> failures;
};

}  // namespace lumadot::test
