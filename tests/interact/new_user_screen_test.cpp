// The new-user screen: the on-screen keyboard, the 24-character limit, delete, confirm
// (with the lowest free id, a refused empty name, a full list) and cancel.
#include <cstring>
#include <string>

#include "interact/user_screen_fixture.h"

namespace {

using usertest::kEntryX;
using usertest::kEntryY;

class NewUserScreen : public usertest::UserScreenFixture {
 protected:
  void SetUp() override {
    UserScreenFixture::SetUp();
    app->m_mode = MODE_NEW_USER;
  }
  // The middle of a key.
  void Key(int row, int column) { TapEntry(10 + column * 22 + 11, 61 + row * 29 + 14); }
  void Type(const char* letters) {
    static const char* rows[3] = {"QWERTYUIOP", "ASDFGHJKL", "ZXCVBNM "};
    for (const char* p = letters; *p; ++p) {
      for (int r = 0; r < 3; ++r) {
        const char* at = std::strchr(rows[r], *p);
        if (at) Key(r, static_cast<int>(at - rows[r]));
      }
    }
  }
  void Confirm() { TapEntry(11, 160); }
  void Cancel() { TapEntry(229, 173); }
};

TEST_F(NewUserScreen, EveryKeyTypesItsLetterAndTheNameIsDrawnInItsBox) {
  Type("QWERTYUIOP");
  Type("ASDFGHJKL");
  EXPECT_STREQ(app->m_newUserName, "QWERTYUIOPASDFGHJKL");
  std::memset(app->m_newUserName, 0, sizeof app->m_newUserName);
  for (int c = 0; c < 8; ++c) Key(2, c);
  EXPECT_STREQ(app->m_newUserName, "ZXCVBNM ");

  Draw();
  auto blits = Calls("BltFast");
  ASSERT_EQ(blits.size(), 1u);
  EXPECT_EQ(blits[0].dst.left, kEntryX);
  EXPECT_EQ(blits[0].dst.top, kEntryY);
  EXPECT_EQ(blits[0].source, &app->m_nameEntryImage);
  auto texts = Calls("DrawTextA");
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0].text, "ZXCVBNM ");
  EXPECT_EQ(texts[0].dst.left, kEntryX + 70);
  EXPECT_EQ(texts[0].dst.top, kEntryY + 40);

  // The empty name is drawn too.
  app->m_newUserName[0] = '\0';
  Draw();
  ASSERT_EQ(Calls("DrawTextA").size(), 1u);
}

TEST_F(NewUserScreen, NamesStopAtTwentyFourAndDeleteTakesTheLastCharacter) {
  Type("ABCDEFGHIJKLMNOPQRSTUVWXY");  // 25 letters
  EXPECT_STREQ(app->m_newUserName, "ABCDEFGHIJKLMNOPQRSTUVWX");
  Key(2, 7);  // space, also refused
  EXPECT_EQ(std::strlen(app->m_newUserName), 24u);

  Key(2, 9);
  Key(2, 9);
  EXPECT_STREQ(app->m_newUserName, "ABCDEFGHIJKLMNOPQRSTUV");
  Key(2, 9);
  Key(1, 9);
  EXPECT_STREQ(app->m_newUserName, "ABCDEFGHIJKLMNOPQRST");

  app->m_newUserName[0] = '\0';
  Key(1, 9);
  EXPECT_STREQ(app->m_newUserName, "");
}

TEST_F(NewUserScreen, KeyboardEdgesFollowTheGrid) {
  TapEntry(10, 61);    // top-left pixel: Q
  TapEntry(229, 147);  // bottom-right pixel: delete
  EXPECT_STREQ(app->m_newUserName, "");
  TapEntry(31, 61);  // last pixel of column 0
  TapEntry(32, 61);  // first of column 1
  TapEntry(10, 89);  // last pixel of row 0
  TapEntry(10, 90);  // first of row 1
  EXPECT_STREQ(app->m_newUserName, "QWQA");
  // Outside the keyboard: left of it, below it, right of it.
  TapEntry(9, 70);
  TapEntry(50, 148);
  TapEntry(230, 70);
  EXPECT_STREQ(app->m_newUserName, "QWQA");
  EXPECT_EQ(app->m_mode, MODE_NEW_USER);
}

TEST_F(NewUserScreen, ConfirmAddsTheUserWithTheLowestFreeId) {
  AddUser(0, "A");
  AddUser(1, "B");
  AddUser(3, "D");
  Type("CORA");
  Confirm();
  EXPECT_EQ(app->m_mode, MODE_USER_LIST);
  ASSERT_EQ(model->m_userList->Count(), 4);
  CUserContext* added = static_cast<CUserContext*>(model->m_userList->FindById(2));
  ASSERT_NE(added, nullptr);
  EXPECT_STREQ(added->m_username, "CORA");
  EXPECT_EQ(added->m_viewedCount, 0);
  EXPECT_EQ(added->m_duration, 0.0);
  // Selected on the list (the fourth row) but not yet current, nothing written yet, and the
  // name stays typed.
  EXPECT_EQ(model->m_currentUser, nullptr);
  EXPECT_EQ(app->m_selectedUser, 3);
  EXPECT_FALSE(UsersFileExists());
  EXPECT_STREQ(app->m_newUserName, "CORA");
}

TEST_F(NewUserScreen, TheNewUserIsSelectedAndScrolledIntoView) {
  AddUsers(30);
  app->m_userListTop = 2;
  Type("CAT");
  Confirm();
  EXPECT_EQ(app->m_selectedUser, 30);
  EXPECT_STREQ(UserAt(app->m_selectedUser)->m_username, "CAT");
  EXPECT_EQ(app->m_userListTop, 30 - 25 + 1);  // the last of the 25 rows shown
}

TEST_F(NewUserScreen, AnEmptyNameIsRefusedByDoingNothing) {
  Confirm();
  EXPECT_EQ(app->m_mode, MODE_NEW_USER);
  EXPECT_EQ(model->m_userList->Count(), 0);
}

TEST_F(NewUserScreen, AnEmptyOrTakenNameIsRefusedWithALineOnTheScreen) {
  struct Case {
    const char* listed;  // one user already on the list, or none
    const char* typed;
    const char* notice;  // null: added
  };
  const Case cases[] = {
      {nullptr, "", "TYPE A NAME FIRST"},
      {nullptr, "   ", "TYPE A NAME FIRST"},
      {"HELGA", "HELGA", "THAT NAME IS TAKEN"},
      {"Ingrid", "INGRID", "THAT NAME IS TAKEN"},  // as a users file may spell it
      {" JON", "JON ", "THAT NAME IS TAKEN"},
      {"KAI", "KAIA", nullptr},
  };
  int id = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.listed ? c.listed : "-") + " / " + c.typed);
    if (c.listed) AddUser(id++, c.listed);
    const int before = model->m_userList->Count();
    app->m_mode = MODE_NEW_USER;
    app->m_newUserName[0] = '\0';
    Type(c.typed);
    Confirm();
    if (c.notice == nullptr) {
      EXPECT_EQ(model->m_userList->Count(), before + 1);
      EXPECT_EQ(app->m_mode, MODE_USER_LIST);
      continue;
    }
    EXPECT_EQ(model->m_userList->Count(), before);
    EXPECT_EQ(app->m_mode, MODE_NEW_USER);
    Draw();
    auto texts = Calls("DrawTextA");
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[1].text, c.notice);
    EXPECT_EQ(texts[1].dst.top, kEntryY + 150);
    Key(0, 0);  // typing again puts the line away
    Draw();
    EXPECT_EQ(Calls("DrawTextA").size(), 1u);
  }
}

TEST_F(NewUserScreen, AFullListRefusesTheUserAndTheScreenGoesOn) {
  AddUsers(128);
  Type("LATE");
  Confirm();
  EXPECT_EQ(app->m_mode, MODE_USER_LIST);
  EXPECT_EQ(model->m_userList->Count(), 128);
  for (int i = 0; i < 128; ++i) EXPECT_STRNE(UserAt(i)->m_username, "LATE");
  EXPECT_EQ(app->m_selectedUser, 0);
}

TEST_F(NewUserScreen, CancelReturnsToTheListWithTheNameCleared) {
  Type("GONE");
  Cancel();
  EXPECT_EQ(app->m_mode, MODE_USER_LIST);
  EXPECT_STREQ(app->m_newUserName, "");
  EXPECT_EQ(model->m_userList->Count(), 0);
}

TEST_F(NewUserScreen, ThePageKeyOffersAccentsAndDigitsTypedAsUtf8) {
  Key(1, 0);  // A
  Key(2, 8);  // to the capitals with accents and the digits
  Key(0, 0);  // Ä
  Key(0, 3);  // ß
  Key(1, 5);  // Œ
  Key(1, 6);  // 1
  Key(2, 6);  // 0
  Key(2, 8);  // to the small letters with accents
  Key(0, 4);  // é
  Key(1, 5);  // œ
  Key(2, 8);  // back to the letters
  Key(0, 0);  // Q
  EXPECT_STREQ(app->m_newUserName,
               "A\xC3\x84\xC3\x9F\xC5\x92"
               "10\xC3\xA9\xC5\x93Q");
  // Delete takes whole characters, and the limit counts characters, not bytes.
  Key(1, 9);
  Key(1, 9);
  EXPECT_STREQ(app->m_newUserName,
               "A\xC3\x84\xC3\x9F\xC5\x92"
               "10\xC3\xA9");
  app->m_newUserName[0] = '\0';
  Key(2, 8);
  for (int i = 0; i < 30; ++i) Key(0, 0);
  EXPECT_EQ(std::strlen(app->m_newUserName), 48u);  // 24 two-byte characters

  // The page shows its keys, and the name is stored as typed.
  Draw();
  bool drewUmlaut = false;
  for (const auto& call : Calls("DrawLegibleText")) drewUmlaut |= call.text == "\xC3\x84";
  EXPECT_TRUE(drewUmlaut);
  Confirm();
  ASSERT_EQ(model->m_userList->Count(), 1);
  EXPECT_STREQ(UserAt(0)->m_username, app->m_newUserName);
}

}  // namespace
