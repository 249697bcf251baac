#pragma once

#include <string>
#include <vector>

#include "extract/extraction_run.h"

namespace lumadot::test {

// Keeps the result box's last text and every message box a run shows.
class RecordingHooks final : public RunHooks {
 public:
  void showListing(std::u16string_view text) override { listing.assign(text); }
  void showMessage(const Message& message) override { messages.push_back(message); }

  std::u16string listing;
  std::vector<Message> messages;
};

}  // namespace lumadot::test
