// What every fuzz target sets up once: a fixed "today" and no settings file,
// so that runs are repeatable and never touch the suite's files.
#ifndef QAV_FUZZ_FUZZ_SETUP_H_
#define QAV_FUZZ_FUZZ_SETUP_H_

#include "frame/session.h"
#include "platform/clock.h"

namespace qav {

inline void SetUpForFuzzing() {
  MutableSessionForSettings().RootDir = "/nonexistent-qav-root/";
  MutableSessionForSettings().SessionLanguage = "CAT";
  SetClockForTest([] {
    LocalDateTime t;
    t.year = 2026;
    t.month = 6;
    t.day = 15;
    return t;
  });
}

}  // namespace qav

#endif  // QAV_FUZZ_FUZZ_SETUP_H_
