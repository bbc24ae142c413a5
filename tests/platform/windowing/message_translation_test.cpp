// Input as messages: key data bits, mouse coordinates, the double-click rule, and the close
// commands, on the headless backend (which feeds the same translator as the real one).
#include <gtest/gtest.h>

#include "platform/graphics/gapi.h"
#include "window_test_util.h"

namespace {

using wintest::Drain;
using wintest::MakeWindow;

class MessageTranslation : public ::testing::Test {
 protected:
  void SetUp() override {
    headless::Reset();
    headless::SetClock(1000);
    wintest::Log().clear();
  }
};

TEST_F(MessageTranslation, KeyDataMarksAutoRepeatAndRelease) {
  ASSERT_NE(MakeWindow(), nullptr);
  Drain();
  headless::InjectKeyDown(VK_LEFT);
  headless::InjectKeyDown(VK_LEFT, true);
  headless::InjectKeyDown(VK_LEFT, true);
  headless::InjectKeyUp(VK_LEFT);
  auto msgs = Drain({WM_KEYDOWN, WM_KEYUP});
  ASSERT_EQ(msgs.size(), 4u);
  EXPECT_EQ(msgs[0].wParam, VK_LEFT);
  EXPECT_EQ(msgs[0].lParam & 0x40000000, 0);  // first press
  EXPECT_NE(msgs[1].lParam & 0x40000000, 0);  // auto-repeat
  EXPECT_NE(msgs[2].lParam & 0x40000000, 0);
  EXPECT_EQ(msgs[3].message, WM_KEYUP);
  EXPECT_EQ(static_cast<uint32_t>(msgs[3].lParam) & 0xC0000000u, 0xC0000000u);
}

TEST_F(MessageTranslation, KeyListFollowsPressAndRelease) {
  ASSERT_NE(MakeWindow(), nullptr);
  CGapiInput input;
  GDKEYLIST keys{};
  headless::InjectKeyDown(VK_ESCAPE);
  headless::InjectKeyDown('A');
  Drain();
  input.GetKeyList(&keys);
  EXPECT_TRUE(keys.down[VK_ESCAPE]);
  EXPECT_TRUE(keys.down['A']);
  headless::InjectKeyUp(VK_ESCAPE);
  Drain();
  input.GetKeyList(&keys);
  EXPECT_FALSE(keys.down[VK_ESCAPE]);
  EXPECT_TRUE(keys.down['A']);
  // A closed input (suspended frame) reports nothing down.
  input.CloseInput();
  input.GetKeyList(&keys);
  EXPECT_FALSE(keys.down['A']);
}

TEST_F(MessageTranslation, MouseCoordinatesArePackedAndSignExtendBack) {
  HWND hwnd = MakeWindow();
  ASSERT_NE(hwnd, nullptr);
  Drain();
  SetCapture(hwnd);  // with the capture, a drag may leave the window to the left and above
  headless::InjectMouseDown(12, 34);
  headless::InjectMouseMove(-5, -300);
  headless::InjectMouseUp(-7, 2000);
  auto msgs = Drain({WM_LBUTTONDOWN, WM_MOUSEMOVE, WM_LBUTTONUP});
  ASSERT_EQ(msgs.size(), 3u);
  EXPECT_EQ(GET_X_LPARAM(msgs[0].lParam), 12);
  EXPECT_EQ(GET_Y_LPARAM(msgs[0].lParam), 34);
  EXPECT_EQ(msgs[0].wParam, MK_LBUTTON);
  EXPECT_EQ(GET_X_LPARAM(msgs[1].lParam), -5);
  EXPECT_EQ(GET_Y_LPARAM(msgs[1].lParam), -300);
  EXPECT_EQ(msgs[1].wParam, MK_LBUTTON);  // button still held
  EXPECT_EQ(GET_X_LPARAM(msgs[2].lParam), -7);
  EXPECT_EQ(GET_Y_LPARAM(msgs[2].lParam), 2000);
  for (const MSG& m : msgs) EXPECT_EQ(m.hwnd, hwnd);
  ReleaseCapture();
}

TEST_F(MessageTranslation, WaitingMouseMovesCollapseToTheLatest) {
  ASSERT_NE(MakeWindow(), nullptr);
  Drain();
  headless::InjectMouseMove(1, 1);
  headless::InjectMouseMove(2, 2);
  headless::InjectMouseMove(3, 4);
  headless::InjectMouseDown(3, 4);
  headless::InjectMouseMove(5, 6);
  auto msgs = Drain({WM_MOUSEMOVE, WM_LBUTTONDOWN});
  ASSERT_EQ(msgs.size(), 3u);
  EXPECT_EQ(msgs[0].message, WM_MOUSEMOVE);
  EXPECT_EQ(GET_X_LPARAM(msgs[0].lParam), 3);
  EXPECT_EQ(GET_Y_LPARAM(msgs[0].lParam), 4);
  EXPECT_EQ(msgs[1].message, WM_LBUTTONDOWN);
  EXPECT_EQ(GET_X_LPARAM(msgs[2].lParam), 5);
}

std::vector<UINT> ClickKinds() {
  std::vector<UINT> kinds;
  for (const MSG& m : Drain({WM_LBUTTONDOWN, WM_LBUTTONDBLCLK})) kinds.push_back(m.message);
  return kinds;
}

void Click(int x, int y) {
  headless::InjectMouseDown(x, y);
  headless::InjectMouseUp(x, y);
}

TEST_F(MessageTranslation, DoubleClicksOnlyForClassesThatAskForThem) {
  ASSERT_NE(MakeWindow(CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS), nullptr);
  Drain();
  Click(100, 100);
  headless::AdvanceClock(200);
  Click(101, 99);
  headless::AdvanceClock(200);
  Click(101, 99);  // a third click starts a new pair
  EXPECT_EQ(ClickKinds(),
            (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONDBLCLK, WM_LBUTTONDOWN}));

  headless::Reset();
  ASSERT_NE(MakeWindow(), nullptr);
  Drain();
  Click(100, 100);
  headless::AdvanceClock(200);
  Click(100, 100);
  EXPECT_EQ(ClickKinds(), (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONDOWN}));
}

TEST_F(MessageTranslation, SlowOrDistantSecondClickIsAPlainPress) {
  ASSERT_NE(MakeWindow(CS_DBLCLKS), nullptr);
  Drain();
  Click(100, 100);
  headless::AdvanceClock(501);
  Click(100, 100);  // too late
  headless::AdvanceClock(100);
  Click(110, 100);  // too far
  EXPECT_EQ(ClickKinds(),
            (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONDOWN, WM_LBUTTONDOWN}));
}

TEST_F(MessageTranslation, CloseButtonAndAltF4GiveScClose) {
  ASSERT_NE(MakeWindow(), nullptr);
  Drain();
  headless::InjectClose();
  headless::InjectKeyDown(VK_MENU);
  headless::InjectKeyDown(VK_F4);
  headless::InjectKeyUp(VK_F4);
  headless::InjectKeyUp(VK_MENU);
  auto msgs = Drain({WM_SYSCOMMAND, WM_KEYDOWN});
  ASSERT_EQ(msgs.size(), 2u);
  for (const MSG& m : msgs) {
    EXPECT_EQ(m.message, WM_SYSCOMMAND);
    EXPECT_EQ(m.wParam & 0xFFF0, SC_CLOSE);
  }
}

TEST_F(MessageTranslation, MinimiseAndRestoreGiveSizeAndActivation) {
  ASSERT_NE(MakeWindow(), nullptr);
  Drain();
  headless::InjectMinimize();
  headless::InjectMinimize();  // already minimised: nothing new
  headless::InjectRestore();
  auto msgs = Drain({WM_SIZE, WM_ACTIVATE});
  ASSERT_EQ(msgs.size(), 4u);
  EXPECT_EQ(msgs[0].message, WM_SIZE);
  EXPECT_EQ(msgs[0].wParam, SIZE_MINIMIZED);
  EXPECT_EQ(msgs[1].message, WM_ACTIVATE);
  EXPECT_EQ(LOWORD(msgs[1].wParam), WA_INACTIVE);
  EXPECT_EQ(msgs[2].wParam, SIZE_RESTORED);
  EXPECT_EQ(msgs[3].message, WM_ACTIVATE);
  EXPECT_NE(LOWORD(msgs[3].wParam), WA_INACTIVE);
}

}  // namespace
