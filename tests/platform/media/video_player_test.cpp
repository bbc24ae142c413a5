// Media playback on the real player with the null audio output. Waits are bounded polls on
// what the player reports, never fixed sleeps standing in for the outcome.
#include "platform/media/detail/video_player.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "support/media_clips.h"
#include "support/process_status.h"
#include "support/scratch_folder.h"
#include "support/wait.h"

namespace fs = std::filesystem;
using platform::VideoPlayer;

namespace {

fs::path WorkDir() { return testsupport::RunScratch().Root(); }

const std::string& ClipPath() {
  static std::string path = testsupport::MakeClip(WorkDir() / "clip.mp4", "160x120");
  return path;
}

using Clock = std::chrono::steady_clock;
using testsupport::WaitUntil;

// Polls until the player's end and position agree, as the program's half-second poll does,
// but more often; gives up after `limit`.
bool WaitForEnd(VideoPlayer& p, std::chrono::milliseconds limit, Clock::duration* took) {
  const auto start = Clock::now();
  const bool ended = WaitUntil(
      [&] {
        p.RenderFrame();
        return p.EndMs() == p.PositionMs();
      },
      limit, std::chrono::milliseconds(20));
  if (ended && took) *took = Clock::now() - start;
  return ended;
}

// Renders frames until the player shows one `ms` or more into the file.
bool PlayTo(VideoPlayer& p, uint32_t ms) {
  return WaitUntil([&] {
    p.RenderFrame();
    return p.HasFrame() && p.PositionMs() >= ms;
  });
}

}  // namespace

TEST(VideoPlayer, PlaysToItsEndAndThenReportsPositionEqualToEnd) {
  ASSERT_FALSE(ClipPath().empty()) << "ffmpeg could not make the test clip";
  VideoPlayer p(320, 240, false);
  ASSERT_TRUE(p.Open(ClipPath()));
  p.Play();
  Clock::duration took{};
  ASSERT_TRUE(WaitForEnd(p, std::chrono::seconds(20), &took));
  EXPECT_TRUE(p.HasFrame());
  EXPECT_GE(p.EndMs(), 900u);
  EXPECT_LE(p.EndMs(), 1100u);
  // It played, rather than ending at once.
  EXPECT_GE(std::chrono::duration_cast<std::chrono::milliseconds>(took).count(), 700);
}

TEST(VideoPlayer, UprightVideoIsFittedWithBarsAtTheSides) {
  const std::string upright = testsupport::MakeClip(WorkDir() / "upright.mp4", "90x160");
  ASSERT_FALSE(upright.empty());
  VideoPlayer p(320, 240, false);
  ASSERT_TRUE(p.Open(upright));
  p.Play();
  ASSERT_TRUE(PlayTo(p, 0));
  // 90x160 scaled to 135x240 lands at x = 92..227.
  auto column = [&p](int x) {
    int lit = 0;
    for (int y = 0; y < 240; ++y)
      if (p.FramePixel(x, y) != 0) ++lit;
    return lit;
  };
  EXPECT_EQ(column(5), 0);
  EXPECT_EQ(column(85), 0);
  EXPECT_EQ(column(234), 0);
  EXPECT_EQ(column(314), 0);
  EXPECT_GT(column(160), 120);
}

TEST(VideoPlayer, PositionStaysShortOfTheEndWhilePlaying) {
  ASSERT_FALSE(ClipPath().empty());
  VideoPlayer p(320, 240, false);
  ASSERT_TRUE(p.Open(ClipPath()));
  // Paused: it never reaches the end, however often it is asked.
  for (int i = 0; i < 20; ++i) {
    p.RenderFrame();
    EXPECT_NE(p.EndMs(), p.PositionMs());
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

TEST(VideoPlayer, UnplayableFilesReportEqualEndAndPosition) {
  fs::path corrupt = WorkDir() / "corrupt.mp4";
  {
    std::ofstream out(corrupt, std::ios::binary);
    for (int i = 0; i < 4096; ++i) out.put(static_cast<char>((i * 7919) & 0xFF));
  }
  fs::path folder = WorkDir() / "a_folder.mp4";
  fs::create_directories(folder);
  // A name that is not an absolute file name could be a source of the player's own: this one
  // would play half a minute of tone.
  const fs::path source("av://lavfi:sine=duration=30");
  for (const fs::path& bad : {WorkDir() / "missing.mp4", corrupt, folder, fs::path(), source}) {
    VideoPlayer p(320, 240, false);
    p.Open(bad.string());
    p.Play();
    ASSERT_TRUE(WaitForEnd(p, std::chrono::seconds(30), nullptr)) << bad;
    EXPECT_EQ(p.EndMs(), 0u) << bad;
    EXPECT_FALSE(p.HasFrame()) << bad;
  }
}

// A visitor's language sibling that will not play gives way to the tour's own file, unseen.
TEST(VideoPlayer, AFileThatCannotBePlayedGivesWayToItsFallback) {
  ASSERT_FALSE(ClipPath().empty());
  const fs::path broken = WorkDir() / "clip.de.mp4";
  std::ofstream(broken, std::ios::binary) << "not a video";
  VideoPlayer p(160, 120, false);
  ASSERT_TRUE(p.Open(broken.string(), ClipPath()));
  p.Play();
  EXPECT_TRUE(PlayTo(p, 0)) << "no picture from the fallback";
  EXPECT_FALSE(p.Failed());
  EXPECT_GT(p.EndMs(), 0);
}

TEST(VideoPlayer, ManyPlaybacksLeaveThreadCountFlat) {
  ASSERT_FALSE(ClipPath().empty());
  auto cycle = [] {
    VideoPlayer p(160, 120, false);
    p.Open(ClipPath());
    p.Play();
    ASSERT_TRUE(PlayTo(p, 0)) << "no picture";
    p.Close();
  };
  auto threads = [] { return testsupport::ProcessStatus("Threads"); };
  for (int i = 0; i < 5; ++i) ASSERT_NO_FATAL_FAILURE(cycle());
  const long before = threads();
  for (int i = 0; i < 50; ++i) ASSERT_NO_FATAL_FAILURE(cycle());
  // However slowly a closed player's threads wind down, they go; leaked ones never do.
  EXPECT_TRUE(WaitUntil([&] { return threads() <= before + 1; }, std::chrono::seconds(30)))
      << threads() << " threads, " << before << " before";
}

namespace {

// A listening socket on a free port of 127.0.0.1 that nothing should ever reach.
class Tripwire {
 public:
  Tripwire() {
    m_fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof a;
    if (m_fd < 0 || ::bind(m_fd, reinterpret_cast<sockaddr*>(&a), len) != 0 ||
        ::listen(m_fd, 8) != 0 || ::getsockname(m_fd, reinterpret_cast<sockaddr*>(&a), &len) != 0) {
      return;
    }
    m_port = ntohs(a.sin_port);
  }
  ~Tripwire() {
    if (m_fd >= 0) ::close(m_fd);
  }
  int Port() const { return m_port; }
  // A finished connect waits in the backlog whether or not it is accepted.
  bool Reached() const {
    pollfd p{m_fd, POLLIN, 0};
    return ::poll(&p, 1, 0) > 0;
  }

 private:
  int m_fd = -1;
  int m_port = 0;
};

}  // namespace

// A project's media name local files only: a playlist beside it that points at the network
// must not make the player reach out, and the item ends like a missing file.
TEST(VideoPlayer, PlaylistsNamingTheNetworkReachNothingAndDoNotPlay) {
  ASSERT_FALSE(ClipPath().empty());
  Tripwire trap;
  ASSERT_GT(trap.Port(), 0);
  const std::string url = "http://127.0.0.1:" + std::to_string(trap.Port()) + "/phone-home.mp4";
  // Each case stops at the first that reaches out.
  const struct {
    const char* name;
    std::string text;
  } cases[] = {
      {"plain.m3u", url + "\n"},
      {"extended.m3u8", "#EXTM3U\n#EXTINF:10,\n" + url + "\n#EXT-X-ENDLIST\n"},
      {"stream.m3u8",
       "#EXTM3U\n#EXT-X-TARGETDURATION:10\n#EXTINF:10,\n" + url + "\n#EXT-X-ENDLIST\n"},
      {"list.pls", "[playlist]\nFile1=" + url + "\nNumberOfEntries=1\n"},
      {"mixed.m3u", url + "\n" + ClipPath() + "\n"},
      {"concat.ffconcat", "ffconcat version 1.0\nfile '" + url + "'\n"},
  };
  for (const auto& c : cases) {
    const fs::path list = WorkDir() / c.name;
    std::ofstream(list, std::ios::binary | std::ios::trunc) << c.text;
    {
      VideoPlayer p(160, 120, false);
      p.Open(list.string());
      p.Play();
      ASSERT_TRUE(WaitForEnd(p, std::chrono::seconds(30), nullptr)) << c.name;
      EXPECT_EQ(p.EndMs(), 0u) << c.name;
      p.Close();  // its threads are gone: whatever it would fetch, it has tried by now
    }
    ASSERT_FALSE(trap.Reached()) << c.name << " reached the network";
  }
}

namespace {

// Light pixels in the lower third of the frame, where subtitles go.
int LightPixelsBelow(const VideoPlayer& p) {
  int n = 0;
  for (int y = 160; y < 240; ++y)
    for (int x = 0; x < 320; ++x)
      if ((p.FramePixel(x, y) & 0xC0C0C0) == 0xC0C0C0) ++n;
  return n;
}

}  // namespace

// A subtitle file beside the media, with its stem, is shown at its cue's time and not before.
TEST(VideoPlayer, SubtitlesBesideTheFileAppearAtTheirTime) {
  const struct {
    const char* stem;
    const char* sidecar;
    const char* text;
    bool chosen = false;  // handed to the player rather than found beside the file
  } cases[] = {
      {"srt", "srt.srt", "1\n00:00:01,000 --> 00:00:09,000\nHELLO HARBOUR\n"},
      {"lang", "lang.en.srt", "1\n00:00:01,000 --> 00:00:09,000\nHELLO HARBOUR\n"},
      {"vtt", "vtt.vtt", "WEBVTT\n\n00:00:01.000 --> 00:00:09.000\nHELLO HARBOUR\n"},
      {"chosen", "other name.srt", "1\n00:00:01,000 --> 00:00:09,000\nHELLO HARBOUR\n", true},
  };
  for (const auto& c : cases) {
    const fs::path dir = WorkDir() / (std::string("subs_") + c.stem);
    fs::create_directories(dir);
    const std::string clip = testsupport::MakePlainClip(dir / (std::string(c.stem) + ".mp4"));
    ASSERT_FALSE(clip.empty());
    std::ofstream(dir / c.sidecar, std::ios::binary | std::ios::trunc) << c.text;
    VideoPlayer p(320, 240, false);
    const std::string subtitles = (dir / c.sidecar).string();
    ASSERT_TRUE(p.Open(clip, {}, c.chosen ? &subtitles : nullptr));
    ASSERT_TRUE(PlayTo(p, 0)) << c.stem;
    EXPECT_EQ(LightPixelsBelow(p), 0) << c.stem << ": text before its cue";
    p.Play();
    ASSERT_TRUE(PlayTo(p, 1500)) << c.stem;
    EXPECT_GT(LightPixelsBelow(p), 100) << c.stem << ": no subtitle on screen";
  }
}

// Broken or odd files end (at once or at their end) and never hang the player.
TEST(VideoPlayer, BadSoundAndSubtitleFilesEndWithoutHanging) {
  const fs::path dir = WorkDir() / "bad";
  fs::create_directories(dir);
  // A two-second tone, cut short by half.
  ASSERT_FALSE(testsupport::MakeTone(dir / "full.mp3", 2).empty());
  fs::copy_file(dir / "full.mp3", dir / "truncated.mp3");
  fs::resize_file(dir / "truncated.mp3", fs::file_size(dir / "full.mp3") / 2);
  std::ofstream(dir / "empty.mp3").close();
  // Cover art of 6000 x 6000 pixels.
  const std::string huge = testsupport::MakePicture(dir / "huge.png", "red", "6000x6000");
  ASSERT_FALSE(huge.empty());
  ASSERT_FALSE(testsupport::MakeTone(dir / "huge_art.mp3", 1, huge).empty());
  // Subtitles as the only track, in a file of their own and in a container.
  std::ofstream(dir / "only.srt") << "1\n00:00:00,000 --> 00:00:01,000\nalone\n";
  ASSERT_TRUE(testsupport::Ffmpeg("-i " + testsupport::Quoted(dir / "only.srt") + " -c:s srt " +
                                  testsupport::Quoted(dir / "subs_only.mkv")));
  // Clips with subtitles of binary noise and of UTF-16 and Latin-1 text beside them.
  for (const char* stem : {"noise", "utf16", "latin1"})
    ASSERT_FALSE(testsupport::MakePlainClip(dir / (std::string(stem) + ".mp4")).empty());
  {
    std::ofstream noise(dir / "noise.srt", std::ios::binary);
    for (int i = 0; i < 20000; ++i) noise.put(static_cast<char>((i * 131 + 7) & 0xFF));
    std::ofstream utf16(dir / "utf16.srt", std::ios::binary);
    for (char ch : std::string("1\n00:00:00,000 --> 00:00:02,000\nHello\n")) {
      utf16.put(ch);
      utf16.put('\0');
    }
    std::ofstream(dir / "latin1.srt", std::ios::binary)
        << "1\n00:00:00,000 --> 00:00:02,000\nCaf\xe9 \xe0 la mer\n";
  }
  const struct {
    const char* file;
    bool plays;  // it has something to play and plays to its end
  } cases[] = {
      {"empty.mp3", false}, {"truncated.mp3", true},  {"huge_art.mp3", true},
      {"only.srt", false},  {"subs_only.mkv", false}, {"noise.mp4", true},
      {"utf16.mp4", true},  {"latin1.mp4", true},
  };
  for (const auto& c : cases) {
    VideoPlayer p(320, 240, false);
    p.Open((dir / c.file).string());
    p.Play();
    ASSERT_TRUE(WaitForEnd(p, std::chrono::seconds(30), nullptr)) << c.file;
    if (c.plays) {
      EXPECT_GT(p.EndMs(), 500u) << c.file;
    }
    p.Close();
  }
}
