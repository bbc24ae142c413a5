// Pending actions carried out by the application object: save and quit with both files
// written, the user list, the relationships dialog, and what happens when saving fails.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "input_fixture.h"
#include "support/files.h"
#include "support/scratch_folder.h"

namespace {

namespace fs = std::filesystem;
using inputtest::InputTest;

using testsupport::ReadAll;

class PendingActionTest : public InputTest {
 protected:
  void SetUp() override {
    InputTest::SetUp();
    std::strcpy(app->m_projectFile, (dir / "project.xml").c_str());
    std::strcpy(model->m_projectPath, app->m_projectFile);
    std::strcpy(system->m_userFilename, (dir / "users.xml").c_str());
    AddRegion(4, 500, 400);
    icon = AddContent(7, 4, 200, 200, 0, "seven.mp4");
    icon->m_inActiveRegion = true;
    user = AddUser(1, "Ann", 3.45);
    model->SetCurrentUser(user);
  }
  testsupport::ScratchFolder scratch{"corvane-input"};
  const fs::path dir = scratch.Root();
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

namespace {

TEST_F(PendingActionTest, ClosingTheWindowAsksToSaveFirst) {
  struct Case {
    int answer;
    bool quits;
    bool saves;
  };
  for (const Case& c :
       {Case{IDYES, true, true}, Case{IDNO, true, false}, Case{IDCANCEL, false, false}}) {
    SCOPED_TRACE(c.answer);
    fs::remove(dir / "project.xml");
    fs::remove(dir / "users.xml");
    headless::Reset();
    app->m_quit = 0;
    headless::QueueMessageBoxAnswer(c.answer);
    app->WindowProc(nullptr, WM_SYSCOMMAND, SC_CLOSE, 0);
    ASSERT_EQ(headless::MessageBoxes().size(), 1u);
    const headless::MessageBoxRecord& box = headless::MessageBoxes()[0];
    EXPECT_EQ(box.text.rfind("Save before closing?", 0), 0u);
    EXPECT_EQ(box.labels, (std::vector<std::string>{"Save", "Don't save", "Cancel"}));
    EXPECT_EQ(box.type & MB_TYPEMASK, MB_YESNOCANCEL);
    EXPECT_EQ(box.type & MB_DEFMASK, MB_DEFBUTTON1);  // Enter saves
    EXPECT_EQ(app->m_quit, c.quits ? 1 : 0);
    EXPECT_EQ(fs::exists(dir / "project.xml"), c.saves);
    EXPECT_EQ(fs::exists(dir / "users.xml"), c.saves);
  }
}

TEST_F(PendingActionTest, SaveOnClosingKeepsTheVisitLikeTheExitButton) {
  headless::AdvanceClock(20'000);
  app->WindowProc(nullptr, WM_SYSCOMMAND, SC_CLOSE, 0);  // the default answer: Save
  EXPECT_EQ(app->m_quit, 1);
  EXPECT_NE(ReadAll(dir / "users.xml").find("<duration>4.05</duration>"), std::string::npos);
}

TEST_F(PendingActionTest, TheEndOfTheProcessSavesWithoutAsking) {
  headless::AdvanceClock(20'000);
  std::strcpy(system->m_userFilename, (dir / "no-such-folder" / "users.xml").c_str());
  app->WindowProc(nullptr, WM_ENDSESSION, TRUE, 0);
  EXPECT_EQ(app->m_quit, 1);
  EXPECT_TRUE(headless::MessageBoxes().empty());  // not even about the unwritable users file
  EXPECT_NE(ReadAll(dir / "project.xml").find("<region_id>4</region_id>"), std::string::npos);
}

TEST_F(PendingActionTest, AProjectThatDroppedRecordsAsksOnceInPlainWords) {
  for (bool edited : {false, true}) {
    SCOPED_TRACE(edited);
    headless::Reset();
    app->m_quit = 0;
    model->m_projectEdited = false;
    CRegionItem region;
    while (model->m_regionList->Rejected() == 0) model->m_regionList->Add(region);
    if (edited) {
      model->ExecuteMenuButton(1, 0);
      Tap(200, 200);
      Tap(300, 120);  // the icon placed elsewhere
    }
    Tap(780, 10);
    ASSERT_EQ(headless::MessageBoxes().size(), 1u);
    const headless::MessageBoxRecord& box = headless::MessageBoxes()[0];
    EXPECT_EQ(box.caption, "Project not saved");
    EXPECT_NE(box.text.find("more than 128 records"), std::string::npos);
    EXPECT_NE(box.text.find(edited ? "loses the changes to the project" : "nothing is lost"),
              std::string::npos)
        << box.text;
    // The default answer loses nothing: quit when nothing was changed, stay when it was.
    EXPECT_EQ(box.answer, edited ? IDNO : IDYES);
    EXPECT_EQ(app->m_quit, edited ? 0 : 1);
    EXPECT_FALSE(fs::exists(dir / "project.xml"));
    EXPECT_NE(ReadAll(dir / "users.xml").find("Ann"), std::string::npos);  // saved all the same
  }
}

TEST_F(PendingActionTest, AFileThatLoadedInPartIsKeptAndTheBoxSaysWhy) {
  struct Case {
    const char* what;
    bool usersDropped;
    int crowdedLine;  // of the project
    const char* caption;
    const char* says;
  };
  const Case cases[] = {
      {"a line of two elements", false, 12, "Project not saved",
       "more than one element on line 12"},
      {"users past 128", true, 0, "Users not saved", "users file holds more than 128 users"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    headless::Reset();
    app->m_quit = 0;
    fs::remove(dir / "users.xml");
    model->m_projectCrowdedLine = c.crowdedLine;
    if (c.usersDropped)
      while (model->m_userList->Rejected() == 0) model->AddNewUser("x");
    Tap(780, 10);
    ASSERT_EQ(headless::MessageBoxes().size(), 1u);
    EXPECT_EQ(headless::MessageBoxes()[0].caption, c.caption);
    EXPECT_NE(headless::MessageBoxes()[0].text.find(c.says), std::string::npos)
        << headless::MessageBoxes()[0].text;
    EXPECT_EQ(fs::exists(dir / "users.xml"), !c.usersDropped);
    EXPECT_EQ(fs::exists(dir / "project.xml"), c.crowdedLine == 0);
  }
}

}  // namespace
