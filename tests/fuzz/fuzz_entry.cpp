// libFuzzer's entry for the targets that read their input through
// FuzzedDataProvider: each defines lumadot::fuzz::fuzzInput.

#include "fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  lumadot::fuzz::fuzzInput(in);
  return 0;
}
