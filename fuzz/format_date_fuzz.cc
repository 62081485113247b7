// Any bytes given to FormatDate as a packed date, with any style and part
// letters, and to the other operations that decode stored dates. The first
// byte is the style, the second where the date ends.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "frame/session.h"
#include "fuzz/fuzz_setup.h"
#include "util/dates.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  qav::SetUpForFuzzing();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const char* const kLanguages[] = {"CAT", "SPA", "GLG", "OCI"};
  if (size < 2) return 0;
  int16_t style = static_cast<int16_t>(static_cast<int8_t>(data[0]));
  std::string_view rest(reinterpret_cast<const char*>(data + 2), size - 2);
  size_t split = data[1] % (rest.size() + 1);
  std::string_view date = rest.substr(0, split);
  std::string_view parts = rest.substr(split);
  qav::MutableSessionForSettings().SessionLanguage = kLanguages[data[1] & 3];
  qav::FormatDate(date, style, parts);
  qav::DateToEditText(date);
  qav::WeekdayOf(date);
  qav::DateDiff(date, parts, static_cast<char>(data[0]));
  return 0;
}
