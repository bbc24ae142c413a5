// The arrival chime as the program sounds it: at the playback volume, silent when muted,
// while the banner shows either way.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/app_test_support.h"
#include "app/portrait_app.h"
#include "map/portrait.h"
#include "platform/backend_headless/headless_audio.h"
#include "support/scratch_folder.h"

namespace {

struct Visit {
  int volume;
  bool muted;
  int chimes = 0;       // chimes sounded by this visit
  int chimeVolume = 0;  // of the last chime
  bool banner = false;
};

// Walks into the place at (200, 300) once per visit, each with its own volume and mute.
class Walker : public CPortraitApp {
 public:
  explicit Walker(const AppConfig& config) : CPortraitApp(config) {}

  HRESULT ProcessNextFrame(CGapiSurface* backBuffer, uint32_t flags) override {
    const HRESULT hr = CPortraitApp::ProcessNextFrame(backBuffer, flags);
    m_mode = MODE_MAP;  // straight to the map, past the user screens
    // Even frames end the visit before (if any) and start the next; the odd frame between
    // draws the arrival, and the even one after it announces it.
    if (++m_frames % 2 != 0 || m_model == nullptr) return hr;
    const std::size_t step = m_frames / 2 - 1;
    if (step > 0) {
      Visit& v = visits[step - 1];
      v.chimes = headless::ChimeCount() - m_chimesBefore;
      v.chimeVolume = headless::LastChimeVolume();
      v.banner = m_model->m_guide.bannerOn;
    }
    if (step >= visits.size()) {
      Quit();
      return hr;
    }
    m_model->SetUserPosition(400, 300);  // out of the place
    m_model->Render(backBuffer, m_display.GetSystemFontBorder());
    m_volume = visits[step].volume;
    m_muted = visits[step].muted;
    m_chimesBefore = headless::ChimeCount();
    m_model->SetUserPosition(200, 300);
    return hr;
  }

  std::vector<Visit> visits;

 private:
  std::size_t m_frames = 0;
  int m_chimesBefore = 0;
};

TEST(ArrivalChime, FollowsThePlaybackVolumeAndMuteWhileTheBannerAlwaysShows) {
  apptest::ResetAll();
  headless::ForgetChimes();
  testsupport::ScratchFolder scratch{"corvane-arrival-chime"};
  testsupport::CurrentFolder stay{std::filesystem::current_path()};  // a load moves it
  // Places are put on the map only when it has a picture.
  std::filesystem::copy_file(std::string(CORVANE_FIXTURES) + "/map/map_400x300.png",
                             scratch.Path("map.png"));
  headless::QueueFileDialogAnswer(scratch.Write(
      "Tour.xml",
      "<media_portrait>\n<system>\n\t<map_filename>map.png</map_filename>\n\t<left>-0.6262</"
      "left>\n\t<top>54.4905</top>\n"
      "\t<right>-0.6062</right>\n\t<bottom>54.4835</bottom>\n\t<radius>48.000000</radius>\n"
      "</system>\n<region>\n\t<region_id>1</region_id>\n"
      "\t<region_description>Fish quay</region_description>\n\t<gps_x>-0.621200</gps_x>\n"
      "\t<gps_y>54.487000</gps_y>\n</region>\n</media_portrait>\n"));
  Walker app(apptest::ProgramConfig());
  app.visits = {{1000, false}, {300, false}, {300, true}};
  ASSERT_EQ(app.Run(), 0);
  const struct {
    int chimes;
    int volume;
  } expected[] = {{1, 1000}, {1, 300}, {0, 300}};
  for (std::size_t i = 0; i < app.visits.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(app.visits[i].chimes, expected[i].chimes);
    EXPECT_EQ(app.visits[i].chimeVolume, expected[i].volume);
    EXPECT_TRUE(app.visits[i].banner);
  }
}

}  // namespace
