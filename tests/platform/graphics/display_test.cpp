// The display on the headless backend: back buffer, flips that keep the picture, and the
// mapping of window coordinates to logical ones after the window is resized.
#include <gtest/gtest.h>

#include "platform/graphics/gapi.h"
#include "platform/windowing/window_test_util.h"

namespace {

using wintest::Drain;

class Display : public ::testing::Test {
 protected:
  void SetUp() override {
    headless::Reset();
    hwnd = wintest::MakeWindow();
    ASSERT_NE(hwnd, nullptr);
    ASSERT_EQ(display.OpenDisplay(4, hwnd, 800, 600, 0, 0, 0, 75), GD_OK);
    Drain();  // the size the display gave the window
  }
  void TearDown() override { display.CloseDisplay(); }

  POINT Map(int x, int y) {
    POINT p{x, y};
    EXPECT_EQ(display.DeviceToLogical(&p), GD_OK);
    return p;
  }

  HWND hwnd = nullptr;
  CGapiDisplay display;
};

TEST_F(Display, BackBufferIsLogicalSizeAndKeepsItsPictureAcrossFlips) {
  CGapiSurface back;
  ASSERT_EQ(display.GetBackBuffer(&back), GD_OK);
  EXPECT_EQ(back.GetWidth(), 800u);
  EXPECT_EQ(back.GetHeight(), 600u);
  EXPECT_EQ(headless::BackBuffer(), &back);
  RECT r{10, 10, 20, 20};
  back.FillRect(&r, 0x123456, 0, nullptr);
  EXPECT_EQ(display.Flip(), GD_OK);
  EXPECT_EQ(display.Flip(), GD_OK);
  EXPECT_EQ(headless::FlipCount(), 2);
  EXPECT_EQ(back.GetPixel(15, 15), 0x123456u);
  EXPECT_EQ(display.SurfacesAreLost(), GD_OK);

  // A suspended display shows nothing new.
  display.SuspendDisplay();
  display.Flip();
  EXPECT_EQ(headless::FlipCount(), 2);
  display.ResumeDisplay();
  display.Flip();
  EXPECT_EQ(headless::FlipCount(), 3);
  display.CloseDisplay();
  EXPECT_EQ(headless::BackBuffer(), nullptr);
  EXPECT_NE(display.Flip(), GD_OK);
}

TEST_F(Display, DeviceToLogicalFollowsTheWindowSize) {
  POINT p = Map(123, 456);
  EXPECT_EQ(p.x, 123);
  EXPECT_EQ(p.y, 456);

  headless::SetClientSize(1600, 1200);  // twice the size, same aspect
  auto sizes = Drain({WM_SIZE});
  ASSERT_EQ(sizes.size(), 1u);
  EXPECT_EQ(LOWORD(sizes[0].lParam), 1600);
  EXPECT_EQ(HIWORD(sizes[0].lParam), 1200);
  p = Map(1599, 1199);
  EXPECT_EQ(p.x, 799);
  EXPECT_EQ(p.y, 599);

  headless::SetClientSize(1000, 600);  // wider: bars left and right, 100 pixels each
  p = Map(100, 0);
  EXPECT_EQ(p.x, 0);
  EXPECT_EQ(p.y, 0);
  p = Map(500, 300);
  EXPECT_EQ(p.x, 400);
  EXPECT_EQ(p.y, 300);
  p = Map(50, 300);  // on the bar: left of the picture, not clamped onto it
  EXPECT_LT(p.x, 0);

  headless::SetClientSize(400, 500);  // taller: bars above and below, half scale
  p = Map(200, 250);
  EXPECT_EQ(p.x, 400);
  EXPECT_EQ(p.y, 300);
  p = Map(0, 100);  // the picture starts 100 pixels down
  EXPECT_EQ(p.y, 0);
}

TEST_F(Display, SecondDisplayOnTheSameProcessIsRefused) {
  CGapiDisplay other;
  EXPECT_NE(other.OpenDisplay(4, hwnd, 800, 600, 0, 0, 0, 0), GD_OK);
  EXPECT_NE(display.OpenDisplay(4, nullptr, 800, 600, 0, 0, 0, 0), GD_OK);
}

TEST_F(Display, SystemFontIsOwnedByTheDisplayAndStable) {
  CGapiBitmapFont* font = display.GetSystemFontBorder();
  ASSERT_NE(font, nullptr);
  EXPECT_EQ(display.GetSystemFontBorder(), font);
  DWORD status = 0xFFFFFFFFu;
  EXPECT_EQ(display.GetHWStatus(&status), GD_OK);
  EXPECT_EQ(status & 0x10, 0u);  // no hardware pacing: the frame timer paces
}

}  // namespace
