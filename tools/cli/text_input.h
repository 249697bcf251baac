#pragma once

// A command's text read from where its options say: TEXT, the file, or standard input.

#include <string>

#include "base/result.h"
#include "options/text_options.h"

namespace lumadot::cli {

// TEXT as it stands, or the file or standard input decoded and read as typed
// text (typedText). Bytes not valid in their encoding extract nothing.
Result<std::string> runText(const TextInput& input);

}  // namespace lumadot::cli
