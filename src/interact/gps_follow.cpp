// Following the position source: fixes stored as they arrive, the user moved to each while
// following, and a fix that stops coming given up after a few seconds.
#include <cmath>

#include "map/portrait.h"

void CPortrait::OnGpsMessage() {
  // One message may stand for several fixes (the queue holds one notification per fix, but
  // they are taken together): each is applied in order, so the last one wins.
  for (const platform::PositionFix& fix : platform::TakePositionFixes())
    ApplyGpsFix(fix.latitude, fix.longitude, fix.horizontalError, fix.time);
}

bool CPortrait::TapModeArmed() const {
  return m_moveUserMode || m_showCoordsMode || m_editSelection != -2;
}

void CPortrait::ApplyGpsFix(double latitude, double longitude, double horizontalError,
                            uint32_t time) {
  if (!std::isfinite(latitude) || !std::isfinite(longitude)) return;  // no place to go to
  m_gpsFix = true;
  m_gpsLatitude = latitude;
  m_gpsLongitude = longitude;
  m_gpsError = horizontalError;
  m_gpsFixTime = time;
  MarkGuideStale();  // the way to the next place is measured from the fix
  // A tap that was asked for comes first: the fix is kept but does not move the user.
  if (!m_followGps || TapModeArmed()) return;
  // The same path as a tap on that place: x is the longitude, y the latitude, clamped to the
  // map by the conversion; the view stays where the user put it.
  const CGeoPoint p = GpsToMap(CGeoPoint(longitude, latitude));
  SetUserPosition(static_cast<int>(p.x), static_cast<int>(p.y));
  m_userFromGps = true;
}

void CPortrait::AgeGpsFix(uint32_t now) {
  // Unsigned difference: right across the clock's wrap.
  if (m_gpsFix && now - m_gpsFixTime > kGpsFixTimeout) m_gpsFix = false;
}
