// The region test: run for each region while the map view draws it, and for all of them
// whenever a fix moves the user, whatever is on screen. Entering and leaving a place are
// the events RegionEntered and RegionLeft.
#include "data/region_item.h"
#include "data/system_item.h"
#include "data/xml_item_list.h"
#include "map/portrait.h"

void CPortrait::TestRegions() {
  const CSystemItem* system = System();
  if (system == nullptr || m_regionList == nullptr || m_regionList->IsEmpty()) return;
  for (int i = m_regionList->First(); i != -1; i = m_regionList->Next())
    TestRegion(static_cast<CRegionItem*>(m_regionList->Current()), system->m_radius);
}

void CPortrait::RegionEntered(CRegionItem* region) {
  SetRegionContentAvailable(region->m_id, true);
  OnRegionEntered(region);
}

void CPortrait::RegionLeft(CRegionItem* region) {
  SetRegionContentAvailable(region->m_id, false);
  OnRegionLeft(region);
}

void CPortrait::TestRegion(CRegionItem* region, double radius) {
  // A fix off the map is tested where it really is, not at the edge where it is drawn.
  const CGeoPoint at = m_userFromGps && m_userOffMap ? m_gpsMapPos : m_userPos;
  const double d = Distance(region->m_screenX, region->m_screenY, at.x, at.y);
  // A tapped position follows the circle exactly. One from a fix must pass the circle by the
  // fix's error before the region is left, or noise at the edge would enter and leave it on
  // alternate fixes.
  const bool held = region->m_active && m_userFromGps && d <= radius + RegionLeaveMargin(radius);
  if (radius > d || held) {
    // Marked again every frame while the user stays inside, so content that another
    // region's leaving withdrew comes back at once.
    const bool entered = !region->m_active;
    region->m_active = true;
    if (entered) {
      RegionEntered(region);
    } else {
      SetRegionContentAvailable(region->m_id, true);
    }
  } else if (region->m_active) {
    region->m_active = false;
    RegionLeft(region);
  }
}

