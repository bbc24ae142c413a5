// The modal template dialog on the headless backend: the procedure protocol, the check
// boxes, the close box, and the failure value.
#include <gtest/gtest.h>

#include <vector>

#include "platform/backend_headless/headless.h"
#include "platform/windowing/win_api.h"

namespace {

struct Seen {
  UINT msg;
  WPARAM wParam;
  LPARAM lParam;
};
std::vector<Seen> g_seen;
intptr_t g_endWith = 0;
bool g_handleClose = false;
bool g_neverEnd = false;

// Records every message; OK ends with g_endWith, Cancel with 0.
intptr_t ProbeProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
  g_seen.push_back({msg, wParam, lParam});
  if (msg == WM_INITDIALOG) return TRUE;
  if (msg == WM_CLOSE) return g_handleClose ? TRUE : FALSE;
  if (msg == WM_COMMAND && !g_neverEnd) {
    if (LOWORD(wParam) == IDOK) EndDialog(dialog, g_endWith);
    if (LOWORD(wParam) == IDCANCEL) EndDialog(dialog, 0);
  }
  return FALSE;
}

class DialogBox : public ::testing::Test {
 protected:
  void SetUp() override {
    headless::Reset();
    g_seen.clear();
    g_endWith = 0;
    g_handleClose = false;
    g_neverEnd = false;
  }

  static intptr_t Run(LPARAM param = 0) {
    return DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(113), nullptr, ProbeProc,
                           param);
  }

  static std::vector<UINT> Messages() {
    std::vector<UINT> out;
    for (const Seen& s : g_seen) out.push_back(s.msg);
    return out;
  }
};

TEST_F(DialogBox, InitialisesWithTheParameterAndReturnsWhatOkEndsWith) {
  g_endWith = 42;
  HWND seenDialog = nullptr;
  headless::QueueDialogAnswer([&](HWND dialog) {
    seenDialog = dialog;
    SendMessageA(dialog, WM_COMMAND, IDOK, 0);
  });
  EXPECT_EQ(Run(0x1234), 42);
  EXPECT_EQ(headless::DialogCount(), 1);
  ASSERT_FALSE(g_seen.empty());
  EXPECT_EQ(g_seen[0].msg, WM_INITDIALOG);
  EXPECT_EQ(g_seen[0].lParam, 0x1234);
  EXPECT_NE(g_seen[0].wParam, 0u);  // the first control that takes the focus
  EXPECT_EQ(Messages(), (std::vector<UINT>{WM_INITDIALOG, WM_COMMAND}));
  EXPECT_NE(seenDialog, nullptr);
  // Once the dialog is over its handles are gone.
  EXPECT_EQ(GetDlgItem(seenDialog, IDOK), nullptr);
  EXPECT_FALSE(EndDialog(seenDialog, 3));
}

TEST_F(DialogBox, CheckBoxesKeepTheirStateAndPushButtonsHaveNone) {
  std::vector<LRESULT> replies;
  headless::QueueDialogAnswer([&](HWND dialog) {
    replies.push_back(SendDlgItemMessageA(dialog, 1001, BM_GETCHECK, 0, 0));
    SendDlgItemMessageA(dialog, 1001, BM_SETCHECK, BST_CHECKED, 0);
    replies.push_back(SendDlgItemMessageA(dialog, 1001, BM_GETCHECK, 0, 0));
    replies.push_back(SendDlgItemMessageA(dialog, 1000, BM_GETCHECK, 0, 0));
    // Through the control's own handle as well.
    HWND times = GetDlgItem(dialog, 1003);
    EXPECT_NE(times, nullptr);
    SendMessageA(times, BM_SETCHECK, BST_CHECKED, 0);
    replies.push_back(SendDlgItemMessageA(dialog, 1003, BM_GETCHECK, 0, 0));
    SendMessageA(times, BM_SETCHECK, BST_UNCHECKED, 0);
    replies.push_back(SendMessageA(times, BM_GETCHECK, 0, 0));
    SendDlgItemMessageA(dialog, IDOK, BM_SETCHECK, BST_CHECKED, 0);
    replies.push_back(SendDlgItemMessageA(dialog, IDOK, BM_GETCHECK, 0, 0));
    EXPECT_EQ(GetDlgItem(dialog, 999), nullptr);
    EXPECT_EQ(SendDlgItemMessageA(dialog, 999, BM_GETCHECK, 0, 0), 0);
    SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
  });
  EXPECT_EQ(Run(), 0);
  EXPECT_EQ(replies, (std::vector<LRESULT>{BST_UNCHECKED, BST_CHECKED, BST_UNCHECKED, BST_CHECKED,
                                           BST_UNCHECKED, 0}));
  // Setting a check sends the procedure nothing.
  EXPECT_EQ(Messages(), (std::vector<UINT>{WM_INITDIALOG, WM_COMMAND}));
}

TEST_F(DialogBox, TheCloseBoxSendsCancelUnlessTheProcedureHandlesIt) {
  // No answer queued: the user closes the dialog.
  EXPECT_EQ(Run(), 0);
  EXPECT_EQ(Messages(), (std::vector<UINT>{WM_INITDIALOG, WM_CLOSE, WM_COMMAND}));
  EXPECT_EQ(LOWORD(g_seen[2].wParam), IDCANCEL);

  // An answer that leaves the dialog open ends the same way.
  g_seen.clear();
  headless::QueueDialogAnswer([](HWND dialog) {
    SendDlgItemMessageA(dialog, 1002, BM_SETCHECK, BST_CHECKED, 0);
  });
  EXPECT_EQ(Run(), 0);
  EXPECT_EQ(Messages(), (std::vector<UINT>{WM_INITDIALOG, WM_CLOSE, WM_COMMAND}));
  EXPECT_EQ(headless::DialogCount(), 2);
}

TEST_F(DialogBox, ADialogThatCannotBeRunGivesMinusOneWithoutHanging) {
  // The procedure handles WM_CLOSE itself and so never ends without a user.
  g_handleClose = true;
  EXPECT_EQ(Run(), -1);
  EXPECT_EQ(Messages(), (std::vector<UINT>{WM_INITDIALOG, WM_CLOSE}));

  g_handleClose = false;
  g_neverEnd = true;
  EXPECT_EQ(Run(), -1);

  // No such template, no procedure.
  EXPECT_EQ(DialogBoxParamA(nullptr, MAKEINTRESOURCEA(4321), nullptr, ProbeProc, 0), -1);
  EXPECT_EQ(DialogBoxParamA(nullptr, MAKEINTRESOURCEA(113), nullptr, nullptr, 0), -1);
  EXPECT_EQ(EndDialog(nullptr, 1), FALSE);
  EXPECT_EQ(GetDlgItem(nullptr, IDOK), nullptr);
}

TEST_F(DialogBox, EndingDuringInitialisationSkipsTheAnswer) {
  bool answered = false;
  headless::QueueDialogAnswer([&](HWND) { answered = true; });
  auto endAtOnce = [](HWND dialog, UINT msg, WPARAM, LPARAM) -> intptr_t {
    if (msg == WM_INITDIALOG) EndDialog(dialog, 5);
    return FALSE;
  };
  EXPECT_EQ(DialogBoxParamA(nullptr, MAKEINTRESOURCEA(113), nullptr, endAtOnce, 0), 5);
  EXPECT_FALSE(answered);
  // The answer is still waiting for the next dialog; a reset forgets it.
  headless::Reset();
  EXPECT_EQ(headless::DialogCount(), 0);
  EXPECT_EQ(Run(), 0);
  EXPECT_FALSE(answered);
}

}  // namespace
