// Window timers and waiting on the simulated clock, and the 32-bit tick count.
#include <gtest/gtest.h>

#include "window_test_util.h"

namespace {

using wintest::Drain;

class WindowTimers : public ::testing::Test {
 protected:
  void SetUp() override {
    headless::Reset();
    wintest::Log().clear();
    hwnd = wintest::MakeWindow();
    ASSERT_NE(hwnd, nullptr);
    Drain();
  }
  HWND hwnd = nullptr;
};

int g_procCalls = 0;
void CountingTimerProc(HWND, UINT msg, UINT_PTR id, DWORD) {
  if (msg == WM_TIMER && id == 42) ++g_procCalls;
}

TEST_F(WindowTimers, FireOncePerPeriodWithoutBacklogAndStopWhenKilled) {
  ASSERT_NE(SetTimer(hwnd, 9876, 500, nullptr), 0u);
  headless::AdvanceClock(499);
  EXPECT_TRUE(Drain({WM_TIMER}).empty());
  headless::AdvanceClock(1);
  auto fired = Drain({WM_TIMER});
  ASSERT_EQ(fired.size(), 1u);
  EXPECT_EQ(fired[0].hwnd, hwnd);
  EXPECT_EQ(fired[0].wParam, 9876u);
  // A reader three periods late gets one WM_TIMER, not three.
  headless::AdvanceClock(1500);
  EXPECT_EQ(Drain({WM_TIMER}).size(), 1u);
  headless::AdvanceClock(500);
  EXPECT_EQ(Drain({WM_TIMER}).size(), 1u);
  EXPECT_TRUE(KillTimer(hwnd, 9876));
  EXPECT_FALSE(KillTimer(hwnd, 9876));
  headless::AdvanceClock(5000);
  EXPECT_TRUE(Drain({WM_TIMER}).empty());
}

TEST_F(WindowTimers, TimerProcedureIsCalledOnDispatch) {
  g_procCalls = 0;
  SetTimer(hwnd, 42, 100, CountingTimerProc);
  headless::AdvanceClock(100);
  Drain();
  EXPECT_EQ(g_procCalls, 1);
  DestroyWindow(hwnd);  // a window's timers die with it
  headless::AdvanceClock(1000);
  Drain();
  EXPECT_EQ(g_procCalls, 1);
}

TEST_F(WindowTimers, WaitingForInputEndsAtTheTimeoutOrEarlier) {
  headless::SetClock(1000);
  EXPECT_EQ(MsgWaitForMultipleObjects(0, nullptr, FALSE, 250, QS_ALLINPUT), WAIT_TIMEOUT);
  EXPECT_EQ(headless::Clock(), 1250u);
  // A due timer ends the wait when it expires.
  SetTimer(hwnd, 1, 100, nullptr);
  EXPECT_EQ(MsgWaitForMultipleObjects(0, nullptr, FALSE, 250, QS_ALLINPUT), WAIT_OBJECT_0);
  EXPECT_EQ(headless::Clock(), 1350u);
  KillTimer(hwnd, 1);
  // Waiting input ends it at once.
  headless::InjectKeyDown('X');
  EXPECT_EQ(MsgWaitForMultipleObjects(0, nullptr, FALSE, 250, QS_ALLINPUT), WAIT_OBJECT_0);
  EXPECT_EQ(headless::Clock(), 1350u);
}

TEST(Clock, TickCountWrapsAt32BitsAndSleepAdvancesIt) {
  headless::Reset();
  headless::SetClock(0xFFFFFF00u);
  DWORD before = timeGetTime();
  Sleep(0x200);
  DWORD after = timeGetTime();
  EXPECT_EQ(after, 0x100u);
  EXPECT_EQ(static_cast<DWORD>(after - before), 0x200u);
  EXPECT_TRUE(SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_ABOVE_NORMAL));
}

}  // namespace
