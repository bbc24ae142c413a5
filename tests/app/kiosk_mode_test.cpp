// The kiosk wired into the program: visitors cannot quit, the operator can; an idle visit
// ends saved and the next starts on the list; Start makes a guest; a full users file is
// archived whole, and when that fails everything stays in it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "interact/input_fixture.h"
#include "platform/text/tr.h"
#include "platform/windowing/modal_limit.h"
#include "support/files.h"
#include "support/pseudo_text.h"
#include "support/scratch_folder.h"

namespace {

namespace fs = std::filesystem;
using testsupport::ReadAll;

class KioskTest : public inputtest::InputTest {
 protected:
  void SetUp() override {
    InputTest::SetUp();
    RunOptions options;
    options.kiosk = true;
    options.idleMinutes = 1;
    app->SetRunOptions(options);
    model->m_kiosk = true;
    std::strcpy(app->m_projectFile, (dir / "project.xml").c_str());
    std::strcpy(model->m_projectPath, app->m_projectFile);
    std::strcpy(system->m_userFilename, (dir / "users.xml").c_str());
    app->KioskTouch();
  }
  void TearDown() override {
    platform::SetModalTimeLimit(0);
    InputTest::TearDown();
  }
  void OperatorGesture() {
    for (UINT vk : {VK_CONTROL, VK_SHIFT, UINT{'Q'}}) app->KeyDown(vk, nullptr);
  }
  // A full users file, 128 users with a viewing each, as written.
  std::string FillUsersFile() {
    for (int i = 0; i < LIST_CAPACITY; ++i)
      AddUser(i, ("VISITOR " + std::to_string(i)).c_str())->AddViewed(7);
    model->SaveUsersFile();
    return ReadAll(dir / "users.xml");
  }
  std::vector<fs::path> ArchivesBeside() const {
    std::vector<fs::path> out;
    for (const auto& entry : fs::directory_iterator(dir))
      if (entry.path().filename() != "users.xml") out.push_back(entry.path());
    return out;
  }
  testsupport::ScratchFolder scratch{"corvane-kiosk-app"};
  const fs::path dir = scratch.Root();
};

TEST_F(KioskTest, VisitorsCannotQuitTheOperatorCanAfterAsking) {
  model->SetCurrentUser(AddUser(1, "ANN"));
  Tap(780, 10);  // where the exit button is
  EXPECT_FALSE(app->OnClose(true));
  for (int column : {1, 2, 3, 4, 7}) {
    model->ExecuteMenuButton(column, 0);
    app->PerformPendingAction();
  }
  EXPECT_EQ(app->m_quit, 0);
  EXPECT_EQ(headless::DialogCount(), 0);
  EXPECT_EQ(model->m_editSelection, -2);

  app->KeyDown(VK_CONTROL, nullptr);
  app->KeyUp(VK_CONTROL, nullptr);
  for (UINT vk : {VK_SHIFT, UINT{'Q'}}) app->KeyDown(vk, nullptr);  // Ctrl let go: no gesture
  EXPECT_TRUE(headless::MessageBoxes().empty());
  headless::QueueMessageBoxAnswer(IDNO);
  OperatorGesture();
  EXPECT_EQ(app->m_quit, 0);
  headless::QueueMessageBoxAnswer(IDYES);
  OperatorGesture();
  ASSERT_EQ(headless::MessageBoxes().size(), 2u);
  EXPECT_EQ(app->m_quit, 1);
  EXPECT_NE(ReadAll(dir / "users.xml").find("ANN"), std::string::npos);
}

TEST_F(KioskTest, IdleVisitEndsSavedAndTheNextVisitorStartsOnTheList) {
  model->SetCurrentUser(AddUser(1, "ANN"));
  model->m_menuOpen = true;
  headless::AdvanceClock(59'999);
  app->KioskStep();
  EXPECT_EQ(app->m_mode, MODE_MAP);
  headless::AdvanceClock(1);
  app->KioskStep();
  EXPECT_EQ(app->m_mode, MODE_USER_LIST);
  EXPECT_EQ(model->m_currentUser, nullptr);
  EXPECT_FALSE(model->m_menuOpen);
  EXPECT_NE(ReadAll(dir / "users.xml").find("<duration>1.00</duration>"), std::string::npos);

  // A paused playback left behind is stopped when the time is up; a playing one holds on.
  app->StartGuest();
  model->m_videoFile[0] = '\0';
  app->ToggleVideo();
  headless::AdvanceClock(90'000);
  app->KioskStep();
  EXPECT_TRUE(model->IsVideoPlaying());
  app->m_videoPaused = true;
  headless::AdvanceClock(60'000);
  app->KioskStep();
  EXPECT_FALSE(model->IsVideoPlaying());
  EXPECT_EQ(app->m_drawing, 1);
  EXPECT_EQ(app->m_mode, MODE_USER_LIST);
  EXPECT_NE(ReadAll(dir / "users.xml").find("GUEST 1"), std::string::npos);
}

TEST_F(KioskTest, StartOnAFullUsersFileArchivesItWholeAndBeginsANewOne) {
  const std::string full = FillUsersFile();
  app->StartGuest();
  ASSERT_NE(model->m_currentUser, nullptr);
  EXPECT_STREQ(model->m_currentUser->Username(), "GUEST 1");
  const std::vector<fs::path> archives = ArchivesBeside();
  ASSERT_EQ(archives.size(), 1u);
  EXPECT_EQ(ReadAll(archives[0]), full);
  const std::string users = ReadAll(dir / "users.xml");
  EXPECT_NE(users.find("GUEST 1"), std::string::npos);
  EXPECT_EQ(users.find("VISITOR"), std::string::npos);
}

TEST_F(KioskTest, ArchiveRefusedKeepsEveryVisitInTheFullFileAndSaysSo) {
  const std::string full = FillUsersFile();
  app->m_archiveUsersFile = [](const std::string&, std::time_t, std::string*,
                               std::string* problem) {
    *problem = "Read-only file system";
    return false;
  };
  app->StartGuest();
  EXPECT_EQ(model->m_currentUser, nullptr);  // in, but not recorded
  EXPECT_EQ(ReadAll(dir / "users.xml"), full);
  EXPECT_TRUE(ArchivesBeside().empty());

  app->m_mode = MODE_USER_LIST;
  headless::SetDrawRecording(true);
  headless::ClearDrawCalls();
  app->DrawUserScreen(headless::BackBuffer());
  std::string shown;
  for (const apptest::TextAt& t : apptest::TextsDrawn()) shown += t.text + " ";
  EXPECT_NE(shown.find("CANNOT BE ARCHIVED (READ-ONLY FILE SYSTEM)"), std::string::npos) << shown;
}

// In a pseudo-language whose translations are the English in brackets, the Start button, the
// notice under the user screens and the operator's box show no English left unmarked.
TEST_F(KioskTest, StartNoticeAndOperatorBoxAreAllInTheReadersLanguage) {
  setenv("CORVANE_LOCALEDIR", CORVANE_PSEUDO_CATALOGUES, 1);
  tr::InitTexts();
  tr::UseLanguage("xx");
  FillUsersFile();
  app->m_archiveUsersFile = [](const std::string&, std::time_t, std::string*, std::string*) {
    return false;
  };
  app->StartGuest();
  app->m_mode = MODE_USER_LIST;
  headless::SetDrawRecording(true);
  headless::ClearDrawCalls();
  app->DrawUserScreen(headless::BackBuffer());
  headless::QueueMessageBoxAnswer(IDNO);
  OperatorGesture();
  tr::UseLanguage("");
  unsetenv("CORVANE_LOCALEDIR");

  // The notice is broken into lines: the screen's texts are read as one.
  std::vector<std::string> shown(1);
  for (const apptest::TextAt& t : apptest::TextsDrawn()) shown[0] += t.text + " ";
  ASSERT_FALSE(headless::MessageBoxes().empty());
  const headless::MessageBoxRecord& box = headless::MessageBoxes().back();
  shown.insert(shown.end(), {box.text, box.caption});
  shown.insert(shown.end(), box.labels.begin(), box.labels.end());
  // Outside brackets only the visitors' names may stand.
  for (const std::string& text : shown)
    EXPECT_FALSE(testsupport::HasUnmarkedWord(text, {"VISITOR"})) << text;
  EXPECT_NE(shown[0].find("[START]"), std::string::npos);
}

}  // namespace
