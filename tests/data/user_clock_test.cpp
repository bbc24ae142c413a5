// The use clock: minutes plus seconds / 100, advanced by the headless clock.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

#include "data/user_context.h"
#include "platform/backend_headless/headless.h"
#include "platform/windowing/win_api.h"

namespace {

class UserClock : public ::testing::Test {
 protected:
  void SetUp() override {
    headless::Reset();
    headless::SetClock(5000);
    user.Reset();
  }
  CUserContext user;
};

}  // namespace

TEST_F(UserClock, CarriesSecondsIntoMinutes) {
  struct Case {
    double start;
    uint32_t ms;
    double expected;
  };
  const Case cases[] = {
      {3.45, 20000, 4.05}, {3.45, 15000, 4.00}, {0.0, 61000, 1.01},
      {0.0, 999, 0.0},     {2.59, 1000, 3.00},  {0.0, 3600000, 60.0},
  };
  for (const Case& c : cases) {
    user.m_duration = c.start;
    user.BeginVisit();
    headless::AdvanceClock(c.ms);
    EXPECT_DOUBLE_EQ(user.ClockNow(), c.expected) << c.start << " + " << c.ms;
    EXPECT_EQ(user.m_duration, c.start);  // ClockNow stores nothing
    user.CommitVisit();
    EXPECT_DOUBLE_EQ(user.m_duration, c.expected);
  }
}

TEST_F(UserClock, RepeatedVisitsLoseNoSeconds) {
  // 4.05 is not exact in binary; each commit must still take it at 4 minutes 5 seconds.
  user.m_duration = 3.45;
  for (int i = 0; i < 30; ++i) {
    user.BeginVisit();
    headless::AdvanceClock(20000);
    user.CommitVisit();
  }
  EXPECT_DOUBLE_EQ(user.m_duration, 13.45);  // 3:45 + 10 minutes
}

TEST_F(UserClock, SurvivesTheTickWrapping) {
  headless::SetClock(0xFFFFF000u);
  user.BeginVisit();
  headless::SetClock(0x00001000u + 5000u);  // 0x2000 + 5000 ms later: 13 s
  EXPECT_DOUBLE_EQ(user.ClockNow(), 0.13);
}

TEST_F(UserClock, AddViewedRecordsTheClockAndFindViewedFindsTheFirst) {
  user.m_duration = 1.10;
  user.BeginVisit();
  headless::AdvanceClock(5000);
  user.AddViewed(7);
  user.AddViewed(9);
  user.AddViewed(7);
  EXPECT_EQ(user.m_viewedCount, 3);
  EXPECT_DOUBLE_EQ(user.ViewedTime(0), 1.15);
  EXPECT_EQ(user.m_duration, 1.10);
  EXPECT_EQ(user.FindViewed(7), 0);
  EXPECT_EQ(user.FindViewed(9), 1);
  EXPECT_EQ(user.FindViewed(8), -1);
  for (int i = 3; i < 600; ++i) user.AddViewed(i);
  EXPECT_EQ(user.m_viewedCount, USER_MAX_VIEWED);
  EXPECT_EQ(user.ViewedId(USER_MAX_VIEWED - 1), USER_MAX_VIEWED - 1);
}

TEST_F(UserClock, NonFiniteDurationsStartFromZero) {
  user.m_duration = std::numeric_limits<double>::infinity();
  user.BeginVisit();
  headless::AdvanceClock(2000);
  EXPECT_DOUBLE_EQ(user.ClockNow(), 0.02);
}

// Every duration from 0:00 to 199:59 as the file holds it: a 20-second visit must add
// exactly 20 seconds.
TEST_F(UserClock, StartsFromExactlyTheMinutesAndSecondsWritten) {
  int wrong = 0;
  for (int minutes = 0; minutes < 200; ++minutes) {
    for (int seconds = 0; seconds < 60; ++seconds) {
      char text[160];
      std::snprintf(text, sizeof text,
                    "<user_context>\n<user_id>1</user_id>\n<username>A</"
                    "username>\n<duration>%d.%02d</duration>\n"
                    "</user_context>\n",
                    minutes, seconds);
      FILE* in = fmemopen(text, std::strlen(text), "r");
      ASSERT_NE(in, nullptr);
      ASSERT_EQ(user.Parse(in), 1);
      std::fclose(in);
      user.BeginVisit();
      headless::AdvanceClock(20000);
      user.CommitVisit();
      const int total = minutes * 60 + seconds + 20;
      char expected[32];
      char got[32];
      std::snprintf(expected, sizeof expected, "%d.%02d", total / 60, total % 60);
      std::snprintf(got, sizeof got, "%.2f", user.m_duration);
      if (std::strcmp(got, expected) != 0) ++wrong;
    }
  }
  EXPECT_EQ(wrong, 0);
}
