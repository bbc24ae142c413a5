// The map view: background, regions with their test, the user icon, the overview and the
// GPS status line, pinned through the recorded drawing calls.
#include <gtest/gtest.h>

#include "support/model_builder.h"

using testmodel::CallsFrom;
using testmodel::CallsOf;
using testmodel::Str;
using testmodel::Texts;

namespace {

class MapViewTest : public testmodel::ModelTest {
 protected:
  void SetUp() override {
    ModelTest::SetUp();
    AddMap();
    AddSystem(30.0);
  }
};

TEST_F(MapViewTest, BackgroundIsTheViewedPartOfTheMapOrGrey) {
  SetRect(&model->m_viewRect, 0, 0, 800, 600);
  auto calls = RenderFrame();
  ASSERT_FALSE(calls.empty());
  EXPECT_EQ(calls[0].call, "BltFast");
  EXPECT_EQ(calls[0].source, model->m_mapSurface);
  EXPECT_EQ(Str(calls[0].src), "0,0,800,600");
  EXPECT_EQ(calls[0].flags, 0u);

  model->m_showMap = false;
  calls = RenderFrame();
  EXPECT_EQ(calls[0].call, "FillRect");
  EXPECT_EQ(calls[0].color, 0x606060u);
  EXPECT_EQ(Str(calls[0].dst), "0,0,800,600");
}

TEST_F(MapViewTest, NoMapImageFillsGreyAsWithTheMapSwitchedOff) {
  delete model->m_mapSurface;
  model->m_mapSurface = nullptr;
  const auto& calls = RenderFrame();
  EXPECT_EQ(calls[0].call, "FillRect");
  EXPECT_EQ(calls[0].color, 0x606060u);
  EXPECT_EQ(back.GetPixel(10, 300), 0x606060u);
}

TEST_F(MapViewTest, RegionLabelOnlyWhileTheSquareIsWhollyVisible) {
  model->m_showRegionAreas = true;
  AddRegion(7, 100, 100);
  auto calls = RenderFrame();
  auto fills = CallsOf(calls, "FillRect");
  ASSERT_FALSE(fills.empty());
  EXPECT_EQ(Str(fills[0].dst), "70,70,130,130");
  auto texts = Texts(calls);
  ASSERT_FALSE(texts.empty());
  EXPECT_EQ(texts[0], "R7");
  const auto labels = CallsOf(calls, "DrawTextA");
  EXPECT_EQ(labels[0].dst.left, 100);
  EXPECT_EQ(labels[0].dst.top, 96);

  // One pixel cut away at the left: the square is still drawn, the label is not.
  static_cast<CRegionItem*>(model->m_regionList->At(0))->m_screenX = 29;
  calls = RenderFrame();
  bool squareDrawn = false;
  for (const auto& f : CallsOf(calls, "FillRect")) {
    if (Str(f.dst) == "0,70,59,130") squareDrawn = true;
  }
  EXPECT_TRUE(squareDrawn);
  for (const auto& t : Texts(calls)) EXPECT_NE(t, "R7");
}

TEST_F(MapViewTest, RegionSquareColourFollowsTheRegionTest) {
  model->m_showRegionAreas = true;
  AddRegion(1, 400, 300);  // the user stands on it
  AddRegion(2, 100, 100);
  const auto calls = RenderFrame();
  std::vector<headless::DrawCall> squares;
  for (const auto& f : CallsOf(calls, "FillRect")) {
    if (f.flags == 1) squares.push_back(f);
  }
  ASSERT_EQ(squares.size(), 2u);
  EXPECT_EQ(Str(squares[0].dst), "370,270,430,330");
  EXPECT_EQ(squares[0].color, 0x0000FFu);
  EXPECT_EQ(squares[0].opacity, 128u);
  EXPECT_EQ(Str(squares[1].dst), "70,70,130,130");
  EXPECT_EQ(squares[1].color, 0xFF0000u);
}

TEST_F(MapViewTest, AnAstronomicalRadiusCoversTheViewAndIsEntered) {
  model->m_showRegionAreas = true;
  static_cast<CSystemItem*>(model->m_systemList->At(0))->m_radius = 4.0e31;  // a project may say so
  CRegionItem* region = AddRegion(1, 100, 100);
  const auto squares = CallsOf(RenderFrame(), "FillRect");
  ASSERT_FALSE(squares.empty());
  EXPECT_EQ(Str(squares.back().dst), "0,0,800,600");
  EXPECT_TRUE(region->m_active);
}

TEST_F(MapViewTest, MarkerFrameByContentCount) {
  ASSERT_EQ(model->m_regionMarker.GetWidth(), 33u);
  struct Case {
    int count;
    int frameTop;  // -1: no marker
  } cases[] = {{0, -1}, {1, 0}, {2, 33}, {4, 99}, {5, 132}, {9, 132}};
  int x = 60;
  for (const Case& c : cases) {
    AddRegion(c.count + 1, x, 200, c.count);
    x += 100;
  }
  const auto markers = CallsFrom(RenderFrame(), &model->m_regionMarker);
  ASSERT_EQ(markers.size(), 5u);
  int k = 0;
  for (const Case& c : cases) {
    if (c.frameTop < 0) continue;
    EXPECT_EQ(markers[k].call, "Blt");
    EXPECT_EQ(markers[k].flags, 1u);
    EXPECT_EQ(markers[k].src.top, c.frameTop) << "count " << c.count;
    EXPECT_EQ(markers[k].src.bottom, c.frameTop + 32) << "count " << c.count;
    ++k;
  }
  EXPECT_EQ(Str(markers[0].dst), "144,184,176,216");
}

TEST_F(MapViewTest, AreasHideMarkers) {
  AddRegion(1, 200, 200, 3);
  model->m_showRegionAreas = true;
  model->m_showRegionMarkers = true;
  EXPECT_TRUE(CallsFrom(RenderFrame(), &model->m_regionMarker).empty());
  model->m_showRegionAreas = false;
  EXPECT_EQ(CallsFrom(RenderFrame(), &model->m_regionMarker).size(), 1u);
}

TEST_F(MapViewTest, RegionsTestedEvenWithNothingOfThemShown) {
  model->m_showRegionAreas = false;
  model->m_showRegionMarkers = false;
  CRegionItem* region = AddRegion(1, 400, 300);
  AddContent(5, 1, 100, 100, -1);
  RenderFrame();
  EXPECT_TRUE(region->m_active);
  EXPECT_TRUE(static_cast<CContentItem*>(model->m_contentList->At(0))->m_inActiveRegion);
}

TEST_F(MapViewTest, WithoutASystemRecordRegionsAreDrawnButNeverEntered) {
  delete model->m_systemList;
  model->m_systemList = new CXmlItemList;
  CRegionItem* region = AddRegion(1, 400, 300, 2);
  const auto calls = RenderFrame();
  EXPECT_FALSE(region->m_active);
  EXPECT_EQ(CallsFrom(calls, &model->m_regionMarker).size(), 1u);
}

TEST_F(MapViewTest, UserIconRectangleStaysInsideTheMap) {
  ASSERT_EQ(model->m_userIcon.GetWidth(), 41u);
  ASSERT_EQ(model->m_userIcon.GetHeight(), 41u);
  model->m_userPos.Set(0, 0);
  auto icon = CallsFrom(RenderFrame(), &model->m_userIcon);
  ASSERT_EQ(icon.size(), 1u);
  EXPECT_EQ(Str(icon[0].dst), "0,0,41,41");
  EXPECT_EQ(icon[0].call, "Blt");
  EXPECT_EQ(icon[0].flags, 5u);
  EXPECT_EQ(icon[0].opacity, 128u);

  model->m_userPos.Set(800, 600);
  icon = CallsFrom(RenderFrame(), &model->m_userIcon);
  ASSERT_EQ(icon.size(), 1u);
  EXPECT_EQ(Str(icon[0].dst), "759,559,800,600");

  model->m_userPos.Set(400.9, 300.9);  // truncated, odd width: one more on both axes
  EXPECT_EQ(Str(model->UserIconRect()), "380,280,421,321");
}

TEST_F(MapViewTest, UserIconHiddenButStillInTheOverview) {
  model->m_showUser = false;
  model->m_showOverview = true;
  const auto calls = RenderFrame();
  EXPECT_TRUE(CallsFrom(calls, &model->m_userIcon).empty());
  bool dot = false;
  for (const auto& f : CallsOf(calls, "FillRect")) {
    if (f.color == 0x0000FF && f.flags == 0) dot = true;
  }
  EXPECT_TRUE(dot);
}

TEST_F(MapViewTest, OverviewIsSixtyByFortyFiveInTheCorner) {
  model->m_showOverview = true;
  model->m_userPos.Set(400, 300);
  const auto calls = RenderFrame();
  const auto fills = CallsOf(calls, "FillRect");
  const auto frames = CallsOf(calls, "DrawRect");
  ASSERT_GE(fills.size(), 3u);
  ASSERT_GE(frames.size(), 2u);
  const auto& frame = fills[fills.size() - 3];
  EXPECT_EQ(Str(frame.dst), "735,550,795,595");
  EXPECT_EQ(frame.color, 0x808080u);
  EXPECT_EQ(frame.opacity, 128u);
  EXPECT_EQ(Str(frames[frames.size() - 2].dst), "735,550,795,595");
  EXPECT_EQ(frames[frames.size() - 2].color, 0x000000u);
  // The view covers the whole map; the user's icon rectangle (380,280)-(421,321) scaled.
  EXPECT_EQ(Str(fills[fills.size() - 2].dst), "735,550,795,595");
  EXPECT_EQ(fills[fills.size() - 2].color, 0x202020u);
  EXPECT_EQ(Str(fills.back().dst), "763,571,766,574");
  EXPECT_EQ(fills.back().color, 0x0000FFu);
}

TEST_F(MapViewTest, OverviewSkippedWithoutAMap) {
  delete model->m_mapSurface;
  model->m_mapSurface = nullptr;
  model->m_mapSize.Set(0, 0);
  model->m_showOverview = true;
  for (const auto& f : CallsOf(RenderFrame(), "FillRect")) {
    EXPECT_NE(f.color, 0x808080u);
  }
}

TEST_F(MapViewTest, GpsStatusLineWaitsForAFix) {
  headless::SetPositionState(platform::PositionState::Waiting);
  model->m_showGpsStatus = true;
  auto texts = CallsOf(RenderFrame(), "DrawLegibleText");
  ASSERT_EQ(texts.size(), 2u);  // the GPS line above the progress line
  EXPECT_EQ(texts[0].text, "WAITING FOR GPS FIX");
  // Legible, above the progress line, clear of the overview in the corner.
  for (const auto& t : texts) {
    EXPECT_GE(t.dst.bottom - t.dst.top, 14) << t.text;
    EXPECT_GE(t.dst.left, 5);
    EXPECT_LE(t.dst.right, 730);
    EXPECT_LE(t.dst.bottom, 595);
  }
  EXPECT_LE(texts[0].dst.bottom, texts[1].dst.top);

  model->m_gpsFix = true;
  model->m_gpsLatitude = 51.5;
  model->m_gpsLongitude = -1.25;
  texts = CallsOf(RenderFrame(), "DrawLegibleText");
  EXPECT_EQ(texts[0].text, "Lat: 51.500000, Long: -1.250000");
}

TEST_F(MapViewTest, PromptAndStatusLineBothShown) {
  model->m_menuOpen = true;
  model->m_moveUserMode = true;
  model->m_showGpsStatus = true;
  headless::SetPositionState(platform::PositionState::Waiting);
  const auto calls = RenderFrame();
  const auto texts = Texts(calls);
  ASSERT_GE(texts.size(), 1u);
  EXPECT_EQ(texts.back(), "Tap screen to move user position");
  const auto status = CallsOf(calls, "DrawLegibleText");
  ASSERT_FALSE(status.empty());
  EXPECT_EQ(status.front().text, "WAITING FOR GPS FIX");
}

TEST_F(MapViewTest, DrawingOrderOfTheLayers) {
  model->m_showOverview = true;
  AddRegion(1, 200, 200, 1);
  MakeIcons({{35, 26}});
  AddContent(3, 1, 210, 210, 0);
  model->m_userPos.Set(200, 200);
  const auto calls = RenderFrame();
  auto indexOf = [&](const CGapiSurface* s) {
    for (size_t i = 0; i < calls.size(); ++i) {
      if (calls[i].source == s) return static_cast<int>(i);
    }
    return -1;
  };
  const int map = indexOf(model->m_mapSurface);
  const int marker = indexOf(&model->m_regionMarker);
  const int user = indexOf(&model->m_userIcon);
  const int icon = indexOf(&model->m_iconSurfaces[0]);
  const int button = indexOf(&model->m_buttonBackground);
  EXPECT_EQ(map, 0);
  EXPECT_LT(map, marker);
  EXPECT_LT(marker, user);
  EXPECT_LT(user, icon);
  EXPECT_LT(icon, button);
}

}  // namespace
