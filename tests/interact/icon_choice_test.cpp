// Which icons a tap can hit, and what choosing one records.
#include <gtest/gtest.h>

#include <string>

#include "support/model_builder.h"

namespace {

class IconChoiceTest : public testmodel::ModelTest {
 protected:
  void SetUp() override {
    ModelTest::SetUp();
    AddMap();
    AddSystem(30.0, REL_THEMES);
    MakeIcons({{35, 26}, {35, 26}});
  }
};

TEST_F(IconChoiceTest, HitRectangleCentredWithExclusiveRightAndBottom) {
  CContentItem* item = AddContent(4, 1, 100.7, 100.2, 0);
  item->m_inActiveRegion = true;
  // (100, 100) truncated: (83, 87)-(117, 113).
  EXPECT_EQ(model->HitTestIcon(83, 87), 4);
  EXPECT_EQ(model->HitTestIcon(116, 112), 4);
  EXPECT_EQ(model->HitTestIcon(117, 100), -1);
  EXPECT_EQ(model->HitTestIcon(100, 113), -1);
  EXPECT_EQ(model->HitTestIcon(82, 100), -1);
}

TEST_F(IconChoiceTest, TappableByStateAndIconMode) {
  CContentItem* available = AddContent(1, 1, 100, 100, 0);
  available->m_inActiveRegion = true;
  CContentItem* related = AddContent(2, 1, 200, 100, 0);
  related->m_related = true;
  CContentItem* placed = AddContent(3, 0, 300, 100, 0);
  placed->m_related = true;
  placed->m_relatedPlaced = true;
  AddContent(5, 1, 400, 100, 0);

  EXPECT_EQ(model->HitTestIcon(100, 100), 1);
  EXPECT_EQ(model->HitTestIcon(200, 100), -1);  // only related: shown, not playable
  EXPECT_EQ(model->HitTestIcon(300, 100), 3);
  EXPECT_EQ(model->HitTestIcon(400, 100), -1);

  model->m_iconMode = 0;
  EXPECT_EQ(model->HitTestIcon(100, 100), -1);
  EXPECT_EQ(model->HitTestIcon(300, 100), -1);

  model->m_iconMode = 2;
  EXPECT_EQ(model->HitTestIcon(200, 100), 2);
  EXPECT_EQ(model->HitTestIcon(400, 100), 5);
}

TEST_F(IconChoiceTest, ItemsWithoutAnIconAreNeverTappable) {
  AddContent(1, 0, 100, 100, -1)->m_inActiveRegion = true;
  AddContent(2, 0, 200, 100, 7)->m_inActiveRegion = true;  // beyond the icons held
  model->m_iconMode = 2;
  EXPECT_EQ(model->HitTestIcon(100, 100), -1);
  EXPECT_EQ(model->HitTestIcon(200, 100), -1);
  EXPECT_EQ(model->HitTestIcon(0, 0), -1);
}

TEST_F(IconChoiceTest, FirstInListWinsAndTheHitRecordIsTheOneChosen) {
  CContentItem* hidden = AddContent(4, 1, 100, 100, 0, "first.mp4");
  CContentItem* shown = AddContent(4, 2, 100, 100, 1, "second.mp4");  // the same id again
  shown->m_inActiveRegion = true;
  CContentItem* hit = model->HitTestIconItem(100, 100);
  ASSERT_EQ(hit, shown);
  model->ChooseContent(hit);
  EXPECT_EQ(model->m_selectedContent, shown);
  EXPECT_STREQ(model->m_videoFile, "second.mp4");

  hidden->m_inActiveRegion = true;
  EXPECT_EQ(model->HitTestIconItem(100, 100), hidden);
}

TEST_F(IconChoiceTest, ChoiceRecordsTheViewingAtTheClockAndMarksRelated) {
  CUserContext* user = AddUser(1, "Ann", 3.45);
  headless::SetClock(1000);
  model->SetCurrentUser(user);
  headless::AdvanceClock(20000);

  CContentItem* chosen = AddContent(4, 1, 100, 100, 0, "harbour.mp4");
  chosen->m_themes[2] = true;
  chosen->m_themeCount = 1;
  CContentItem* other = AddContent(5, 1, 200, 200, 1);
  other->m_themes[2] = true;
  other->m_themeCount = 1;

  model->ChooseContent(chosen);
  EXPECT_EQ(model->m_selectedContent, chosen);
  EXPECT_STREQ(model->m_videoFile, "harbour.mp4");
  EXPECT_EQ(model->TakePendingAction(), ACTION_PLAY_VIDEO);
  ASSERT_EQ(user->m_viewedCount, 1);
  EXPECT_EQ(user->m_viewedIds[0], 4);
  EXPECT_DOUBLE_EQ(user->m_viewedTimes[0], 4.05);
  EXPECT_DOUBLE_EQ(user->m_duration, 3.45);
  EXPECT_TRUE(other->m_related);
  EXPECT_FALSE(chosen->m_related);
}

TEST_F(IconChoiceTest, WithoutAUserTheVideoPlaysButNothingIsRecorded) {
  CContentItem* chosen = AddContent(4, 1, 100, 100, 0, "harbour.mp4");
  chosen->m_themes[2] = true;
  chosen->m_themeCount = 1;
  CContentItem* other = AddContent(5, 1, 200, 200, 1);
  other->m_themes[2] = true;
  model->ChooseContent(chosen);
  EXPECT_STREQ(model->m_videoFile, "harbour.mp4");
  EXPECT_EQ(model->m_pendingAction, ACTION_PLAY_VIDEO);
  EXPECT_FALSE(other->m_related);
}

TEST_F(IconChoiceTest, TheFiveHundredThirteenthViewingIsDropped) {
  CUserContext* user = AddUser(1, "Ann");
  model->SetCurrentUser(user);
  CContentItem* chosen = AddContent(4, 1, 100, 100, 0, "harbour.mp4");
  for (int i = 0; i < 512; ++i) model->ChooseContent(chosen);
  ASSERT_EQ(user->m_viewedCount, 512);
  model->m_pendingAction = 0;
  model->ChooseContent(chosen);
  EXPECT_EQ(user->m_viewedCount, 512);
  EXPECT_EQ(model->m_pendingAction, ACTION_PLAY_VIDEO);
}

TEST_F(IconChoiceTest, LongFileNameIsCopiedWhole) {
  std::string name(255, 'v');
  CContentItem* chosen = AddContent(4, 1, 100, 100, 0, name.c_str());
  model->ChooseContent(chosen);
  EXPECT_EQ(std::string(model->m_videoFile), name);
}

}  // namespace
