// The message queue: posting, peeking, dispatching, WM_QUIT and waiting for input.
#include <algorithm>
#include <deque>

#include "platform/backend_select.h"
#include "platform/windowing/detail/clock.h"
#include "platform/windowing/detail/input_trace.h"
#include "platform/windowing/detail/input_translate.h"
#include "platform/windowing/detail/message_queue.h"
#include "platform/windowing/detail/modal_scope.h"
#include "platform/windowing/termination.h"
#include "platform/pieces.h"
#include "platform/position/detail/position_hub.h"
#include "platform/graphics/detail/presentation.h"
#include "platform/windowing/win_api.h"
#include "platform/windowing/detail/window_object.h"

namespace platform {
namespace {

struct QueueState {
  std::deque<MSG> queue;
  bool quit = false;
  int quitCode = 0;
};

QueueState& Q() {
  static QueueState state;
  return state;
}

bool IsSelfOrChild(HWND w, HWND ancestor) {
  for (; w != nullptr; w = w->parent) {
    if (w == ancestor) return true;
  }
  return false;
}

bool Matches(const MSG& m, HWND hwnd, UINT min, UINT max) {
  if (hwnd != nullptr && !IsSelfOrChild(m.hwnd, hwnd)) return false;
  if (min == 0 && max == 0) return true;
  return m.message >= min && m.message <= max;
}

void Stamp(MSG* msg) {
  msg->time = timeGetTime();
  GetCursorPos(&msg->pt);
}

}  // namespace

void PostToQueue(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto& q = Q().queue;
  if (msg == WM_MOUSEMOVE && !q.empty() && q.back().message == WM_MOUSEMOVE &&
      q.back().hwnd == hwnd) {
    q.back().wParam = wParam;
    q.back().lParam = lParam;
    Stamp(&q.back());
    return;
  }
  MSG m{hwnd, msg, wParam, lParam, 0, {0, 0}};
  Stamp(&m);
  q.push_back(m);
}

void DropMessagesFor(HWND hwnd) {
  auto& q = Q().queue;
  q.erase(std::remove_if(q.begin(), q.end(), [hwnd](const MSG& m) { return m.hwnd == hwnd; }),
          q.end());
}

bool QueueHasMessages() { return !Q().queue.empty() || Q().quit; }

void ResetMessageQueue() { Q() = QueueState{}; }

bool WaitForPositionNotice(uint64_t until) {
  auto noticeQueued = [] {
    for (const MSG& m : Q().queue)
      if (m.message == WM_GPS_NOTIFY) return true;
    return false;
  };
  // The last stretch is slept on the clock: the window system's wait counts whole
  // milliseconds and would make the frame late.
  constexpr uint64_t kSleptMicros = 2000;
  for (;;) {
    PumpWindowSystem();
    if (noticeQueued()) return true;
    const uint64_t now = ClockMicros();
    if (now >= until) return false;
    // The headless clock moves only when told: nothing can arrive while it is slept.
    if (ActiveBackend() == BackendKind::Headless || until - now <= kSleptMicros) {
      SleepUntilMicros(until);
      return false;
    }
    const uint64_t wake = std::min(until - kSleptMicros, NextPositionDueMicros());
    if (wake > now && wake - now < 1000) {
      // Under a millisecond: the window system's wait would return at once, and the loop
      // would ask the connection for events over and over until then.
      SleepUntilMicros(wake);
      continue;
    }
    const uint64_t waitMs = wake > now ? (wake - now) / 1000 : 0;
    Active().window->WaitForEvents(static_cast<uint32_t>(std::min<uint64_t>(waitMs, 1000)));
  }
}

void PumpWindowSystem() {
  std::vector<InputEvent> events;
  Active().window->Pump(events);
  // A signal's request joins the window system's events, and like theirs is never discarded.
  if (TakeTerminationSignal()) events.push_back(InputEvent{InputEvent::Kind::Terminate});
  bool discard = InModalLoop();
  for (const InputEvent& e : events) DiscardOrTranslate(e, discard);
  PresentVideoFrame();
  PumpPositionSource();
}

}  // namespace platform

using namespace platform;

BOOL PeekMessageA(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT remove) {
  if (msg == nullptr) return FALSE;
  PumpWindowSystem();
  QueueState& s = Q();
  for (auto it = s.queue.begin(); it != s.queue.end(); ++it) {
    if (!Matches(*it, hwnd, filterMin, filterMax)) continue;
    *msg = *it;
    if (remove & PM_REMOVE) s.queue.erase(it);
    return TRUE;
  }
  // WM_QUIT comes once the posted messages are gone, before timers.
  bool quitWanted = (filterMin == 0 && filterMax == 0) ||
                    (WM_QUIT >= filterMin && WM_QUIT <= filterMax);
  if (s.quit && quitWanted) {
    *msg = MSG{nullptr, WM_QUIT, static_cast<WPARAM>(s.quitCode), 0, 0, {0, 0}};
    Stamp(msg);
    if (remove & PM_REMOVE) s.quit = false;
    return TRUE;
  }
  bool timerWanted = (filterMin == 0 && filterMax == 0) ||
                     (WM_TIMER >= filterMin && WM_TIMER <= filterMax);
  if (timerWanted && TakeDueTimer(hwnd, msg, (remove & PM_REMOVE) != 0)) {
    Stamp(msg);
    return TRUE;
  }
  return FALSE;
}

BOOL TranslateMessage(const MSG* msg) {
  // Character messages are not used by the program; report whether one would be made.
  return msg != nullptr && (msg->message == WM_KEYDOWN || msg->message == WM_SYSKEYDOWN);
}

LRESULT DispatchMessageA(const MSG* msg) {
  if (msg == nullptr) return 0;
  if (msg->message == WM_TIMER && msg->lParam != 0) {
    auto proc = reinterpret_cast<TIMERPROC>(msg->lParam);
    proc(msg->hwnd, WM_TIMER, msg->wParam, msg->time);
    return 0;
  }
  if (!IsLiveWindow(msg->hwnd)) return 0;
  TraceDispatch(*msg);
  return msg->hwnd->cls.proc(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

BOOL PostMessageA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (hwnd != nullptr && !IsLiveWindow(hwnd)) return FALSE;
  PostToQueue(hwnd, msg, wParam, lParam);
  return TRUE;
}

LRESULT SendMessageA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (!IsLiveWindow(hwnd)) return 0;
  return hwnd->cls.proc(hwnd, msg, wParam, lParam);
}

void PostQuitMessage(int exitCode) {
  Q().quit = true;
  Q().quitCode = exitCode;
}

DWORD MsgWaitForMultipleObjects(DWORD count, const HANDLE*, BOOL, DWORD milliseconds, DWORD) {
  // Only input is waited for here; there are no waitable objects on this platform layer.
  if (count != 0) return WAIT_FAILED;
  const uint64_t start = ClockMicros();
  const uint64_t deadline =
      milliseconds == INFINITE ? UINT64_MAX : start + uint64_t{milliseconds} * 1000;
  for (;;) {
    PumpWindowSystem();
    if (QueueHasMessages()) return WAIT_OBJECT_0 + count;
    uint64_t now = ClockMicros();
    uint64_t timer = std::min(NextTimerDue(), NextPositionDueMicros());
    if (timer <= now) return WAIT_OBJECT_0 + count;
    if (now >= deadline) return WAIT_TIMEOUT;
    uint64_t until = std::min(deadline, timer);
    uint64_t waitMs = (until - now + 999) / 1000;
    Active().window->WaitForEvents(static_cast<uint32_t>(std::min<uint64_t>(waitMs, 1000)));
  }
}
