// The user selection screen: the page of names, the highlight, the scroll bar and its
// limits, row selection, confirm and the new-user button.
#include "interact/user_screen_fixture.h"

namespace {

using usertest::kListX;
using usertest::kListY;
using usertest::SameRect;

class UserListScreen : public usertest::UserScreenFixture {
 protected:
  void SetUp() override {
    UserScreenFixture::SetUp();
    app->m_mode = MODE_USER_LIST;
  }
  void ScrollDown() { TapList(209, 270); }
  void ScrollUp() { TapList(209, 40); }
  void TapRow(int row) { TapList(100, 30 + row * 10 + 5); }
  void Confirm() { TapList(50, 300); }

  // The translucent black fills: the highlight and a greyed track.
  std::vector<RECT> TranslucentFills() const {
    std::vector<RECT> out;
    for (const headless::DrawCall& c : Calls("FillRect"))
      if (c.flags == GDFILLRECT_OPACITY && c.opacity == 128 && c.color == 0) out.push_back(c.dst);
    return out;
  }
};

TEST_F(UserListScreen, ThirtyUsersShowAPageOfTwentyFiveAndScrollToTheLastPage) {
  AddUsers(30);
  Draw();
  EXPECT_EQ(app->m_userCount, 30);
  auto blits = Calls("BltFast");
  ASSERT_EQ(blits.size(), 1u);
  EXPECT_EQ(blits[0].dst.left, kListX);
  EXPECT_EQ(blits[0].dst.top, kListY);
  EXPECT_EQ(blits[0].source, &app->m_userListImage);

  auto names = Calls("DrawTextA");
  ASSERT_EQ(names.size(), 25u);
  for (int r = 0; r < 25; ++r) {
    EXPECT_EQ(names[r].text, "U" + std::to_string(r));
    EXPECT_EQ(names[r].dst.left, kListX + 26);
    EXPECT_EQ(names[r].dst.top, kListY + 32 + r * 10);
    EXPECT_EQ(names[r].flags, GDDRAWTEXT_LEFT);
  }
  // Highlight on row 0, and a thumb from the track top to 34 pixels above its bottom
  // (5 hidden users of 208 / 30 pixels each).
  auto highlight = TranslucentFills();
  ASSERT_EQ(highlight.size(), 1u);
  EXPECT_TRUE(SameRect(highlight[0], RECT{kListX + 21, kListY + 30, kListX + 198, kListY + 40}));
  RECT thumb{kListX + 200, kListY + 51, kListX + 218, kListY + 259 - 34};
  auto fills = Calls("FillRect");
  ASSERT_EQ(fills.size(), 2u);
  EXPECT_TRUE(SameRect(fills[1].dst, thumb));
  EXPECT_EQ(fills[1].color, 0x606060u);
  EXPECT_EQ(fills[1].flags, 0u);
  auto outline = Calls("DrawRect");
  ASSERT_EQ(outline.size(), 1u);
  EXPECT_TRUE(SameRect(outline[0].dst, thumb));
  EXPECT_EQ(outline[0].color, 0u);

  for (int i = 0; i < 9; ++i) ScrollDown();
  EXPECT_EQ(app->m_userListTop, 5);
  Draw();
  names = Calls("DrawTextA");
  ASSERT_EQ(names.size(), 25u);
  EXPECT_EQ(names.front().text, "U5");
  EXPECT_EQ(names.front().dst.top, kListY + 32);
  EXPECT_EQ(names.back().text, "U29");
  // Row 0 (user 0) is scrolled away: no highlight.
  EXPECT_TRUE(TranslucentFills().empty());
  // Thumb at the bottom: top 5 * 208 / 30 = 34.67 pixels down.
  outline = Calls("DrawRect");
  ASSERT_EQ(outline.size(), 1u);
  EXPECT_TRUE(SameRect(outline[0].dst, RECT{kListX + 200, kListY + 51 + 34, kListX + 218, kListY + 259}));

  // A row picks the user shown there.
  TapRow(3);
  EXPECT_EQ(app->m_selectedUser, 8);
  Draw();
  highlight = TranslucentFills();
  ASSERT_EQ(highlight.size(), 1u);
  EXPECT_EQ(highlight[0].top, kListY + 60);

  for (int i = 0; i < 7; ++i) ScrollUp();
  EXPECT_EQ(app->m_userListTop, 0);
}

TEST_F(UserListScreen, AFullPageOrLessGreysTheTrackAndDoesNotScroll) {
  for (int count : {3, 25}) {
    SCOPED_TRACE(count);
    delete model->m_userList;
    model->m_userList = new CXmlItemList;
    AddUsers(count);
    app->m_selectedUser = 0;
    Draw();
    EXPECT_EQ(Calls("DrawTextA").size(), static_cast<size_t>(count));
    auto fills = TranslucentFills();
    ASSERT_EQ(fills.size(), 2u);  // highlight, then the track
    EXPECT_TRUE(SameRect(fills[1], RECT{kListX + 199, kListY + 51, kListX + 219, kListY + 259}));
    EXPECT_TRUE(Calls("DrawRect").empty());
    ScrollDown();
    EXPECT_EQ(app->m_userListTop, 0);
    ScrollUp();
    EXPECT_EQ(app->m_userListTop, 0);
  }
}

TEST_F(UserListScreen, RowsBelowTheLastUserAndTheTrackDoNotSelect) {
  AddUsers(3);
  Draw();
  TapRow(2);
  EXPECT_EQ(app->m_selectedUser, 2);
  TapRow(3);
  EXPECT_EQ(app->m_selectedUser, 2);
  TapRow(24);
  EXPECT_EQ(app->m_selectedUser, 2);
  // The scroll track, the gaps around the buttons, and the list's exclusive edges.
  TapList(209, 150);
  TapList(100, 290);
  TapList(198, 35);
  TapList(20, 35);
  TapList(100, 280);
  EXPECT_EQ(app->m_selectedUser, 2);
  EXPECT_EQ(app->m_mode, MODE_USER_LIST);
  TapList(21, 30);  // the list's top-left pixel is row 0
  EXPECT_EQ(app->m_selectedUser, 0);
}

TEST_F(UserListScreen, ConfirmWritesTheFileThenMakesTheChosenUserCurrent) {
  CUserContext* anna = AddUser(0, "ANNA");
  CUserContext* ben = AddUser(1, "BEN");
  model->SetCurrentUser(anna);
  headless::AdvanceClock(125000);  // Anna's visit runs 2 minutes 5 seconds
  CContentItem content;
  content.m_related = true;
  content.m_relatedPlaced = true;
  model->m_contentList = new CXmlItemList;
  model->m_contentList->Add(content);

  Draw();
  TapRow(1);
  Confirm();
  EXPECT_EQ(app->m_mode, MODE_MAP);
  EXPECT_EQ(model->m_currentUser, ben);
  // The file was written before the change of user: Anna's running visit is not in it.
  std::string file = UsersFile();
  EXPECT_NE(file.find("<username>ANNA</username>\n\t<duration>0.00</duration>"), std::string::npos)
      << file;
  EXPECT_NE(file.find("<username>BEN</username>"), std::string::npos);
  EXPECT_NEAR(anna->m_duration, 2.05, 1e-9);
  auto* marked = static_cast<CContentItem*>(model->m_contentList->At(0));
  EXPECT_FALSE(marked->m_related);
  EXPECT_FALSE(marked->m_relatedPlaced);
}

TEST_F(UserListScreen, ConfirmWithASelectionPastTheListChangesNoUser) {
  AddUsers(2);
  app->m_selectedUser = 5;
  Draw();
  Confirm();
  EXPECT_EQ(app->m_mode, MODE_MAP);
  EXPECT_EQ(model->m_currentUser, nullptr);
  EXPECT_TRUE(UsersFileExists());
}

TEST_F(UserListScreen, ConfirmWithAnEmptyListGoesToTheMapWithNoCurrentUser) {
  Draw();
  EXPECT_TRUE(Calls("DrawTextA").empty());
  Confirm();
  EXPECT_EQ(app->m_mode, MODE_MAP);
  EXPECT_EQ(model->m_currentUser, nullptr);
  EXPECT_EQ(UsersFile(), "");
}

TEST_F(UserListScreen, WithoutAUserListTapsDoNothingAndTheFrameReturnsToTheMap) {
  {
    std::ofstream out(usersPath);
    out << "<user_list>real users</user_list>\n";
  }
  delete model->m_userList;
  model->m_userList = nullptr;
  Confirm();
  TapList(180, 300);  // new user
  EXPECT_EQ(app->m_mode, MODE_USER_LIST);
  EXPECT_EQ(UsersFile(), "<user_list>real users</user_list>\n");
  app->m_mode = MODE_NEW_USER;
  std::snprintf(app->m_newUserName, sizeof app->m_newUserName, "ANN");
  app->UserScreenTap(usertest::kEntryX + 50, usertest::kEntryY + 165);
  EXPECT_EQ(app->m_mode, MODE_NEW_USER);

  Draw();
  EXPECT_EQ(app->m_mode, MODE_MAP);
  EXPECT_TRUE(headless::DrawCalls().empty());
}

TEST_F(UserListScreen, NewUserOpensAnEmptyNameEntry) {
  AddUsers(1);
  std::snprintf(app->m_newUserName, sizeof app->m_newUserName, "OLD");
  Draw();
  TapList(143, 295);
  EXPECT_EQ(app->m_mode, MODE_NEW_USER);
  EXPECT_STREQ(app->m_newUserName, "");
  // Right and bottom edges are outside the buttons.
  app->m_mode = MODE_USER_LIST;
  TapList(230, 300);
  TapList(98, 300);
  TapList(50, 309);
  EXPECT_EQ(app->m_mode, MODE_USER_LIST);
  TapList(97, 308);
  EXPECT_EQ(app->m_mode, MODE_MAP);
}

}  // namespace
