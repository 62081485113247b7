// Any typed text given to ValidateDateText.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz/fuzz_setup.h"
#include "util/dates.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  qav::SetUpForFuzzing();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  qav::ValidateDateText(std::string_view(reinterpret_cast<const char*>(data), size));
  return 0;
}
