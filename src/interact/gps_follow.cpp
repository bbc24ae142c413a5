// Following the position source: fixes stored as they arrive, the user moved to each while
// following and the places tested at once, and a fix that stops coming given up after a few
// seconds (more for a source that reports rarely).
#include <algorithm>
#include <cmath>

#include "map/portrait.h"

void CPortrait::OnGpsMessage() {
  // One message may stand for several fixes (the queue holds one notification per fix, but
  // they are taken together): each is applied in order, so the last one wins.
  for (const platform::PositionFix& fix : platform::TakePositionFixes())
    ApplyGpsFix(fix.latitude, fix.longitude, fix.horizontalError, fix.time, fix.interval);
}

bool CPortrait::TapModeArmed() const {
  return m_moveUserMode || m_showCoordsMode || m_editSelection != -2;
}

void CPortrait::ApplyGpsFix(double latitude, double longitude, double horizontalError,
                            uint32_t time, uint32_t interval) {
  if (!std::isfinite(latitude) || !std::isfinite(longitude)) return;  // no place to go to
  m_gpsFix = true;
  m_gpsLatitude = latitude;
  m_gpsLongitude = longitude;
  m_gpsError = horizontalError;
  m_gpsFixTime = time;
  m_gpsFixInterval = interval;
  MarkGuideStale();  // the way to the next place is measured from the fix
  // A tap that was asked for comes first: the fix is kept but does not move the user.
  if (!m_followGps || TapModeArmed()) return;
  // The same path as a tap on that place: x is the longitude, y the latitude, clamped to the
  // map by the conversion; the view stays where the user put it.
  const CGeoPoint p = GpsToMap(CGeoPoint(longitude, latitude));
  SetUserPosition(static_cast<int>(p.x), static_cast<int>(p.y));
  m_userFromGps = true;
  // The places are tested where the walker really is: one far off the map is drawn at its
  // edge but is in none of the places along it.
  m_gpsMapPos = GpsToMapUnclamped(CGeoPoint(longitude, latitude));
  m_userOffMap = !(m_gpsMapPos.x >= 0.0 && m_gpsMapPos.x <= m_mapSize.x && m_gpsMapPos.y >= 0.0 &&
                   m_gpsMapPos.y <= m_mapSize.y);
  // Whatever is on screen (page view, a user screen, a minimised window), so that no place
  // walked through meanwhile is missed.
  TestRegions();
}

void CPortrait::AgeGpsFix(uint32_t now) {
  // Unsigned difference: right across the clock's wrap. A source that said when its next
  // fix is due (a sparse recording) gets that long on top.
  const uint32_t timeout = kGpsFixTimeout + std::min<uint32_t>(m_gpsFixInterval, 3600000);
  if (m_gpsFix && now - m_gpsFixTime > timeout) m_gpsFix = false;
}
