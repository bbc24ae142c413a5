// Conversions between map pixels and GPS, and the visible part of the map.
#include <cmath>

#include "map/portrait.h"

CGeoPoint CPortrait::MapToGps(CGeoPoint p) const {
  return {MapRange(p.x, 0.0, m_mapSize.x, m_gpsTopLeft.x, m_gpsBottomRight.x),
          MapRange(p.y, 0.0, m_mapSize.y, m_gpsTopLeft.y, m_gpsBottomRight.y)};
}

CGeoPoint CPortrait::GpsToMap(CGeoPoint g) const {
  return {MapRange(g.x, m_gpsTopLeft.x, m_gpsBottomRight.x, 0.0, m_mapSize.x),
          MapRange(g.y, m_gpsTopLeft.y, m_gpsBottomRight.y, 0.0, m_mapSize.y)};
}

CGeoPoint CPortrait::GpsToMapUnclamped(CGeoPoint g) const {
  // Straight lines through the map's edges; a map without extent gives its corner.
  auto axis = [](double v, double a1, double a2, double length) {
    const double span = a2 - a1;
    if (!(span != 0.0) || !std::isfinite(v)) return 0.0;
    return (v - a1) / span * length;
  };
  return {axis(g.x, m_gpsTopLeft.x, m_gpsBottomRight.x, m_mapSize.x),
          axis(g.y, m_gpsTopLeft.y, m_gpsBottomRight.y, m_mapSize.y)};
}

namespace {

// One axis of the view: the screen span around centre, kept inside [0, mapLength] as long as
// the map is longer than the screen. A shorter map pins the view to its far edge, which gives
// a negative start once the centre passes half a screen.
void ViewSpan(double centre, double screenLength, double mapLength, LONG* low, LONG* high) {
  const double half = screenLength / 2.0;
  if (half > centre) {
    *low = 0;
    *high = static_cast<LONG>(screenLength);
  } else if (centre > mapLength - half) {
    *low = static_cast<LONG>(mapLength - screenLength);
    *high = static_cast<LONG>(mapLength);
  } else {
    *low = static_cast<LONG>(centre - half);
    *high = static_cast<LONG>(*low + screenLength);
  }
}

}  // namespace

RECT CPortrait::ComputeViewRect() const {
  // In zoomed pixels: the centre and the map enlarged by the zoom.
  RECT r{};
  ViewSpan(m_viewCentre.x * m_zoom, m_screenSize.x, m_mapSize.x * m_zoom, &r.left, &r.right);
  ViewSpan(m_viewCentre.y * m_zoom, m_screenSize.y, m_mapSize.y * m_zoom, &r.top, &r.bottom);
  return r;
}
