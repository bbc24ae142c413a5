// The video probe: playable files give their duration, everything else a reason, and nothing
// but the named local file is ever opened.
#include "platform/media/media_probe.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/media_clips.h"
#include "support/scratch_folder.h"

namespace fs = std::filesystem;
using platform::MediaProber;

namespace {

fs::path ProbeDir() { return testsupport::RunScratch().Root(); }

std::string WriteFile(const std::string& name, const std::string& text) {
  return testsupport::RunScratch().Write(name, text);
}

std::string DemoVideo() { return std::string(CORVANE_SOURCE_DIR) + "/demo/video/item01.mp4"; }

TEST(MediaProbe, DemoVideoPlaysForItsLength) {
  MediaProber prober;
  const auto result = prober.Probe(DemoVideo());
  EXPECT_TRUE(result.playable) << result.reason;
  EXPECT_GT(result.seconds, 0.5);
  // The same player takes the next file.
  EXPECT_TRUE(prober.Probe(DemoVideo()).playable);
}

TEST(MediaProbe, SoundFilePlaysWithoutPicture) {
  const std::string tone = testsupport::MakeTone(ProbeDir() / "tone.wav", 1);
  ASSERT_FALSE(tone.empty());
  MediaProber prober;
  const auto result = prober.Probe(tone);
  EXPECT_TRUE(result.playable) << result.reason;
  EXPECT_FALSE(result.picture);
  EXPECT_GT(result.seconds, 0.5);
  EXPECT_TRUE(prober.Probe(DemoVideo()).picture);
}

TEST(MediaProbe, RefusesWhatIsNotAPlayableLocalFile) {
  struct Case {
    std::string path;
    std::string reason;
  };
  const Case cases[] = {
      {"http://127.0.0.1:9/clip.mp4", "is not a local file name"},
      {"av://lavfi:testsrc", "is not a local file name"},
      {ProbeDir().string(), "is not a file"},
      {WriteFile("empty.mp4", ""), "is empty"},
      {WriteFile("notes.mp4", "not a video at all\n"),
       "is not a video or sound file the player can read"},
      // A playlist would lead the player elsewhere: its entries are never opened.
      {WriteFile("list.m3u", "#EXTM3U\nhttp://127.0.0.1:9/a.mp4\n" + DemoVideo() + "\n"),
       "is not a video or sound file the player can read"},
  };
  MediaProber prober;
  for (const Case& c : cases) {
    const auto result = prober.Probe(c.path);
    EXPECT_FALSE(result.playable) << c.path;
    EXPECT_EQ(result.reason, c.reason) << c.path;
  }
  // A refused playlist leaves the player able to probe the next file.
  EXPECT_TRUE(prober.Probe(DemoVideo()).playable);
}

}  // namespace
