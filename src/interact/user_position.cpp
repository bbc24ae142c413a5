// The user's position on the map, set by taps; no receiver feeds it in this build.
#include "map/portrait.h"

void CPortrait::SetUserPosition(int x, int y) {
  // Not limited to the map: a tap beyond its edge still moves the user there.
  m_userPos = CGeoPoint(x, y);
  m_userGps = MapToGps(m_userPos);
}

CGeoPoint CPortrait::MapPointToGps(int x, int y) const { return MapToGps(CGeoPoint(x, y)); }
