// The file-open call, message boxes and the beep on the headless backend: what the dialog
// was asked to show, what the caller gets back, and the change of current folder.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "platform/backend_select.h"
#include "platform/graphics/gapi.h"
#include "platform/windowing/detail/modal_scope.h"
#include "support/scratch_folder.h"
#include "window_test_util.h"

namespace {

namespace fs = std::filesystem;

constexpr char kFilters[] = "TXT files (*.txt)\0*.txt\0XML files (*.xml)\0*.xml\0All (*.*)\0*.*\0";

class FileDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    headless::Reset();
    scratch.Write("project/Harbour.xml", "<media_portrait/>\n");
    std::memset(file, 0, sizeof file);
    std::memset(&ofn, 0, sizeof ofn);
    ofn.lStructSize = sizeof ofn;
    ofn.lpstrFilter = kFilters;
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file;
    ofn.nMaxFile = sizeof file;
    ofn.lpstrInitialDir = "C:\\";
    ofn.lpstrTitle = "Select project";
    ofn.Flags = OFN_EXPLORER | OFN_PATHMUSTEXIST;
    ofn.lpstrDefExt = "txt";
  }

  testsupport::ScratchFolder scratch{"corvane_file_dialog"};
  const fs::path dir = scratch.Root();
  const fs::path start = fs::current_path();
  testsupport::CurrentFolder restore{start};  // the dialog moves the current folder
  char file[260];
  OPENFILENAMEA ofn;
};

TEST_F(FileDialog, ShowsWhatTheCallerAsksAndChangesToTheChosenFolder) {
  std::string chosen = (dir / "project" / "Harbour.xml").string();
  headless::QueueFileDialogAnswer(chosen);
  ASSERT_TRUE(GetOpenFileNameA(&ofn));
  ASSERT_EQ(headless::FileDialogs().size(), 1u);
  const auto& shown = headless::FileDialogs()[0];
  EXPECT_EQ(shown.title, "Select project");
  ASSERT_EQ(shown.filters.size(), 3u);
  EXPECT_EQ(shown.filters[0].first, "TXT files (*.txt)");
  EXPECT_EQ(shown.filters[0].second, "*.txt");
  EXPECT_EQ(shown.filters[2].second, "*.*");
  EXPECT_EQ(shown.filterIndex, 1u);
  EXPECT_EQ(shown.defaultExt, "txt");
  EXPECT_EQ(shown.flags, OFN_EXPLORER | OFN_PATHMUSTEXIST);

  EXPECT_EQ(std::string(file), chosen);
  EXPECT_STREQ(file + ofn.nFileOffset, "Harbour.xml");
  EXPECT_STREQ(file + ofn.nFileExtension, "xml");
  EXPECT_EQ(fs::current_path(), dir / "project");
}

TEST_F(FileDialog, CancelReturnsFalseAndLeavesTheFolder) {
  headless::QueueFileDialogAnswer(std::nullopt);
  EXPECT_FALSE(GetOpenFileNameA(&ofn));
  EXPECT_EQ(file[0], '\0');
  EXPECT_EQ(fs::current_path(), start);
}

TEST_F(FileDialog, CommandLinePresetIsTakenWithoutShowingAnything) {
  fs::current_path(dir);
  platform::PresetFileChoice("project/Harbour.xml");
  ASSERT_TRUE(GetOpenFileNameA(&ofn));
  EXPECT_TRUE(headless::FileDialogs().empty());
  EXPECT_EQ(std::string(file), (dir / "project" / "Harbour.xml").string()) << "made absolute";
  EXPECT_EQ(fs::current_path(), dir / "project");
  // Only the next call is preset.
  EXPECT_FALSE(GetOpenFileNameA(&ofn));
  EXPECT_EQ(headless::FileDialogs().size(), 1u);
}

TEST_F(FileDialog, NameTypedWithoutExtensionGetsTheDefaultOne) {
  headless::QueueFileDialogAnswer((dir / "project" / "notes").string());
  ASSERT_TRUE(GetOpenFileNameA(&ofn));
  EXPECT_EQ(std::string(file), (dir / "project" / "notes.txt").string());
}

TEST_F(FileDialog, PathLongerThanTheBufferFailsInsteadOfBeingCut) {
  headless::QueueFileDialogAnswer((dir / "project" / "Harbour.xml").string());
  ofn.nMaxFile = 8;
  EXPECT_FALSE(GetOpenFileNameA(&ofn));
  EXPECT_EQ(fs::current_path(), start);
}

TEST(MessageBoxes, AreRecordedAndAnsweredInOrder) {
  headless::Reset();
  headless::QueueMessageBoxAnswer(IDNO);
  EXPECT_EQ(MessageBoxA(nullptr, "Save changes?", "Question", MB_YESNO | MB_ICONQUESTION), IDNO);
  EXPECT_EQ(MessageBoxA(nullptr, "No file chosen, quiting", "Info", MB_OK), IDOK);
  ASSERT_EQ(headless::MessageBoxes().size(), 2u);
  EXPECT_EQ(headless::MessageBoxes()[0].text, "Save changes?");
  EXPECT_EQ(headless::MessageBoxes()[0].caption, "Question");
  EXPECT_EQ(headless::MessageBoxes()[0].type, MB_YESNO | MB_ICONQUESTION);
  EXPECT_EQ(headless::MessageBoxes()[0].answer, IDNO);
  EXPECT_EQ(headless::MessageBoxes()[1].caption, "Info");
  MessageBeep(0);
  MessageBeep(0);
  EXPECT_EQ(headless::BeepCount(), 2);
}

TEST(MessageBoxes, InputGivenBeforeTheBoxStillArrives) {
  headless::Reset();
  ASSERT_NE(wintest::MakeWindow(), nullptr);
  wintest::Drain();
  headless::InjectMouseDown(5, 5);
  MessageBoxA(nullptr, "text", "caption", MB_OK);
  EXPECT_EQ(wintest::Drain({WM_LBUTTONDOWN}).size(), 1u);
}

}  // namespace

namespace {

// What a real box or chooser does while it runs: the main window's input arrives during
// the modal loop and must not reach the program afterwards; the window's state does.
TEST(ModalLoops, InputGivenWhileABoxIsOpenIsDiscarded) {
  headless::Reset();
  ASSERT_NE(wintest::MakeWindow(CS_DBLCLKS), nullptr);
  wintest::Drain();
  headless::InjectKeyDown('A');
  wintest::Drain();
  {
    platform::ModalScope box;
    headless::InjectMouseDown(5, 5);
    headless::InjectMouseUp(5, 5);
    headless::InjectKeyUp('A');  // released while the box had the keyboard
    headless::InjectKeyDown('B');
    headless::InjectClose();
    headless::SetClientSize(1000, 700);
  }
  auto msgs = wintest::Drain();
  ASSERT_EQ(msgs.size(), 1u);
  EXPECT_EQ(msgs[0].message, WM_SIZE);
  CGapiInput input;
  GDKEYLIST keys{};
  input.GetKeyList(&keys);
  EXPECT_FALSE(keys.down['A']) << "the release still counts for the key list";
  // The click during the box does not pair with the next one into a double click.
  headless::InjectMouseDown(5, 5);
  EXPECT_EQ(wintest::Drain({WM_LBUTTONDOWN}).size(), 1u);
}

}  // namespace

namespace {

intptr_t CancelOnCommand(HWND dialog, UINT msg, WPARAM wParam, LPARAM) {
  if (msg == WM_INITDIALOG) return TRUE;
  if (msg == WM_COMMAND && LOWORD(wParam) == IDCANCEL) EndDialog(dialog, 0);
  return FALSE;
}

// A tap opens a box while the stylus is still down; the release goes to the box. The main
// window must still be told the stylus is up, or its drag goes on after the box.
TEST(ModalLoops, APressTheProgramSawIsReleasedWhenAnyBoxEnds) {
  struct Case {
    const char* name;
    void (*run)();
  };
  const Case cases[] = {
      {"message box", [] { MessageBoxA(nullptr, "Screen (1, 2)", "Position info", MB_OK); }},
      {"file dialog",
       [] {
         char file[260] = "";
         OPENFILENAMEA ofn{};
         ofn.lStructSize = sizeof ofn;
         ofn.lpstrFile = file;
         ofn.nMaxFile = sizeof file;
         GetOpenFileNameA(&ofn);
       }},
      {"template dialog",
       [] {
         headless::QueueDialogAnswer([](HWND) { headless::InjectMouseUp(9, 11); });
         DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(113), nullptr, CancelOnCommand,
                         0);
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    headless::Reset();
    ASSERT_NE(wintest::MakeWindow(), nullptr);
    headless::InjectMouseDown(9, 11);
    ASSERT_EQ(wintest::Drain({WM_LBUTTONDOWN}).size(), 1u);
    c.run();
    auto ups = wintest::Drain({WM_LBUTTONUP});
    ASSERT_EQ(ups.size(), 1u);
    EXPECT_EQ(ups[0].lParam, MAKELPARAM(9, 11));
    // Once released, a later box has nothing more to release.
    MessageBoxA(nullptr, "again", "Info", MB_OK);
    EXPECT_TRUE(wintest::Drain({WM_LBUTTONUP}).empty());
  }
}

}  // namespace
