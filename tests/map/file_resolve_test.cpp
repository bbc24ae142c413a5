// Names of files stored in projects written on other systems.
#include "map/file_resolve.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "scratch_folder.h"

namespace {

TEST(FileResolveTest, NameAsWrittenRelativeToTheCurrentFolder) {
  ScratchFolder folder;
  ScratchFolder::Write("media/intro.mp4");
  EXPECT_EQ(ResolveProjectFile("media/intro.mp4"), "media/intro.mp4");
  EXPECT_EQ(ResolveProjectFile(("" + folder.Path() + "/media/intro.mp4").c_str()),
            folder.Path() + "/media/intro.mp4");
  EXPECT_EQ(ResolveProjectFile("./media/../media/intro.mp4"), "./media/../media/intro.mp4");
}

TEST(FileResolveTest, BackslashIsAFolderSeparator) {
  ScratchFolder folder;
  ScratchFolder::Write("media/clips/intro.mp4");
  EXPECT_EQ(ResolveProjectFile("media\\clips\\intro.mp4"), "media/clips/intro.mp4");
  EXPECT_EQ(ResolveProjectFile(".\\media\\clips\\intro.mp4"), "./media/clips/intro.mp4");
  // A name that really holds a backslash is still found as written.
  ScratchFolder::Write("odd\\name.png");
  EXPECT_EQ(ResolveProjectFile("odd\\name.png"), "odd\\name.png");
}

TEST(FileResolveTest, LetterCaseIsIgnoredOnlyWhenTheNameIsNotFoundAsWritten) {
  ScratchFolder folder;
  ScratchFolder::Write("Media/Clips/Intro.MP4");
  EXPECT_EQ(ResolveProjectFile("media\\CLIPS\\intro.mp4"), "Media/Clips/Intro.MP4");
  EXPECT_EQ(ResolveProjectFile((folder.Path() + "/MEDIA/clips/INTRO.mp4").c_str()),
            folder.Path() + "/Media/Clips/Intro.MP4");
  ScratchFolder::Write("thumb.png", "lower");
  ScratchFolder::Write("THUMB.PNG", "upper");
  EXPECT_EQ(ResolveProjectFile("THUMB.PNG"), "THUMB.PNG");
  EXPECT_EQ(ResolveProjectFile("thumb.png"), "thumb.png");
  EXPECT_EQ(ResolveProjectFile("Thumb.png"), "THUMB.PNG");  // first variant in name order
}

TEST(FileResolveTest, FoldersAndMissingNamesAreNotFiles) {
  ScratchFolder folder;
  ScratchFolder::MakeFolder("video.mp4");
  ScratchFolder::MakeFolder("clips");
  ScratchFolder::Write("CLIPS2/a.mp4");
  EXPECT_EQ(ResolveProjectFile("video.mp4"), "");
  EXPECT_EQ(ResolveProjectFile("VIDEO.MP4"), "");
  EXPECT_EQ(ResolveProjectFile("clips"), "");
  EXPECT_EQ(ResolveProjectFile("clips/.."), "");
  EXPECT_EQ(ResolveProjectFile("missing.mp4"), "");
  EXPECT_EQ(ResolveProjectFile("nowhere\\a.mp4"), "");
  EXPECT_EQ(ResolveProjectFile("clips2\\A.MP4"), "CLIPS2/a.mp4");
  EXPECT_EQ(ResolveProjectFile(""), "");
  EXPECT_EQ(ResolveProjectFile(nullptr), "");
}

TEST(FileResolveTest, LinksToFilesCountAsFiles) {
  ScratchFolder folder;
  ScratchFolder::Write("real.png");
  std::filesystem::create_symlink("real.png", "Link.png");
  std::filesystem::create_symlink("missing.png", "dangling.png");
  EXPECT_EQ(ResolveProjectFile("link.PNG"), "Link.png");
  EXPECT_EQ(ResolveProjectFile("dangling.png"), "");
}

}  // namespace
