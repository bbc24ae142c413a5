// Zoom and pan of the map view: the transform and its inverse, taps on what is drawn, the
// view kept on the map, the pyramid's pictures, and the view that follows the walker.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "map/map_pyramid.h"
#include "support/model_builder.h"

namespace {

// A map image of w x h in 16-pixel squares, each square's colour from its place.
std::unique_ptr<CGapiSurface> SquaresImage(int w, int h) {
  auto image = std::make_unique<CGapiSurface>();
  EXPECT_EQ(image->CreateSurface(GDSURFACE_SYSTEMMEMORY, w, h), GD_OK);
  for (int y = 0; y < h; y += 16)
    for (int x = 0; x < w; x += 16) {
      const RECT r{x, y, x + 16, y + 16};
      image->FillRect(&r, static_cast<DWORD>((x / 16 * 37) % 256 << 16 | (y / 16 * 53) % 256 << 8),
                      0, nullptr);
    }
  return image;
}

class MapZoomTest : public testmodel::ModelTest {
 protected:
  void SetUp() override {
    ModelTest::SetUp();
    AddMap();
    AddSystem(30.0);
    model->m_gpsTopLeft.Set(0.0, 1.0);
    model->m_gpsBottomRight.Set(1.0, 0.0);
    model->m_mapPyramid = std::make_unique<MapPyramid>();
    ASSERT_TRUE(model->m_mapPyramid->Build(SquaresImage(3200, 2400), 800, 600));
  }
  void ZoomTo(double zoom, int x = 400, int y = 300) {
    model->ZoomAbout(x, y, zoom / model->m_zoom);
  }
  bool ViewOnMap() const {
    const RECT& v = model->m_viewRect;
    return v.left >= 0 && v.top >= 0 && v.right - v.left == 800 && v.bottom - v.top == 600 &&
           v.right <= std::lround(800 * model->m_zoom) &&
           v.bottom <= std::lround(600 * model->m_zoom);
  }
};

TEST_F(MapZoomTest, ScreenAndMapPointsConvertBothWaysAtEveryZoom) {
  EXPECT_DOUBLE_EQ(model->MaxZoom(), 8.0);  // four image pixels a map pixel, times two
  for (double zoom : {1.0, 1.3, 2.0, 3.7, 8.0}) {
    ZoomTo(zoom, 250, 170);
    ASSERT_DOUBLE_EQ(model->m_zoom, zoom);
    const MapView view = model->View();
    for (const CGeoPoint& p : {CGeoPoint(0, 0), CGeoPoint(123.4, 456.7), CGeoPoint(799.9, 599.9),
                               view.ToMap(POINT{400, 300})}) {
      const POINT s = view.ToScreen(p);
      const CGeoPoint back = view.ToMap(s);
      // Truncation to whole screen pixels: within one screen pixel of the point.
      EXPECT_LE(p.x - back.x, 1.0 / zoom + 1e-9) << zoom;
      EXPECT_GE(p.x - back.x, -1e-9) << zoom;
      EXPECT_LE(p.y - back.y, 1.0 / zoom + 1e-9) << zoom;
      EXPECT_GE(p.y - back.y, -1e-9) << zoom;
    }
    EXPECT_TRUE(ViewOnMap()) << zoom;
  }
}

TEST_F(MapZoomTest, TheWheelKeepsThePointUnderThePointer) {
  const CGeoPoint under = model->View().ToMap(POINT{620, 110});
  model->WheelZoom(620, 110, 3, 1000);
  EXPECT_NEAR(model->m_zoom, std::pow(1.25, 3), 1e-9);
  const POINT now = model->View().ToScreen(under);
  EXPECT_NEAR(now.x, 620, 1);
  EXPECT_NEAR(now.y, 110, 1);
  // Past the ends: held at the whole map and at twice the image's resolution.
  model->WheelZoom(620, 110, 40, 1000);
  EXPECT_DOUBLE_EQ(model->m_zoom, 8.0);
  EXPECT_TRUE(ViewOnMap());
  model->WheelZoom(10, 10, -80, 1000);
  EXPECT_DOUBLE_EQ(model->m_zoom, 1.0);
  EXPECT_EQ(model->m_viewRect.left, 0);
  EXPECT_EQ(model->m_viewRect.top, 0);
}

TEST_F(MapZoomTest, TapsHitTheIconsWhereTheyAreDrawn) {
  MakeIcons({{35, 26}, {35, 26}});
  CContentItem* a = AddContent(1, 0, 401.7, 302.2, 0);
  CContentItem* b = AddContent(2, 0, 420.0, 310.0, 1);
  model->m_iconMode = 2;
  for (double zoom : {1.0, 2.5, 6.0}) {
    ZoomTo(zoom, 400, 300);
    for (const CContentItem* item : {a, b}) {
      // Where the frame drew it.
      RECT drawn{};
      for (const auto& c : testmodel::CallsOf(RenderFrame(), "Blt"))
        if (c.source == &model->m_iconSurfaces[item->m_iconIndex]) drawn = c.dst;
      ASSERT_LT(drawn.left, drawn.right) << zoom;
      EXPECT_EQ(model->HitTestIconAtScreen((drawn.left + drawn.right) / 2, drawn.top + 2), item)
          << zoom;
      // Its outer corner, clear of the other icon (the first in the list wins an overlap).
      const POINT corner =
          item == a ? POINT{drawn.left, drawn.top} : POINT{drawn.right - 1, drawn.bottom - 1};
      EXPECT_EQ(model->HitTestIconAtScreen(corner.x, corner.y), item) << zoom;
    }
  }
  // Zoomed in far, the two icons part: a tap between them hits neither.
  const POINT pa = model->View().ToScreen(CGeoPoint(a->m_screenX, a->m_screenY));
  const POINT pb = model->View().ToScreen(CGeoPoint(b->m_screenX, b->m_screenY));
  EXPECT_EQ(model->HitTestIconAtScreen((pa.x + pb.x) / 2, (pa.y + pb.y) / 2), nullptr);
}

TEST_F(MapZoomTest, DragPansWithTheFingerWithinTheMapAndATapMovesTheUser) {
  ZoomTo(4.0);
  const RECT before = model->m_viewRect;
  const CGeoPoint userBefore = model->m_userPos;
  model->HandleMapTap(300, 300);
  model->DragView(330, 280);
  model->DragView(350, 260);
  model->StylusRelease(350, 260);
  EXPECT_EQ(model->m_viewRect.left, before.left - 50);
  EXPECT_EQ(model->m_viewRect.top, before.top + 40);
  EXPECT_EQ(model->m_userPos, userBefore);  // a drag is no tap

  for (int i = 0; i < 40; ++i) {
    model->HandleMapTap(100, 100);
    model->DragView(700, 500);
    model->StylusRelease(700, 500);
  }
  EXPECT_TRUE(ViewOnMap());
  EXPECT_EQ(model->m_viewRect.left, 0);
  EXPECT_EQ(model->m_viewRect.top, 0);

  const CGeoPoint target = model->View().ToMap(POINT{123, 456});
  model->HandleMapTap(123, 456);
  model->DragView(125, 455);  // a finger's tremble is still a tap
  model->StylusRelease(125, 455);
  EXPECT_EQ(model->m_userPos, target);
}

TEST_F(MapZoomTest, AZoomedPictureSamplesTheLevelThatFits) {
  auto& pyramid = *model->m_mapPyramid;
  ASSERT_EQ(pyramid.LevelCount(), 3);  // 3200, 1600 and 800 pixels across
  // The nearest level: enlarged at most 1.41 times, else the next larger one.
  EXPECT_EQ(pyramid.LevelFor(1.01), 2);
  EXPECT_EQ(pyramid.LevelFor(1.41), 2);
  EXPECT_EQ(pyramid.LevelFor(1.42), 1);
  EXPECT_EQ(pyramid.LevelFor(2.82), 1);
  EXPECT_EQ(pyramid.LevelFor(2.84), 0);
  EXPECT_EQ(pyramid.LevelFor(8.0), 0);
  // At zoom 4 a screen pixel is an image pixel: the squares come out whole and sharp.
  model->m_showUser = false;
  ZoomTo(4.0);
  RenderFrame();
  const auto image = SquaresImage(3200, 2400);
  for (const POINT& s : {POINT{0, 0}, POINT{5, 9}, POINT{404, 301}, POINT{799, 599}}) {
    const int ix = s.x + model->m_viewRect.left, iy = s.y + model->m_viewRect.top;
    EXPECT_EQ(back.GetPixel(s.x, s.y), image->GetPixel(ix, iy)) << s.x << "," << s.y;
  }
}

TEST_F(MapZoomTest, APannedPictureIsTheSameAsOneDrawnAfresh) {
  auto fresh = std::make_unique<MapPyramid>();
  ASSERT_TRUE(fresh->Build(SquaresImage(3200, 2400), 800, 600));
  CGapiSurface other;
  ASSERT_EQ(other.CreateSurface(GDSURFACE_SYSTEMMEMORY, 800, 600), GD_OK);
  const double zoom = 2.7;  // between two levels
  RECT view{1000, 700, 1800, 1300};
  model->m_mapPyramid->Draw(&back, view, zoom);
  for (const POINT& step : {POINT{13, 0}, POINT{0, -7}, POINT{-250, 333}, POINT{799, 1}}) {
    view = RECT{view.left + step.x, view.top + step.y, view.right + step.x, view.bottom + step.y};
    model->m_mapPyramid->Draw(&back, view, zoom);
    fresh = std::make_unique<MapPyramid>();
    ASSERT_TRUE(fresh->Build(SquaresImage(3200, 2400), 800, 600));
    fresh->Draw(&other, view, zoom);
    int differing = 0;
    for (int y = 0; y < 600; y += 3)
      for (int x = 0; x < 800; x += 3) differing += back.GetPixel(x, y) != other.GetPixel(x, y);
    EXPECT_EQ(differing, 0) << step.x << "," << step.y;
  }
}

TEST_F(MapZoomTest, OddImagesGiveLevelsAndLimitsOfTheirOwn) {
  struct Case {
    int w, h;
    int levels;
    double maxZoom;
  };
  for (const Case& c : {Case{1, 8000, 4, 8000.0 / 600 * 2}, Case{400, 300, 1, 1.0},
                        Case{800, 600, 1, 2.0}, Case{1024, 300, 1, 2.56}}) {
    MapPyramid p;
    ASSERT_TRUE(p.Build(SquaresImage(c.w, c.h), 800, 600));
    EXPECT_EQ(p.LevelCount(), c.levels) << c.w << "x" << c.h;
    EXPECT_NEAR(p.MaxZoom(), c.maxZoom, 1e-9) << c.w << "x" << c.h;
    p.Draw(&back, RECT{0, 0, 800, 600}, p.MaxZoom());  // draws without fault
  }
}

class ViewFollowTest : public MapZoomTest {
 protected:
  void SetUp() override {
    MapZoomTest::SetUp();
    model->m_gpsFix = true;
    ZoomTo(4.0);
  }
  // A still walker at map point p, as a fix leaves it.
  void WalkerAt(CGeoPoint p) {
    model->SetUserPosition(p);
    model->m_userFromGps = true;
  }
  POINT Marker() const { return model->View().ToScreen(model->m_userPos); }
};

TEST_F(ViewFollowTest, TheViewGlidesToKeepTheWalkerInTheMiddleBand) {
  WalkerAt(model->View().ToMap(POINT{760, 300}));
  int lastX = Marker().x;
  for (int frame = 0; frame < 60; ++frame) {
    model->StepView(1000 + frame * 33);
    const int x = Marker().x;
    EXPECT_LE(x, lastX);       // towards the band
    EXPECT_GE(x, 600);         // and no further than its edge
    EXPECT_GE(x, lastX - 40);  // in steps, not one jump
    lastX = x;
  }
  EXPECT_EQ(Marker().x, 600);  // the band is the middle half of the screen
  EXPECT_EQ(Marker().y, 300);
}

TEST_F(ViewFollowTest, AHandPanPausesFollowingUntilCentreOnMeOrTwentySeconds) {
  WalkerAt(model->View().ToMap(POINT{400, 300}));
  model->HandMovedView(5000);
  model->PanView(-300, 0);  // the walker now right of the band
  const RECT panned = model->m_viewRect;
  model->StepView(5000 + kViewFollowRest - 1);
  EXPECT_EQ(model->m_viewRect.left, panned.left);
  model->StepView(5000 + kViewFollowRest);
  EXPECT_NE(model->m_viewRect.left, panned.left);

  model->HandMovedView(90000);
  model->PanView(0, 250);
  EXPECT_TRUE(model->ZoomButtonTap((model->ZoomButtonRect(CPortrait::CENTRE_ON_ME).left + 5),
                                   model->ZoomButtonRect(CPortrait::CENTRE_ON_ME).top + 5, 90100));
  EXPECT_NEAR(Marker().x, 400, 1);
  EXPECT_NEAR(Marker().y, 300, 1);
  EXPECT_TRUE(model->ViewFollowing(90200));
}

}  // namespace
