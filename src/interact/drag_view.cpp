// Scrolling the map with the stylus, and the end of a drag.
#include "map/portrait.h"

namespace {

// Keeps a view centre coordinate where the view stays on the map. A map smaller than the
// screen ends up at the screen's half: the lower bound wins.
double ClampCentre(double centre, double screen, double map) {
  if (centre < screen / 2) return screen / 2;
  if (centre > map - screen / 2) return map - screen / 2;
  return centre;
}

}  // namespace

void CPortrait::DragView(int x, int y) {
  if (!m_dragging) return;
  TrackMenuGesture(1, x, y);
  // The map follows the stylus, so the view moves the other way.
  m_viewCentre.x = ClampCentre(m_viewCentre.x + (m_lastStylusX - x), m_screenSize.x, m_mapSize.x);
  m_viewCentre.y = ClampCentre(m_viewCentre.y + (m_lastStylusY - y), m_screenSize.y, m_mapSize.y);
  m_viewRect = ComputeViewRect();
  m_lastStylusX = x;
  m_lastStylusY = y;
}

void CPortrait::StylusRelease(int x, int y) {
  m_dragging = false;
  TrackMenuGesture(2, x, y);
}
