// What goes wrong with the position source is printed on standard error, each new problem
// once, besides the short status line.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "app/app_test_support.h"
#include "app/portrait_app.h"
#include "support/scratch_folder.h"

namespace {

class ProblemApp : public CPortraitApp {
 public:
  explicit ProblemApp(const AppConfig& config) : CPortraitApp(config) {}
  HRESULT ProcessNextFrame(CGapiSurface* backBuffer, uint32_t flags) override {
    const HRESULT hr = CPortraitApp::ProcessNextFrame(backBuffer, flags);
    ++frames;
    if (frames == 1 || frames == 3) {
      headless::SetPositionState(platform::PositionState::Unreachable,
                                 "gpsd at pi.local:2947 is not reachable: Connection refused");
    }
    if (frames == 5) Quit();
    return hr;
  }
  int frames = 0;
};

TEST(PositionProblem, EachNewProblemIsPrintedOnceOnStandardError) {
  apptest::ResetAll();
  testsupport::ScratchFolder scratch{"corvane-position-problem"};
  testsupport::CurrentFolder stay{std::filesystem::current_path()};  // a load moves it
  headless::QueueFileDialogAnswer(
      scratch.Write("Tour.xml", "<media_portrait>\n<system>\n</system>\n</media_portrait>\n"));
  ProblemApp app(apptest::ProgramConfig());
  RunOptions options;
  options.position = RunOptions::Position::Gpsd;
  app.SetRunOptions(options);
  testing::internal::CaptureStderr();
  ASSERT_EQ(app.Run(), 0);
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_EQ(err, "corvane: gpsd at pi.local:2947 is not reachable: Connection refused\n");
}

}  // namespace
