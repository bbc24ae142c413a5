// Frame pacing on the headless clock: waiting moves the simulated clock to each frame's
// due time, so a second of frames can be checked exactly.
#include <gtest/gtest.h>

#include "platform/windowing/detail/clock.h"
#include "platform/graphics/gapi.h"
#include "platform/backend_headless/headless.h"

namespace {

class Timer : public testing::Test {
 protected:
  void SetUp() override { headless::Reset(); }
  void TearDown() override { headless::Reset(); }
};

TEST_F(Timer, ThirtyFramesTakeExactlyOneSecond) {
  headless::SetClock(5000);
  CGapiTimer timer;
  ASSERT_EQ(timer.StartTimer(30), GD_OK);
  const uint64_t start = platform::ClockMicros();
  for (uint64_t frame = 1; frame <= 30; ++frame) {
    ASSERT_EQ(timer.WaitForNextFrame(), GD_OK);
    EXPECT_EQ(platform::ClockMicros() - start, frame * 1000000 / 30) << "frame " << frame;
  }
  EXPECT_EQ(platform::ClockMicros() - start, 1000000u);
  EXPECT_EQ(headless::Clock(), 6000u);
}

TEST_F(Timer, WorkDuringAFrameShortensTheWait) {
  CGapiTimer timer;
  timer.StartTimer(30);
  const uint64_t start = platform::ClockMicros();
  for (uint64_t frame = 1; frame <= 60; ++frame) {
    headless::AdvanceClock(frame % 3 == 0 ? 30 : 5);  // a frame's work, under a period
    ASSERT_EQ(timer.WaitForNextFrame(), GD_OK);
    EXPECT_EQ(platform::ClockMicros() - start, frame * 1000000 / 30);
  }
}

TEST_F(Timer, LateFrameReportsLateAndKeepsTheGrid) {
  CGapiTimer timer;
  timer.StartTimer(30);
  const uint64_t start = platform::ClockMicros();
  ASSERT_EQ(timer.WaitForNextFrame(), GD_OK);
  headless::AdvanceClock(100);  // a slow frame: frames 2 and 3 are missed
  const uint64_t before = platform::ClockMicros();
  EXPECT_EQ(timer.WaitForNextFrame(), GD_FRAME_LATE);
  EXPECT_EQ(platform::ClockMicros(), before);  // no waiting when late
  // Frame 4 was due at the very moment of the late return; the next is frame 5.
  EXPECT_EQ(timer.WaitForNextFrame(), GD_OK);
  EXPECT_EQ(platform::ClockMicros() - start, 5u * 1000000 / 30);
  // A long pause drops the missed frames instead of rushing through them.
  headless::AdvanceClock(60000);
  EXPECT_EQ(timer.WaitForNextFrame(), GD_FRAME_LATE);
  EXPECT_EQ(timer.WaitForNextFrame(), GD_OK);
  const uint64_t elapsed = platform::ClockMicros() - start;
  const uint64_t resumed = 5u * 1000000 / 30 + 60000000;
  EXPECT_GT(elapsed, resumed);
  EXPECT_LE(elapsed - resumed, 1000000u / 30 + 1);              // within one period, rounded up
  EXPECT_EQ(elapsed, (elapsed * 30 / 1000000) * 1000000 / 30);  // on the grid
}

TEST_F(Timer, RestartBeginsANewGridAndBadUseFails) {
  CGapiTimer timer;
  EXPECT_NE(timer.WaitForNextFrame(), GD_OK);
  EXPECT_NE(timer.StartTimer(0), GD_OK);
  timer.StartTimer(30);
  headless::AdvanceClock(7);
  const uint64_t restart = platform::ClockMicros();
  timer.StartTimer(25);
  ASSERT_EQ(timer.WaitForNextFrame(), GD_OK);
  EXPECT_EQ(platform::ClockMicros() - restart, 40000u);
}

}  // namespace
