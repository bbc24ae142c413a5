// The user's position with its GPS twin, and the current user's clock across visits.
#include <gtest/gtest.h>

#include "support/model_builder.h"

namespace {

class PositionTest : public testmodel::ModelTest {
 protected:
  void SetUp() override {
    ModelTest::SetUp();
    AddMap();
    model->m_gpsTopLeft.Set(-2.0, 52.0);
    model->m_gpsBottomRight.Set(-1.0, 51.0);
  }
};

TEST_F(PositionTest, PositionCarriesItsGpsTwin) {
  model->SetUserPosition(400, 300);
  EXPECT_DOUBLE_EQ(model->m_userPos.x, 400);
  EXPECT_DOUBLE_EQ(model->m_userPos.y, 300);
  EXPECT_DOUBLE_EQ(model->m_userGps.x, -1.5);
  EXPECT_DOUBLE_EQ(model->m_userGps.y, 51.5);
  const CGeoPoint corner = model->MapPointToGps(800, 0);
  EXPECT_DOUBLE_EQ(corner.x, -1.0);
  EXPECT_DOUBLE_EQ(corner.y, 52.0);
}

TEST_F(PositionTest, OffTheMapIsKeptAsTapped) {
  model->SetUserPosition(-10, 900);
  EXPECT_DOUBLE_EQ(model->m_userPos.x, -10);
  EXPECT_DOUBLE_EQ(model->m_userPos.y, 900);
  EXPECT_DOUBLE_EQ(model->m_userGps.x, -2.0);  // the GPS side lands on the nearest edge
  EXPECT_DOUBLE_EQ(model->m_userGps.y, 51.0);
}

class ClockTest : public testmodel::ModelTest {};

TEST_F(ClockTest, SwitchingAwayAddsTheVisitInMinutesAndSeconds) {
  struct Case {
    double start;
    uint32_t ms;
    double expected;
  } cases[] = {{3.45, 20000, 4.05}, {3.45, 15000, 4.00}, {0.00, 61000, 1.01},
               {3.45, 14999, 3.59}, {12.07, 3600000, 72.07}};
  for (const Case& c : cases) {
    model->m_currentUser = nullptr;
    CUserContext* user = AddUser(static_cast<int>(c.ms), "Ann", c.start);
    CUserContext* other = AddUser(static_cast<int>(c.ms) + 1, "Bob");
    headless::SetClock(7000);
    model->SetCurrentUser(user);
    headless::AdvanceClock(c.ms);
    model->SetCurrentUser(other);
    EXPECT_NEAR(user->m_duration, c.expected, 1e-9) << c.start << " + " << c.ms << " ms";
    EXPECT_EQ(model->m_currentUser, other);
  }
}

TEST_F(ClockTest, ClosingCallCommitsAndKeepsTheUserWithoutCountingTwice) {
  CUserContext* user = AddUser(1, "Ann", 1.00);
  headless::SetClock(0);
  model->SetCurrentUser(user);
  headless::AdvanceClock(30000);
  model->SetCurrentUser(nullptr);
  EXPECT_EQ(model->m_currentUser, user);
  EXPECT_NEAR(user->m_duration, 1.30, 1e-9);
  headless::AdvanceClock(10000);
  model->SetCurrentUser(nullptr);
  EXPECT_NEAR(user->m_duration, 1.40, 1e-9);
}

TEST_F(ClockTest, ChoosingTheSameUserAgainCountsTheTimeOnce) {
  CUserContext* user = AddUser(1, "Ann");
  headless::SetClock(0);
  model->SetCurrentUser(user);
  headless::AdvanceClock(40000);
  model->SetCurrentUser(user);
  headless::AdvanceClock(40000);
  model->SetCurrentUser(user);
  EXPECT_NEAR(user->m_duration, 1.20, 1e-9);
}

TEST_F(ClockTest, TickWrapAroundCountsTheRealDifference) {
  CUserContext* user = AddUser(1, "Ann");
  headless::SetClock(0xFFFFFFFFu - 4999u);
  model->SetCurrentUser(user);
  headless::AdvanceClock(10000);
  model->SetCurrentUser(AddUser(2, "Bob"));
  EXPECT_NEAR(user->m_duration, 0.10, 1e-9);
}

}  // namespace
