// Edges of a north-up map from two points of known GPS position.
#include "map/calibration.h"

#include <charconv>
#include <cmath>

#include "platform/text/tr.h"

namespace {

// The file keeps six decimals: coordinates closer than this are one value there.
constexpr double kWrittenStep = 1e-6;

bool OnMap(CGeoPoint p, CGeoPoint mapSize) {
  return p.x >= 0 && p.y >= 0 && p.x < mapSize.x && p.y < mapSize.y;
}

bool Finite(CGeoPoint p) { return std::isfinite(p.x) && std::isfinite(p.y); }

bool InRange(CGeoPoint gps) { return std::fabs(gps.x) <= 180.0 && std::fabs(gps.y) <= 90.0; }

}  // namespace

const char* CalibrationErrorText(CalibrationError error) {
  switch (error) {
    case CalibrationError::None:
      return "";
    case CalibrationError::NoMap:
      return _("There is no map to calibrate: the map image did not load.");
    case CalibrationError::OffMap:
      return _("That point is off the map. Tap a point on the map itself.");
    case CalibrationError::SamePoint:
      return _("That is the first point again. Tap a second point, away from the first.");
    case CalibrationError::TooClose:
      return _(
          "The second point is too close to the first. Tap one at least 32 map pixels "
          "away from it both across and down: far apart is more accurate.");
    case CalibrationError::NotANumber:
      return _("A coordinate is not a number.");
    case CalibrationError::OutOfRange:
      return _(
          "A latitude must lie between -90 and 90 degrees and a longitude between -180 "
          "and 180.");
    case CalibrationError::ZeroWidth:
      return _(
          "The two points have the same longitude or the same latitude, which would give "
          "the map no width or no height. Choose two points that differ in both.");
    case CalibrationError::Reversed:
      return _(
          "These positions would put east on the left of the map or south at its top. "
          "Check the two positions (latitude and longitude may be swapped).");
    case CalibrationError::BeyondGlobe:
      return _(
          "These positions would stretch the map past the poles or the date line. Check "
          "the two positions.");
  }
  return "";
}

CalibrationError CheckCalibrationTap(CGeoPoint tap, const CGeoPoint* first, CGeoPoint mapSize) {
  if (!(mapSize.x > 0 && mapSize.y > 0)) return CalibrationError::NoMap;
  if (!Finite(tap) || !OnMap(tap, mapSize)) return CalibrationError::OffMap;
  if (first == nullptr) return CalibrationError::None;
  if (tap == *first) return CalibrationError::SamePoint;
  if (std::fabs(tap.x - first->x) < kMinCalibrationSpan ||
      std::fabs(tap.y - first->y) < kMinCalibrationSpan)
    return CalibrationError::TooClose;
  return CalibrationError::None;
}

CalibrationError ComputeCalibratedEdges(const CalibrationPoint& a, const CalibrationPoint& b,
                                        CGeoPoint mapSize, CalibratedEdges* edges) {
  if (CalibrationError e = CheckCalibrationTap(a.map, nullptr, mapSize);
      e != CalibrationError::None)
    return e;
  if (CalibrationError e = CheckCalibrationTap(b.map, &a.map, mapSize); e != CalibrationError::None)
    return e;
  if (!Finite(a.gps) || !Finite(b.gps)) return CalibrationError::NotANumber;
  if (!InRange(a.gps) || !InRange(b.gps)) return CalibrationError::OutOfRange;

  const double dLon = b.gps.x - a.gps.x;
  const double dLat = b.gps.y - a.gps.y;
  if (std::fabs(dLon) < kWrittenStep || std::fabs(dLat) < kWrittenStep)
    return CalibrationError::ZeroWidth;
  // Degrees per map pixel: positive across (east is right), negative down (north is up).
  const double perPixelX = dLon / (b.map.x - a.map.x);
  const double perPixelY = dLat / (b.map.y - a.map.y);
  if (perPixelX <= 0 || perPixelY >= 0) return CalibrationError::Reversed;

  CalibratedEdges e;
  e.left = a.gps.x - perPixelX * a.map.x;
  e.right = e.left + perPixelX * mapSize.x;
  e.top = a.gps.y - perPixelY * a.map.y;
  e.bottom = e.top + perPixelY * mapSize.y;
  if (!InRange(CGeoPoint(e.left, e.top)) || !InRange(CGeoPoint(e.right, e.bottom)))
    return CalibrationError::BeyondGlobe;
  // Points a few metres apart on a wide map can still leave the edges equal in the file.
  if (e.right - e.left < kWrittenStep || e.top - e.bottom < kWrittenStep)
    return CalibrationError::ZeroWidth;
  *edges = e;
  return CalibrationError::None;
}

bool ParseCoordinate(const std::string& text, double limit, double* degrees) {
  size_t begin = text.find_first_not_of(" \t\r\n");
  size_t end = text.find_last_not_of(" \t\r\n");
  if (begin == std::string::npos) return false;
  std::string number = text.substr(begin, end - begin + 1);
  if (number.find('.') == std::string::npos) {
    if (size_t comma = number.find(','); comma != std::string::npos) number[comma] = '.';
  }
  if (!number.empty() && number[0] == '+') number.erase(0, 1);
  double value = 0;
  const char* first = number.data();
  const char* last = first + number.size();
  const auto [ptr, ec] = std::from_chars(first, last, value, std::chars_format::fixed);
  if (ec != std::errc() || ptr != last || !std::isfinite(value) || std::fabs(value) > limit)
    return false;
  *degrees = value;
  return true;
}
