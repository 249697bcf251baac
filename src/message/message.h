#pragma once

// A message box as a person sees it: title, text and icon. The run and the
// windows' logic report Failures and confirmations; the window shows them as
// boxes and lumadot-cli prints them as lines, both through these.

#include <string>
#include <string_view>

#include "base/result.h"

namespace lumadot {

enum class MessageIcon { none, warning };

struct Message {
  std::string title;  // UTF-8, as is the text
  std::string text;
  MessageIcon icon = MessageIcon::none;
  // The reason beneath the text, for who wants it: the window keeps it behind
  // the box's details button, lumadot-cli prints it on the next line.
  std::string detail{};

  friend bool operator==(const Message&, const Message&) = default;
};

inline constexpr std::string_view kWarningTitle = "警告";
inline constexpr std::string_view kNoticeTitle = "系统提示";

// The icon a box of a failure of `category` shows: the warning's, for every one,
// since each stops what was asked.
inline constexpr MessageIcon iconOf(FailureCategory) { return MessageIcon::warning; }

// "警告" with the icon of the failure's category, the failure's detail beneath.
Message warningMessage(const Failure& failure);
// "系统提示" without an icon: a frame went out, say.
Message noticeMessage(std::string_view text);

}  // namespace lumadot
