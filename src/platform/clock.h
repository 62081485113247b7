// Local date and time, sleeping and random numbers: the three services whose
// results depend on the world, each replaceable so that tests never depend
// on today's date, never wait for real and draw repeatable numbers.
#ifndef QAV_PLATFORM_CLOCK_H_
#define QAV_PLATFORM_CLOCK_H_

#include <functional>

namespace qav {

struct LocalDateTime {
  int year = 0, month = 0, day = 0;
  int hour = 0, minute = 0, second = 0, millisecond = 0;
};

LocalDateTime Now();
void SleepMilliseconds(int milliseconds);
// Uniform in [0, 1).
double RandomUnit();

// Test hooks; an empty function puts the real service back.
void SetClockForTest(std::function<LocalDateTime()> clock);
void SetSleepForTest(std::function<void(int)> sleep);
void SetRandomForTest(std::function<double()> random);
void ResetClock();

}  // namespace qav

#endif  // QAV_PLATFORM_CLOCK_H_
