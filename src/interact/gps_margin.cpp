// The cushion at a region's edge for positions from a fix: the fix's own horizontal error
// in map pixels, so that a user standing on the circle is not entered and left by noise.
#include <algorithm>
#include <cmath>

#include "map/portrait.h"

namespace {
// Metres per degree: of latitude everywhere, of longitude at the equator (WGS84, rounded).
constexpr double kMetresPerDegreeLatitude = 110574.0;
constexpr double kMetresPerDegreeLongitudeAtEquator = 111320.0;
constexpr double kPi = 3.14159265358979323846;
}  // namespace

double CPortrait::MetresPerPixel() const {
  if (m_mapSize.x <= 0.0 || m_mapSize.y <= 0.0) return 0.0;
  const double midLatitude = (m_gpsTopLeft.y + m_gpsBottomRight.y) / 2.0;
  const double across = std::fabs(m_gpsBottomRight.x - m_gpsTopLeft.x) *
                        kMetresPerDegreeLongitudeAtEquator * std::cos(midLatitude * kPi / 180.0) /
                        m_mapSize.x;
  const double down =
      std::fabs(m_gpsBottomRight.y - m_gpsTopLeft.y) * kMetresPerDegreeLatitude / m_mapSize.y;
  // A map stretched one way gets the mean of its two scales; one that gives only one scale
  // (a zero-height rectangle, say) gets that one.
  const bool goodAcross = std::isfinite(across) && across > 0.0;
  const bool goodDown = std::isfinite(down) && down > 0.0;
  if (goodAcross && goodDown) return (across + down) / 2.0;
  if (goodAcross) return across;
  if (goodDown) return down;
  return 0.0;
}

double CPortrait::GpsErrorPixels() const {
  const double metresPerPixel = MetresPerPixel();
  if (metresPerPixel <= 0.0) return 0.0;
  const double metres = m_gpsError >= 0.0 ? m_gpsError : kDefaultGpsError;
  return metres / metresPerPixel;
}

double CPortrait::RegionLeaveMargin(double radius) const {
  // A map without a scale cannot convert the error: the largest margin keeps regions steady.
  const double bound = radius / 2.0;
  if (MetresPerPixel() <= 0.0) return bound;
  return std::min(GpsErrorPixels(), bound);
}
