// Classes and windows: creation with WM_CREATE, destruction, the default close path, the
// queue's order with WM_QUIT, and geometry.
#include <gtest/gtest.h>

#include "platform/graphics/gapi.h"
#include "window_test_util.h"

namespace {

using wintest::Drain;
using wintest::Log;

class WindowLifecycle : public ::testing::Test {
 protected:
  void SetUp() override {
    headless::Reset();
    Log().clear();
    wintest::TakeClose() = true;
  }
  void TearDown() override { wintest::TakeClose() = true; }
};

void* g_createParam = nullptr;
LRESULT RefusingProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_CREATE) return -1;
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}
LRESULT ParamProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_CREATE) g_createParam = reinterpret_cast<void*>(lParam);
  return wintest::RecordingProc(hwnd, msg, wParam, lParam);
}

WNDCLASSA ClassOf(const char* name, WNDPROC proc) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = proc;
  wc.lpszClassName = name;
  return wc;
}

TEST_F(WindowLifecycle, CreateSendsWmCreateFirstWithTheParameter) {
  WNDCLASSA wc = ClassOf("Param WndCls", ParamProc);
  ASSERT_NE(RegisterClassA(&wc), 0);
  EXPECT_EQ(RegisterClassA(&wc), 0) << "a class name is registered once";
  int owner = 0;
  HWND hwnd = CreateWindowExA(0, "param wndcls", "T", WS_CAPTION, CW_USEDEFAULT, CW_USEDEFAULT,
                              0, 0, nullptr, nullptr, nullptr, &owner);
  ASSERT_NE(hwnd, nullptr);
  ASSERT_FALSE(Log().empty());
  EXPECT_EQ(Log()[0].msg, WM_CREATE);
  EXPECT_EQ(Log()[0].hwnd, hwnd);
  EXPECT_EQ(g_createParam, &owner);

  EXPECT_EQ(CreateWindowExA(0, "No such class", "T", 0, 0, 0, 10, 10, nullptr, nullptr,
                            nullptr, nullptr),
            nullptr);
  WNDCLASSA refusing = ClassOf("Refusing WndCls", RefusingProc);
  ASSERT_NE(RegisterClassA(&refusing), 0);
  EXPECT_EQ(CreateWindowExA(0, "Refusing WndCls", "T", 0, 0, 0, 10, 10, nullptr, nullptr,
                            nullptr, nullptr),
            nullptr);
}

TEST_F(WindowLifecycle, DefaultCloseDestroysAndQuitComesAfterPostedMessages) {
  wintest::TakeClose() = false;
  HWND hwnd = wintest::MakeWindow();
  ASSERT_NE(hwnd, nullptr);
  Drain();
  PostMessageA(hwnd, WM_APP_SUSPEND, 0, 0);
  PostMessageA(hwnd, WM_GPS_NOTIFY, 7, 0);
  headless::InjectClose();
  auto msgs = Drain({WM_APP_SUSPEND, WM_GPS_NOTIFY, WM_SYSCOMMAND});
  ASSERT_EQ(msgs.size(), 3u);
  EXPECT_EQ(msgs[0].message, WM_APP_SUSPEND);
  EXPECT_EQ(msgs[1].message, WM_GPS_NOTIFY);
  EXPECT_EQ(msgs[2].message, WM_SYSCOMMAND);
  // SC_CLOSE by default: WM_CLOSE, then the window is destroyed.
  bool sawClose = false;
  bool sawDestroy = false;
  for (const auto& s : Log()) {
    sawClose = sawClose || s.msg == WM_CLOSE;
    sawDestroy = sawDestroy || s.msg == WM_DESTROY;
  }
  EXPECT_TRUE(sawClose);
  EXPECT_TRUE(sawDestroy);
  EXPECT_FALSE(PostMessageA(hwnd, WM_APP_SUSPEND, 0, 0)) << "the handle is gone";
  EXPECT_FALSE(DestroyWindow(hwnd));

  PostMessageA(nullptr, WM_USER + 5, 0, 0);
  PostQuitMessage(3);
  PostMessageA(nullptr, WM_USER + 6, 0, 0);
  MSG msg;
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, WM_USER + 5);
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, WM_USER + 6);
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, WM_QUIT);
  EXPECT_EQ(msg.wParam, 3u);
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(WindowLifecycle, DestroyingDropsTheWindowsQueuedMessages) {
  HWND hwnd = wintest::MakeWindow();
  ASSERT_NE(hwnd, nullptr);
  headless::InjectMouseDown(1, 1);
  PostMessageA(hwnd, WM_APP_SUSPEND, 0, 0);
  Log().clear();
  DestroyWindow(hwnd);
  ASSERT_EQ(Log().size(), 1u);
  EXPECT_EQ(Log()[0].msg, WM_DESTROY);
  EXPECT_TRUE(Drain().empty());
}

TEST_F(WindowLifecycle, ZeroSizedWindowGetsTheLogicalClientAreaFromTheDisplay) {
  HWND hwnd = wintest::MakeWindow();
  ASSERT_NE(hwnd, nullptr);
  // What the frame does: move the window to its own corner with no size.
  RECT rc;
  ASSERT_TRUE(GetWindowRect(hwnd, &rc));
  MoveWindow(hwnd, rc.left, rc.top, 0, 0, TRUE);
  RECT client;
  GetClientRect(hwnd, &client);
  EXPECT_EQ(client.right, 0);
  EXPECT_EQ(client.bottom, 0);

  CGapiDisplay display;
  ASSERT_EQ(display.OpenDisplay(4, hwnd, 800, 600, 0, 0, 0, 75), GD_OK);
  GetClientRect(hwnd, &client);
  EXPECT_EQ(client.right, 800);
  EXPECT_EQ(client.bottom, 600);
  RECT outer;
  GetWindowRect(hwnd, &outer);
  EXPECT_GT(outer.right - outer.left, 800) << "the window rectangle includes the frame";
  EXPECT_EQ(outer.left, rc.left) << "the window stays where it was";
  EXPECT_EQ(outer.top, rc.top);

  // Screen and client coordinates differ by the client area's position.
  headless::InjectMouseMove(30, 40);
  Drain();
  POINT pt;
  ASSERT_TRUE(GetCursorPos(&pt));
  ASSERT_TRUE(ScreenToClient(hwnd, &pt));
  EXPECT_EQ(pt.x, 30);
  EXPECT_EQ(pt.y, 40);
  display.CloseDisplay();
}

TEST_F(WindowLifecycle, RectHelpersExcludeRightAndBottom) {
  RECT rc;
  SetRect(&rc, 10, 20, 30, 40);
  EXPECT_TRUE(PtInRect(&rc, POINT{10, 20}));
  EXPECT_TRUE(PtInRect(&rc, POINT{29, 39}));
  EXPECT_FALSE(PtInRect(&rc, POINT{30, 39}));
  EXPECT_FALSE(PtInRect(&rc, POINT{29, 40}));
  EXPECT_FALSE(PtInRect(&rc, POINT{9, 20}));
}

}  // namespace
