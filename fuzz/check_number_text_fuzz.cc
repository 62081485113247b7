// Any typed text and mask given to CheckNumberText; the first byte tells
// where the mask ends.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz/fuzz_setup.h"
#include "util/number_mask.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  qav::SetUpForFuzzing();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
  size_t split = data[0] % (rest.size() + 1);
  qav::CheckNumberText(rest.substr(split), rest.substr(0, split));
  return 0;
}
