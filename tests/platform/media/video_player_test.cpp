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

namespace fs = std::filesystem;
using platform::VideoPlayer;

namespace {

fs::path WorkDir() {
  static fs::path dir = [] {
    fs::path d = fs::temp_directory_path() / ("corvane_video_" + std::to_string(::getpid()));
    fs::create_directories(d);
    return d;
  }();
  return dir;
}

// The scratch folder goes when the run ends.
class ScratchCleanup : public ::testing::Environment {
 public:
  void TearDown() override {
    std::error_code ec;
    fs::remove_all(WorkDir(), ec);
  }
};
[[maybe_unused]] ::testing::Environment* const kScratchCleanup =
    ::testing::AddGlobalTestEnvironment(new ScratchCleanup);

// A one-second clip from ffmpeg's generated sources.
std::string MakeClip(const std::string& name, const std::string& size) {
  fs::path p = WorkDir() / name;
  std::string cmd = "ffmpeg -loglevel error -nostdin -y -f lavfi -i testsrc=size=" + size +
                    ":rate=25 -f lavfi -i sine=frequency=440 -t 1 -pix_fmt yuv420p -shortest '" +
                    p.string() + "'";
  if (std::system(cmd.c_str()) != 0) return std::string();
  return p.string();
}

const std::string& ClipPath() {
  static std::string path = MakeClip("clip.mp4", "160x120");
  return path;
}

using Clock = std::chrono::steady_clock;

// Polls until the player's end and position agree, as the program's half-second poll does,
// but more often; gives up after `limit`.
bool WaitForEnd(VideoPlayer& p, std::chrono::milliseconds limit, Clock::duration* took) {
  auto start = Clock::now();
  while (Clock::now() - start < limit) {
    p.RenderFrame();
    if (p.EndMs() == p.PositionMs()) {
      if (took) *took = Clock::now() - start;
      return true;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return false;
}

int ThreadCount() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("Threads:", 0) == 0) return std::stoi(line.substr(8));
  }
  return -1;
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
  const std::string upright = MakeClip("upright.mp4", "90x160");
  ASSERT_FALSE(upright.empty());
  VideoPlayer p(320, 240, false);
  ASSERT_TRUE(p.Open(upright));
  p.Play();
  auto start = Clock::now();
  while (!p.HasFrame() && Clock::now() - start < std::chrono::seconds(20)) {
    p.RenderFrame();
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  ASSERT_TRUE(p.HasFrame());
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
  for (const fs::path& bad : {WorkDir() / "missing.mp4", corrupt, folder, fs::path()}) {
    VideoPlayer p(320, 240, false);
    p.Open(bad.string());
    p.Play();
    ASSERT_TRUE(WaitForEnd(p, std::chrono::seconds(10), nullptr)) << bad;
    EXPECT_EQ(p.EndMs(), 0u) << bad;
    EXPECT_FALSE(p.HasFrame()) << bad;
  }
}

TEST(VideoPlayer, ManyPlaybacksLeaveThreadCountFlat) {
  ASSERT_FALSE(ClipPath().empty());
  auto cycle = [] {
    VideoPlayer p(160, 120, false);
    p.Open(ClipPath());
    p.Play();
    for (int i = 0; i < 200 && !p.HasFrame(); ++i) {
      p.RenderFrame();
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    p.Close();
  };
  for (int i = 0; i < 5; ++i) cycle();
  int before = ThreadCount();
  for (int i = 0; i < 50; ++i) cycle();
  int after = ThreadCount();
  EXPECT_LE(after, before + 1);
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
      ASSERT_TRUE(WaitForEnd(p, std::chrono::seconds(10), nullptr)) << c.name;
      EXPECT_EQ(p.EndMs(), 0u) << c.name;
      p.Close();  // its threads are gone: whatever it would fetch, it has tried by now
    }
    ASSERT_FALSE(trap.Reached()) << c.name << " reached the network";
  }
}
