// Point arithmetic, the clamped interval mapping and the distance.
#include "map/geo_point.h"

#include <cmath>
#include <utility>

CGeoPoint& CGeoPoint::Set(double px, double py) {
  x = px;
  y = py;
  return *this;
}

CGeoPoint CGeoPoint::operator=(const CGeoPoint& o) {
  y = o.y;
  x = o.x;
  return *this;
}

bool CGeoPoint::operator==(const CGeoPoint& o) const { return x == o.x && y == o.y; }

CGeoPoint CGeoPoint::operator+(const CGeoPoint& o) const { return {x + o.x, y + o.y}; }
CGeoPoint CGeoPoint::operator-(const CGeoPoint& o) const { return {x - o.x, y - o.y}; }
CGeoPoint CGeoPoint::operator*(const CGeoPoint& o) const { return {x * o.x, y * o.y}; }
CGeoPoint CGeoPoint::operator*(double s) const { return {x * s, y * s}; }
CGeoPoint CGeoPoint::operator/(double s) const { return {x / s, y / s}; }
CGeoPoint CGeoPoint::operator*(int s) const { return *this * static_cast<double>(s); }
CGeoPoint CGeoPoint::operator/(int s) const { return *this / static_cast<double>(s); }

CGeoPoint CGeoPoint::operator+=(const CGeoPoint& o) { return Set(x + o.x, y + o.y); }
CGeoPoint CGeoPoint::operator-=(const CGeoPoint& o) { return Set(x - o.x, y - o.y); }
CGeoPoint CGeoPoint::operator*=(double s) { return Set(x * s, y * s); }
CGeoPoint CGeoPoint::operator/=(double s) { return Set(x / s, y / s); }
CGeoPoint CGeoPoint::operator*=(int s) { return *this *= static_cast<double>(s); }
CGeoPoint CGeoPoint::operator/=(int s) { return *this /= static_cast<double>(s); }

double MapRange(double value, double a1, double a2, double b1, double b2) {
  bool flip = false;
  if (a1 > a2) {
    std::swap(a1, a2);
    flip = !flip;
  }
  if (b1 > b2) {
    std::swap(b1, b2);
    flip = !flip;
  }
  // A NaN value (a project may say "nan") compares false both ways; take the low end.
  if (value < a1 || std::isnan(value)) value = a1;
  if (value > a2) value = a2;
  const double spanA = a2 - a1;
  const double spanB = b2 - b1;
  const double offset = value - a1;
  double d = spanB / spanA * offset;
  // A zero-width source interval (no map loaded yet) or an infinite one would give NaN or
  // infinity, which callers later truncate to int; the start of the target is defined.
  if (!std::isfinite(d)) d = 0.0;
  return flip ? b2 - d : b1 + d;
}

double Distance(double x1, double y1, double x2, double y2) {
  const double dx = x1 - x2;
  const double dy = y1 - y2;
  return std::sqrt(dx * dx + dy * dy);
}
