// Great-circle distance (haversine) and initial bearing.
#include "guide/geo_distance.h"

#include <algorithm>
#include <cmath>

namespace guide {
namespace {
constexpr double kEarthRadius = 6371008.8;  // mean radius, metres
constexpr double kPi = 3.14159265358979323846;
double Rad(double degrees) { return degrees * kPi / 180.0; }
}  // namespace

double GroundMetres(double lat1, double lon1, double lat2, double lon2) {
  const double p1 = Rad(lat1), p2 = Rad(lat2);
  const double dp = p2 - p1, dl = Rad(lon2 - lon1);
  const double a = std::sin(dp / 2) * std::sin(dp / 2) +
                   std::cos(p1) * std::cos(p2) * std::sin(dl / 2) * std::sin(dl / 2);
  return 2.0 * kEarthRadius * std::asin(std::sqrt(std::clamp(a, 0.0, 1.0)));
}

double BearingDegrees(double lat1, double lon1, double lat2, double lon2) {
  const double p1 = Rad(lat1), p2 = Rad(lat2), dl = Rad(lon2 - lon1);
  const double y = std::sin(dl) * std::cos(p2);
  const double x = std::cos(p1) * std::sin(p2) - std::sin(p1) * std::cos(p2) * std::cos(dl);
  if (x == 0.0 && y == 0.0) return 0.0;
  const double b = std::atan2(y, x) * 180.0 / kPi;
  return b < 0.0 ? b + 360.0 : b;
}

}  // namespace guide
