// Relationship marks: kinds in force, the placement column beside the user, the switches.
#include <gtest/gtest.h>

#include "support/model_builder.h"

namespace {

class RelatedTest : public testmodel::ModelTest {
 protected:
  void SetUp() override {
    ModelTest::SetUp();
    AddMap();
    MakeIcons({{35, 26}});
    model->m_userPos.Set(400, 300);
  }

  CContentItem* Chosen(CContentItem* item) {
    model->m_selectedContent = item;
    model->MarkRelatedContent();
    return item;
  }
};

TEST_F(RelatedTest, ItemSharingTwoTagsIsPlacedTwiceAndKeepsTheSecondSlot) {
  AddSystem(30.0, REL_THEMES | REL_CHARACTERS);
  CContentItem* chosen = AddContent(1, 1, 0, 0, 0);
  chosen->m_themes[3] = true;
  chosen->m_themeCount = 1;
  chosen->m_characters[7] = true;
  chosen->m_characterCount = 1;
  CContentItem* q = AddContent(2, 0, 10, 10, 0);
  q->m_themes[3] = true;
  q->m_characters[7] = true;
  Chosen(chosen);
  EXPECT_TRUE(q->m_related);
  EXPECT_TRUE(q->m_relatedPlaced);
  EXPECT_DOUBLE_EQ(q->m_screenX, 400 - 35);
  EXPECT_DOUBLE_EQ(q->m_screenY, 300 - 13 + 26);  // slot 1; slot 0 stays empty
}

TEST_F(RelatedTest, ColumnFollowsKindOrderThemesCharactersTimesLocations) {
  AddSystem(30.0, REL_THEMES | REL_CHARACTERS | REL_TIMES | REL_LOCATIONS);
  CContentItem* chosen = AddContent(1, 1, 0, 0, 0);
  chosen->m_locations[1] = true;
  chosen->m_locationCount = 1;
  chosen->m_times[2] = true;
  chosen->m_timeCount = 1;
  CContentItem* byLocation = AddContent(2, 0, 0, 0, 0);
  byLocation->m_locations[1] = true;
  CContentItem* byTime = AddContent(3, 0, 0, 0, 0);
  byTime->m_times[2] = true;
  Chosen(chosen);
  EXPECT_DOUBLE_EQ(byTime->m_screenY, 287);
  EXPECT_DOUBLE_EQ(byLocation->m_screenY, 287 + 26);
}

TEST_F(RelatedTest, ItemWithARegionIsMarkedButStaysWhereItIs) {
  AddSystem(30.0, REL_THEMES);
  CContentItem* chosen = AddContent(1, 1, 0, 0, 0);
  chosen->m_themes[0] = true;
  chosen->m_themeCount = 1;
  CContentItem* q = AddContent(2, 4, 120, 130, 0);
  q->m_themes[0] = true;
  Chosen(chosen);
  EXPECT_TRUE(q->m_related);
  EXPECT_FALSE(q->m_relatedPlaced);
  EXPECT_DOUBLE_EQ(q->m_screenX, 120);
  EXPECT_DOUBLE_EQ(q->m_screenY, 130);
}

TEST_F(RelatedTest, KindsSwitchedOffMarkNothing) {
  AddSystem(30.0, REL_CHARACTERS);
  CContentItem* chosen = AddContent(1, 1, 0, 0, 0);
  chosen->m_themes[0] = true;
  chosen->m_themeCount = 1;
  CContentItem* q = AddContent(2, 0, 0, 0, 0);
  q->m_themes[0] = true;
  Chosen(chosen);
  EXPECT_FALSE(q->m_related);
}

TEST_F(RelatedTest, ATagNamedTwiceCountsOnce) {
  AddSystem(30.0, REL_THEMES);
  CContentItem* chosen = AddContent(1, 1, 0, 0, 0);
  chosen->m_themes[5] = true;
  chosen->m_themeCount = 2;  // the file named theme 5 twice
  CContentItem* q = AddContent(2, 0, 0, 0, 0);
  q->m_themes[5] = true;
  CContentItem* r = AddContent(3, 0, 0, 0, 0);
  r->m_themes[5] = true;
  Chosen(chosen);
  EXPECT_DOUBLE_EQ(q->m_screenY, 287);
  EXPECT_DOUBLE_EQ(r->m_screenY, 287 + 26);
}

TEST_F(RelatedTest, CountLimitsTheTagsLookedAt) {
  AddSystem(30.0, REL_THEMES);
  CContentItem* chosen = AddContent(1, 1, 0, 0, 0);
  chosen->m_themes[1] = true;
  chosen->m_themes[9] = true;
  chosen->m_themeCount = 1;
  CContentItem* q = AddContent(2, 0, 0, 0, 0);
  q->m_themes[9] = true;
  Chosen(chosen);
  EXPECT_FALSE(q->m_related);
}

TEST_F(RelatedTest, NextChoiceClearsEarlierMarksButNotPositions) {
  AddSystem(30.0, REL_THEMES);
  CContentItem* a = AddContent(1, 1, 0, 0, 0);
  a->m_themes[0] = true;
  a->m_themeCount = 1;
  CContentItem* b = AddContent(2, 1, 0, 0, 0);
  CContentItem* q = AddContent(3, 0, 10, 10, 0);
  q->m_themes[0] = true;
  Chosen(a);
  ASSERT_TRUE(q->m_relatedPlaced);
  Chosen(b);
  EXPECT_FALSE(q->m_related);
  EXPECT_FALSE(q->m_relatedPlaced);
  EXPECT_DOUBLE_EQ(q->m_screenX, 365);
}

TEST_F(RelatedTest, ItemWithoutAnIconIsMarkedWithoutReadingAnIcon) {
  AddSystem(30.0, REL_THEMES);
  CContentItem* chosen = AddContent(1, 1, 0, 0, 0);
  chosen->m_themes[0] = true;
  chosen->m_themeCount = 1;
  CContentItem* bare = AddContent(2, 0, 10, 10, -1);
  bare->m_themes[0] = true;
  CContentItem* next = AddContent(3, 0, 10, 10, 0);
  next->m_themes[0] = true;
  Chosen(chosen);
  EXPECT_TRUE(bare->m_related);
  EXPECT_TRUE(bare->m_relatedPlaced);
  EXPECT_DOUBLE_EQ(bare->m_screenX, 400);
  EXPECT_DOUBLE_EQ(next->m_screenY, 287 + 26);  // the bare item still took slot 0
  model->m_iconMode = 2;
  EXPECT_EQ(model->HitTestIcon(400, 300), -1);
}

TEST_F(RelatedTest, NothingWithoutASelectionOrSystemRecord) {
  CContentItem* q = AddContent(2, 0, 0, 0, 0);
  q->m_related = true;
  model->MarkRelatedContent();  // nothing selected: marks stay
  EXPECT_TRUE(q->m_related);
  model->m_selectedContent = q;
  model->MarkRelatedContent();  // no system record: cleared, nothing new
  EXPECT_FALSE(q->m_related);
}

TEST_F(RelatedTest, RelationshipSwitchesAsAMask) {
  CSystemItem* system = AddSystem(30.0);
  EXPECT_EQ(model->GetRelationshipFlags(), 0);
  model->SetRelationshipFlags(REL_CHARACTERS | REL_TIMES);
  EXPECT_FALSE(system->m_themeRels);
  EXPECT_TRUE(system->m_characterRels);
  EXPECT_FALSE(system->m_locationRels);
  EXPECT_TRUE(system->m_timeRels);
  EXPECT_EQ(model->GetRelationshipFlags(), 10);
  model->SetRelationshipFlags(REL_THEMES | REL_LOCATIONS);
  EXPECT_TRUE(system->m_themeRels);
  EXPECT_TRUE(system->m_locationRels);
  EXPECT_EQ(model->GetRelationshipFlags(), 5);
}

TEST_F(RelatedTest, SwitchesWithoutASystemRecordReadAsNone) {
  model->SetRelationshipFlags(15);
  EXPECT_EQ(model->GetRelationshipFlags(), 0);
}

}  // namespace
