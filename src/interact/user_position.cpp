// The user's position on the map, set by taps and by fixes while following (gps_follow.cpp).
#include "map/portrait.h"

void CPortrait::SetUserPosition(int x, int y) { SetUserPosition(CGeoPoint(x, y)); }

void CPortrait::SetUserPosition(CGeoPoint mapPoint) {
  // Not limited to the map: a tap beyond its edge still moves the user there.
  m_userPos = mapPoint;
  m_userGps = MapToGps(m_userPos);
  m_userFromGps = false;  // the fix path sets it again after this call
  m_guide.userMoved = true;
  MarkGuideStale();
}

CGeoPoint CPortrait::MapPointToGps(int x, int y) const { return MapToGps(CGeoPoint(x, y)); }
