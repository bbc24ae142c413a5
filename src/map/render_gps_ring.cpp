// The error estimate of a followed fix: a faint ring around the user marker.
#include <algorithm>
#include <cmath>

#include "map/portrait.h"
#include "map/render_helpers.h"

namespace {
constexpr DWORD kRingColour = 0xFFFFFF;
constexpr DWORD kRingOpacity = 96;
constexpr double kPi = 3.14159265358979323846;
}  // namespace

void CPortrait::DrawGpsErrorRing(CGapiSurface* backBuffer) {
  if (!m_followGps || !m_gpsFix || !m_userFromGps) return;
  // A distance on the ground: the ring grows with the zoom.
  const MapView view = View();
  const double radius = view.ToScreenLength(GpsErrorPixels());
  if (radius < 1.0) return;
  const double cx = m_userPos.x * view.scale - m_viewRect.left;
  const double cy = m_userPos.y * view.scale - m_viewRect.top;
  // Wholly off screen (the view scrolled away): nothing to draw.
  if (cx + radius < 0 || cy + radius < 0 || cx - radius > m_screenSize.x ||
      cy - radius > m_screenSize.y)
    return;
  // A ring round the whole screen (a map with a tiny scale) passes outside every corner.
  const double farX = std::max(cx, m_screenSize.x - cx);
  const double farY = std::max(cy, m_screenSize.y - cy);
  if (radius * radius > farX * farX + farY * farY) return;
  // Chords about three pixels long look round at any size the screen can show.
  const int segments = std::clamp(static_cast<int>(2.0 * kPi * radius / 3.0), 16, 256);
  int px = static_cast<int>(std::lround(cx + radius));
  int py = static_cast<int>(std::lround(cy));
  for (int i = 1; i <= segments; ++i) {
    const double a = 2.0 * kPi * i / segments;
    const int x = static_cast<int>(std::lround(cx + radius * std::cos(a)));
    const int y = static_cast<int>(std::lround(cy + radius * std::sin(a)));
    render::FaintLine(backBuffer, px, py, x, y, kRingColour, kRingOpacity);
    px = x;
    py = y;
  }
}
