// The Set Relationships dialog: its procedure on the embedded template, and its running from
// the menu's pending action with the switches and the related marks.
#include "interact/relationships_dialog.h"

#include <array>

#include "interact/user_screen_fixture.h"

namespace {

constexpr std::array<int, 4> kBoxes{IDC_THEMES, IDC_CHARACTERS, IDC_LOCATION, IDC_TIMES};

intptr_t RunDialog(LPARAM mask) {
  return DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_RELATIONSHIPS), nullptr,
                         RelationshipsDialogProc, mask);
}

std::array<bool, 4> Checks(HWND dialog) {
  std::array<bool, 4> out{};
  for (size_t i = 0; i < kBoxes.size(); ++i)
    out[i] = SendDlgItemMessageA(dialog, kBoxes[i], BM_GETCHECK, 0, 0) == BST_CHECKED;
  return out;
}

TEST(RelationshipsDialogProc, EveryMaskChecksItsBoxesAndOkReturnsItPlusOne) {
  headless::Reset();
  for (int mask = 0; mask < 16; ++mask) {
    SCOPED_TRACE(mask);
    std::array<bool, 4> seen{};
    headless::QueueDialogAnswer([&](HWND dialog) {
      seen = Checks(dialog);
      SendMessageA(dialog, WM_COMMAND, IDOK, 0);
    });
    EXPECT_EQ(RunDialog(mask), mask + 1);
    // Bit values: themes 1, characters 2, locations 4, times 8.
    EXPECT_EQ(seen, (std::array<bool, 4>{(mask & 1) != 0, (mask & 2) != 0, (mask & 4) != 0,
                                         (mask & 8) != 0}));
  }
}

TEST(RelationshipsDialogProc, BoxesChangedBeforeOkMakeTheMaskAndCancelGivesZero) {
  headless::Reset();
  headless::QueueDialogAnswer([](HWND dialog) {
    SendDlgItemMessageA(dialog, IDC_THEMES, BM_SETCHECK, BST_UNCHECKED, 0);
    SendDlgItemMessageA(dialog, IDC_LOCATION, BM_SETCHECK, BST_CHECKED, 0);
    SendMessageA(dialog, WM_COMMAND, IDOK, 0);
  });
  EXPECT_EQ(RunDialog(REL_THEMES | REL_TIMES), REL_LOCATIONS + REL_TIMES + 1);

  headless::QueueDialogAnswer([](HWND dialog) {
    SendDlgItemMessageA(dialog, IDC_CHARACTERS, BM_SETCHECK, BST_CHECKED, 0);
    SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
  });
  EXPECT_EQ(RunDialog(0), 0);
  EXPECT_EQ(RunDialog(15), 0);  // closed with the close box
}

// Three content items: the chosen one shares theme 1 with item 2 and time 4 with item 3.
class RelationshipsFromMenu : public usertest::UserScreenFixture {
 protected:
  void SetUp() override {
    UserScreenFixture::SetUp();
    model->m_contentList = new CXmlItemList;
    for (int id = 1; id <= 3; ++id) {
      CContentItem c;
      c.m_id = id;
      c.m_regionId = 7;
      if (id != 3) {
        c.m_themes[1] = true;
        c.m_themeCount = 1;
      }
      if (id != 2) {
        c.m_times[4] = true;
        c.m_timeCount = 1;
      }
      model->m_contentList->Add(c);
    }
    model->m_selectedContent = Item(1);
    System()->m_themeRels = true;
    System()->m_timeRels = true;
    model->MarkRelatedContent();
  }
  CContentItem* Item(int id) {
    return static_cast<CContentItem*>(model->m_contentList->FindById(id));
  }
  CSystemItem* System() { return static_cast<CSystemItem*>(model->m_systemList->At(0)); }
  std::array<bool, 4> Switches() {
    return {System()->m_themeRels, System()->m_characterRels, System()->m_locationRels,
            System()->m_timeRels};
  }
  void Run() {
    model->m_pendingAction = ACTION_RELATIONSHIPS;
    app->PerformPendingAction();
  }
};

TEST_F(RelationshipsFromMenu, OkWithoutChangesKeepsTheSwitches) {
  ASSERT_TRUE(Item(2)->m_related);
  ASSERT_TRUE(Item(3)->m_related);
  std::array<bool, 4> seen{};
  headless::QueueDialogAnswer([&](HWND dialog) {
    seen = Checks(dialog);
    SendMessageA(dialog, WM_COMMAND, IDOK, 0);
  });
  Run();
  EXPECT_EQ(headless::DialogCount(), 1);
  EXPECT_EQ(seen, (std::array<bool, 4>{true, false, false, true}));
  EXPECT_EQ(Switches(), (std::array<bool, 4>{true, false, false, true}));
  EXPECT_TRUE(Item(2)->m_related);
  EXPECT_TRUE(Item(3)->m_related);
}

TEST_F(RelationshipsFromMenu, UncheckingEverythingClearsTheSwitchesAndEveryMarkAtOnce) {
  headless::QueueDialogAnswer([](HWND dialog) {
    for (int box : kBoxes) SendDlgItemMessageA(dialog, box, BM_SETCHECK, BST_UNCHECKED, 0);
    SendMessageA(dialog, WM_COMMAND, IDOK, 0);
  });
  Run();
  EXPECT_EQ(Switches(), (std::array<bool, 4>{false, false, false, false}));
  for (int id = 1; id <= 3; ++id) EXPECT_FALSE(Item(id)->m_related) << id;
}

TEST_F(RelationshipsFromMenu, NewSwitchesRemarkAtOnce) {
  // Times only: item 2 (theme only) loses its mark.
  headless::QueueDialogAnswer([](HWND dialog) {
    SendDlgItemMessageA(dialog, IDC_THEMES, BM_SETCHECK, BST_UNCHECKED, 0);
    SendMessageA(dialog, WM_COMMAND, IDOK, 0);
  });
  Run();
  EXPECT_EQ(Switches(), (std::array<bool, 4>{false, false, false, true}));
  EXPECT_FALSE(Item(2)->m_related);
  EXPECT_TRUE(Item(3)->m_related);
}

TEST_F(RelationshipsFromMenu, CancelAndTheCloseBoxChangeNothing) {
  headless::QueueDialogAnswer([](HWND dialog) {
    for (int box : kBoxes) SendDlgItemMessageA(dialog, box, BM_SETCHECK, BST_UNCHECKED, 0);
    SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
  });
  Run();
  Run();  // no answer: the close box
  EXPECT_EQ(headless::DialogCount(), 2);
  EXPECT_EQ(Switches(), (std::array<bool, 4>{true, false, false, true}));
  EXPECT_TRUE(Item(2)->m_related);
  EXPECT_TRUE(Item(3)->m_related);
}

}  // namespace
