// The map picture and the regions of the map view (trigger squares or markers), after the
// region tests, kept as one layer while nothing they show changes.
#include <algorithm>
#include <cstdio>

#include "data/region_item.h"
#include "data/system_item.h"
#include "data/xml_item_list.h"
#include "map/map_pyramid.h"
#include "map/portrait.h"
#include "map/render_helpers.h"

void CPortrait::DrawMapAndRegions(CGapiSurface* backBuffer, CGapiBitmapFont* font) {
  const bool regions = m_regionList != nullptr && !m_regionList->IsEmpty();
  // A project that failed to load has no radius to test against: its regions are drawn
  // but never entered. A test changes only its own region, so all run before the drawing.
  if (regions) TestRegions();

  CGapiSurface* layer = MapLayerFor(backBuffer, font);
  if (layer == nullptr) {
    DrawMapBackground(backBuffer);
    DrawRegions(backBuffer, font);
  } else {
    backBuffer->BltFast(0, 0, layer, nullptr, 0, nullptr);
  }
  if (regions) EndRegionTests();
}

CGapiSurface* CPortrait::MapLayerFor(CGapiSurface* backBuffer, CGapiBitmapFont* font) {
  const int width = static_cast<int>(backBuffer->GetWidth());
  const int height = static_cast<int>(backBuffer->GetHeight());
  const bool map = m_showMap && m_mapSurface != nullptr;
  // Kept only where the picture covers the whole screen at the fitted size; the drawing
  // record, when on, lists every call as drawn.
  if (backBuffer->RecordsDraws()) return nullptr;
  const bool zoomed = map && m_zoom > 1.0 && m_mapPyramid != nullptr;
  if (map) {
    const RECT& v = m_viewRect;
    // Zoomed, the view is in pixels of the enlarged map, which is larger than the screen.
    const bool inside = zoomed || (v.right <= static_cast<LONG>(m_mapSurface->GetWidth()) &&
                                   v.bottom <= static_cast<LONG>(m_mapSurface->GetHeight()));
    if (v.left < 0 || v.top < 0 || !inside || v.right - v.left < width ||
        v.bottom - v.top < height)
      return nullptr;
  }

  // Everything the layer's pixels depend on.
  m_mapLayer.Begin();
  m_mapLayer.Add(std::int64_t{width});
  m_mapLayer.Add(std::int64_t{height});
  m_mapLayer.Add(static_cast<std::int64_t>(map ? m_mapSurface->Version() : 0));
  m_mapLayer.Add(std::int64_t{m_viewRect.left});
  m_mapLayer.Add(std::int64_t{m_viewRect.top});
  m_mapLayer.Add(std::int64_t{m_viewRect.right});
  m_mapLayer.Add(std::int64_t{m_viewRect.bottom});
  m_mapLayer.Add(m_zoom);
  m_mapLayer.Add(static_cast<const void*>(zoomed ? m_mapPyramid.get() : nullptr));
  if (m_regionList != nullptr && !m_regionList->IsEmpty()) {
    const CSystemItem* system = System();
    m_mapLayer.Add(system != nullptr ? system->m_radius : 0.0);
    m_mapLayer.Add(std::int64_t{m_showRegionAreas} * 2 + std::int64_t{m_showRegionMarkers});
    m_mapLayer.Add(static_cast<std::int64_t>(m_regionMarker.Version()));
    m_mapLayer.Add(static_cast<const void*>(font));
    for (int i = m_regionList->First(); i != -1; i = m_regionList->Next()) {
      const auto* region = static_cast<const CRegionItem*>(m_regionList->Current());
      m_mapLayer.Add(std::int64_t{region->m_id});
      m_mapLayer.Add(region->m_screenX);
      m_mapLayer.Add(region->m_screenY);
      m_mapLayer.Add(std::int64_t{region->m_active} * 65536 + region->m_contentCount);
    }
  }
  // A zoomed view is kept once it holds still for a frame; while it pans, it is drawn
  // straight, from the sampled ring the pyramid keeps.
  if (zoomed && !m_mapLayer.Repeated()) return nullptr;
  bool redraw = false;
  CGapiSurface* layer = m_mapLayer.For(width, height, &redraw);
  if (layer != nullptr && redraw) {
    DrawMapBackground(layer);
    DrawRegions(layer, font);
  }
  return layer;
}

// Regions are drawn after their tests (DrawMapAndRegions).
void CPortrait::DrawRegions(CGapiSurface* backBuffer, CGapiBitmapFont* font) {
  if (m_regionList == nullptr || m_regionList->IsEmpty()) return;

  const CSystemItem* system = System();
  const double radius = system != nullptr ? system->m_radius : 0.0;
  const MapView view = View();
  // The area is a distance on the ground and grows with the zoom; the marker keeps its size.
  const int r = ToPixel(view.ToScreenLength(radius));
  const int markerPitch = static_cast<int>(m_regionMarker.GetWidth());
  const int h2 = markerPitch / 2;

  for (int i = m_regionList->First(); i != -1; i = m_regionList->Next()) {
    auto* region = static_cast<CRegionItem*>(m_regionList->Current());
    if (!m_showRegionAreas && !m_showRegionMarkers) continue;

    const CGeoPoint at(region->m_screenX, region->m_screenY);
    // The area is drawn as a square although the test is a circle.
    const RECT square = view.ZoomedBox(at, RECT{-r, -r, r, r});
    RECT dest, src;
    if (!ClipToView(m_viewRect, square, &dest, &src)) continue;

    if (m_showRegionAreas) {
      render::TranslucentFill(backBuffer, dest, region->m_active ? render::kBlue : render::kRed);
      // The label only fits when none of the square is clipped away.
      if (src.right - src.left == 2 * r && src.bottom - src.top == 2 * r) {
        char label[128];
        std::snprintf(label, sizeof label, "R%i", region->m_id);
        const POINT centre = view.ToScreen(at);
        render::CentredText(backBuffer, centre.x, centre.y - 4, label, font);
      }
      continue;
    }

    const RECT marker = view.ZoomedBox(at, RECT{-h2, -h2, h2, h2});
    if (!ClipToView(m_viewRect, marker, &dest, &src)) continue;
    int frame = region->m_contentCount - 1;
    if (frame < 0) continue;
    frame = std::min(frame, 4);
    src.top += frame * markerPitch;
    src.bottom += frame * markerPitch;
    render::KeyedBlit(backBuffer, dest, &m_regionMarker, src);
  }
}
