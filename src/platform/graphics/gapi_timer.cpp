// CGapiTimer: frames paced on the platform clock by sleeping until each is due.
#include "platform/windowing/detail/clock.h"
#include "platform/windowing/detail/message_queue.h"
#include "platform/graphics/gapi.h"

namespace {

constexpr uint64_t kMicrosPerSecond = 1000000;

}  // namespace

HRESULT CGapiTimer::StartTimer(DWORD framesPerSecond) {
  if (framesPerSecond == 0) return GDERR_INVALID;
  m_fps = framesPerSecond;
  m_start = platform::ClockMicros();
  m_frame = 1;
  m_started = true;
  return GD_OK;
}

HRESULT CGapiTimer::WaitForNextFrameOrFix() {
  if (!m_started) return GDERR_INVALID;
  const uint64_t due = m_start + m_frame * kMicrosPerSecond / m_fps;
  if (platform::ClockMicros() < due && platform::WaitForPositionNotice(due)) return GD_FRAME_FIX;
  return WaitForNextFrame();
}

HRESULT CGapiTimer::WaitForNextFrame() {
  if (!m_started) return GDERR_INVALID;
  auto dueTime = [this](uint64_t frame) { return m_start + frame * kMicrosPerSecond / m_fps; };
  const uint64_t now = platform::ClockMicros();
  const uint64_t due = dueTime(m_frame);
  if (now > due) {
    // Late: go on at once. Frames missed meanwhile are dropped rather than caught up in a
    // burst, and the next one stays on the original grid.
    m_frame = (now - m_start) * m_fps / kMicrosPerSecond;
    while (dueTime(m_frame) <= now) ++m_frame;
    return GD_FRAME_LATE;
  }
  platform::SleepUntilMicros(due);
  ++m_frame;
  return GD_OK;
}
