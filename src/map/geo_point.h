// A pair of doubles used for GPS positions, map and screen positions, and sizes.
#pragma once

class CGeoPoint {
 public:
  double x;
  double y;

  CGeoPoint() : x(0.0), y(0.0) {}
  CGeoPoint(double px, double py) : x(px), y(py) {}
  CGeoPoint(const CGeoPoint& o) = default;
  virtual ~CGeoPoint() = default;

  CGeoPoint& Set(double px, double py);
  CGeoPoint operator=(const CGeoPoint& o);  // returns a copy, not a reference
  bool operator==(const CGeoPoint& o) const;  // exact

  CGeoPoint operator+(const CGeoPoint& o) const;
  CGeoPoint operator-(const CGeoPoint& o) const;
  CGeoPoint operator*(const CGeoPoint& o) const;
  CGeoPoint operator*(double s) const;
  CGeoPoint operator/(double s) const;
  CGeoPoint operator*(int s) const;
  CGeoPoint operator/(int s) const;
  // Compound forms change this point and return a copy of its new value.
  CGeoPoint operator+=(const CGeoPoint& o);
  CGeoPoint operator-=(const CGeoPoint& o);
  CGeoPoint operator*=(double s);
  CGeoPoint operator/=(double s);
  CGeoPoint operator*=(int s);
  CGeoPoint operator/=(int s);
};

// Clamped linear mapping of value from interval a to interval b; a reversed interval on one
// side runs the mapping backwards.
double MapRange(double value, double a1, double a2, double b1, double b2);
double Distance(double x1, double y1, double x2, double y2);
