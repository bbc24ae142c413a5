// Map pixels to GPS and back, and the visible part of the map.
#include <gtest/gtest.h>

#include "loading_fixture.h"

namespace {

class CoordsTest : public LoadingTest {
 protected:
  void SetUp() override {
    LoadingTest::SetUp();
    model->m_mapSize.Set(800, 600);
    model->m_gpsTopLeft.Set(-1.50, 52.40);      // north at the top: latitude falls downwards
    model->m_gpsBottomRight.Set(-1.40, 52.35);
  }
};

void ExpectNear(const CGeoPoint& actual, double x, double y) {
  EXPECT_NEAR(actual.x, x, 1e-9);
  EXPECT_NEAR(actual.y, y, 1e-9);
}

TEST_F(CoordsTest, CornersMapToTheMapCorners) {
  ExpectNear(model->GpsToMap(model->m_gpsTopLeft), 0, 0);
  ExpectNear(model->GpsToMap(model->m_gpsBottomRight), 800, 600);
  ExpectNear(model->MapToGps(CGeoPoint(0, 0)), -1.50, 52.40);
  ExpectNear(model->MapToGps(CGeoPoint(800, 600)), -1.40, 52.35);
}

TEST_F(CoordsTest, ReversedLatitudeAndRoundTrip) {
  const CGeoPoint g = model->MapToGps(CGeoPoint(200, 150));
  EXPECT_NEAR(g.x, -1.475, 1e-12);
  EXPECT_NEAR(g.y, 52.3875, 1e-12);  // a quarter of the way down from the top
  const CGeoPoint back = model->GpsToMap(g);
  EXPECT_NEAR(back.x, 200, 1e-9);
  EXPECT_NEAR(back.y, 150, 1e-9);
}

TEST_F(CoordsTest, OutsideTheRectangleLandsOnTheNearestEdge) {
  ExpectNear(model->GpsToMap(CGeoPoint(-2.0, 53.0)), 0, 0);
  ExpectNear(model->GpsToMap(CGeoPoint(0.0, 50.0)), 800, 600);
  ExpectNear(model->GpsToMap(CGeoPoint(-1.45, 60.0)), 400, 0);
  ExpectNear(model->MapToGps(CGeoPoint(-50, 900)), -1.50, 52.35);
}

TEST_F(CoordsTest, WithoutAMapConversionsStayFinite) {
  model->m_mapSize.Set(0, 0);
  EXPECT_TRUE(model->MapToGps(CGeoPoint(400, 300)) == model->m_gpsTopLeft);
  EXPECT_TRUE(model->GpsToMap(CGeoPoint(-1.45, 52.37)) == CGeoPoint(0, 0));
}

TEST_F(CoordsTest, ViewRectFollowsTheCentreInsideTheMap) {
  model->m_mapSize.Set(1600, 1200);
  model->m_viewCentre.Set(800, 600);
  EXPECT_EQ(RectText(model->ComputeViewRect()), "400,300,1200,900");
  model->m_viewCentre.Set(100, 100);  // near the top-left corner
  EXPECT_EQ(RectText(model->ComputeViewRect()), "0,0,800,600");
  model->m_viewCentre.Set(1500, 1150);  // near the bottom-right corner
  EXPECT_EQ(RectText(model->ComputeViewRect()), "800,600,1600,1200");
  model->m_viewCentre.Set(400.75, 300.5);  // truncation toward zero
  EXPECT_EQ(RectText(model->ComputeViewRect()), "0,0,800,600");
  model->m_viewCentre.Set(401.75, 301.5);
  EXPECT_EQ(RectText(model->ComputeViewRect()), "1,1,801,601");
}

TEST_F(CoordsTest, ViewRectOfAMapSmallerThanTheScreen) {
  model->m_mapSize.Set(600, 400);
  model->m_viewCentre.Set(300, 200);  // below half the screen on both axes
  EXPECT_EQ(RectText(model->ComputeViewRect()), "0,0,800,600");
  model->m_viewCentre.Set(450, 350);  // past half the screen: pinned to the far edges
  EXPECT_EQ(RectText(model->ComputeViewRect()), "-200,-200,600,400");
  model->m_viewCentre.Set(450, 100);
  EXPECT_EQ(RectText(model->ComputeViewRect()), "-200,0,600,600");
}

}  // namespace
