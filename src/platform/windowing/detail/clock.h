// The platform clock behind timeGetTime, Sleep and the frame timer. On the headless backend
// it is the test's simulated clock, and waiting advances it instead of blocking.
#pragma once

#include <cstdint>

namespace platform {

uint64_t ClockMicros();                 // monotonic microseconds
void SleepUntilMicros(uint64_t when);   // returns at or after `when`

}  // namespace platform
