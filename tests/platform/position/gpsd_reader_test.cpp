// The gpsd reader against a small local stand-in for gpsd: which reports become fixes, that
// unknown or broken JSON keeps the connection, and that a vanished service is retried.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/position/detail/position_hub.h"
#include "support/wait.h"

namespace {

using platform::Hub;
using platform::PositionState;

// Accepts connections on 127.0.0.1 and plays `lines` to each, starting with the greeting
// gpsd sends; with `hangUpFirst` the first watcher is hung up on.
class FakeService {
 public:
  FakeService(std::vector<std::string> lines, bool hangUpFirst)
      : m_lines(std::move(lines)), m_hangUpFirst(hangUpFirst) {
    m_listen = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(m_listen, reinterpret_cast<sockaddr*>(&a), sizeof a);
    socklen_t len = sizeof a;
    getsockname(m_listen, reinterpret_cast<sockaddr*>(&a), &len);
    m_port = std::to_string(ntohs(a.sin_port));
    listen(m_listen, 4);
    m_thread = std::thread([this] { Serve(); });
  }
  ~FakeService() {
    shutdown(m_listen, SHUT_RDWR);
    m_thread.join();
    close(m_listen);
    for (int fd : m_clients) close(fd);
  }
  const std::string& Port() const { return m_port; }
  int Watchers() const { return m_connections; }
  // Whether a watcher that was answered has closed its connection.
  bool WatcherLeft() {
    std::lock_guard lock(m_mutex);
    char c;
    for (int fd : m_clients) {
      if (recv(fd, &c, 1, MSG_PEEK | MSG_DONTWAIT) == 0) return true;
    }
    return false;
  }

 private:
  void Serve() {
    for (;;) {
      int fd = accept(m_listen, nullptr, nullptr);
      if (fd < 0) return;
      std::string greeting = "{\"class\":\"VERSION\",\"release\":\"3.22\",\"proto_major\":3}\n";
      send(fd, greeting.data(), greeting.size(), MSG_NOSIGNAL);
      // A watcher asks for reports; a connection that closes without a word only looked.
      char ask[512];
      if (recv(fd, ask, sizeof ask, 0) <= 0) {
        close(fd);
        continue;
      }
      if (m_connections++ == 0 && m_hangUpFirst) {
        close(fd);
        continue;
      }
      for (const std::string& line : m_lines) {
        std::string l = line + "\n";
        send(fd, l.data(), l.size(), MSG_NOSIGNAL);
      }
      std::lock_guard lock(m_mutex);
      m_clients.push_back(fd);  // kept open: the reader must not see an end
    }
  }
  std::vector<std::string> m_lines;
  bool m_hangUpFirst;
  int m_listen = -1;
  std::string m_port;
  std::atomic<int> m_connections{0};
  std::mutex m_mutex;
  std::vector<int> m_clients;
  std::thread m_thread;
};

// The reader works on its own thread: the tests wait for what it brings about.
using testsupport::WaitUntil;

// A port of 127.0.0.1 held for the test's length by a socket bound to it that does not
// listen: a connection is refused, and no other program can take the port meanwhile.
class RefusingPort {
 public:
  RefusingPort() {
    m_fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof a;
    if (bind(m_fd, reinterpret_cast<sockaddr*>(&a), len) == 0 &&
        getsockname(m_fd, reinterpret_cast<sockaddr*>(&a), &len) == 0)
      m_port = std::to_string(ntohs(a.sin_port));
  }
  ~RefusingPort() { close(m_fd); }
  RefusingPort(const RefusingPort&) = delete;
  RefusingPort& operator=(const RefusingPort&) = delete;
  const std::string& Port() const { return m_port; }

 private:
  int m_fd = -1;
  std::string m_port;
};

std::unique_ptr<platform::PositionReader> Start(const std::string& port, bool* reachable) {
  platform::PositionOptions o;
  o.source = platform::PositionOptions::Source::Gpsd;
  o.host = "127.0.0.1";
  o.port = port;
  return platform::StartGpsdReader(o, nullptr, nullptr, reachable);
}

TEST(GpsdReader, TakesPositionReportsWithAFixAndIgnoresTheRest) {
  FakeService service(
      {
          "{\"class\":\"NEWTHING\",\"values\":[1,2,{\"a\":null}]}",
          "{\"class\":\"TPV\",\"mode\":1}",
          "{\"class\":\"TPV\",\"lat\":",
          "\x01\x02 not json at all",
          "{\"class\":\"TPV\",\"mode\":2,\"lat\":54.5,\"lon\":-0.62,\"eph\":7.5}",
          "{\"class\":\"SKY\",\"hdop\":1.2,\"satellites\":[]}",
          "{\"class\":\"TPV\",\"mode\":3,\"lat\":54.6,\"lon\":-0.61,\"epx\":6.0,\"epy\":8.0}",
          "{\"class\":\"TPV\",\"mode\":3,\"lat\":54.7,\"lon\":-0.60}",
      },
      false);
  Hub().Clear();
  bool reachable = false;
  auto reader = Start(service.Port(), &reachable);
  EXPECT_TRUE(reachable);
  std::vector<platform::PositionFix> fixes;
  EXPECT_TRUE(WaitUntil([&] {
    for (auto& f : Hub().Take()) fixes.push_back(f);
    return fixes.size() >= 3;
  }));
  ASSERT_EQ(fixes.size(), 3u);
  EXPECT_DOUBLE_EQ(fixes[0].latitude, 54.5);
  EXPECT_DOUBLE_EQ(fixes[0].horizontalError, 7.5);
  EXPECT_DOUBLE_EQ(fixes[1].longitude, -0.61);
  EXPECT_DOUBLE_EQ(fixes[1].horizontalError, 10.0);  // from epx and epy
  EXPECT_LT(fixes[2].horizontalError, 0);
  EXPECT_EQ(Hub().State(), PositionState::Fixing);
  EXPECT_EQ(service.Watchers(), 1);  // nothing above was taken for a lost service
  // A quiet service is not a lost one: the reader waits for data a quarter second at a time,
  // and must stay connected across several such waits.
  EXPECT_FALSE(WaitUntil([&] { return service.WatcherLeft(); }, std::chrono::milliseconds(800)));
  EXPECT_EQ(Hub().State(), PositionState::Fixing);
  reader.reset();
  Hub().Clear();
}

TEST(GpsdReader, RetriesAServiceThatHungUpAndEndsWhileWaitingToRetry) {
  FakeService service({"{\"class\":\"TPV\",\"mode\":2,\"lat\":1.5,\"lon\":2.5}"}, true);
  Hub().Clear();
  bool reachable = false;
  auto reader = Start(service.Port(), &reachable);
  EXPECT_TRUE(reachable);
  std::vector<platform::PositionFix> fixes;
  EXPECT_TRUE(WaitUntil([&] {
    for (auto& f : Hub().Take()) fixes.push_back(f);
    return !fixes.empty();
  }));
  EXPECT_EQ(service.Watchers(), 2);
  reader.reset();

  // Nobody listens on the port: Lost at once, then retried until closed.
  RefusingPort refusing;
  ASSERT_FALSE(refusing.Port().empty());
  reader = Start(refusing.Port(), &reachable);
  EXPECT_FALSE(reachable);
  EXPECT_EQ(Hub().State(), PositionState::Lost);
  reader.reset();  // must not wait out the back-off
  Hub().Clear();
}

}  // namespace
