// Clock, sleep, thread priority and the module handle.
#include <sys/resource.h>
#include <unistd.h>

#include <cerrno>

#include "platform/windowing/detail/clock.h"
#include "platform/pieces.h"
#include "platform/windowing/win_api.h"

namespace platform {

uint64_t ClockMicros() { return Active().clock->NowMicros(); }

void SleepUntilMicros(uint64_t when) { Active().clock->SleepUntilMicros(when); }

}  // namespace platform

// Milliseconds of the platform clock, truncated to 32 bits so it wraps like the original
// after about 49.7 days; callers take differences in 32 bits.
DWORD timeGetTime() { return static_cast<DWORD>(platform::ClockMicros() / 1000); }

void Sleep(DWORD milliseconds) {
  platform::SleepUntilMicros(platform::ClockMicros() + uint64_t{milliseconds} * 1000);
}

HANDLE GetCurrentThread() {
  // A pseudo handle, as on the platform this stands in for.
  return reinterpret_cast<HANDLE>(static_cast<intptr_t>(-2));
}

BOOL SetThreadPriority(HANDLE, int priority) {
  // Raising priority needs privileges an ordinary user lacks; the program runs well without,
  // so a refusal is not passed on.
  if (priority > THREAD_PRIORITY_NORMAL) {
    errno = 0;
    int current = getpriority(PRIO_PROCESS, 0);
    if (errno == 0) (void)setpriority(PRIO_PROCESS, 0, current - 1);
  }
  return TRUE;
}

HINSTANCE GetModuleHandleA(const char* name) {
  if (name != nullptr) return nullptr;  // only the program's own module exists
  static char module;
  return reinterpret_cast<HINSTANCE>(&module);
}
