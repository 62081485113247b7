// Any command text and key list given to SetExitKeys; the first byte tells
// where the commands end. The map is emptied now and then so that it cannot
// grow without bound over a long run.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz/fuzz_setup.h"
#include "screen/exit_keys.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  qav::SetUpForFuzzing();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
  size_t split = data[0] % (rest.size() + 1);
  qav::SetExitKeys(rest.substr(0, split), rest.substr(split));
  int16_t reported;
  qav::FindExitKey(static_cast<int16_t>(size), &reported);
  if (qav::ExitKeyMap().size() > 100000) qav::ResetExitKeys();
  return 0;
}
