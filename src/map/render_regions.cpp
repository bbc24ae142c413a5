// Regions of the map view: trigger squares or markers, each after its region test.
#include <algorithm>
#include <cstdio>

#include "data/region_item.h"
#include "data/system_item.h"
#include "data/xml_item_list.h"
#include "map/portrait.h"
#include "map/render_helpers.h"

void CPortrait::DrawRegions(CGapiSurface* backBuffer, CGapiBitmapFont* font) {
  if (m_regionList == nullptr || m_regionList->IsEmpty()) return;

  // A project that failed to load has no radius to test against: its regions are drawn
  // but never entered.
  const CSystemItem* system = System();
  const double radius = system != nullptr ? system->m_radius : 0.0;
  const MapView view = View();
  // The area is a distance on the ground and grows with the zoom; the marker keeps its size.
  const int r = ToPixel(view.ToScreenLength(radius));
  const int markerPitch = static_cast<int>(m_regionMarker.GetWidth());
  const int h2 = markerPitch / 2;

  for (int i = m_regionList->First(); i != -1; i = m_regionList->Next()) {
    auto* region = static_cast<CRegionItem*>(m_regionList->Current());
    if (system != nullptr) TestRegion(region, radius);
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
  EndRegionTests();
}
