// Following the position source: fixes fed through the headless source move the user like a
// tap, a region's edge holds against noise, a fix that stops coming is given up, and taps
// still win.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "platform/position/position_source.h"
#include "support/model_builder.h"

namespace {

using testmodel::CallsOf;
using testmodel::Texts;

// The demo's map rectangle: about 1.6 m a pixel across and 1.3 m down on an 800x600 map.
constexpr double kLeft = -0.6262, kTop = 54.490501, kRight = -0.6062, kBottom = 54.483501;
constexpr double kRadius = 30.0;

class GpsFollowTest : public testmodel::ModelTest {
 protected:
  void SetUp() override {
    ModelTest::SetUp();
    AddMap();
    AddSystem(kRadius);
    model->m_gpsTopLeft.Set(kLeft, kTop);
    model->m_gpsBottomRight.Set(kRight, kBottom);
    model->m_showRegionMarkers = false;
    platform::PositionOptions options;
    options.source = platform::PositionOptions::Source::Gpsd;
    model->m_positionOptions = options;
    ASSERT_EQ(model->OpenGpsPort(), 1);
  }

  // The window procedure's part: every waiting notification goes to the model.
  void Deliver() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
      if (msg.message == WM_GPS_NOTIFY) model->OnGpsMessage();
  }
  // A fix at the middle of map pixel (x, y); error in metres, < 0 none reported.
  void FixAt(double x, double y, double error = 5.0) {
    const CGeoPoint g = model->MapToGps(CGeoPoint(x + 0.5, y + 0.5));
    headless::FeedPositionFix(g.y, g.x, error);
    Deliver();
  }
  // The GPS line: the upper line of the status area.
  std::string StatusLine() {
    model->m_showGpsStatus = true;
    for (const auto& c : testmodel::CallsOf(RenderFrame(), "DrawLegibleText")) {
      if (c.dst.top == model->StatusAreaTop() + 1) return c.text;
    }
    return "";
  }
};

TEST_F(GpsFollowTest, FollowingMovesTheUserLikeATapAndLeavesTheView) {
  CRegionItem* region = AddRegion(1, 600, 450);
  CContentItem* item = AddContent(10, 1, 600, 450, -1);
  SetRect(&model->m_viewRect, 100, 50, 900, 650);
  FixAt(600, 450, 4.0);
  EXPECT_TRUE(model->HasGpsFix());
  EXPECT_EQ(model->m_userPos, CGeoPoint(600, 450));
  EXPECT_NEAR(model->m_userGps.x, kLeft + 600.0 / 800 * (kRight - kLeft), 1e-9);
  EXPECT_EQ(model->m_gpsError, 4.0);
  EXPECT_EQ(model->m_viewRect.left, 100);
  EXPECT_EQ(model->m_viewRect.top, 50);
  RenderFrame();
  EXPECT_TRUE(region->m_active);
  EXPECT_TRUE(item->m_inActiveRegion);
}

TEST_F(GpsFollowTest, FixesOffTheMapAreClampedToItsEdge) {
  headless::FeedPositionFix(kTop + 1.0, kLeft - 1.0);  // north-west of the map
  Deliver();
  EXPECT_EQ(model->m_userPos, CGeoPoint(0, 0));
  headless::FeedPositionFix(kBottom - 1.0, kRight + 1.0);
  Deliver();
  EXPECT_EQ(model->m_userPos, CGeoPoint(800, 600));
}

TEST_F(GpsFollowTest, AFixFarOffTheMapEntersNoPlaceAtItsEdge) {
  CRegionItem* nearEdge = AddRegion(1, 16, 300);
  const struct {
    const char* what;
    double pixelsWest;  // of the map's left edge
    bool entered;
    bool offMap;
  } cases[] = {
      {"about 5 km west", 3000, false, true},
      {"past the edge by less than the radius", 10, true, true},
      {"on the map", -10, true, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    FixAt(400, 400);  // away from the place first
    ASSERT_FALSE(nearEdge->m_active);
    const double lon = kLeft - c.pixelsWest * (kRight - kLeft) / 800;
    headless::FeedPositionFix(model->MapToGps(CGeoPoint(16, 300)).y, lon, 1.0);
    Deliver();
    EXPECT_EQ(model->m_userPos.x == 0, c.offMap);  // drawn at the edge
    EXPECT_EQ(nearEdge->m_active, c.entered);
    EXPECT_EQ(StatusLine().rfind("OFF THE MAP", 0) == 0, c.offMap);
    EXPECT_EQ(nearEdge->m_active, c.entered);  // drawing changes nothing
  }
}

TEST_F(GpsFollowTest, PlacesAreTestedAsFixesArriveWhateverIsOnScreen) {
  CRegionItem* region = AddRegion(1, 300, 200);
  CContentItem* item = AddContent(10, 1, 300, 200, -1);
  model->OpenPageView();  // nothing of the map view is drawn from here on
  FixAt(300, 200);
  EXPECT_TRUE(region->m_active);
  EXPECT_TRUE(item->m_inActiveRegion);
  FixAt(600, 400);
  EXPECT_FALSE(region->m_active);
  EXPECT_FALSE(item->m_inActiveRegion);
}

TEST_F(GpsFollowTest, FixIsKeptButTheUserStaysWhenNotFollowingOrATapIsAwaited) {
  struct Case {
    const char* name;
    void (*arm)(CPortrait*);
  };
  const Case cases[] = {
      {"following off", [](CPortrait* m) { m->m_followGps = false; }},
      {"move user", [](CPortrait* m) { m->m_moveUserMode = true; }},
      {"show coordinates", [](CPortrait* m) { m->m_showCoordsMode = true; }},
      {"choosing an edit", [](CPortrait* m) { m->m_editSelection = -1; }},
      {"placing an edit", [](CPortrait* m) { m->m_editSelection = 10001; }},
  };
  for (const Case& c : cases) {
    model->m_followGps = true;
    model->m_moveUserMode = model->m_showCoordsMode = false;
    model->m_editSelection = -2;
    model->SetUserPosition(400, 300);
    c.arm(model.get());
    FixAt(100, 100);
    EXPECT_TRUE(model->HasGpsFix()) << c.name;
    EXPECT_NEAR(model->m_gpsLongitude, model->MapToGps(CGeoPoint(100.5, 0)).x, 1e-9) << c.name;
    EXPECT_EQ(model->m_userPos, CGeoPoint(400, 300)) << c.name;
  }
}

TEST_F(GpsFollowTest, MoveUserFromTheMenuEndsFollowingUntilItIsTurnedOnAgain) {
  model->ExecuteMenuButton(0, 0);  // "Tap screen to move user position"
  EXPECT_FALSE(model->m_followGps);
  model->HandleMapTap(200, 150);
  model->StylusRelease(200, 150);
  EXPECT_EQ(model->m_userPos, CGeoPoint(200, 150));
  FixAt(500, 400);
  EXPECT_EQ(model->m_userPos, CGeoPoint(200, 150));

  model->ExecuteMenuButton(5, 0);  // follow GPS
  FixAt(500, 400);
  EXPECT_EQ(model->m_userPos, CGeoPoint(500, 400));
}

// A walk along a circle's rim: the distance from the centre wobbles by a few pixels either
// side of the radius, within the fixes' reported error (8 m, about 5.5 pixels here).
TEST_F(GpsFollowTest, NoisyWalkAlongTheRimEntersOnceAndLeavesOnceWhenItWalksAway) {
  CRegionItem* region = AddRegion(1, 400, 300);
  const double wobble[] = {1.5, -1.0, 2.0, -2.0, 0.5, 2.5, -1.5, 1.0, 3.0, -0.5};
  int enters = 0, leaves = 0;
  bool was = false;
  auto step = [&](double x, double y) {
    FixAt(x, y, 8.0);
    RenderFrame();
    if (region->m_active && !was) ++enters;
    if (!region->m_active && was) ++leaves;
    was = region->m_active;
  };
  for (int i = 0; i < 40; ++i) {
    const double a = i * 0.05;
    const double d = kRadius + wobble[i % 10];
    step(400 + d * std::cos(a), 300 + d * std::sin(a));
  }
  EXPECT_EQ(enters, 1);
  EXPECT_EQ(leaves, 0);
  step(400 + kRadius + 8, 300);  // well past the cushion
  EXPECT_EQ(leaves, 1);

  // Taps keep the exact edge: a pixel either side by hand enters and leaves every time.
  int tapChanges = 0;
  for (int i = 0; i < 10; ++i) {
    model->SetUserPosition(static_cast<int>(400 + kRadius) + (i % 2 == 0 ? -1 : 1), 300);
    const bool before = region->m_active;
    RenderFrame();
    if (region->m_active != before) ++tapChanges;
  }
  EXPECT_EQ(tapChanges, 10);
}

TEST_F(GpsFollowTest, TheCushionIsTheReportedErrorBoundedAtHalfTheRadius) {
  CRegionItem* region = AddRegion(1, 400, 300);
  struct Case {
    double error;  // metres reported; < 0 none
    double past;   // pixels beyond the radius
    bool stillInside;
  };
  // About 1.45 m a pixel: 5 m is 3.4 pixels, none reported counts as 10 m (6.9 pixels), and
  // 1000 m is held to half the radius (15 pixels).
  const Case cases[] = {
      {5.0, 2.0, true},     {5.0, 5.0, false},     {-1.0, 6.0, true}, {-1.0, 8.0, false},
      {1000.0, 14.0, true}, {1000.0, 16.0, false}, {0.0, 1.0, false},
  };
  for (const Case& c : cases) {
    FixAt(400, 300, c.error);
    RenderFrame();
    ASSERT_TRUE(region->m_active);
    FixAt(400 + kRadius + c.past, 300, c.error);
    RenderFrame();
    EXPECT_EQ(region->m_active, c.stillInside) << c.error << " m, " << c.past << " px";
  }
}

TEST_F(GpsFollowTest, AFixLostForFiveSecondsIsGivenUpAndTheUserStays) {
  headless::SetClock(10000);
  FixAt(300, 200);
  EXPECT_EQ(StatusLine().rfind("Lat: 54.", 0), 0u);
  model->AgeGpsFix(15000);
  EXPECT_TRUE(model->HasGpsFix());
  model->AgeGpsFix(15001);
  EXPECT_FALSE(model->HasGpsFix());
  EXPECT_EQ(model->m_userPos, CGeoPoint(300, 200));
  EXPECT_EQ(StatusLine(), "WAITING FOR GPS FIX");

  headless::SetClock(30000);
  FixAt(320, 210);
  EXPECT_TRUE(model->HasGpsFix());
  EXPECT_EQ(model->m_userPos, CGeoPoint(320, 210));
}

TEST_F(GpsFollowTest, AFixFromASparseRecordingIsHeldUntilTheNextIsDue) {
  model->ApplyGpsFix(54.49, -0.62, 5.0, 10000, 10000);  // the next in 10 s
  model->AgeGpsFix(24000);
  EXPECT_TRUE(model->HasGpsFix());
  model->AgeGpsFix(25001);
  EXPECT_FALSE(model->HasGpsFix());
}

TEST_F(GpsFollowTest, StatusLineSaysWhatTheSourceIsDoing) {
  const struct {
    platform::PositionState state;
    const char* said;
  } cases[] = {
      {platform::PositionState::Unreachable, "NOT REACHABLE - RETRYING"},
      {platform::PositionState::Waiting, "WAITING FOR GPS FIX"},
      {platform::PositionState::Off, "NO POSITION SOURCE"},
  };
  for (const auto& c : cases) {
    headless::SetPositionState(c.state);
    EXPECT_EQ(StatusLine(), c.said);
  }
}

TEST_F(GpsFollowTest, StatusLineShowsALostService) {
  FixAt(300, 200);
  headless::SetPositionState(platform::PositionState::Lost);
  EXPECT_EQ(StatusLine(), "GPS SERVICE LOST - RECONNECTING");
  headless::SetPositionState(platform::PositionState::Fixing);
  EXPECT_EQ(StatusLine().rfind("Lat: ", 0), 0u);
}

TEST_F(GpsFollowTest, ErrorRingIsDrawnOnlyWhileFollowingAFix) {
  auto faintLines = [&] {
    int n = 0;
    for (const auto& c : CallsOf(RenderFrame(), "DrawLine"))
      if (c.color == 0xFFFFFF) ++n;
    return n;
  };
  EXPECT_EQ(faintLines(), 0);
  FixAt(400, 300, 40.0);  // about 28 pixels
  EXPECT_GT(faintLines(), 16);
  FixAt(400, 300, 1.0e30);  // round the whole screen: nothing of it shows
  EXPECT_EQ(faintLines(), 0);
  FixAt(400, 300, 40.0);
  model->m_followGps = false;
  EXPECT_EQ(faintLines(), 0);
}

}  // namespace
