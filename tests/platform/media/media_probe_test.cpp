// The video probe: playable files give their duration, everything else a reason, and nothing
// but the named local file is ever opened.
#include "platform/media/media_probe.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;
using platform::MediaProber;

namespace {

fs::path ProbeDir() {
  static fs::path dir = [] {
    fs::path d = fs::temp_directory_path() / ("corvane_probe_" + std::to_string(::getpid()));
    fs::create_directories(d);
    return d;
  }();
  return dir;
}

class ProbeCleanup : public ::testing::Environment {
 public:
  void TearDown() override {
    std::error_code ec;
    fs::remove_all(ProbeDir(), ec);
  }
};
[[maybe_unused]] ::testing::Environment* const kProbeCleanup =
    ::testing::AddGlobalTestEnvironment(new ProbeCleanup);

std::string WriteFile(const std::string& name, const std::string& text) {
  const fs::path p = ProbeDir() / name;
  std::ofstream(p, std::ios::binary) << text;
  return p.string();
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
  const fs::path p = ProbeDir() / "tone.wav";
  const std::string cmd =
      "ffmpeg -loglevel error -nostdin -y -f lavfi -i sine=frequency=440 -t 1 '" + p.string() + "'";
  ASSERT_EQ(std::system(cmd.c_str()), 0);
  MediaProber prober;
  const auto result = prober.Probe(p.string());
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
