// The position source on the headless backend: the scripted receiver and track replay paced
// by the clock the test moves, each fix announced to the window by WM_GPS_NOTIFY.
#include "platform/position/position_source.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/windowing/window_test_util.h"
#include "support/scratch_folder.h"

namespace {

using platform::PositionOptions;
using platform::PositionState;

class PositionSource : public ::testing::Test {
 protected:
  void SetUp() override {
    headless::Reset();
    hwnd = wintest::MakeWindow();
    ASSERT_NE(hwnd, nullptr);
    wintest::Drain();
  }
  void TearDown() override { platform::ClosePositionSource(); }

  std::string WriteFile(const std::string& text) { return scratch.Write("track.gpx", text); }

  testsupport::ScratchFolder scratch{"corvane-track"};
  HWND hwnd = nullptr;
};

TEST_F(PositionSource, ScriptedReceiverPostsOneNoticePerFixAndHandsThemOverInOrder) {
  PositionOptions o;
  o.source = PositionOptions::Source::Gpsd;
  ASSERT_EQ(platform::OpenPositionSource(o, hwnd), platform::PositionOpenResult::Ok);
  EXPECT_EQ(platform::CurrentPositionState(), PositionState::Waiting);
  headless::SetClock(500);
  headless::FeedPositionFix(48.1, 11.5, 7.5);
  headless::AdvanceClock(100);
  headless::FeedPositionFix(48.2, 11.6);
  auto notices = wintest::Drain({WM_GPS_NOTIFY});
  ASSERT_EQ(notices.size(), 2u);
  EXPECT_EQ(notices[0].hwnd, hwnd);
  auto fixes = platform::TakePositionFixes();
  ASSERT_EQ(fixes.size(), 2u);
  EXPECT_DOUBLE_EQ(fixes[0].latitude, 48.1);
  EXPECT_DOUBLE_EQ(fixes[0].horizontalError, 7.5);
  EXPECT_EQ(fixes[0].time, 500u);
  EXPECT_DOUBLE_EQ(fixes[1].longitude, 11.6);
  EXPECT_LT(fixes[1].horizontalError, 0);
  EXPECT_EQ(fixes[1].time, 600u);
  EXPECT_EQ(platform::CurrentPositionState(), PositionState::Fixing);
  EXPECT_TRUE(platform::TakePositionFixes().empty());
  headless::SetPositionState(PositionState::Lost);
  EXPECT_EQ(platform::CurrentPositionState(), PositionState::Lost);
  platform::ClosePositionSource();
  EXPECT_EQ(platform::CurrentPositionState(), PositionState::Off);
}

std::string Gpx(const std::vector<std::string>& times) {
  std::string s = "<gpx><trk><trkseg>";
  double lat = 10;
  for (const std::string& t : times) {
    s += "<trkpt lat=\"" + std::to_string(lat += 0.001) + "\" lon=\"20\">";
    if (!t.empty()) s += "<time>" + t + "</time>";
    s += "</trkpt>";
  }
  return s + "</trkseg></trk></gpx>";
}

struct PaceCase {
  const char* what;
  std::vector<std::string> times;
  double speed;
  std::vector<uint32_t> arrivals;  // ms after opening
};

TEST_F(PositionSource, ReplayFollowsTheRecordedPaceOnThePlatformClock) {
  const PaceCase cases[] = {
      {"recorded pace",
       {"2024-05-01T10:00:00Z", "2024-05-01T10:00:02Z", "2024-05-01T10:00:03.5Z"},
       1,
       {0, 2000, 3500}},
      {"ten times faster",
       {"2024-05-01T10:00:00Z", "2024-05-01T10:00:02Z", "2024-05-01T10:00:03.5Z"},
       10,
       {0, 200, 350}},
      {"no times: a second each", {"", "", ""}, 1, {0, 1000, 2000}},
      {"times going backwards do not stall",
       {"2024-05-01T10:00:10Z", "2024-05-01T10:00:05Z", "2024-05-01T10:00:06Z"},
       2,
       {0, 500, 1000}},
      {"a pause of hours is cut to ten seconds of walk",
       {"2024-05-01T10:00:00Z", "2024-05-01T13:00:00Z", "2024-05-01T13:00:01Z"},
       10,
       {0, 1000, 1100}},
  };
  for (const PaceCase& c : cases) {
    SCOPED_TRACE(c.what);
    headless::SetClock(1000);
    PositionOptions o;
    o.source = PositionOptions::Source::Track;
    o.trackFile = WriteFile(Gpx(c.times));
    o.speed = c.speed;
    ASSERT_EQ(platform::OpenPositionSource(o, hwnd), platform::PositionOpenResult::Ok);
    // The walk waits for the program (choosing a user takes a while) and then starts whole.
    headless::AdvanceClock(5000);
    EXPECT_TRUE(wintest::Drain({WM_GPS_NOTIFY}).empty());
    platform::BeginPositionSource();
    std::vector<uint32_t> arrivals;
    std::vector<uint32_t> intervals;
    size_t notices = 0;
    for (int step = 0; step <= 500 && arrivals.size() < c.arrivals.size(); ++step) {
      notices += wintest::Drain({WM_GPS_NOTIFY}).size();
      for (const auto& fix : platform::TakePositionFixes()) {
        arrivals.push_back(fix.time - 6000);
        intervals.push_back(fix.interval);
      }
      headless::AdvanceClock(10);
    }
    EXPECT_EQ(arrivals, c.arrivals);
    // Each fix tells when the next is due, so that a sparse log is not taken for a lost one.
    for (size_t i = 0; i + 1 < arrivals.size() && i + 1 < intervals.size(); ++i)
      EXPECT_EQ(intervals[i], arrivals[i + 1] - arrivals[i]) << i;
    EXPECT_EQ(notices, c.arrivals.size());
    EXPECT_EQ(platform::CurrentPositionState(), PositionState::Ended);
    std::filesystem::remove(o.trackFile);
  }
}

TEST_F(PositionSource, UnreadableTrackIsReportedAndLeavesNoSource) {
  PositionOptions o;
  o.source = PositionOptions::Source::Track;
  o.trackFile = WriteFile("\x01\x02 not a track \xff\n");
  EXPECT_EQ(platform::OpenPositionSource(o, hwnd), platform::PositionOpenResult::TrackUnreadable);
  EXPECT_EQ(platform::CurrentPositionState(), PositionState::Off);
  std::filesystem::remove(o.trackFile);
}

}  // namespace
