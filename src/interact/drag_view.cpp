// Scrolling the map with the stylus, and the end of a drag.
#include <cstdlib>

#include "map/portrait.h"
#include "platform/windowing/win_api.h"

namespace {
// A press that moves further than this (screen pixels) is a drag, not a tap.
constexpr int kTapSlop = 6;
}  // namespace

void CPortrait::DragView(int x, int y) {
  if (!m_dragging) return;
  TrackMenuGesture(1, x, y);
  const uint32_t now = timeGetTime();
  NoteTouch(now);
  if (m_userMoveArmed &&
      (std::abs(x - m_pressPoint.x) > kTapSlop || std::abs(y - m_pressPoint.y) > kTapSlop))
    m_userMoveArmed = false;
  // The map follows the stylus, so the view moves the other way.
  const RECT before = m_viewRect;
  PanView(m_lastStylusX - x, m_lastStylusY - y);
  if (before.left != m_viewRect.left || before.top != m_viewRect.top) HandMovedView(now);
  m_lastStylusX = x;
  m_lastStylusY = y;
}

void CPortrait::StylusRelease(int x, int y) {
  m_dragging = false;
  TrackMenuGesture(2, x, y);
  // A press on the zoomed map that was not dragged moves the user, as a tap does.
  if (m_userMoveArmed) {
    m_userMoveArmed = false;
    SetUserPosition(m_userMoveTarget);
  }
}
