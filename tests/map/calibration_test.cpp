// Edges of a north-up map from two points, and the coordinates a person may type.
#include "map/calibration.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

const CGeoPoint kMap(800, 600);
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

struct EdgeCase {
  const char* name;
  CalibrationPoint a, b;
  CalibrationError error;
  CalibratedEdges edges;  // when error is None
};

TEST(CalibrationTest, EdgesFromTwoPoints) {
  // The map spans -1.0 .. -0.6 east and 51.6 .. 51.3 north: 0.0005 degrees per pixel across,
  // 0.0005 down.
  const CalibrationPoint p1{{100, 150}, {-0.95, 51.525}};
  const CalibrationPoint p2{{700, 450}, {-0.65, 51.375}};
  const EdgeCase cases[] = {
      {"normal", p1, p2, CalibrationError::None, {-1.0, 51.6, -0.6, 51.3}},
      {"either order", p2, p1, CalibrationError::None, {-1.0, 51.6, -0.6, 51.3}},
      {"corners",
       {{0, 0}, {-1.0, 51.6}},
       {{799, 599}, {-0.6005, 51.3005}},
       CalibrationError::None,
       {-1.0, 51.6, -0.6, 51.3}},
      {"same point twice", p1, p1, CalibrationError::SamePoint, {}},
      {"too close across", p1, {{120, 450}, {-0.94, 51.375}}, CalibrationError::TooClose, {}},
      {"too close down", p1, {{700, 160}, {-0.65, 51.52}}, CalibrationError::TooClose, {}},
      {"off the map right", p1, {{800, 450}, {-0.6, 51.375}}, CalibrationError::OffMap, {}},
      {"off the map above", {{100, -1}, {-0.95, 51.6}}, p2, CalibrationError::OffMap, {}},
      {"same GPS twice", p1, {{700, 450}, {-0.95, 51.525}}, CalibrationError::ZeroWidth, {}},
      {"same longitude", p1, {{700, 450}, {-0.95, 51.375}}, CalibrationError::ZeroWidth, {}},
      {"east on the left", p1, {{700, 450}, {-1.25, 51.375}}, CalibrationError::Reversed, {}},
      {"south at the top", p1, {{700, 450}, {-0.65, 51.675}}, CalibrationError::Reversed, {}},
      {"NaN latitude", p1, {{700, 450}, {-0.65, kNaN}}, CalibrationError::NotANumber, {}},
      {"infinite longitude",
       {{100, 150}, {-INFINITY, 51.525}},
       p2,
       CalibrationError::NotANumber,
       {}},
      {"NaN tap", {{kNaN, 150}, {-0.95, 51.525}}, p2, CalibrationError::OffMap, {}},
      {"latitude beyond the pole",
       p1,
       {{700, 450}, {-0.65, -91}},
       CalibrationError::OutOfRange,
       {}},
      {"edges past the pole",
       {{100, 500}, {0, 89.9}},
       {{700, 540}, {1, 89.8}},
       CalibrationError::BeyondGlobe,
       {}},
  };
  for (const EdgeCase& c : cases) {
    SCOPED_TRACE(c.name);
    CalibratedEdges edges{1, 2, 3, 4};
    EXPECT_EQ(ComputeCalibratedEdges(c.a, c.b, kMap, &edges), c.error);
    if (c.error != CalibrationError::None) {
      EXPECT_EQ(edges.left, 1);  // untouched
      EXPECT_STRNE(CalibrationErrorText(c.error), "");
      continue;
    }
    EXPECT_NEAR(edges.left, c.edges.left, 1e-9);
    EXPECT_NEAR(edges.top, c.edges.top, 1e-9);
    EXPECT_NEAR(edges.right, c.edges.right, 1e-9);
    EXPECT_NEAR(edges.bottom, c.edges.bottom, 1e-9);
  }
}

TEST(CalibrationTest, NoMapNoCalibration) {
  CalibratedEdges edges;
  EXPECT_EQ(ComputeCalibratedEdges({{1, 1}, {0, 1}}, {{100, 100}, {1, 0}}, CGeoPoint(0, 0), &edges),
            CalibrationError::NoMap);
}

TEST(CalibrationTest, TypedCoordinates) {
  struct Case {
    const char* text;
    double limit;
    bool ok;
    double value;
  };
  const Case cases[] = {
      {"54.4905", 90, true, 54.4905},
      {"  -0.6262 ", 180, true, -0.6262},
      {"+12.5", 90, true, 12.5},
      {"54,4905", 90, true, 54.4905},
      {"90", 90, true, 90},
      {"-180", 180, true, -180},
      {"90.000001", 90, false, 0},
      {"181", 180, false, 0},
      {"", 90, false, 0},
      {"   ", 90, false, 0},
      {"nan", 90, false, 0},
      {"NaN", 90, false, 0},
      {"inf", 180, false, 0},
      {"-infinity", 180, false, 0},
      {"north", 90, false, 0},
      {"54.49N", 90, false, 0},
      {"54.4.9", 90, false, 0},
      {"1e1", 90, false, 0},
      {"54 30", 90, false, 0},
      {"0x10", 90, false, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    double value = -999;
    EXPECT_EQ(ParseCoordinate(c.text, c.limit, &value), c.ok);
    if (c.ok) {
      EXPECT_DOUBLE_EQ(value, c.value);
    }
  }
}

}  // namespace
