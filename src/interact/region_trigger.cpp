// The region test, run for each region while the map view draws it.
#include "data/region_item.h"
#include "map/portrait.h"

void CPortrait::TestRegion(CRegionItem* region, double radius) {
  const double d = Distance(region->m_screenX, region->m_screenY, m_userPos.x, m_userPos.y);
  if (radius > d) {
    // Marked again every frame while the user stays inside, so content that another
    // region's leaving withdrew comes back at once.
    region->m_active = true;
    SetRegionContentAvailable(region->m_id, true);
  } else if (region->m_active) {
    region->m_active = false;
    SetRegionContentAvailable(region->m_id, false);
  }
}
