// A fix that arrives while the idle map view waits for its next frame is drawn at once, not
// a frame period later (once a period); with the page view open the frames keep their pace.
#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "app/app_test_support.h"
#include "app/portrait_app.h"
#include "map/portrait.h"
#include "support/scratch_folder.h"

namespace {

class FrameClock : public CPortraitApp {
 public:
  explicit FrameClock(const AppConfig& config) : CPortraitApp(config) {}

  HRESULT ProcessNextFrame(CGapiSurface* backBuffer, uint32_t flags) override {
    const HRESULT hr = CPortraitApp::ProcessNextFrame(backBuffer, flags);
    m_mode = MODE_MAP;  // straight to the map, past the user screens
    if (m_model != nullptr) m_model->m_page = page;
    times.push_back(headless::Clock());
    // Two fixes within one frame period: the first is drawn at once, the second with the
    // frame that is due.
    if (times.size() == 3 || times.size() == 4) headless::FeedPositionFix(54.487, -0.6162, 3.0);
    if (times.size() == 5) Quit();
    return hr;
  }

  int page = 0;
  std::vector<uint32_t> times;  // headless clock at each frame
};

TEST(FixToFrame, AFixEndsTheIdleMapViewsWaitForItsNextFrame) {
  const struct {
    const char* what;
    int page;
    bool drawnAtOnce;
  } cases[] = {
      {"map view", 0, true},
      {"page view", 1, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    apptest::ResetAll();
    // A project with no map: the map view still draws, and the fixes still come.
    testsupport::ScratchFolder scratch{"corvane-fix-to-frame"};
    testsupport::CurrentFolder stay{std::filesystem::current_path()};  // a load moves it
    headless::QueueFileDialogAnswer(
        scratch.Write("Tour.xml", "<media_portrait>\n<system>\n</system>\n</media_portrait>\n"));
    FrameClock app(apptest::ProgramConfig());
    app.page = c.page;
    RunOptions options;
    options.position = RunOptions::Position::Gpsd;
    app.SetRunOptions(options);
    ASSERT_EQ(app.Run(), 0);
    ASSERT_EQ(app.times.size(), 5u);
    ASSERT_NE(app.m_model, nullptr);
    EXPECT_TRUE(app.m_model->HasGpsFix());
    EXPECT_EQ(app.times[3] == app.times[2], c.drawnAtOnce) << app.times[2] << " " << app.times[3];
    EXPECT_GE(app.times[4] - app.times[3], 1u);  // at most one early frame a period
  }
}

}  // namespace
