// Point arithmetic and the clamped interval mapping.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "map/geo_point.h"

namespace {

TEST(MapRangeTest, MapsClampsAndRunsBackwardsOnOneReversedInterval) {
  EXPECT_DOUBLE_EQ(MapRange(2, 0, 10, 100, 200), 120);
  EXPECT_DOUBLE_EQ(MapRange(2, 10, 0, 100, 200), 180);
  EXPECT_DOUBLE_EQ(MapRange(2, 0, 10, 200, 100), 180);
  EXPECT_DOUBLE_EQ(MapRange(2, 10, 0, 200, 100), 120);
  EXPECT_DOUBLE_EQ(MapRange(-3, 0, 10, 100, 200), 100);
  EXPECT_DOUBLE_EQ(MapRange(12, 0, 10, 100, 200), 200);
  EXPECT_DOUBLE_EQ(MapRange(12, 10, 0, 100, 200), 100);
}

TEST(MapRangeTest, ZeroWidthOrNanGivesTheStartOfTheTargetNeverNan) {
  // No map loaded: the source interval is (0, 0).
  EXPECT_DOUBLE_EQ(MapRange(5, 0, 0, 100, 200), 100);
  EXPECT_DOUBLE_EQ(MapRange(0, 0, 0, 100, 200), 100);
  EXPECT_DOUBLE_EQ(MapRange(5, 0, 0, 200, 100), 200);  // reversed target: its first end
  EXPECT_DOUBLE_EQ(MapRange(3, 7, 7, 0, 0), 0);
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  EXPECT_DOUBLE_EQ(MapRange(nan, 0, 10, 100, 200), 100);
  EXPECT_TRUE(std::isfinite(MapRange(5, 0, inf, 100, 200)));
  EXPECT_TRUE(std::isfinite(MapRange(5, -inf, inf, 0, 800)));
}

TEST(DistanceTest, EuclideanInTheArgumentsUnits) {
  EXPECT_DOUBLE_EQ(Distance(0, 0, 3, 4), 5);
  EXPECT_DOUBLE_EQ(Distance(3, 4, 0, 0), 5);
  EXPECT_DOUBLE_EQ(Distance(-1, -1, -1, -1), 0);
}

TEST(GeoPointTest, EqualityIsExact) {
  EXPECT_FALSE(CGeoPoint(0.1 + 0.2, 0) == CGeoPoint(0.3, 0));
  EXPECT_TRUE(CGeoPoint(0.5, 2) == CGeoPoint(0.5, 2));
  EXPECT_FALSE(CGeoPoint(0.5, 2) == CGeoPoint(0.5, 2.0000001));
  EXPECT_TRUE(CGeoPoint() == CGeoPoint(0, 0));
}

TEST(GeoPointTest, BinaryOperatorsLeaveOperandsUnchanged) {
  const CGeoPoint a(6, 8);
  const CGeoPoint b(2, 4);
  EXPECT_TRUE(a + b == CGeoPoint(8, 12));
  EXPECT_TRUE(a - b == CGeoPoint(4, 4));
  EXPECT_TRUE(a * b == CGeoPoint(12, 32));
  EXPECT_TRUE(a * 0.5 == CGeoPoint(3, 4));
  EXPECT_TRUE(a / 4.0 == CGeoPoint(1.5, 2));
  EXPECT_TRUE(a * 3 == CGeoPoint(18, 24));
  EXPECT_TRUE(a / 4 == CGeoPoint(1.5, 2));  // integer scalar divides as a double
  EXPECT_TRUE(a == CGeoPoint(6, 8));
}

TEST(GeoPointTest, CompoundFormsChangeTheLeftAndReturnACopy) {
  CGeoPoint p(1, 2);
  CGeoPoint r = (p += CGeoPoint(1, 1));
  EXPECT_TRUE(p == CGeoPoint(2, 3));
  r.x = 99;  // a copy: changing it leaves p alone
  EXPECT_TRUE(p == CGeoPoint(2, 3));
  EXPECT_TRUE((p -= CGeoPoint(2, 2)) == CGeoPoint(0, 1));
  EXPECT_TRUE((p *= 2.5) == CGeoPoint(0, 2.5));
  EXPECT_TRUE((p /= 0.5) == CGeoPoint(0, 5));
  EXPECT_TRUE((p *= 3) == CGeoPoint(0, 15));
  EXPECT_TRUE((p /= 2) == CGeoPoint(0, 7.5));
  EXPECT_TRUE(p == CGeoPoint(0, 7.5));
}

TEST(GeoPointTest, AssignmentAndSet) {
  CGeoPoint p;
  CGeoPoint q(3, 4);
  CGeoPoint r = (p = q);
  EXPECT_TRUE(p == q);
  EXPECT_TRUE(r == q);
  p = p;  // self-assignment keeps the value
  EXPECT_TRUE(p == q);
  EXPECT_TRUE(p.Set(-1, 7) == CGeoPoint(-1, 7));
  p.Set(5, 6).x = 9;  // Set returns the point itself
  EXPECT_TRUE(p == CGeoPoint(9, 6));
}

}  // namespace
