// Calibration in the program: the menu button, two taps, the GPS dialog, confirmation, and
// every way out that must leave the project as it was.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "data/content_item.h"
#include "data/region_item.h"
#include "data/system_item.h"
#include "input_fixture.h"
#include "map/map_pyramid.h"
#include "map/render_helpers.h"

namespace {

using Action = headless::GpsEntryScript::Action;
using inputtest::InputTest;

void Typed(const char* latitude, const char* longitude) {
  headless::QueueGpsEntryAnswer({Action::Ok, latitude, longitude});
}

class CalibrationFlowTest : public InputTest {
 protected:
  void SetUp() override {
    InputTest::SetUp();
    system->m_left = -1.2945;
    system->m_top = 51.5225;
    system->m_right = -0.8945;
    system->m_bottom = 51.2225;
    region = AddRegion(3, 0, 0);
    region->m_gpsX = -0.9;
    region->m_gpsY = 51.3;
    content = AddContent(7, 3, 0, 0, 0);
    content->m_gpsX = -0.7;
    content->m_gpsY = 51.45;
    model->ComputeMapPositions();
  }

  void StartFromMenu() {
    model->m_menuOpen = true;
    RECT cell;
    GetMenuCellRect(3, 0, &cell);
    Tap(cell.left + 5, cell.top + 5);
  }

  // Everything calibration may change, as text.
  std::string Snapshot() const {
    char text[400];
    std::snprintf(text, sizeof text, "%.9f %.9f %.9f %.9f | %.9f %.9f | %.3f %.3f %.3f %.3f",
                  system->m_left, system->m_top, system->m_right, system->m_bottom,
                  model->m_gpsTopLeft.x, model->m_gpsBottomRight.y, region->m_screenX,
                  region->m_screenY, content->m_screenX, content->m_screenY);
    return text;
  }

  CRegionItem* region = nullptr;
  CContentItem* content = nullptr;
};

TEST_F(CalibrationFlowTest, TwoPointsConfirmedSetTheEdgesAndPlaceEverythingAnew) {
  StartFromMenu();
  EXPECT_TRUE(model->IsCalibrating());
  EXPECT_FALSE(model->m_menuOpen);
  // The view is scrolled: taps are screen pixels, the points are map pixels.
  model->m_viewRect = RECT{0, 0, 800, 600};
  Typed("51.5", "-1.0");
  Typed("51.2", "-0.4");
  Tap(100, 100);
  EXPECT_EQ(model->m_calibrationStep, 2);
  Tap(700, 400);
  EXPECT_FALSE(model->IsCalibrating());
  ASSERT_EQ(headless::MessageBoxes().size(), 1u);
  EXPECT_NE(headless::MessageBoxes()[0].text.find("-1.100000"), std::string::npos);

  // 0.001 degrees per pixel across, 0.001 down: left -1.1, top 51.6, right -0.3, bottom 51.0.
  EXPECT_NEAR(system->m_left, -1.1, 1e-9);
  EXPECT_NEAR(system->m_top, 51.6, 1e-9);
  EXPECT_NEAR(system->m_right, -0.3, 1e-9);
  EXPECT_NEAR(system->m_bottom, 51.0, 1e-9);
  EXPECT_NEAR(model->m_gpsBottomRight.x, -0.3, 1e-9);
  EXPECT_NEAR(region->m_screenX, 200, 1e-6);  // (-0.9, 51.3)
  EXPECT_NEAR(region->m_screenY, 300, 1e-6);
  EXPECT_NEAR(content->m_screenX, 400, 1e-6);  // (-0.7, 51.45)
  EXPECT_NEAR(content->m_screenY, 150, 1e-6);
  EXPECT_DOUBLE_EQ(region->m_gpsX, -0.9);  // GPS positions are kept
  EXPECT_DOUBLE_EQ(content->m_gpsY, 51.45);
}

TEST_F(CalibrationFlowTest, TheVisitorKeepsTheirGroundPositionAndNewEdgesAreAnEdit) {
  // 40 map pixels west of the region, outside its radius of 30; the new edges halve the
  // scale, so on the ground the visitor is then within it.
  model->SetUserPosition(static_cast<int>(region->m_screenX) - 40,
                         static_cast<int>(region->m_screenY));
  model->TestRegions();
  ASSERT_FALSE(region->m_active);
  const CGeoPoint ground = model->m_userGps;
  StartFromMenu();
  Typed("51.5", "-1.0");
  Typed("51.2", "-0.4");
  Tap(100, 100);
  Tap(700, 400);
  EXPECT_EQ(model->m_userGps, ground);
  EXPECT_NEAR(model->m_userPos.x, 180, 1.0);  // half of 40 pixels west of (200, 300)
  EXPECT_NEAR(model->m_userPos.y, 300, 1.0);
  EXPECT_TRUE(region->m_active);  // tested again at once, not only when next drawn
  EXPECT_TRUE(model->m_projectEdited);
}

TEST_F(CalibrationFlowTest, TapsUnderTheExitAndUsersButtonsAreCalibrationPoints) {
  const RECT buttons[] = {model->m_exitButtonRect, model->m_usersButtonRect};
  for (const RECT& button : buttons) {
    SCOPED_TRACE(button.left);
    ASSERT_LT(button.left, button.right);
    const size_t asked = headless::GpsEntryDialogs().size();
    StartFromMenu();
    headless::QueueGpsEntryAnswer({Action::Cancel, "", ""});
    Tap((button.left + button.right) / 2, (button.top + button.bottom) / 2);
    EXPECT_EQ(headless::GpsEntryDialogs().size(), asked + 1);
    EXPECT_EQ(model->m_pendingAction, ACTION_NONE);
    EXPECT_EQ(app->m_mode, MODE_MAP);
  }
}

TEST_F(CalibrationFlowTest, TheZoomButtonsZoomAndAreNoCalibrationPoints) {
  auto image = std::make_unique<CGapiSurface>();
  ASSERT_EQ(image->CreateSurface(GDSURFACE_SYSTEMMEMORY, 1600, 1200), GD_OK);
  model->m_mapPyramid = std::make_unique<MapPyramid>();
  ASSERT_TRUE(model->m_mapPyramid->Build(std::move(image), 800, 600));
  StartFromMenu();
  const RECT in = model->ZoomButtonRect(CPortrait::ZOOM_IN);
  Tap(in.left + 5, in.top + 5);
  EXPECT_GT(model->m_zoom, 1.0);
  EXPECT_TRUE(headless::GpsEntryDialogs().empty());
  EXPECT_TRUE(model->IsCalibrating());
}

TEST_F(CalibrationFlowTest, TapsAreMapPixelsOfTheScrolledView) {
  model->m_mapSize.Set(1600, 1200);
  model->m_viewRect = RECT{400, 300, 1200, 900};
  StartFromMenu();
  Typed("51.5", "-1.0");
  Typed("51.2", "-0.4");
  Tap(100, 100);  // map (500, 400)
  Tap(700, 400);  // map (1100, 700)
  ASSERT_EQ(headless::GpsEntryDialogs().size(), 2u);
  EXPECT_NE(headless::GpsEntryDialogs()[0].prompt.find("500, 400"), std::string::npos);
  EXPECT_NEAR(system->m_left, -1.5, 1e-9);  // 0.001 degrees per map pixel
  EXPECT_NEAR(system->m_right, 0.1, 1e-9);
  EXPECT_NEAR(system->m_top, 51.9, 1e-9);
}

TEST_F(CalibrationFlowTest, EveryWayOutLeavesEverythingAsItWas) {
  const std::string before = Snapshot();
  struct Way {
    const char* name;
    std::function<void()> act;
  };
  const Way ways[] = {
      {"cancel the first dialog",
       [this] {
         headless::QueueGpsEntryAnswer({Action::Cancel, "", ""});
         Tap(100, 100);
       }},
      {"cancel the second dialog",
       [this] {
         Typed("51.5", "-1.0");
         headless::QueueGpsEntryAnswer({Action::Cancel, "", ""});
         Tap(100, 100);
         Tap(700, 400);
       }},
      {"Escape between the taps",
       [this] {
         Typed("51.5", "-1.0");
         Tap(100, 100);
         Key(VK_ESCAPE);
         Tap(700, 400);  // an ordinary tap again: moves the user
       }},
      {"decline the new edges",
       [this] {
         Typed("51.5", "-1.0");
         Typed("51.2", "-0.4");
         headless::QueueMessageBoxAnswer(IDCANCEL);
         Tap(100, 100);
         Tap(700, 400);
       }},
      {"reversed axis refused",
       [this] {
         Typed("51.5", "-1.0");
         Typed("51.8", "-0.4");  // south at the top
         Tap(100, 100);
         Tap(700, 400);
       }},
      {"same GPS position twice refused",
       [this] {
         Typed("51.5", "-1.0");
         Typed("51.5", "-1.0");
         Tap(100, 100);
         Tap(700, 400);
       }},
  };
  for (const Way& way : ways) {
    SCOPED_TRACE(way.name);
    StartFromMenu();
    way.act();
    EXPECT_FALSE(model->IsCalibrating());
    EXPECT_EQ(Snapshot(), before);
    EXPECT_FALSE(model->m_projectEdited);
  }
  EXPECT_EQ(model->m_userPos.x, 700);  // Escape gave the map its taps back
}

TEST_F(CalibrationFlowTest, RefusedTapsWaitForABetterOne) {
  StartFromMenu();
  Typed("51.5", "-1.0");
  Typed("51.2", "-0.4");
  Tap(100, 100);
  Tap(100, 100);  // the same point again
  Tap(110, 400);  // too close across
  EXPECT_EQ(model->m_calibrationStep, 2);
  ASSERT_EQ(headless::MessageBoxes().size(), 2u);
  EXPECT_NE(headless::MessageBoxes()[0].text.find("first point again"), std::string::npos);
  EXPECT_NE(headless::MessageBoxes()[1].text.find("too close"), std::string::npos);
  Tap(700, 400);
  EXPECT_NEAR(system->m_left, -1.1, 1e-9);
}

TEST_F(CalibrationFlowTest, TextOrNaNIsExplainedAndAskedAgainWithWhatWasTyped) {
  StartFromMenu();
  Typed("NaN", "west");
  Typed("51.5", "-1.0");
  Tap(100, 100);
  EXPECT_EQ(model->m_calibrationStep, 2);
  ASSERT_EQ(headless::MessageBoxes().size(), 1u);
  const std::string& text = headless::MessageBoxes()[0].text;
  EXPECT_NE(text.find("latitude \"NaN\""), std::string::npos);
  EXPECT_NE(text.find("longitude \"west\""), std::string::npos);
  ASSERT_EQ(headless::GpsEntryDialogs().size(), 2u);
  EXPECT_EQ(headless::GpsEntryDialogs()[1].latitude, "NaN");
  EXPECT_EQ(headless::GpsEntryDialogs()[1].longitude, "west");
}

TEST_F(CalibrationFlowTest, TheCurrentFixIsOfferedOnlyWhenThereIsOne) {
  StartFromMenu();
  Typed("51.5", "-1.0");
  Tap(100, 100);
  EXPECT_FALSE(headless::GpsEntryDialogs()[0].fixAvailable);

  model->m_gpsFix = true;
  model->m_gpsLatitude = 51.2;
  model->m_gpsLongitude = -0.4;
  headless::QueueGpsEntryAnswer({Action::UseFix, "", ""});
  Tap(700, 400);
  EXPECT_TRUE(headless::GpsEntryDialogs()[1].fixAvailable);
  EXPECT_NEAR(system->m_right, -0.3, 1e-9);
}

TEST_F(CalibrationFlowTest, CalibrationTapsChooseNoIconAndOtherModesEndIt) {
  model->m_iconMode = 2;  // every icon tappable, one under the first tap
  content->m_screenX = 100;
  content->m_screenY = 100;
  StartFromMenu();
  Typed("51.5", "-1.0");
  Tap(100, 100);
  EXPECT_EQ(model->m_pendingAction, ACTION_NONE);
  EXPECT_EQ(model->m_selectedContent, nullptr);
  EXPECT_EQ(model->m_calibrationStep, 2);

  model->ExecuteMenuButton(4, 0);  // show coordinates instead
  EXPECT_FALSE(model->IsCalibrating());
  EXPECT_TRUE(model->m_showCoordsMode);
}

TEST_F(CalibrationFlowTest, WithoutAMapTheButtonExplains) {
  model->m_mapSize.Set(0, 0);
  StartFromMenu();
  EXPECT_FALSE(model->IsCalibrating());
  ASSERT_EQ(headless::MessageBoxes().size(), 1u);
  EXPECT_NE(headless::MessageBoxes()[0].text.find("no map"), std::string::npos);
}

}  // namespace
