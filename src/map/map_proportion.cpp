// Whether a map image keeps its proportions when it is drawn at the map's fixed size.
#include "map/map_proportion.h"

#include <cmath>

namespace {
constexpr double kDrawnAspect = 800.0 / 600.0;
constexpr double kTolerance = 0.02;
}  // namespace

bool MapOutOfProportion(int64_t width, int64_t height) {
  if (width <= 0 || height <= 0) return true;
  return AspectsDiffer(static_cast<double>(width) / static_cast<double>(height), kDrawnAspect);
}

double GroundAspect(double west, double north, double east, double south) {
  if (!(east > west) || !(north > south)) return 0;
  const double middle = (north + south) / 2.0 * M_PI / 180.0;
  return (east - west) * std::cos(middle) / (north - south);
}

bool AspectsDiffer(double a, double b) { return std::fabs(a / b - 1.0) > kTolerance; }
