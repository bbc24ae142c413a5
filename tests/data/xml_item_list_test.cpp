#include "data/xml_item_list.h"

#include <gtest/gtest.h>

#include "data/content_item.h"
#include "data/region_item.h"
#include "data/system_item.h"
#include "data/theme_item.h"
#include "data/user_context.h"
#include "data_test_util.h"

using datatest::Written;

namespace {

CThemeItem Theme(int id) {
  CThemeItem t;
  t.m_id = id;
  return t;
}

}  // namespace

TEST(RecordList, AddStoresCopiesInTheLowestFreeSlot) {
  CXmlItemList list;
  CThemeItem theme = Theme(4);
  const int slot = list.Add(theme);
  EXPECT_EQ(slot, 0);
  EXPECT_NE(list.Current(), &theme);
  EXPECT_EQ(list.Current()->Kind(), KIND_THEME);
  EXPECT_TRUE(list.Current()->InUse());
  theme.m_id = 5;  // the caller's record stays with the caller
  EXPECT_EQ(list.Current()->Id(), 4);
  EXPECT_EQ(list.Add(theme), 1);
  EXPECT_EQ(list.Count(), 2);
}

TEST(RecordList, HoldsAtMost128Records) {
  CXmlItemList list;
  for (int i = 0; i < LIST_CAPACITY; ++i) ASSERT_EQ(list.Add(Theme(i)), i);
  EXPECT_EQ(list.Add(Theme(999)), -1);
  EXPECT_EQ(list.Count(), LIST_CAPACITY);
  EXPECT_EQ(list.Rejected(), 1);
  EXPECT_EQ(list.FindById(999), nullptr);
  EXPECT_EQ(list.LowestFreeId(), LIST_CAPACITY);
}

TEST(RecordList, WalksInSlotOrder) {
  CXmlItemList list;
  EXPECT_TRUE(list.IsEmpty());
  EXPECT_EQ(list.First(), -1);
  EXPECT_EQ(list.Current(), nullptr);
  list.Add(Theme(7));
  list.Add(Theme(3));
  EXPECT_EQ(list.Next(), -1);
  EXPECT_FALSE(list.IsEmpty());
  EXPECT_EQ(list.Current()->Id(), 7);  // IsEmpty leaves the cursor on the first record
  EXPECT_EQ(list.Next(), 1);
  EXPECT_EQ(list.Next(), -1);
  EXPECT_EQ(list.At(1)->Id(), 3);
  EXPECT_EQ(list.At(2), nullptr);
  EXPECT_EQ(list.At(-1), nullptr);
  EXPECT_EQ(list.At(LIST_CAPACITY), nullptr);
}

TEST(RecordList, FindByIdTakesTheFirstOfRepeatedIds) {
  CXmlItemList list;
  EXPECT_EQ(list.FindById(4), nullptr);
  list.Add(Theme(1));
  list.Add(Theme(4));
  list.Add(Theme(4));
  CXmlItem* found = list.FindById(4);
  ASSERT_NE(found, nullptr);
  EXPECT_EQ(found, list.At(1));
  EXPECT_EQ(list.Current(), found);
  EXPECT_EQ(list.FindById(2), nullptr);
}

TEST(RecordList, LowestFreeId) {
  CXmlItemList list;
  EXPECT_EQ(list.LowestFreeId(), 0);
  for (int id : {0, 1, 3}) list.Add(Theme(id));
  EXPECT_EQ(list.LowestFreeId(), 2);
  CXmlItemList high;
  for (int id : {5, 6, -2}) high.Add(Theme(id));
  EXPECT_EQ(high.LowestFreeId(), 0);
  CXmlItemList users;
  CUserContext user;  // a reset user has id -1
  users.Add(user);
  EXPECT_EQ(users.LowestFreeId(), 0);
}

TEST(RecordList, WritesFramedByTheTextsOfItsKind) {
  CXmlItemList empty;
  EXPECT_EQ(Written(empty), "");

  CXmlItemList themes;
  themes.Add(Theme(1));
  EXPECT_EQ(Written(themes),
            "<theme_list>\n\t<theme>\n\t\t<theme_id>1</theme_id>\n\t\t<theme_desc/>\n"
            "\t</theme>\n</theme_list>\n\n");

  CXmlItemList users;
  CUserContext user;
  user.m_id = 2;
  users.Add(user);
  const std::string u = Written(users);
  EXPECT_EQ(u.rfind("<?xml version='1.0' encoding='UTF-8' ?>\n<user_list>\n<user_context>\n", 0),
            0u);
  EXPECT_TRUE(u.ends_with(">\n</user_context>\n</user_list>\n\n"));

  CXmlItemList systems;
  CSystemItem system;
  systems.Add(system);
  const std::string s = Written(systems);
  EXPECT_EQ(s.rfind("\n<system>\n", 0), 0u);
  EXPECT_TRUE(s.ends_with(">\n</system>\n\n\n"));

  for (int kind = KIND_REGION; kind <= KIND_TIME; ++kind) {
    CXmlItem* item = CXmlItemList::MakeItem(kind);
    EXPECT_EQ(item->Kind(), kind);
    delete item;
  }
}

TEST(RecordList, ACopiedContentItemHasNoIcon) {
  CXmlItemList list;
  CContentItem item;
  item.m_iconIndex = 2;
  item.m_screenX = 40;
  list.Add(item);
  auto* stored = static_cast<CContentItem*>(list.Current());
  EXPECT_EQ(stored->m_iconIndex, -1);
  EXPECT_EQ(stored->m_screenX, 0.0);
}
