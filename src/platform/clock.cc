#include "platform/clock.h"

#include <chrono>
#include <ctime>
#include <random>
#include <thread>

namespace qav {
namespace {

struct ClockState {
  std::function<LocalDateTime()> clock;
  std::function<void(int)> sleep;
  std::function<double()> random;
  std::mt19937_64 engine{std::random_device{}()};
};

ClockState& State() {
  static ClockState state;
  return state;
}

}  // namespace

LocalDateTime Now() {
  ClockState& s = State();
  if (s.clock) return s.clock();
  const auto now = std::chrono::system_clock::now();
  const std::time_t t = std::chrono::system_clock::to_time_t(now);
  std::tm tm{};
  localtime_r(&t, &tm);
  LocalDateTime d;
  d.year = tm.tm_year + 1900;
  d.month = tm.tm_mon + 1;
  d.day = tm.tm_mday;
  d.hour = tm.tm_hour;
  d.minute = tm.tm_min;
  d.second = tm.tm_sec;
  d.millisecond = static_cast<int>(
      std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000);
  return d;
}

void SleepMilliseconds(int milliseconds) {
  ClockState& s = State();
  if (s.sleep) return s.sleep(milliseconds);
  if (milliseconds > 0) std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

double RandomUnit() {
  ClockState& s = State();
  if (s.random) return s.random();
  return std::uniform_real_distribution<double>(0.0, 1.0)(s.engine);
}

void SetClockForTest(std::function<LocalDateTime()> clock) { State().clock = std::move(clock); }
void SetSleepForTest(std::function<void(int)> sleep) { State().sleep = std::move(sleep); }
void SetRandomForTest(std::function<double()> random) { State().random = std::move(random); }

void ResetClock() {
  ClockState& s = State();
  s.clock = nullptr;
  s.sleep = nullptr;
  s.random = nullptr;
}

}  // namespace qav
