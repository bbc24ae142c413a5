// Window timers on the platform clock. WM_TIMER is made when the queue is asked and a timer
// is due, never queued ahead, so a killed timer sends nothing more and a slow reader gets
// one WM_TIMER per timer, not a backlog.
#include <algorithm>
#include <vector>

#include "platform/windowing/detail/clock.h"
#include "platform/windowing/detail/message_queue.h"
#include "platform/windowing/win_api.h"
#include "platform/windowing/detail/window_object.h"

namespace platform {
namespace {

// The shortest period the platform this stands in for accepts.
constexpr UINT kMinimumElapse = 10;

struct Timer {
  HWND hwnd;
  UINT_PTR id;
  uint64_t periodMicros;
  uint64_t due;
  TIMERPROC proc;
};

struct TimerState {
  std::vector<Timer> timers;
  UINT_PTR nextThreadTimerId = 1;
};

TimerState& T() {
  static TimerState state;
  return state;
}

}  // namespace

bool TakeDueTimer(HWND hwnd, MSG* msg, bool remove) {
  uint64_t now = ClockMicros();
  Timer* best = nullptr;
  for (Timer& t : T().timers) {
    if (t.due > now || (hwnd != nullptr && t.hwnd != hwnd)) continue;
    if (best == nullptr || t.due < best->due) best = &t;
  }
  if (best == nullptr) return false;
  *msg = MSG{best->hwnd, WM_TIMER, best->id, reinterpret_cast<LPARAM>(best->proc), 0, {0, 0}};
  if (remove) best->due = now + best->periodMicros;
  return true;
}

uint64_t NextTimerDue() {
  uint64_t next = UINT64_MAX;
  for (const Timer& t : T().timers) next = std::min(next, t.due);
  return next;
}

void KillTimersOf(HWND hwnd) {
  auto& v = T().timers;
  v.erase(std::remove_if(v.begin(), v.end(), [hwnd](const Timer& t) { return t.hwnd == hwnd; }),
          v.end());
}

void ResetTimers() { T() = TimerState{}; }

}  // namespace platform

using namespace platform;

UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC proc) {
  if (hwnd != nullptr && !IsLiveWindow(hwnd)) return 0;
  if (hwnd == nullptr) id = T().nextThreadTimerId++;
  uint64_t period = uint64_t{std::max(elapse, kMinimumElapse)} * 1000;
  uint64_t due = ClockMicros() + period;
  for (Timer& t : T().timers) {
    if (t.hwnd == hwnd && t.id == id) {  // setting it again restarts it
      t.periodMicros = period;
      t.due = due;
      t.proc = proc;
      return id != 0 ? id : 1;
    }
  }
  T().timers.push_back(Timer{hwnd, id, period, due, proc});
  return id != 0 ? id : 1;
}

BOOL KillTimer(HWND hwnd, UINT_PTR id) {
  auto& v = T().timers;
  auto it = std::find_if(v.begin(), v.end(),
                         [&](const Timer& t) { return t.hwnd == hwnd && t.id == id; });
  if (it == v.end()) return FALSE;
  v.erase(it);
  return TRUE;
}
