// The monotonic clock: never steps back, does not follow wall-clock changes.
#include <time.h>

#include <cerrno>

#include "platform/backend_real/real_pieces.h"

namespace platform {

uint64_t MonotonicClockPiece::NowMicros() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<uint64_t>(ts.tv_sec) * 1000000u + static_cast<uint64_t>(ts.tv_nsec) / 1000u;
}

void MonotonicClockPiece::SleepUntilMicros(uint64_t when) {
  timespec ts{};
  ts.tv_sec = static_cast<time_t>(when / 1000000u);
  ts.tv_nsec = static_cast<decltype(ts.tv_nsec)>((when % 1000000u) * 1000u);
  // Absolute time, so a signal that interrupts the sleep costs no accuracy.
  while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &ts, nullptr) == EINTR) {
  }
}

}  // namespace platform
