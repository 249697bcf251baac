#include "message/message.h"

namespace lumadot {

Message warningMessage(const Failure& failure) {
  return {std::string(kWarningTitle), failure.text, iconOf(failure.category), failure.detail};
}

Message noticeMessage(std::string_view text) {
  return {std::string(kNoticeTitle), std::string(text), MessageIcon::none};
}

}  // namespace lumadot
