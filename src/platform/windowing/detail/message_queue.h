// The one thread's message queue, its timers, and the pump that fills it from the window
// system (platform-internal).
#pragma once

#include <cstdint>

#include "platform/windowing/win_types.h"

namespace platform {

// Appends a posted message. A mouse move replaces a mouse move still waiting at the end of
// the queue for the same window, as the platform this stands in for coalesces them.
void PostToQueue(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
// Drops the queued messages of a window that is going away.
void DropMessagesFor(HWND hwnd);
bool QueueHasMessages();
void ResetMessageQueue();

// Timers: the earliest expired timer of `hwnd` (any when null) as a WM_TIMER message.
bool TakeDueTimer(HWND hwnd, MSG* msg, bool remove);
// Microseconds on the platform clock when the next timer expires; UINT64_MAX when none.
uint64_t NextTimerDue();
void KillTimersOf(HWND hwnd);
void ResetTimers();

// Pulls what the window system has for us into the queue; also shows new video frames.
void PumpWindowSystem();
// Waits until the platform clock reaches `until` while pumping the window system; true as
// soon as a WM_GPS_NOTIFY is queued (then before `until`).
bool WaitForPositionNotice(uint64_t until);

}  // namespace platform
