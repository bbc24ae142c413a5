// The gpsd reader: a worker thread that keeps a connection to gpsd, takes position reports
// with a fix and queues them for the main thread. It touches nothing but the hub and the
// window system's wake-up; when gpsd is absent or goes away it retries with back-off.
#include <fcntl.h>
#include <gps.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstring>
#include <thread>

#include "platform/pieces.h"
#include "platform/position/detail/position_hub.h"

namespace platform {
namespace {

using std::chrono::milliseconds;

constexpr milliseconds kFirstRetry{500};
constexpr milliseconds kLongestRetry{5000};
constexpr int kProbeSliceMs = 100;     // how often a connection attempt looks at the stop flag
constexpr int kProbeTimeoutMs = 2000;  // an address that does not answer in this is absent
constexpr int kWaitMicros = 250000;    // longest wait for data before the stop flag is seen

class GpsdReader : public PositionReader {
 public:
  GpsdReader(const PositionOptions& options, ClockPiece* clock, WindowPiece* window)
      : m_host(options.host), m_port(options.port), m_clock(clock), m_window(window) {}

  ~GpsdReader() override {
    {
      std::lock_guard lock(m_mutex);
      m_stop = true;
    }
    m_wake.notify_all();
    if (m_thread.joinable()) m_thread.join();
  }

  void Start() {
    m_thread = std::thread([this] { Run(); });
  }

  // Whether gpsd accepts connections now (bounded wait, gives up when stopping).
  bool Probe() const;

 private:
  void Run();
  void ReadUntilGone(gps_data_t* gps);
  void TakeReport(const gps_data_t& gps, const char* message);
  // Waits `delay` unless stopped first; false when stopping.
  bool Rest(milliseconds delay) {
    std::unique_lock lock(m_mutex);
    return !m_wake.wait_for(lock, delay, [this] { return m_stop.load(); });
  }

  std::string m_host;
  std::string m_port;
  ClockPiece* m_clock;
  WindowPiece* m_window;
  std::mutex m_mutex;
  std::condition_variable m_wake;
  std::atomic<bool> m_stop{false};
  std::thread m_thread;
};

bool GpsdReader::Probe() const {
  // A non-blocking connection attempt first, so that an address that never answers cannot
  // hold the thread (and the join at exit) inside gps_open's blocking connect.
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* list = nullptr;
  if (getaddrinfo(m_host.c_str(), m_port.c_str(), &hints, &list) != 0) return false;
  bool ok = false;
  for (addrinfo* a = list; a != nullptr && !ok && !m_stop; a = a->ai_next) {
    int fd = socket(a->ai_family, a->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, a->ai_protocol);
    if (fd < 0) continue;
    if (connect(fd, a->ai_addr, a->ai_addrlen) == 0) {
      ok = true;
    } else if (errno == EINPROGRESS) {
      for (int waited = 0; waited < kProbeTimeoutMs && !m_stop; waited += kProbeSliceMs) {
        pollfd p{fd, POLLOUT, 0};
        int r = poll(&p, 1, kProbeSliceMs);
        if (r < 0 && errno == EINTR) continue;
        if (r != 0) {
          int err = 0;
          socklen_t len = sizeof err;
          ok = r > 0 && getsockopt(fd, SOL_SOCKET, SO_ERROR, &err, &len) == 0 && err == 0;
          break;
        }
      }
    }
    close(fd);
  }
  freeaddrinfo(list);
  return ok;
}

void GpsdReader::Run() {
  milliseconds retry = kFirstRetry;
  while (!m_stop) {
    gps_data_t gps{};
    bool connected = Probe() && !m_stop && gps_open(m_host.c_str(), m_port.c_str(), &gps) == 0;
    if (connected && gps_stream(&gps, WATCH_ENABLE | WATCH_JSON, nullptr) != 0) {
      gps_close(&gps);
      connected = false;
    }
    if (connected) {
      Hub().SetState(PositionState::Waiting);
      retry = kFirstRetry;
      ReadUntilGone(&gps);
      gps_close(&gps);
      if (m_stop) break;
    }
    Hub().SetState(PositionState::Lost);
    if (m_window != nullptr) m_window->Wake();
    if (!Rest(retry)) break;
    retry = std::min(retry * 2, kLongestRetry);
  }
}

// True when the peer has closed the connection (as opposed to a message libgps could not
// use, which it also reports as -1).
bool ConnectionClosed(int fd) {
  char c;
  ssize_t r = recv(fd, &c, 1, MSG_PEEK | MSG_DONTWAIT);
  if (r > 0) return false;
  if (r < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) return false;
  return true;
}

void GpsdReader::ReadUntilGone(gps_data_t* gps) {
  char message[16384];  // longer than any report gpsd sends
  while (!m_stop) {
    errno = 0;  // a quiet spell leaves errno alone; only a failed wait sets it
    if (!gps_waiting(gps, kWaitMicros)) {
      if (errno == 0 || errno == EINTR) continue;
      return;
    }
    errno = 0;
    message[0] = '\0';
    int got = gps_read(gps, message, sizeof message - 1);
    if (got < 0) {
      // Unknown or malformed JSON is ignored; a closed connection ends the session.
      if (ConnectionClosed(gps->gps_fd)) return;
      continue;
    }
    if (got > 0) {
      message[sizeof message - 1] = '\0';
      TakeReport(*gps, message);
    }
  }
}

void GpsdReader::TakeReport(const gps_data_t& gps, const char* message) {
  if (std::strstr(message, "\"class\":\"TPV\"") == nullptr) return;
  const gps_fix_t& f = gps.fix;
  if (f.mode < MODE_2D || !std::isfinite(f.latitude) || !std::isfinite(f.longitude) ||
      std::fabs(f.latitude) > 90 || std::fabs(f.longitude) > 180) {
    return;
  }
  double error = -1;
  if (std::isfinite(f.eph) && f.eph >= 0) {
    error = f.eph;
  } else if (std::isfinite(f.epx) && std::isfinite(f.epy)) {
    error = std::sqrt(f.epx * f.epx + f.epy * f.epy);
  }
  uint32_t now = m_clock != nullptr ? static_cast<uint32_t>(m_clock->NowMicros() / 1000) : 0;
  Hub().Push(PositionFix{f.latitude, f.longitude, error, now});
  if (m_window != nullptr) m_window->Wake();
}

}  // namespace

std::unique_ptr<PositionReader> StartGpsdReader(const PositionOptions& options, ClockPiece* clock,
                                                WindowPiece* window, bool* reachable) {
  auto reader = std::make_unique<GpsdReader>(options, clock, window);
  bool up = reader->Probe();
  if (reachable != nullptr) *reachable = up;
  if (!up) Hub().SetState(PositionState::Lost);
  reader->Start();
  return reader;
}

}  // namespace platform
