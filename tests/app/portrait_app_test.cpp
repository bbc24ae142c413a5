// The application object: project choice, startup sequence and its progress screen, and
// input that arrives before the model exists.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/portrait_app.h"
#include "app_test_support.h"
#include "map/portrait.h"
#include "platform/backend_headless/headless.h"
#include "support/scratch_folder.h"

namespace {

using apptest::TextAt;

// Runs a given number of frames, then quits; can refuse to create the model.
class ProbeApp : public CPortraitApp {
 public:
  explicit ProbeApp(const AppConfig& config) : CPortraitApp(config) {}

  HRESULT ProcessNextFrame(CGapiSurface* backBuffer, uint32_t flags) override {
    const uint32_t before = headless::Clock();
    const HRESULT hr = CPortraitApp::ProcessNextFrame(backBuffer, flags);
    if (frames == 0) firstFrameMs = headless::Clock() - before;
    if (frames == 0 && feedFix) headless::FeedPositionFix(54.487, -0.6162, 3.0);
    if (++frames >= framesToRun) Quit();
    return hr;
  }
  CPortrait* NewModel(HWND hwnd, HINSTANCE instance, int width, int height) override {
    if (refuseModel) return nullptr;
    return CPortraitApp::NewModel(hwnd, instance, width, height);
  }

  int framesToRun = 1;
  int frames = 0;
  uint32_t firstFrameMs = 0;
  bool refuseModel = false;
  bool feedFix = false;  // a fix arrives after the first frame
};

class PortraitAppTest : public ::testing::Test {
 protected:
  void SetUp() override { apptest::ResetAll(); }

  // A path in an existing folder whose file does not exist.
  std::string MissingProject(const std::string& name) const { return scratch.Path(name); }

  testsupport::ScratchFolder scratch{"corvane-app"};
  testsupport::CurrentFolder stay{std::filesystem::current_path()};  // a load moves it
};

TEST_F(PortraitAppTest, CancelledFileDialogSaysSoAndEndsWithExitCodeZero) {
  ProbeApp app(apptest::ProgramConfig());
  EXPECT_EQ(app.Run(), 0);

  ASSERT_EQ(headless::FileDialogs().size(), 1u);
  const headless::FileDialogRecord& dialog = headless::FileDialogs()[0];
  EXPECT_EQ(dialog.title, "Select project");
  const std::vector<std::pair<std::string, std::string>> filters = {
      {"TXT files (*.txt)", "*.txt"}, {"XML files (*.xml)", "*.xml"}, {"All (*.*)", "*.*"}};
  EXPECT_EQ(dialog.filters, filters);
  EXPECT_EQ(dialog.filterIndex, 2u);  // XML files: the projects
  EXPECT_EQ(dialog.initialDir, "C:\\");
  EXPECT_EQ(dialog.defaultExt, "xml");
  EXPECT_EQ(dialog.flags, 0x80800u);

  ASSERT_EQ(headless::MessageBoxes().size(), 1u);
  EXPECT_EQ(headless::MessageBoxes()[0].text, "No file chosen, quiting");
  EXPECT_EQ(headless::MessageBoxes()[0].caption, "Info");
  EXPECT_EQ(headless::MessageBoxes()[0].type, MB_OK);
  EXPECT_EQ(app.frames, 0);
  EXPECT_EQ(app.m_model, nullptr);
  EXPECT_TRUE(apptest::TextsDrawn().empty());
}

TEST_F(PortraitAppTest, MissingProjectFileListsThreeErrorsAndLeavesTheMapScreen) {
  headless::QueueFileDialogAnswer(MissingProject("corvane-missing-project.xml"));
  ProbeApp app(apptest::ProgramConfig());
  EXPECT_EQ(app.Run(), 0);

  const std::vector<TextAt> expected = {
      {"Initialising...", 5, 15},
      {"Done", 200, 15},  // no position source is no fault: taps move the visitor
      {"Loading XML - corvane-missing-project.xml...", 5, 25},
      {"Error!", 200, 25},
      {"Loading Map...", 5, 35},
      {"Done", 200, 35},
      {"Calculating screen coords...", 5, 45},
      {"Done", 200, 45},
      {"Validating video resources...", 5, 55},
      {"Done", 200, 55},
      {"Loading Icons...", 5, 65},
      {"Done", 200, 65},
      {"Loading user data...", 5, 75},
      {"Error!", 200, 75},
      {"Initialising video playback...", 5, 85},
      {"Done", 200, 85},
      {"No position source: taps move the visitor.", 5, 100},
      {"Error: Cannot find XML file", 5, 110},
      {"Error: No system details loaded - SERIOUS ERROR!!", 5, 120},
  };
  EXPECT_EQ(apptest::TextsDrawn(), expected);
  // One flip per progress text, one for the error list, one after the first frame.
  EXPECT_EQ(headless::FlipCount(), 18);
  // 500 after the coordinates, 500 at the end and 1500 more for the errors.
  EXPECT_EQ(app.firstFrameMs, 2500u);
  EXPECT_EQ(app.m_mode, MODE_MAP);
  EXPECT_FALSE(app.m_startupPending);
  EXPECT_NE(app.m_model, nullptr);

  // The progress screen is cleared once the errors were shown.
  const std::vector<headless::DrawCall>& calls = headless::DrawCalls();
  size_t lastError = 0;
  for (size_t i = 0; i < calls.size(); ++i)
    if (calls[i].call == "DrawTextA") lastError = i;
  ASSERT_LT(lastError + 1, calls.size());
  EXPECT_EQ(calls[lastError + 1].call, "FillRect");
  EXPECT_EQ(calls[lastError + 1].color, 0u);
  EXPECT_EQ(calls[lastError + 1].dst.right - calls[lastError + 1].dst.left, 800);
  EXPECT_EQ(calls[lastError + 1].dst.bottom - calls[lastError + 1].dst.top, 600);
}

// The step 1 line as drawn for a chosen project path.
std::string LoadingLineFor(const std::string& path) {
  apptest::ResetAll();
  headless::QueueFileDialogAnswer(path);
  ProbeApp app(apptest::ProgramConfig());
  app.Run();
  const std::vector<TextAt> texts = apptest::TextsDrawn();
  for (const TextAt& t : texts)
    if (t.x == 5 && t.y == 25) return t.text;
  return "";
}

TEST_F(PortraitAppTest, ProjectNameIsShownWithoutFolderAndCutToFit) {
  const std::filesystem::path temp = std::filesystem::temp_directory_path();
  EXPECT_EQ(LoadingLineFor((temp / "old\\maps\\town.xml").string()), "Loading XML - town.xml...");

  const std::string longName(120, 'n');
  const std::string line = LoadingLineFor((temp / (longName + ".xml")).string());
  EXPECT_EQ(line, "Loading XML - " + std::string(32, 'n') + "...");
  EXPECT_LE(line.size(), 49u);
}

// A project with a system record whose users file holds the given text.
std::string ProjectWithUsers(const testsupport::ScratchFolder& scratch,
                             const std::string& folderName, const std::string& usersText) {
  const std::filesystem::path dir = scratch.Path(folderName);
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  std::ofstream(dir / "project.xml") << "<?xml version='1.0' encoding='UTF-8' ?>\n\n"
                                        "<media_portrait>\n"
                                        "<system>\n"
                                        "\t<project_name>Test</project_name>\n"
                                        "\t<map_filename>map.png</map_filename>\n"
                                        "\t<left>-0.6262</left>\n"
                                        "\t<top>54.4905</top>\n"
                                        "\t<right>-0.6062</right>\n"
                                        "\t<bottom>54.4835</bottom>\n"
                                        "\t<radius>48.000000</radius>\n"
                                        "\t<user_filename>users.xml</user_filename>\n"
                                        "</system>\n"
                                        "</media_portrait>\n";
  std::ofstream(dir / "users.xml") << usersText;
  return (dir / "project.xml").string();
}

TEST_F(PortraitAppTest, FirstScreenFollowsTheUsersFile) {
  headless::QueueFileDialogAnswer(ProjectWithUsers(
      scratch, "corvane-app-users",
      "<?xml version='1.0' encoding='UTF-8' ?>\n<user_list>\n<user_context>\n"
      "\t<user_id>0</user_id>\n\t<username>Ann</username>\n\t<duration>1.00</duration>\n"
      "</user_context>\n</user_list>\n\n"));
  ProbeApp withUsers(apptest::ProgramConfig());
  EXPECT_EQ(withUsers.Run(), 0);
  EXPECT_EQ(withUsers.m_mode, MODE_USER_LIST);
  const std::vector<TextAt> texts = apptest::TextsDrawn();
  EXPECT_NE(std::find(texts.begin(), texts.end(), TextAt{"Done", 200, 75}), texts.end());
  const auto errorLines = std::count_if(
      texts.begin(), texts.end(), [](const TextAt& t) { return t.text.rfind("Error: ", 0) == 0; });
  EXPECT_EQ(errorLines, 0);  // no position source is said plainly, not as an error

  apptest::ResetAll();
  headless::QueueFileDialogAnswer(ProjectWithUsers(scratch, "corvane-app-nousers", ""));
  ProbeApp noUsers(apptest::ProgramConfig());
  EXPECT_EQ(noUsers.Run(), 0);
  EXPECT_EQ(noUsers.m_mode, MODE_NEW_USER);
  const std::vector<TextAt> lines = apptest::TextsDrawn();
  EXPECT_NE(
      std::find(lines.begin(), lines.end(), TextAt{"Error: No user data in user file", 5, 110}),
      lines.end());
}

TEST_F(PortraitAppTest, AGivenPositionSourceIsOpenedAtTheFirstStepAndFollowed) {
  struct Case {
    RunOptions::Position position;
    const char* track;
    const char* step0;
    const char* errorLine;  // the first error line, or "" for none of step 0
  };
  const Case cases[] = {
      {RunOptions::Position::Gpsd, "", "Done", ""},
      {RunOptions::Position::Track, "/nonexistent/walk.gpx", "Error!",
       "Error: Track file unreadable"},
  };
  for (const Case& c : cases) {
    apptest::ResetAll();
    headless::QueueFileDialogAnswer(ProjectWithUsers(scratch, "corvane-app-gps", ""));
    ProbeApp app(apptest::ProgramConfig());
    RunOptions options;
    options.position = c.position;
    options.trackFile = c.track;
    app.SetRunOptions(options);
    app.framesToRun = 3;
    app.feedFix = c.position == RunOptions::Position::Gpsd;
    ASSERT_EQ(app.Run(), 0);
    const std::vector<TextAt> texts = apptest::TextsDrawn();
    EXPECT_NE(std::find(texts.begin(), texts.end(), TextAt{c.step0, 200, 15}), texts.end())
        << c.step0;
    const bool listed =
        std::find(texts.begin(), texts.end(), TextAt{c.errorLine, 5, 100}) != texts.end();
    EXPECT_EQ(listed, *c.errorLine != '\0') << c.errorLine;
    ASSERT_NE(app.m_model, nullptr);
    EXPECT_TRUE(app.m_model->m_showGpsStatus);
    // The window message of a fix reaches the model.
    EXPECT_EQ(app.m_model->HasGpsFix(), app.feedFix);
  }
}

TEST_F(PortraitAppTest, ModelThatCannotBeCreatedEndsTheStartWithAMessage) {
  headless::QueueFileDialogAnswer(MissingProject("corvane-no-model.xml"));
  ProbeApp app(apptest::ProgramConfig());
  app.refuseModel = true;
  app.framesToRun = 5;
  EXPECT_EQ(app.Run(), 0);

  const std::vector<TextAt> expected = {
      {"Initialising...", 5, 15},
      {"Error!", 200, 15},
      {"Error: Unknown error", 5, 100},
  };
  EXPECT_EQ(apptest::TextsDrawn(), expected);
  EXPECT_EQ(app.frames, 1);
  ASSERT_EQ(headless::MessageBoxes().size(), 1u);
  EXPECT_EQ(headless::MessageBoxes()[0].caption, "Error");
  EXPECT_EQ(headless::MessageBoxes()[0].text, "Not enough memory to load the project.");
}

TEST_F(PortraitAppTest, InputGoesToTheModelByScreenMode) {
  headless::QueueFileDialogAnswer(MissingProject("corvane-routing.xml"));
  ProbeApp app(apptest::ProgramConfig());
  ASSERT_EQ(app.Run(), 0);
  ASSERT_NE(app.m_model, nullptr);
  ASSERT_EQ(app.m_mode, MODE_MAP);
  CPortrait& model = *app.m_model;

  app.KeyDown(VK_ESCAPE, nullptr);
  EXPECT_TRUE(model.m_menuOpen);
  app.KeyDown(VK_ESCAPE, nullptr);
  EXPECT_FALSE(model.m_menuOpen);

  // A map tap that no command takes starts a drag; the release ends it.
  app.StylusDown(400, 300);
  EXPECT_TRUE(model.m_dragging);
  app.StylusUp(400, 300);
  EXPECT_FALSE(model.m_dragging);

  // The release belongs to the map view only.
  app.StylusDown(400, 300);
  app.m_mode = MODE_NEW_USER;
  app.StylusUp(400, 300);
  EXPECT_TRUE(model.m_dragging);
}

TEST_F(PortraitAppTest, InputBeforeTheModelExistsIsIgnored) {
  ProbeApp app(apptest::ProgramConfig());
  ASSERT_EQ(app.m_model, nullptr);
  EXPECT_EQ(app.KeyDown(VK_ESCAPE, nullptr), 0);
  EXPECT_EQ(app.KeyDown('A', nullptr), 0);
  EXPECT_EQ(app.StylusDown(10, 10), 0);
  EXPECT_EQ(app.StylusMove(12, 12), 0);
  EXPECT_EQ(app.StylusUp(12, 12), 0);
  EXPECT_EQ(app.m_mode, MODE_MAP);
}

}  // namespace
