// Whether a map image keeps its proportions when it is drawn at the map's fixed size.
#include "map/map_proportion.h"

#include <cmath>

namespace {
constexpr double kDrawnAspect = 800.0 / 600.0;
constexpr double kTolerance = 0.02;
}  // namespace

bool MapOutOfProportion(int64_t width, int64_t height) {
  if (width <= 0 || height <= 0) return true;
  const double aspect = static_cast<double>(width) / static_cast<double>(height);
  return std::fabs(aspect / kDrawnAspect - 1.0) > kTolerance;
}
