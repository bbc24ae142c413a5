// Second stage of a map-view tap: the tap modes, moving the user, and the edit states.
#include <climits>
#include <cstdio>

#include "data/content_item.h"
#include "data/region_item.h"
#include "data/system_item.h"
#include "data/xml_item_list.h"
#include "map/portrait.h"
#include "platform/text/tr.h"
#include "platform/windowing/win_api.h"

namespace {
constexpr int kRegionEditBase = 10000;  // edit states from here on name a region
}

void CPortrait::HandleMapTap(int x, int y) {
  // A drag may follow; a press near the top edge also starts the menu-reveal gesture.
  m_dragging = true;
  m_lastStylusX = x;
  m_lastStylusY = y;
  TrackMenuGesture(0, x, y);

  const int mapX = x + m_viewRect.left;
  const int mapY = y + m_viewRect.top;

  if (IsCalibrating()) {
    CalibrationTap(mapX, mapY);
    // Every calibration tap opens a box or a dialog, which takes the release.
    m_dragging = false;
    return;
  }
  if (m_moveUserMode) {
    SetUserPosition(mapX, mapY);
    m_moveUserMode = false;
    return;
  }
  if (m_showCoordsMode) {
    const CGeoPoint g = MapPointToGps(mapX, mapY);
    // Both numbers named, latitude first as calibration asks for them; snprintf keeps
    // coordinates of any size inside the buffer.
    char text[128];
    std::snprintf(text, sizeof text, _("Map pixel (%i, %i)\nLatitude %f, longitude %f"), mapX, mapY,
                  g.y, g.x);
    MessageBoxA(m_hWnd, text, _("Position info"), MB_OK);
    m_showCoordsMode = false;
    return;
  }
  if (m_editSelection == -2) {
    SetUserPosition(mapX, mapY);
    return;
  }
  if (m_editSelection == -1) {
    if (m_iconMode != 0) {
      // A negative id is no hit: the tap goes on to the region test.
      if (const CContentItem* item = HitTestIconItem(mapX, mapY);
          item != nullptr && item->m_id >= 0) {
        // An id in the region range would be taken for a region when placed, so such an
        // item cannot be edited: the choosing tap ends editing instead.
        m_editSelection = item->m_id < kRegionEditBase ? item->m_id : -2;
        return;
      }
    }
    if (m_showRegionAreas) {
      const int id = HitTestRegion(mapX, mapY);
      if (id >= 0) {
        // An id too large to carry the offset cannot be chosen: the tap ends editing.
        m_editSelection = id <= INT_MAX - kRegionEditBase ? id + kRegionEditBase : -2;
        return;
      }
    }
    m_editSelection = -2;
    return;
  }

  const CGeoPoint g = MapPointToGps(mapX, mapY);
  if (m_editSelection >= kRegionEditBase) {
    auto* region =
        m_regionList != nullptr
            ? static_cast<CRegionItem*>(m_regionList->FindById(m_editSelection - kRegionEditBase))
            : nullptr;
    if (region != nullptr) {
      m_projectEdited = true;
      region->m_screenX = mapX;
      region->m_screenY = mapY;
      region->m_gpsX = g.x;
      region->m_gpsY = g.y;
      MarkGuideStale();
    }
  } else {
    auto* item = m_contentList != nullptr
                     ? static_cast<CContentItem*>(m_contentList->FindById(m_editSelection))
                     : nullptr;
    if (item != nullptr) {
      m_projectEdited = true;
      item->m_screenX = mapX;
      item->m_screenY = mapY;
      item->m_gpsX = g.x;
      item->m_gpsY = g.y;
    }
  }
  m_editSelection = -2;
}

int CPortrait::HitTestRegion(int x, int y) {
  const CSystemItem* system = System();
  if (system == nullptr || m_regionList == nullptr || m_regionList->IsEmpty()) return -1;
  for (int i = m_regionList->First(); i != -1; i = m_regionList->Next()) {
    const auto* region = static_cast<const CRegionItem*>(m_regionList->Current());
    if (Distance(x, y, region->m_screenX, region->m_screenY) < system->m_radius)
      return region->m_id;
  }
  return -1;
}
