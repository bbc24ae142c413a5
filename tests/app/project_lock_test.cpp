// One program per project: the lock beside the project, a second start on a locked project,
// and lock files a project's author could plant.
#include "app/project_lock.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "app/portrait_app.h"
#include "app_test_support.h"
#include "platform/backend_headless/headless.h"
#include "support/files.h"
#include "support/scratch_folder.h"

namespace {

namespace fs = std::filesystem;

// Ends after its first frame, so a start that should not have run cannot hang the test.
class OneFrameApp : public CPortraitApp {
 public:
  using CPortraitApp::CPortraitApp;
  HRESULT ProcessNextFrame(CGapiSurface* backBuffer, uint32_t flags) override {
    const HRESULT hr = CPortraitApp::ProcessNextFrame(backBuffer, flags);
    Quit();
    return hr;
  }
};

class ProjectLockTest : public ::testing::Test {
 protected:
  void SetUp() override {
    apptest::ResetAll();
    project = scratch.Write("tour/Harbour.xml",
                            "<system>\n<user_filename>People.xml</user_filename>\n</system>\n");
    scratch.Write("tour/People.xml", "");
  }

  testsupport::ScratchFolder scratch{"corvane-lock"};
  testsupport::CurrentFolder stay{std::filesystem::current_path()};  // a load moves it
  const fs::path root = scratch.Root();
  std::string project;
};

TEST_F(ProjectLockTest, TwoNamesOfOneProjectShareOneLock) {
  fs::create_symlink(project, root / "tour" / "Link.xml");
  fs::create_directory(root / "other");
  fs::create_symlink(project, root / "other" / "Harbour.xml");
  CProjectLock first;
  ASSERT_EQ(first.Acquire(project.c_str()), CProjectLock::Result::Held);
  for (const fs::path& name : {root / "tour" / "Link.xml", root / "other" / "Harbour.xml"}) {
    CProjectLock second;
    EXPECT_EQ(second.Acquire(name.c_str()), CProjectLock::Result::HeldElsewhere) << name;
  }
}

TEST_F(ProjectLockTest, OneHolderAtATimeAndACrashedHolderBlocksNobody) {
  CProjectLock first;
  ASSERT_EQ(first.Acquire(project.c_str()), CProjectLock::Result::Held);
  EXPECT_TRUE(fs::is_regular_file(root / "tour" / ".Harbour.xml.lock"));
  CProjectLock second;
  EXPECT_EQ(second.Acquire(project.c_str()), CProjectLock::Result::HeldElsewhere);
  first.Release();
  EXPECT_EQ(second.Acquire(project.c_str()), CProjectLock::Result::Held);
  second.Release();

  // A run that dies holding the lock leaves its file, but not its lock.
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    CProjectLock held;
    if (held.Acquire(project.c_str()) != CProjectLock::Result::Held) _exit(1);
    kill(getpid(), SIGKILL);
  }
  int status = 0;
  waitpid(child, &status, 0);
  ASSERT_TRUE(WIFSIGNALED(status));
  EXPECT_EQ(second.Acquire(project.c_str()), CProjectLock::Result::Held);
}

TEST_F(ProjectLockTest, APlantedLockFileIsNeitherFollowedNorWaitedOn) {
  // A link under the lock's name would make the lock file outside the folder.
  fs::create_symlink(root / "made-outside", root / "tour" / ".Harbour.xml.lock");
  CProjectLock lock;
  EXPECT_EQ(lock.Acquire(project.c_str()), CProjectLock::Result::Unavailable);
  EXPECT_FALSE(fs::exists(root / "made-outside"));

  // A pipe would block the start.
  fs::remove(root / "tour" / ".Harbour.xml.lock");
  ASSERT_EQ(mkfifo((root / "tour" / ".Harbour.xml.lock").c_str(), 0644), 0);
  EXPECT_EQ(lock.Acquire(project.c_str()), CProjectLock::Result::Unavailable);
}

TEST_F(ProjectLockTest, ASecondStartOnAnOpenProjectSaysSoAndTouchesNothing) {
  CProjectLock other;
  ASSERT_EQ(other.Acquire(project.c_str()), CProjectLock::Result::Held);
  const std::string before = testsupport::ReadAll(project);
  const auto usersTime = fs::last_write_time(root / "tour" / "People.xml");

  headless::QueueFileDialogAnswer(project);
  OneFrameApp app(apptest::ProgramConfig());
  EXPECT_EQ(app.Run(), 0);
  ASSERT_EQ(headless::MessageBoxes().size(), 1u);
  EXPECT_EQ(headless::MessageBoxes()[0].caption, "Project already open");
  EXPECT_NE(headless::MessageBoxes()[0].text.find(project), std::string::npos);
  EXPECT_EQ(app.m_model, nullptr);  // the startup went no further than the project file
  EXPECT_EQ(app.ExitStatus(), EXIT_NO_PROJECT);
  EXPECT_EQ(testsupport::ReadAll(project), before);
  EXPECT_EQ(fs::last_write_time(root / "tour" / "People.xml"), usersTime);
}

}  // namespace
