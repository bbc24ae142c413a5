// Pending actions carried out by the application object: save and quit with both files
// written, the user list, the relationships dialog, and what happens when saving fails.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "input_fixture.h"

namespace {

namespace fs = std::filesystem;
using inputtest::InputTest;

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

class PendingActionTest : public InputTest {
 protected:
  void SetUp() override {
    InputTest::SetUp();
    dir = fs::temp_directory_path() /
          ("corvane-input-" +
           std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    std::strcpy(app->m_projectFile, (dir / "project.xml").c_str());
    std::strcpy(model->m_projectPath, app->m_projectFile);
    std::strcpy(system->m_userFilename, (dir / "users.xml").c_str());
    AddRegion(4, 500, 400);
    icon = AddContent(7, 4, 200, 200, 0, "seven.mp4");
    icon->m_inActiveRegion = true;
    user = AddUser(1, "Ann", 3.45);
    model->SetCurrentUser(user);
  }
  void TearDown() override {
    InputTest::TearDown();
    fs::remove_all(dir);
  }

  fs::path dir;
  CContentItem* icon = nullptr;
  CUserContext* user = nullptr;
};

TEST_F(PendingActionTest, ExitButtonWithTheMenuOpenSavesBothFilesAndQuits) {
  headless::AdvanceClock(20'000);
  Key(VK_ESCAPE);
  Tap(780, 10);
  EXPECT_EQ(app->m_quit, 1);
  const std::string project = ReadAll(dir / "project.xml");
  EXPECT_NE(project.find("<region_id>4</region_id>"), std::string::npos);
  const std::string users = ReadAll(dir / "users.xml");
  EXPECT_NE(users.find("Ann"), std::string::npos);
  EXPECT_NE(users.find("<duration>4.05</duration>"), std::string::npos);  // the clock committed
  EXPECT_TRUE(headless::MessageBoxes().empty());
}

TEST_F(PendingActionTest, MenuButtonAndWindowsKeyQuitToo) {
  model->m_menuOpen = true;
  model->m_menuCursor = 7;
  Key(VK_LWIN);
  EXPECT_EQ(app->m_quit, 1);
  EXPECT_TRUE(fs::exists(dir / "project.xml"));
  EXPECT_TRUE(fs::exists(dir / "users.xml"));
}

TEST_F(PendingActionTest, PlacedIconIsWrittenAtItsNewPositionByTheNextSave) {
  model->ExecuteMenuButton(1, 0);
  Tap(200, 200);
  Tap(300, 120);  // gps (-1.2945 + 0.15, 51.5225 - 0.06)
  Tap(780, 10);
  const std::string project = ReadAll(dir / "project.xml");
  EXPECT_NE(project.find("<gps_x>-1.144500</gps_x>"), std::string::npos) << project;
  EXPECT_NE(project.find("<gps_y>51.462500</gps_y>"), std::string::npos);
}

TEST_F(PendingActionTest, UnwritableProjectAsksBeforeQuitting) {
  std::strcpy(app->m_projectFile, (dir / "no-such-folder" / "project.xml").c_str());
  headless::QueueMessageBoxAnswer(IDNO);
  Tap(780, 10);
  ASSERT_EQ(headless::MessageBoxes().size(), 1u);
  EXPECT_EQ(headless::MessageBoxes()[0].caption, "Project not saved");
  EXPECT_NE(headless::MessageBoxes()[0].text.find("no-such-folder"), std::string::npos);
  EXPECT_EQ(app->m_quit, 0);  // stays, the edits still in memory

  headless::QueueMessageBoxAnswer(IDYES);
  Tap(780, 10);
  EXPECT_EQ(app->m_quit, 1);
}

TEST_F(PendingActionTest, UnwritableUsersFileAsksBeforeQuittingToo) {
  std::strcpy(system->m_userFilename, (dir / "no-such-folder" / "users.xml").c_str());
  headless::QueueMessageBoxAnswer(IDNO);
  Tap(780, 10);
  ASSERT_EQ(headless::MessageBoxes().size(), 1u);
  EXPECT_EQ(headless::MessageBoxes()[0].caption, "Users not saved");
  EXPECT_NE(headless::MessageBoxes()[0].text.find("no-such-folder"), std::string::npos);
  EXPECT_EQ(app->m_quit, 0);
  EXPECT_TRUE(fs::exists(dir / "project.xml"));  // the project itself was written

  std::strcpy(system->m_userFilename, (dir / "users.xml").c_str());
  Tap(780, 10);
  EXPECT_EQ(app->m_quit, 1);
  EXPECT_NE(ReadAll(dir / "users.xml").find("Ann"), std::string::npos);
}

TEST_F(PendingActionTest, ProjectThatNeverLoadedQuitsWithoutAsking) {
  delete model->m_systemList;
  model->m_systemList = new CXmlItemList;
  Tap(780, 10);
  EXPECT_EQ(app->m_quit, 1);
  EXPECT_TRUE(headless::MessageBoxes().empty());
  EXPECT_FALSE(fs::exists(dir / "project.xml"));
}

TEST_F(PendingActionTest, RelationshipsButtonRunsTheDialog) {
  Key(VK_ESCAPE);
  Tap(2 + 2 * 30 + 10, 10);
  EXPECT_EQ(headless::DialogCount(), 1);
  EXPECT_EQ(model->m_pendingAction, ACTION_NONE);
}

}  // namespace
