// The region test, run for each region while the map view draws it.
#include "data/region_item.h"
#include "map/portrait.h"

void CPortrait::TestRegion(CRegionItem* region, double radius) {
  const double d = Distance(region->m_screenX, region->m_screenY, m_userPos.x, m_userPos.y);
  // A tapped position follows the circle exactly. One from a fix must pass the circle by the
  // fix's error before the region is left, or noise at the edge would enter and leave it on
  // alternate fixes.
  const bool held = region->m_active && m_userFromGps && d <= radius + RegionLeaveMargin(radius);
  if (radius > d || held) {
    if (!region->m_active) OnRegionEntered(region);
    // Marked again every frame while the user stays inside, so content that another
    // region's leaving withdrew comes back at once.
    region->m_active = true;
    SetRegionContentAvailable(region->m_id, true);
  } else if (region->m_active) {
    region->m_active = false;
    SetRegionContentAvailable(region->m_id, false);
    OnRegionLeft(region);
  }
}
