#pragma once

// The one reader of whole files and streams, capped so a file or pipe far
// larger than anything we read is refused rather than held in memory.

#include <cstddef>
#include <cstdio>
#include <string>

#include "base/result.h"

namespace lumadot {

// `stream` to its end, or a failure naming `source` as soon as more than `limit` bytes have come.
Result<std::string> readAll(std::FILE* stream, const std::string& source, std::size_t limit);
// A file's bytes, or a failure naming it; one longer than `limit` is not read.
Result<std::string> readWholeFile(const std::string& name, std::size_t limit);  // name in UTF-8

}  // namespace lumadot
