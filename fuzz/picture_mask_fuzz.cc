// Any mask given to FormatPicture (and as a template to FormatAmount, in
// both currencies); the first eight bytes are the value.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "frame/session.h"
#include "fuzz/fuzz_setup.h"
#include "util/number_mask.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  qav::SetUpForFuzzing();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < sizeof(double) + 1) return 0;
  double value;
  std::memcpy(&value, data, sizeof value);
  std::string_view mask(reinterpret_cast<const char*>(data + sizeof value + 1),
                        size - sizeof value - 1);
  if (qav::FormatPicture(mask, value).size() != mask.size()) std::abort();
  qav::MutableSessionForSettings().CurrentCurrency = (data[sizeof value] & 1) ? "P" : "E";
  if (qav::FormatAmount(mask, value).size() != mask.size()) std::abort();
  return 0;
}
