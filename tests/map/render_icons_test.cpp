// Content icons by state, the deferred table of items beside the user, shadows and badges.
#include <gtest/gtest.h>

#include "support/model_builder.h"

using testmodel::CallsFrom;
using testmodel::CallsOf;
using testmodel::Str;
using testmodel::Texts;

namespace {

class IconsTest : public testmodel::ModelTest {
 protected:
  void SetUp() override {
    ModelTest::SetUp();
    AddMap();
    AddSystem(30.0);
    model->m_showRegionMarkers = false;
    MakeIcons({{35, 26}, {35, 26}, {35, 26}});
  }
  const CGapiSurface* Icon(int i) const { return &model->m_iconSurfaces[i]; }
};

TEST_F(IconsTest, ModeZeroDrawsNoIcons) {
  AddRegion(1, 400, 300);
  AddContent(1, 1, 400, 300, 0);
  model->m_iconMode = 0;
  EXPECT_TRUE(CallsFrom(RenderFrame(), Icon(0)).empty());
}

TEST_F(IconsTest, ModeTwoDrawsEveryIconOpaqueWithItsIdAndNoBadges) {
  AddContent(1, 0, 100, 100, 0);
  AddContent(2, 5, 200, 100, 1);
  CContentItem* related = AddContent(3, 0, 300, 100, 2);
  related->m_related = true;
  model->m_iconMode = 2;
  const auto calls = RenderFrame();
  for (int i = 0; i < 3; ++i) {
    const auto blits = CallsFrom(calls, Icon(i));
    ASSERT_EQ(blits.size(), 1u);
    EXPECT_EQ(blits[0].flags, 1u);
  }
  EXPECT_TRUE(CallsFrom(calls, &model->m_badgeStrip).empty());
  const auto texts = CallsOf(calls, "DrawTextA");
  ASSERT_EQ(texts.size(), 3u);
  EXPECT_EQ(texts[0].text, "S1");
  EXPECT_EQ(texts[0].dst.left, 100);
  EXPECT_EQ(texts[0].dst.top, 96);
  EXPECT_EQ(texts[2].text, "S3");
}

TEST_F(IconsTest, StateZeroItemsAreNotDrawn) {
  AddContent(1, 9, 100, 100, 0);  // its region is not entered
  EXPECT_TRUE(CallsFrom(RenderFrame(), Icon(0)).empty());
}

TEST_F(IconsTest, RelatedItemTranslucentUntilItsRegionIsEntered) {
  AddRegion(9, 100, 100);
  CContentItem* item = AddContent(4, 9, 100, 100, 0);
  item->m_related = true;
  model->m_userPos.Set(400, 300);

  auto calls = RenderFrame();
  auto icon = CallsFrom(calls, Icon(0));
  ASSERT_EQ(icon.size(), 1u);
  EXPECT_EQ(Str(icon[0].dst), "83,87,117,113");
  EXPECT_EQ(icon[0].flags, 5u);
  EXPECT_EQ(icon[0].opacity, 128u);
  auto badge = CallsFrom(calls, &model->m_badgeStrip);
  ASSERT_EQ(badge.size(), 1u);
  EXPECT_EQ(Str(badge[0].dst), "100,89,113,102");
  EXPECT_EQ(Str(badge[0].src), "0,26,13,39");

  model->m_userPos.Set(100, 100);
  calls = RenderFrame();
  icon = CallsFrom(calls, Icon(0));
  ASSERT_EQ(icon.size(), 1u);
  EXPECT_EQ(icon[0].flags, 1u);
  badge = CallsFrom(calls, &model->m_badgeStrip);
  ASSERT_EQ(badge.size(), 1u);
  EXPECT_EQ(Str(badge[0].src), "0,0,13,13");
}

TEST_F(IconsTest, ViewedBadgeForTheCurrentUsersHistory) {
  AddRegion(9, 100, 100);
  AddContent(4, 9, 100, 100, 0);
  model->m_userPos.Set(100, 100);
  CUserContext* user = AddUser(1, "Ann");
  model->m_currentUser = user;
  user->m_viewedIds[0] = 4;
  user->m_viewedCount = 1;
  const auto badge = CallsFrom(RenderFrame(), &model->m_badgeStrip);
  ASSERT_EQ(badge.size(), 2u);
  EXPECT_EQ(Str(badge[1].dst), "100,104,113,117");
  EXPECT_EQ(Str(badge[1].src), "0,13,13,26");
}

TEST_F(IconsTest, ItemsPlacedBesideTheUserAreDrawnLastAndAtMostNine) {
  MakeIcons({{35, 26}, {35, 26}});
  for (int i = 0; i < 10; ++i) {
    CContentItem* item = AddContent(100 + i, 0, 50 + 60 * i, 200, 0);
    item->m_related = true;
    item->m_relatedPlaced = true;
  }
  AddRegion(1, 400, 400);
  AddContent(1, 1, 400, 400, 1);  // available, later in the list
  model->m_userPos.Set(400, 400);

  const auto calls = RenderFrame();
  const auto placed = CallsFrom(calls, Icon(0));
  ASSERT_EQ(placed.size(), 9u);
  EXPECT_EQ(placed[0].flags, 1u);
  EXPECT_EQ(placed[0].dst.left, 50 - 17);
  EXPECT_EQ(placed[8].dst.left, 50 + 60 * 8 - 17);  // the tenth is not drawn
  int available = -1, firstPlaced = -1;
  for (size_t i = 0; i < calls.size(); ++i) {
    if (calls[i].source == Icon(1) && available < 0) available = static_cast<int>(i);
    if (calls[i].source == Icon(0) && firstPlaced < 0) firstPlaced = static_cast<int>(i);
  }
  EXPECT_LT(available, firstPlaced);
  // Placed items carry the badge of row 0.
  const auto badges = CallsFrom(calls, &model->m_badgeStrip);
  ASSERT_EQ(badges.size(), 10u);
  EXPECT_EQ(badges.back().src.top, 0);
}

TEST_F(IconsTest, ItemsWithoutAUsableIconAreSkipped) {
  AddRegion(1, 400, 300);
  AddContent(1, 1, 400, 300, -1);
  AddContent(2, 1, 400, 300, 3);  // beyond the three icons held
  AddContent(3, 1, 400, 300, 2);
  const auto calls = RenderFrame();
  EXPECT_EQ(CallsFrom(calls, Icon(2)).size(), 1u);
  EXPECT_EQ(CallsFrom(calls, &model->m_badgeStrip).size(), 1u);
}

TEST_F(IconsTest, ShadowLinesBesideAndBelowTheIcon) {
  AddRegion(1, 100, 100);
  AddContent(1, 1, 100, 100, 0);
  model->m_userPos.Set(100, 100);
  const auto lines = CallsOf(RenderFrame(), "DrawLine");
  ASSERT_EQ(lines.size(), 4u);
  // The map rectangle is (83, 87)-(117, 113): 34 wide, so the right shadow sits on column 116.
  EXPECT_EQ(Str(lines[0].dst), "116,89,116,112");
  EXPECT_EQ(lines[0].opacity, 192u);
  EXPECT_EQ(lines[0].color, 0u);
  EXPECT_EQ(Str(lines[1].dst), "117,89,117,113");
  EXPECT_EQ(lines[1].opacity, 96u);
  EXPECT_EQ(Str(lines[2].dst), "85,113,116,113");
  EXPECT_EQ(Str(lines[3].dst), "85,114,117,114");
}

TEST_F(IconsTest, ShadowsOfAnIconCutAtTheTopLeftAndAtTheBottomRight) {
  model->m_iconMode = 2;
  AddContent(1, 0, 5, 5, 0);
  auto lines = CallsOf(RenderFrame(), "DrawLine");
  ASSERT_EQ(lines.size(), 4u);
  // (-12, -8)-(22, 18) shows as (0, 0)-(22, 18): 8 rows and 12 columns cut.
  EXPECT_EQ(Str(lines[0].dst), "21,0,21,17");
  EXPECT_EQ(Str(lines[2].dst), "0,18,21,18");

  auto* item = static_cast<CContentItem*>(model->m_contentList->At(0));
  item->m_screenX = 795;
  item->m_screenY = 595;
  lines = CallsOf(RenderFrame(), "DrawLine");
  ASSERT_EQ(lines.size(), 4u);
  // (778, 582)-(812, 608) shows as (778, 582)-(800, 600): the outer lines stop one short.
  EXPECT_EQ(Str(lines[1].dst), "800,584,800,599");
  EXPECT_EQ(Str(lines[3].dst), "780,601,799,601");
}

}  // namespace
