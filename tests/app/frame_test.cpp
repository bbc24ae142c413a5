// The frame: start-up failures, error texts, message translation, suspend and resume,
// skipped frames, drawing switch, and the end of the loop.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <vector>

#include "app/app_frame.h"
#include "app_test_support.h"
#include "platform/backend_headless/headless.h"
#include "platform/windowing/win_api.h"

namespace {

using apptest::Pass;

// Records what the frame calls; a script runs after each processed frame.
class ProbeFrame : public CAppFrame {
 public:
  explicit ProbeFrame(const AppConfig& config) : CAppFrame(config) {}

  HRESULT OnInit() override {
    ++inits;
    return 0;
  }
  HRESULT OnSuspend() override {
    ++suspends;
    return 0;
  }
  HRESULT OnResume() override {
    ++resumes;
    return 0;
  }
  HRESULT ProcessNextFrame(CGapiSurface*, uint32_t flags) override {
    frameFlags.push_back(flags);
    if (script) script(static_cast<int>(frameFlags.size()));
    return 0;
  }
  HRESULT KeyDown(UINT vk, GDKEYLIST*) override {
    keysDown.push_back(vk);
    return 0;
  }
  HRESULT KeyUp(UINT vk, GDKEYLIST*) override {
    keysUp.push_back(vk);
    return 0;
  }
  HRESULT StylusDown(LONG x, LONG y) override {
    downs.push_back({x, y});
    return 0;
  }
  HRESULT StylusUp(LONG x, LONG y) override {
    ups.push_back({x, y});
    return 0;
  }
  HRESULT StylusMove(LONG x, LONG y) override {
    moves.push_back({x, y});
    return 0;
  }
  LRESULT WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) override {
    if (msg == WM_DESTROY) boxesAtDestroy = static_cast<int>(headless::MessageBoxes().size());
    return CAppFrame::WindowProc(hwnd, msg, wParam, lParam);
  }
  bool OnClose(bool mayAsk) override {
    closes.push_back(mayAsk);
    return closes.size() > keepOpenFor;
  }

  int inits = 0;
  int suspends = 0;
  int resumes = 0;
  int boxesAtDestroy = -1;
  std::vector<uint32_t> frameFlags;
  std::vector<UINT> keysDown;
  std::vector<UINT> keysUp;
  std::vector<POINT> downs;
  std::vector<POINT> ups;
  std::vector<POINT> moves;
  std::function<void(int frame)> script;
  std::vector<bool> closes;  // mayAsk of each OnClose
  size_t keepOpenFor = 0;    // OnClose answers false this many times
};

class FrameTest : public ::testing::Test {
 protected:
  void SetUp() override { apptest::ResetAll(); }

  // Window and display open and the timer started, as Run has them before its loop.
  void Open(ProbeFrame& frame) {
    ASSERT_EQ(frame.CreateMainWindow(), 0);
    ASSERT_EQ(frame.OpenDisplay(), 0);
    frame.m_timer.StartTimer(frame.m_config.m_frameRate);
  }
  void Close(ProbeFrame& frame) {
    frame.CloseDisplay();
    frame.CloseWindow();
    apptest::DrainMessages();
  }
};

TEST_F(FrameTest, InvalidConfigurationFailsBeforeAnyWindow) {
  AppConfig noInstance = apptest::ProgramConfig();
  noInstance.m_instance = nullptr;
  AppConfig noTitle = apptest::ProgramConfig();
  noTitle.m_title = nullptr;
  AppConfig noRate = apptest::ProgramConfig();
  noRate.m_frameRate = 0;
  for (const AppConfig& config : {noInstance, noTitle, noRate}) {
    ProbeFrame frame(config);
    EXPECT_EQ(frame.Run(), static_cast<HRESULT>(0x80004005u));
    EXPECT_EQ(frame.m_hWnd, nullptr);
    EXPECT_EQ(g_app, nullptr);  // no window ever received WM_CREATE
    EXPECT_EQ(frame.inits, 0);
    EXPECT_STREQ(frame.m_errorText, "Invalid configuration.");
  }
  EXPECT_TRUE(headless::MessageBoxes().empty());
}

TEST_F(FrameTest, ClassNameFollowsTitle) {
  ProbeFrame frame(apptest::ProgramConfig());
  EXPECT_STREQ(frame.m_className, "Corvane V0.01 WndCls");
  AppConfig noTitle = apptest::ProgramConfig();
  noTitle.m_title = nullptr;
  ProbeFrame untitled(noTitle);
  EXPECT_STREQ(untitled.m_className, "");
}

TEST_F(FrameTest, SetErrorComposesTheClosingMessage) {
  ProbeFrame frame(apptest::ProgramConfig());
  EXPECT_EQ(frame.SetError("Could not open display.", 0), 0);
  EXPECT_STREQ(frame.m_errorText, "Could not open display.");

  EXPECT_EQ(frame.SetError("Could not open display.", 0x80004005u), 0);
  EXPECT_STREQ(frame.m_errorText, "Could not open display.\nError code=0x80004005.");

  EXPECT_EQ(frame.SetError("Could not retrieve backbuffer.", 0x1Au), 0);
  EXPECT_STREQ(frame.m_errorText, "Could not retrieve backbuffer.\nError code=0x1a.");

  // The driver message stands alone, whatever the caller's text.
  EXPECT_EQ(frame.SetError("Could not open display.", 0xC8660120u), 0);
  EXPECT_STREQ(frame.m_errorText,
               "Missing or incorrect file: \"gx.dll\". Please copy this file to the \\windows "
               "folder on this device.");

  EXPECT_EQ(frame.SetError(nullptr, 5), static_cast<HRESULT>(0x80004005u));
  EXPECT_STREQ(frame.m_errorText, "Invalid error code description.");
}

TEST_F(FrameTest, ErrorBoxAtCloseComesBeforeTheWindowGoes) {
  ProbeFrame frame(apptest::ProgramConfig());
  Open(frame);
  frame.SetError("Could not change display mode.", 0x80004005u);
  Close(frame);
  ASSERT_EQ(headless::MessageBoxes().size(), 1u);
  const headless::MessageBoxRecord& box = headless::MessageBoxes()[0];
  EXPECT_EQ(box.text, "Could not change display mode.\nError code=0x80004005.");
  EXPECT_EQ(box.caption, "Error");
  EXPECT_EQ(box.type, 0x10010u);
  EXPECT_EQ(frame.boxesAtDestroy, 1);
  EXPECT_EQ(frame.m_hWnd, nullptr);
}

TEST_F(FrameTest, DisplayThatCannotOpenIsReportedAtClose) {
  AppConfig config = apptest::ProgramConfig();
  config.m_width = 0;  // no display of that size
  ProbeFrame frame(config);
  const HRESULT hr = frame.Run();
  EXPECT_LT(hr, 0);
  EXPECT_EQ(frame.inits, 0);
  EXPECT_EQ(frame.m_hWnd, nullptr);
  ASSERT_EQ(headless::MessageBoxes().size(), 1u);
  char expected[80];
  std::snprintf(expected, sizeof expected, "Could not open display.\nError code=0x%x.",
                static_cast<unsigned>(hr));
  EXPECT_EQ(headless::MessageBoxes()[0].text, expected);
  EXPECT_EQ(headless::MessageBoxes()[0].caption, "Error");
  EXPECT_EQ(frame.boxesAtDestroy, 1);
}

TEST_F(FrameTest, HeldKeyGivesOneKeyDownAndOneKeyUp) {
  ProbeFrame frame(apptest::ProgramConfig());
  Open(frame);
  headless::InjectKeyDown('A');
  headless::InjectKeyDown('A', true);
  headless::InjectKeyDown('A', true);
  headless::InjectKeyUp('A');
  Pass(frame);
  EXPECT_EQ(frame.keysDown, std::vector<UINT>{'A'});
  EXPECT_EQ(frame.keysUp, std::vector<UINT>{'A'});
  Close(frame);
}

TEST_F(FrameTest, StylusPointsAreLogicalAndSignExtended) {
  ProbeFrame frame(apptest::ProgramConfig());
  Open(frame);
  headless::SetClientSize(800, 600);
  headless::InjectMouseDown(10, 20);
  headless::InjectMouseMove(-3, 40);
  headless::InjectMouseUp(799, 599);
  Pass(frame);
  ASSERT_EQ(frame.downs.size(), 1u);
  EXPECT_EQ(frame.downs[0].x, 10);
  EXPECT_EQ(frame.downs[0].y, 20);
  ASSERT_EQ(frame.moves.size(), 1u);
  EXPECT_EQ(frame.moves[0].x, -3);
  EXPECT_EQ(frame.moves[0].y, 40);
  ASSERT_EQ(frame.ups.size(), 1u);
  EXPECT_EQ(frame.ups[0].x, 799);
  EXPECT_EQ(frame.ups[0].y, 599);

  // A doubled window maps back to the logical size.
  headless::SetClientSize(1600, 1200);
  headless::InjectMouseDown(400, 300);
  Pass(frame);
  ASSERT_EQ(frame.downs.size(), 2u);
  EXPECT_EQ(frame.downs[1].x, 200);
  EXPECT_EQ(frame.downs[1].y, 150);
  Close(frame);
}

TEST_F(FrameTest, MinimiseSuspendsOnceAndRestoreResumesOnce) {
  ProbeFrame frame(apptest::ProgramConfig());
  Open(frame);
  Pass(frame);
  ASSERT_EQ(frame.frameFlags.size(), 1u);

  headless::InjectMinimize();
  Pass(frame);
  EXPECT_EQ(frame.suspends, 1);
  EXPECT_EQ(frame.m_active, 0);
  // Suspended: further minimise messages, moves and idle steps change nothing.
  headless::InjectMinimize();
  headless::InjectMouseMove(50, 60);
  headless::InjectMouseDown(50, 60);
  headless::InjectMouseUp(50, 60);
  Pass(frame);
  Pass(frame);
  EXPECT_EQ(frame.suspends, 1);
  EXPECT_EQ(frame.frameFlags.size(), 1u);  // nothing processed while suspended
  EXPECT_TRUE(frame.moves.empty());
  EXPECT_EQ(frame.downs.size(), 1u);  // presses still arrive
  EXPECT_EQ(frame.ups.size(), 1u);

  headless::InjectRestore();
  Pass(frame);
  EXPECT_EQ(frame.resumes, 1);
  EXPECT_EQ(frame.m_active, 1);
  Pass(frame);
  ASSERT_EQ(frame.frameFlags.size(), 3u);
  EXPECT_TRUE(frame.frameFlags[1] & kFrameResumed);  // the first frame after resuming
  EXPECT_FALSE(frame.frameFlags[2] & kFrameResumed);
  EXPECT_FALSE(frame.frameFlags[0] & kFrameResumed);

  // Activating an active frame does nothing.
  headless::InjectRestore();
  Pass(frame);
  EXPECT_EQ(frame.resumes, 1);
  headless::InjectMouseMove(5, 6);
  Pass(frame);
  EXPECT_EQ(frame.moves.size(), 1u);
  Close(frame);
}

TEST_F(FrameTest, SkipFramesSkipsProcessingButStillFlips) {
  ProbeFrame frame(apptest::ProgramConfig());
  Open(frame);
  EXPECT_EQ(frame.SkipFrames(0), static_cast<HRESULT>(0x80004005u));
  EXPECT_EQ(frame.m_skipFrames, 0u);
  EXPECT_EQ(frame.SkipFrames(3), 0);
  const int flipsBefore = headless::FlipCount();
  for (int i = 0; i < 3; ++i) Pass(frame);
  EXPECT_TRUE(frame.frameFlags.empty());
  EXPECT_EQ(headless::FlipCount() - flipsBefore, 3);
  Pass(frame);
  EXPECT_EQ(frame.frameFlags.size(), 1u);
  EXPECT_EQ(headless::FlipCount() - flipsBefore, 4);
  Close(frame);
}

TEST_F(FrameTest, DrawingSwitchedOffStopsFramesButNotTiming) {
  ProbeFrame frame(apptest::ProgramConfig());
  Open(frame);
  Pass(frame);
  frame.ToggleDrawing();
  const int flipsBefore = headless::FlipCount();
  const uint32_t clockBefore = headless::Clock();
  for (int i = 0; i < 30; ++i) Pass(frame);
  EXPECT_EQ(frame.frameFlags.size(), 1u);
  EXPECT_EQ(headless::FlipCount(), flipsBefore);
  // Thirty paced steps at 30 per second: a simulated second went by.
  EXPECT_GE(headless::Clock() - clockBefore, 960u);
  frame.ToggleDrawing();
  Pass(frame);
  EXPECT_EQ(frame.frameFlags.size(), 2u);
  EXPECT_EQ(headless::FlipCount(), flipsBefore + 1);
  Close(frame);
}

TEST_F(FrameTest, CloseButtonEndsTheRunWithExitCodeZero) {
  ProbeFrame frame(apptest::ProgramConfig());
  frame.script = [&](int n) {
    if (n == 3) {
      frame.SetError("Late failure.", 0);
      headless::InjectClose();
    }
  };
  EXPECT_EQ(frame.Run(), 0);
  EXPECT_EQ(frame.frameFlags.size(), 3u);
  EXPECT_EQ(frame.inits, 1);
  ASSERT_EQ(headless::MessageBoxes().size(), 1u);
  EXPECT_EQ(headless::MessageBoxes()[0].text, "Late failure.");
  EXPECT_EQ(frame.boxesAtDestroy, 1);
  EXPECT_EQ(frame.m_hWnd, nullptr);
}

TEST_F(FrameTest, QuitFromAFrameEndsTheRunWithoutABox) {
  ProbeFrame frame(apptest::ProgramConfig());
  frame.script = [&](int n) {
    if (n == 2) frame.Quit();
  };
  EXPECT_EQ(frame.Run(), 0);
  EXPECT_EQ(frame.frameFlags.size(), 2u);
  EXPECT_TRUE(headless::MessageBoxes().empty());
}

TEST_F(FrameTest, CloseButtonAsksTheApplicationWhichMayKeepTheWindowOpen) {
  ProbeFrame frame(apptest::ProgramConfig());
  frame.keepOpenFor = 1;
  frame.script = [&](int n) {
    if (n == 2 || n == 4) headless::InjectClose();
  };
  EXPECT_EQ(frame.Run(), 0);
  EXPECT_EQ(frame.closes, (std::vector<bool>{true, true}));
  EXPECT_EQ(frame.frameFlags.size(), 4u);  // the first close was refused
}

TEST_F(FrameTest, TerminationClosesWithoutAskingWhateverTheAnswer) {
  ProbeFrame frame(apptest::ProgramConfig());
  frame.keepOpenFor = 1;
  frame.script = [&](int n) {
    if (n == 2) headless::InjectTerminate();
  };
  EXPECT_EQ(frame.Run(), 0);
  EXPECT_EQ(frame.closes, (std::vector<bool>{false}));
  EXPECT_EQ(frame.frameFlags.size(), 2u);
}

}  // namespace
