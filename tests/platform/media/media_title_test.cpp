// The title a media file carries: read from its tag, nothing from anything else.
#include "platform/media/media_title.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(MediaTitle, TheTagIsReadAndEverythingElseHasNone) {
  const std::string demo = std::string(CORVANE_SOURCE_DIR) + "/demo/";
  EXPECT_EQ(platform::ReadMediaTitle(demo + "audio/item04.mp3"), "Gutting the catch");
  EXPECT_EQ(platform::ReadMediaTitle(demo + "audio/item04.mp3", 7), "Gutting");
  EXPECT_EQ(platform::ReadMediaTitle(demo + "video/item01.mp4"), "");  // no tag
  EXPECT_EQ(platform::ReadMediaTitle(demo + "Harbour.xml"), "");
  EXPECT_EQ(platform::ReadMediaTitle(demo + "no such file.mp3"), "");
  EXPECT_EQ(platform::ReadMediaTitle(demo), "");  // a folder
  EXPECT_EQ(platform::ReadMediaTitle("http://example.invalid/a.mp3"), "");
}

}  // namespace
