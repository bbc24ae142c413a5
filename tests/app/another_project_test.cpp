// A chosen file that does not load as a project: the box that names it and what was wrong,
// and the offer to choose another.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "app/portrait_app.h"
#include "app_test_support.h"
#include "data/system_item.h"
#include "map/portrait.h"
#include "platform/backend_headless/headless.h"
#include "support/scratch_folder.h"

namespace {

namespace fs = std::filesystem;

// Runs a given number of frames, then quits.
class FramesApp : public CPortraitApp {
 public:
  FramesApp(const AppConfig& config, int frames) : CPortraitApp(config), m_left(frames) {}
  HRESULT ProcessNextFrame(CGapiSurface* backBuffer, uint32_t flags) override {
    const HRESULT hr = CPortraitApp::ProcessNextFrame(backBuffer, flags);
    if (--m_left <= 0) Quit();
    return hr;
  }

 private:
  int m_left;
};

class AnotherProjectTest : public ::testing::Test {
 protected:
  void SetUp() override {
    apptest::ResetAll();
    scratch.Write("Harbour.xml", "<system>\n<map_filename>none.png</map_filename>\n</system>\n");
    scratch.Write("HarbourUsers.xml", "<user_list>\n</user_list>\n");
    scratch.Write("Twice.xml", "<system>\n</system>\n<system>\n</system>\n");
  }
  // The one box of that caption, or null.
  static const headless::MessageBoxRecord* Box(const std::string& caption) {
    const headless::MessageBoxRecord* found = nullptr;
    for (const auto& box : headless::MessageBoxes())
      if (box.caption == caption) found = &box;
    return found;
  }

  testsupport::ScratchFolder scratch{"corvane-choice"};
  testsupport::CurrentFolder stay{std::filesystem::current_path()};  // a load moves it
  const fs::path root = scratch.Root();
};

TEST_F(AnotherProjectTest, AFailedLoadNamesTheFileAndWhatWasWrong) {
  struct Case {
    std::string name;
    const char* reason;
    bool mapBox;  // the map step says first that it found no map
  };
  // Sparse: over the size limit at no cost.
  fs::resize_file(scratch.Write("Big.xml", "<system>\n</system>\n"), 9u << 20);
  for (const Case& c : {Case{"missing.xml", "cannot be opened", false},
                        Case{"HarbourUsers.xml", "no system record", false},
                        Case{"Twice.xml", "more than one system record", true},
                        Case{"Big.xml", "larger than 8 MB", false}}) {
    SCOPED_TRACE(c.name);
    apptest::ResetAll();
    const std::string path = (root / c.name).string();
    headless::QueueFileDialogAnswer(path);
    if (c.mapBox) headless::QueueMessageBoxAnswer(IDOK);
    headless::QueueMessageBoxAnswer(IDNO);
    FramesApp app(apptest::ProgramConfig(), 2);
    EXPECT_EQ(app.Run(), 0);
    const headless::MessageBoxRecord* box = Box("Not a project");
    ASSERT_NE(box, nullptr);
    EXPECT_NE(box->text.find(path), std::string::npos) << box->text;
    EXPECT_NE(box->text.find(c.reason), std::string::npos) << box->text;
    EXPECT_NE(box->text.find("Choose another project?"), std::string::npos);
    // No: the program ends without asking for a file, says so in its exit status, and
    // leaves no lock beside a file that is not a project.
    EXPECT_EQ(headless::FileDialogs().size(), 1u);
    EXPECT_EQ(app.m_projectFile, path);
    EXPECT_EQ(app.ExitStatus(), EXIT_NO_PROJECT);
    EXPECT_FALSE(fs::exists(root / ("." + c.name + ".lock")));
  }
}

TEST_F(AnotherProjectTest, YesOpensTheFileDialogAndStartsOnTheChosenProject) {
  headless::QueueFileDialogAnswer((root / "HarbourUsers.xml").string());
  headless::QueueMessageBoxAnswer(IDYES);
  const std::string good = (root / "Harbour.xml").string();
  headless::QueueFileDialogAnswer(good);
  FramesApp app(apptest::ProgramConfig(), 2);
  EXPECT_EQ(app.Run(), 0);
  EXPECT_EQ(headless::FileDialogs().size(), 2u);
  EXPECT_EQ(app.m_projectFile, good);
  ASSERT_NE(app.m_model, nullptr);
  EXPECT_NE(app.m_model->System(), nullptr);
  EXPECT_EQ(app.m_mode, MODE_NEW_USER);                           // its users file holds nobody yet
  EXPECT_EQ(Box("Not a project"), &headless::MessageBoxes()[0]);  // asked only once
  EXPECT_EQ(app.ExitStatus(), 0);
  EXPECT_TRUE(fs::exists(root / ".Harbour.xml.lock"));
  EXPECT_FALSE(fs::exists(root / ".HarbourUsers.xml.lock"));
}

TEST_F(AnotherProjectTest, AProjectThatLoadsAsksNothing) {
  headless::QueueFileDialogAnswer((root / "Harbour.xml").string());
  FramesApp app(apptest::ProgramConfig(), 1);
  EXPECT_EQ(app.Run(), 0);
  EXPECT_EQ(Box("Not a project"), nullptr);
}

}  // namespace
