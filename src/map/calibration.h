// Two-point calibration of a north-up map: the GPS edges that put two points of known
// position where they lie on the map, and the checks that keep a bad calibration out.
#pragma once

#include <string>

#include "map/geo_point.h"

// Two points closer than this on either axis give edges too uncertain to keep.
constexpr double kMinCalibrationSpan = 32.0;  // map pixels

struct CalibrationPoint {
  CGeoPoint map;  // map pixels
  CGeoPoint gps;  // x longitude, y latitude, degrees
};

struct CalibratedEdges {
  double left = 0;    // longitude of the map's left edge
  double top = 0;     // latitude of its top edge
  double right = 0;   // longitude of its right edge
  double bottom = 0;  // latitude of its bottom edge
};

enum class CalibrationError {
  None,
  NoMap,        // the map has no size: nothing to calibrate
  OffMap,       // a point outside the map
  SamePoint,    // the second point is the first one again
  TooClose,     // the points are less than kMinCalibrationSpan apart across or down
  NotANumber,   // a coordinate that is not a finite number
  OutOfRange,   // a latitude beyond 90 degrees or a longitude beyond 180
  ZeroWidth,    // both points share a longitude or a latitude (at six decimals)
  Reversed,     // east would lie left of west, or south above north
  BeyondGlobe,  // the edges reach past the poles or the date line
};

// A plain sentence for the person calibrating.
const char* CalibrationErrorText(CalibrationError error);

// Whether a tapped point can serve: on the map and, as the second point, far enough from
// the first (null for the first point).
CalibrationError CheckCalibrationTap(CGeoPoint tap, const CGeoPoint* first, CGeoPoint mapSize);

// The edges of the north-up linear model: longitude grows to the right and latitude falls
// downwards, in proportion to map pixels. *edges is set only when the result is None.
CalibrationError ComputeCalibratedEdges(const CalibrationPoint& a, const CalibrationPoint& b,
                                        CGeoPoint mapSize, CalibratedEdges* edges);

// A typed coordinate in degrees: a finite number within [-limit, limit], with '.' or ','
// as the decimal mark and blanks around it allowed. False for anything else.
bool ParseCoordinate(const std::string& text, double limit, double* degrees);
