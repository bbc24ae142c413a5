// Taps, drags and the menu-reveal gesture in the map view, through the application
// object's handlers: the order of the command tests, the tap modes and the edit states.
#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <string>

#include "input_fixture.h"

namespace {

using inputtest::InputTest;

class StylusInputTest : public InputTest {
 protected:
  void SetUp() override {
    InputTest::SetUp();
    region = AddRegion(4, 500, 400);
    icon = AddContent(7, 4, 200, 200, 0, "seven.mp4");
    icon->m_inActiveRegion = true;
    user = AddUser(1, "Ann");
    model->m_currentUser = user;
  }

  CRegionItem* region = nullptr;
  CContentItem* icon = nullptr;
  CUserContext* user = nullptr;
};

TEST_F(StylusInputTest, TapDuringPlaybackOnlyEndsTheVideo) {
  model->m_videoPlaying = true;
  const CGeoPoint before = model->m_userPos;

  Tap(780, 10);  // the exit button
  EXPECT_FALSE(model->IsVideoPlaying());
  EXPECT_EQ(app->m_quit, 0);

  model->m_videoPlaying = true;
  Tap(200, 200);  // an available icon
  EXPECT_FALSE(model->IsVideoPlaying());
  EXPECT_EQ(user->m_viewedCount, 0);
  EXPECT_EQ(model->m_selectedContent, nullptr);

  model->m_videoPlaying = true;
  Tap(50, 550);  // empty map
  EXPECT_FALSE(model->IsVideoPlaying());
  EXPECT_EQ(model->m_userPos, before);
  EXPECT_FALSE(model->m_dragging);
}

TEST_F(StylusInputTest, UsersButtonOpensTheUserListOnlyWithTheMenuClosed) {
  Tap(750, 10);
  EXPECT_EQ(app->m_mode, MODE_USER_LIST);

  // With the menu open the tap falls to the panel: on 800 pixels no button is there.
  app->m_mode = MODE_MAP;
  Key(VK_ESCAPE);
  Tap(750, 10);
  EXPECT_EQ(app->m_mode, MODE_MAP);
  EXPECT_EQ(model->m_pendingAction, ACTION_NONE);
  EXPECT_TRUE(model->m_menuOpen);
}

TEST_F(StylusInputTest, UsersButtonOnANarrowScreenHitsTheUsersMenuButton) {
  CPortrait narrow(nullptr, GetModuleHandleA(nullptr), 240, 320);
  narrow.m_menuOpen = true;
  EXPECT_TRUE(narrow.HandleCommandTap(190, 10));  // inside (W - 55, 3, W - 30, 28)
  EXPECT_EQ(narrow.TakePendingAction(), ACTION_USER_LIST);
}

TEST_F(StylusInputTest, MoveUserModeLetsAnIconTapPlayAndStaysArmed) {
  model->ExecuteMenuButton(0, 0);
  EXPECT_FALSE(model->m_followGps);
  ASSERT_TRUE(model->m_moveUserMode);

  Tap(200, 200);
  EXPECT_EQ(model->m_selectedContent, icon);
  EXPECT_STREQ(model->m_videoFile, "seven.mp4");
  EXPECT_EQ(user->m_viewedCount, 1);
  EXPECT_TRUE(model->IsVideoPlaying());
  EXPECT_TRUE(model->m_moveUserMode);
  EXPECT_EQ(model->m_userPos, CGeoPoint(400, 300));

  Tap(10, 500);  // ends the video only
  EXPECT_FALSE(model->IsVideoPlaying());
  EXPECT_TRUE(model->m_moveUserMode);

  Tap(60, 500);
  EXPECT_FALSE(model->m_moveUserMode);
  EXPECT_EQ(model->m_userPos, CGeoPoint(60, 500));
}

TEST_F(StylusInputTest, UserIconTapOpensThePageViewAndAlsoMovesTheUser) {
  user->AddViewed(7);
  Tap(410, 305);  // 11 pixels from the user at (400, 300)
  EXPECT_EQ(model->m_page, 1);
  EXPECT_EQ(model->m_userPos, CGeoPoint(410, 305));
}

TEST_F(StylusInputTest, UserIconReachIsLessThanHalfTheIconWidth) {
  ASSERT_EQ(model->m_userIcon.GetWidth(), 41u);
  Tap(420, 300);  // exactly 20 pixels away
  EXPECT_EQ(model->m_page, 0);
  EXPECT_EQ(model->m_userPos, CGeoPoint(420, 300));

  Tap(420, 319);  // 19 from the new position: opens
  EXPECT_EQ(model->m_page, 1);
}

TEST_F(StylusInputTest, UserIconWithoutACurrentUserOnlyMovesTheUser) {
  model->m_currentUser = nullptr;
  Tap(405, 300);
  EXPECT_EQ(model->m_page, 0);
  EXPECT_EQ(model->m_userPos, CGeoPoint(405, 300));
}

TEST_F(StylusInputTest, ShowCoordinatesBoxGivesMapPointAndGpsThenTheModeIsOff) {
  Key(VK_ESCAPE);
  Tap(2 + 4 * 30 + 10, 10);  // menu button (4, 0)
  Key(VK_ESCAPE);
  ASSERT_TRUE(model->m_showCoordsMode);
  SetRect(&model->m_viewRect, 100, 40, 900, 640);  // a scrolled view

  Tap(20, 5);  // map point (120, 45)
  ASSERT_EQ(headless::MessageBoxes().size(), 1u);
  EXPECT_EQ(headless::MessageBoxes()[0].text,
            "Map pixel (120, 45)\nLatitude 51.500000, longitude -1.234500");
  EXPECT_EQ(headless::MessageBoxes()[0].caption, "Position info");
  EXPECT_EQ(headless::MessageBoxes()[0].type, MB_OK);
  EXPECT_FALSE(model->m_showCoordsMode);
  EXPECT_EQ(model->m_userPos, CGeoPoint(400, 300));

  Tap(20, 5);  // an ordinary tap again
  EXPECT_EQ(headless::MessageBoxes().size(), 1u);
  EXPECT_EQ(model->m_userPos, CGeoPoint(120, 45));
}

TEST_F(StylusInputTest, PositionTextStaysBoundedForHugeCoordinates) {
  model->m_gpsTopLeft.Set(-1e300, 1e300);
  model->m_gpsBottomRight.Set(1e300, -1e300);
  model->m_showCoordsMode = true;
  Tap(1, 1);
  ASSERT_EQ(headless::MessageBoxes().size(), 1u);
  const std::string& text = headless::MessageBoxes()[0].text;
  EXPECT_LT(text.size(), 128u);
  EXPECT_EQ(text.rfind("Map pixel (1, 1)\nLatitude ", 0), 0u);
}

TEST_F(StylusInputTest, ChoosingARegionNeedsItsAreaShown) {
  model->ExecuteMenuButton(1, 0);
  ASSERT_EQ(model->m_editSelection, -1);
  Tap(505, 400);
  EXPECT_EQ(model->m_editSelection, -2);
  EXPECT_EQ(model->m_userPos, CGeoPoint(400, 300));  // the choosing tap moves nobody

  model->m_showRegionAreas = true;
  model->ExecuteMenuButton(1, 0);
  Tap(505, 400);
  EXPECT_EQ(model->m_editSelection, 10004);

  Tap(600, 450);
  EXPECT_EQ(model->m_editSelection, -2);
  EXPECT_EQ(region->m_screenX, 600);
  EXPECT_EQ(region->m_screenY, 450);
  const CGeoPoint g = model->MapPointToGps(600, 450);
  EXPECT_EQ(region->m_gpsX, g.x);
  EXPECT_EQ(region->m_gpsY, g.y);
}

TEST_F(StylusInputTest, RegionCircleIsStrictlyInsideTheRadius) {
  EXPECT_EQ(model->HitTestRegion(529, 400), 4);
  EXPECT_EQ(model->HitTestRegion(530, 400), -1);
  AddRegion(9, 520, 400);
  EXPECT_EQ(model->HitTestRegion(515, 400), 4);  // first in list order
  EXPECT_EQ(model->HitTestRegion(545, 400), 9);
}

TEST_F(StylusInputTest, ChoosingTapOnNothingEndsEditing) {
  model->m_showRegionAreas = true;
  model->ExecuteMenuButton(1, 0);
  Tap(50, 50);
  EXPECT_EQ(model->m_editSelection, -2);
  EXPECT_EQ(model->m_userPos, CGeoPoint(400, 300));
}

TEST_F(StylusInputTest, PlacingTapMovesTheIconAndItsGpsPosition) {
  model->ExecuteMenuButton(1, 0);
  Tap(200, 200);
  ASSERT_EQ(model->m_editSelection, 7);
  EXPECT_FALSE(model->IsVideoPlaying());  // editing: icons are not played
  EXPECT_EQ(user->m_viewedCount, 0);

  Tap(300, 120);
  EXPECT_EQ(model->m_editSelection, -2);
  EXPECT_EQ(icon->m_screenX, 300);
  EXPECT_EQ(icon->m_screenY, 120);
  EXPECT_DOUBLE_EQ(icon->m_gpsX, -1.2945 + 0.4 * 300 / 800);
  EXPECT_DOUBLE_EQ(icon->m_gpsY, 51.5225 - 0.3 * 120 / 600);
}

TEST_F(StylusInputTest, OnlyTappableIconsCanBeChosen) {
  icon->m_inActiveRegion = false;
  icon->m_related = true;  // shown, but not tappable
  model->ExecuteMenuButton(1, 0);
  Tap(200, 200);
  EXPECT_EQ(model->m_editSelection, -2);
}

TEST_F(StylusInputTest, ContentWithARegionSizedIdCannotBeChosenForEditing) {
  CContentItem* big = AddContent(10004, 4, 500, 400, 1);
  big->m_inActiveRegion = true;
  model->m_showRegionAreas = true;  // region 4 lies under the icon too
  model->ExecuteMenuButton(1, 0);
  Tap(500, 400);
  EXPECT_EQ(model->m_editSelection, -2);
  EXPECT_EQ(region->m_screenX, 500);
}

TEST_F(StylusInputTest, ARegionIdTooLargeForTheEditStateEndsEditing) {
  model->m_showRegionAreas = true;
  region->m_id = INT_MAX;
  model->ExecuteMenuButton(1, 0);
  Tap(505, 400);
  EXPECT_EQ(model->m_editSelection, -2);
}

TEST_F(StylusInputTest, ContentWithANegativeIdIsNoHit) {
  CContentItem* stray = AddContent(-3, 4, 500, 400, 1);
  stray->m_inActiveRegion = true;
  model->m_showRegionAreas = true;  // region 4 lies under the icon
  Tap(500, 400);
  EXPECT_FALSE(model->IsVideoPlaying());
  EXPECT_EQ(user->m_viewedCount, 0);
  EXPECT_EQ(model->m_userPos, CGeoPoint(500, 400));  // the map stage moved the user
  model->ExecuteMenuButton(1, 0);
  Tap(500, 400);
  EXPECT_EQ(model->m_editSelection, 10004);  // the choosing tap fell through to the region
}

TEST_F(StylusInputTest, PlacingARecordThatIsGoneChangesNothing) {
  model->m_editSelection = 55;
  Tap(300, 120);
  EXPECT_EQ(model->m_editSelection, -2);
  EXPECT_EQ(icon->m_screenX, 200);
  model->m_editSelection = 10055;
  Tap(300, 120);
  EXPECT_EQ(model->m_editSelection, -2);
  EXPECT_EQ(region->m_screenX, 500);
}

TEST_F(StylusInputTest, TapModesComeBeforeTheEditState) {
  model->m_editSelection = 7;
  model->m_moveUserMode = true;
  Tap(300, 120);
  EXPECT_EQ(model->m_userPos, CGeoPoint(300, 120));
  EXPECT_EQ(model->m_editSelection, 7);
  EXPECT_EQ(icon->m_screenX, 200);
}

class DragTest : public StylusInputTest {
 protected:
  void SetUp() override {
    StylusInputTest::SetUp();
    // A map twice the screen in each direction, viewed in its middle.
    model->m_mapSize.Set(1600, 1200);
    model->m_viewCentre.Set(800, 600);
    model->m_viewRect = model->ComputeViewRect();
  }
};

TEST_F(DragTest, DragScrollsOppositeToTheStylus) {
  app->StylusDown(400, 300);
  app->StylusMove(350, 320);
  EXPECT_EQ(model->m_viewCentre, CGeoPoint(850, 580));
  EXPECT_EQ(model->m_viewRect.left, 450);
  EXPECT_EQ(model->m_viewRect.top, 280);
  app->StylusMove(340, 330);
  EXPECT_EQ(model->m_viewCentre, CGeoPoint(860, 570));

  app->StylusUp(340, 330);
  app->StylusMove(0, 0);  // no longer dragging
  EXPECT_EQ(model->m_viewCentre, CGeoPoint(860, 570));
}

TEST_F(DragTest, DragNeverPassesTheMapEdges) {
  app->StylusDown(400, 300);
  app->StylusMove(-5000, -5000);
  EXPECT_EQ(model->m_viewCentre, CGeoPoint(1200, 900));
  EXPECT_EQ(model->m_viewRect.right, 1600);
  EXPECT_EQ(model->m_viewRect.bottom, 1200);
  app->StylusMove(5000, 5000);
  EXPECT_EQ(model->m_viewCentre, CGeoPoint(400, 300));
  EXPECT_EQ(model->m_viewRect.left, 0);
  EXPECT_EQ(model->m_viewRect.top, 0);
}

TEST_F(DragTest, MovesWithoutAMapPressDoNothing) {
  app->StylusMove(10, 10);
  EXPECT_EQ(model->m_viewCentre, CGeoPoint(800, 600));
  Tap(750, 10);  // a command tap (users button) does not start a drag
  ASSERT_EQ(app->m_mode, MODE_USER_LIST);
  app->StylusMove(10, 10);
  EXPECT_EQ(model->m_viewCentre, CGeoPoint(800, 600));
}

TEST_F(StylusInputTest, GestureTopBottomTopOpensTheMenuWhileMoving) {
  app->StylusDown(400, 10);
  app->StylusMove(400, 590);
  EXPECT_FALSE(model->m_menuOpen);
  app->StylusMove(400, 10);
  EXPECT_TRUE(model->m_menuOpen);
  EXPECT_EQ(headless::BeepCount(), 2);  // the press near the top is silent
  app->StylusUp(400, 10);
  EXPECT_EQ(headless::BeepCount(), 2);
}

TEST_F(StylusInputTest, MapTapsNearTheTopAreSilent) {
  Tap(400, 10);
  Tap(100, 29);
  EXPECT_EQ(headless::BeepCount(), 0);
  EXPECT_EQ(model->m_userPos, CGeoPoint(100, 29));
}

TEST_F(StylusInputTest, GestureCanEndOnRelease) {
  app->StylusDown(400, 29);
  app->StylusMove(400, 571);
  app->StylusUp(400, 0);
  EXPECT_TRUE(model->m_menuOpen);
  EXPECT_EQ(model->m_gestureState, 0);
}

TEST_F(StylusInputTest, GestureNeedsAllThreeSteps) {
  app->StylusDown(400, 300);  // not near the top
  app->StylusMove(400, 590);
  app->StylusMove(400, 10);
  app->StylusUp(400, 10);
  EXPECT_FALSE(model->m_menuOpen);

  app->StylusDown(400, 10);
  app->StylusMove(400, 570);  // not quite the bottom edge
  app->StylusUp(400, 10);
  EXPECT_FALSE(model->m_menuOpen);
  EXPECT_EQ(model->m_gestureState, 0);
}

TEST_F(StylusInputTest, GestureOpeningIsNotRememberedAfterTheMenuCloses) {
  app->StylusDown(400, 10);
  app->StylusMove(400, 590);
  app->StylusMove(400, 10);
  app->StylusUp(400, 10);
  ASSERT_TRUE(model->m_menuOpen);
  Key(VK_ESCAPE);
  ASSERT_FALSE(model->m_menuOpen);

  app->StylusDown(400, 300);
  app->StylusMove(400, 10);
  EXPECT_FALSE(model->m_menuOpen);
}

}  // namespace
