// Construction of the model with its fixed images, and its small operations.
#include <gtest/gtest.h>

#include "loading_fixture.h"

namespace {

class PortraitTest : public LoadingTest {};

// True when a keyed copy of image leaves the destination's colour at (x, y) of the image.
bool KeyedAt(CGapiSurface* image, LONG x, LONG y) {
  CGapiSurface dest;
  dest.CreateSurface(GDSURFACE_SYSTEMMEMORY, image->GetWidth(), image->GetHeight());
  dest.FillRect(nullptr, 0x123456, 0, nullptr);
  dest.BltFast(0, 0, image, nullptr, GDBLTFAST_KEYSRC, nullptr);
  return dest.GetPixel(x, y) == 0x123456u;
}

TEST_F(PortraitTest, ConstructionOnAn800x600Display) {
  EXPECT_EQ(RectText(model->m_viewRect), "0,0,800,600");
  EXPECT_EQ(RectText(model->m_exitButtonRect), "772,3,797,28");
  EXPECT_EQ(RectText(model->m_usersButtonRect), "745,3,770,28");
  EXPECT_TRUE(model->m_screenSize == CGeoPoint(800, 600));
  EXPECT_TRUE(model->m_mapSize == CGeoPoint(0, 0));
  EXPECT_EQ(model->m_mapSurface, nullptr);
  EXPECT_EQ(model->m_iconSurfaces, nullptr);
  EXPECT_EQ(model->m_editSelection, -2);
  EXPECT_EQ(model->m_pageCount, 5);
  EXPECT_EQ(model->m_status, 1);
  EXPECT_TRUE(model->m_showMap && model->m_showUser && model->m_showRegionMarkers);
  EXPECT_TRUE(model->m_followGps);
  EXPECT_FALSE(model->m_showOverview || model->m_showRegionAreas || model->m_showGpsStatus);
  EXPECT_EQ(model->m_iconMode, 1);
}

TEST_F(PortraitTest, FixedImagesLoadedWithTheirSizesAndKeys) {
  struct Expected {
    CGapiSurface* image;
    DWORD width, height;
    LONG clearX, clearY;  // a pixel the artwork leaves transparent in the keyed images
    bool keyed;
  };
  const Expected images[] = {
      {&model->m_userIcon, 41, 41, 0, 0, true},
      {&model->m_buttonBackground, 25, 25, 0, 0, true},
      {&model->m_exitGlyph, 15, 13, 14, 0, true},
      {&model->m_menuBackground, 240, 61, 0, 60, true},
      {&model->m_menuIcons, 240, 61, 0, 0, true},
      {&model->m_regionMarker, 33, 165, 0, 0, true},
      {&model->m_badgeStrip, 16, 42, 15, 41, true},
      {&model->m_pageBackground, 240, 320, 0, 0, false},
  };
  for (const Expected& e : images) {
    ASSERT_FALSE(e.image->IsEmpty());
    EXPECT_EQ(e.image->GetWidth(), e.width);
    EXPECT_EQ(e.image->GetHeight(), e.height);
    EXPECT_EQ(KeyedAt(e.image, e.clearX, e.clearY), e.keyed) << e.width << "x" << e.height;
  }
}

TEST_F(PortraitTest, ButtonRectanglesFollowTheDisplayWidth) {
  CPortrait small(nullptr, GetModuleHandleA(nullptr), 640, 480);
  EXPECT_EQ(RectText(small.m_viewRect), "0,0,640,480");
  EXPECT_EQ(RectText(small.m_exitButtonRect), "612,3,637,28");
  EXPECT_EQ(RectText(small.m_usersButtonRect), "585,3,610,28");
}

// Without a position source on the command line nothing changes from a build without one.
TEST_F(PortraitTest, WithoutAPositionSourceTheGpsPortSaysSoAndNoFixComes) {
  EXPECT_EQ(model->OpenGpsPort(), -17);
  EXPECT_EQ(model->OpenGpsPort(), -17);
  model->OnGpsMessage();
  EXPECT_FALSE(model->HasGpsFix());
}

TEST_F(PortraitTest, PendingActionIsTakenOnce) {
  EXPECT_EQ(model->TakePendingAction(), ACTION_NONE);
  model->m_pendingAction = ACTION_PLAY_VIDEO;
  EXPECT_EQ(model->TakePendingAction(), ACTION_PLAY_VIDEO);
  EXPECT_EQ(model->TakePendingAction(), ACTION_NONE);
}

TEST_F(PortraitTest, RegionContentAvailabilityTouchesOnlyThatRegion) {
  CContentItem* a = AddContent(1, 2);
  CContentItem* b = AddContent(2, 3);
  CContentItem* c = AddContent(3, 2);
  model->SetRegionContentAvailable(2, true);
  EXPECT_TRUE(a->m_inActiveRegion);
  EXPECT_FALSE(b->m_inActiveRegion);
  EXPECT_TRUE(c->m_inActiveRegion);
  model->SetRegionContentAvailable(2, false);
  EXPECT_FALSE(a->m_inActiveRegion);
  EXPECT_FALSE(c->m_inActiveRegion);
}

TEST_F(PortraitTest, ListsNeverLoadedCountAsEmpty) {
  CPortrait bare(nullptr, GetModuleHandleA(nullptr), 800, 600);
  bare.SetRegionContentAvailable(1, true);
  EXPECT_EQ(bare.ComputeMapPositions(), 1);
  EXPECT_EQ(bare.ValidateVideos(), 0);
  EXPECT_EQ(bare.LoadIcons(), 0);
  EXPECT_EQ(bare.m_iconSurfaces, nullptr);
  EXPECT_FALSE(bare.LoadMap());
  EXPECT_TRUE(headless::MessageBoxes().empty());
}

}  // namespace
