// Zoom and pan of the map view: the view centre (map pixels) and the zoom give the view
// rectangle, and every change keeps the view on the map.
#include <algorithm>
#include <cmath>

#include "map/map_pyramid.h"
#include "map/portrait.h"

namespace {

// A zoom this close to 1 is the fitted map itself, drawn unscaled.
constexpr double kFitSnap = 1e-6;

// Keeps a view centre coordinate (map pixels) where the view stays on the map: half the
// screen, in map pixels, from either edge. A map smaller than the screen ends up at the
// screen's half: the lower bound wins.
double ClampCentre(double centre, double halfScreen, double map) {
  if (!std::isfinite(centre)) return halfScreen;
  if (centre < halfScreen) return halfScreen;
  if (centre > map - halfScreen) return map - halfScreen;
  return centre;
}

}  // namespace

double CPortrait::MaxZoom() const {
  return m_mapPyramid != nullptr ? m_mapPyramid->MaxZoom() : 1.0;
}

void CPortrait::UpdateViewRect() {
  m_viewCentre.x = ClampCentre(m_viewCentre.x, m_screenSize.x / 2 / m_zoom, m_mapSize.x);
  m_viewCentre.y = ClampCentre(m_viewCentre.y, m_screenSize.y / 2 / m_zoom, m_mapSize.y);
  m_viewRect = ComputeViewRect();
}

void CPortrait::PanView(double dx, double dy) {
  m_viewCentre.x += dx / m_zoom;
  m_viewCentre.y += dy / m_zoom;
  UpdateViewRect();
}

void CPortrait::CentreViewOn(CGeoPoint map) {
  m_viewCentre = map;
  UpdateViewRect();
}

void CPortrait::ZoomAbout(int x, int y, double factor) {
  if (!(factor > 0.0) || !std::isfinite(factor)) return;
  // From the centre rather than the whole-pixel view rectangle, so that zooming step by
  // step does not creep: the point stays under the pointer however many steps it takes.
  const CGeoPoint under(m_viewCentre.x + (x - m_screenSize.x / 2) / m_zoom,
                        m_viewCentre.y + (y - m_screenSize.y / 2) / m_zoom);
  double zoom = std::clamp(m_zoom * factor, 1.0, MaxZoom());
  if (zoom < 1.0 + kFitSnap) zoom = 1.0;
  if (zoom == m_zoom) return;
  m_zoom = zoom;
  // The point under the pointer stays under it.
  m_viewCentre.x = under.x + (m_screenSize.x / 2 - x) / m_zoom;
  m_viewCentre.y = under.y + (m_screenSize.y / 2 - y) / m_zoom;
  UpdateViewRect();
}
