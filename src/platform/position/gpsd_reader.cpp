// The gpsd reader: a worker thread that finds gpsd (name lookup and connection with time
// limits, so opening and closing never wait on the network), follows one receiver's
// position reports and queues them for the main thread. It touches nothing but the hub and
// the window system's wake-up. A service that goes away, falls silent or cannot be read is
// retried with back-off.
#include <fcntl.h>
#include <gps.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
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
#include <memory>
#include <thread>

#include "platform/pieces.h"
#include "platform/position/detail/position_hub.h"
#include "platform/text/tr.h"

namespace platform {
namespace {

using std::chrono::milliseconds;
using Clock = std::chrono::steady_clock;

constexpr milliseconds kFirstRetry{500};
constexpr milliseconds kLongestRetry{5000};
constexpr int kSliceMs = 100;           // how often a wait looks at the stop flag
constexpr int kWaitMicros = 250000;     // longest wait for data before the stop flag is seen
constexpr int kFailedReadsInARow = 16;  // libgps cannot get past what gpsd sent
// Keepalive: a peer that vanished without a word is noticed after about 5 + 3 x 2 s.
constexpr int kKeepIdleSeconds = 5;
constexpr int kKeepIntervalSeconds = 2;
constexpr int kKeepProbes = 3;
constexpr unsigned kUnackedLimitMs = 11000;

// The result of a name lookup made on a thread of its own, so that the reader can give up
// on it (or be closed) while the resolver still waits; the last owner frees the list.
struct Lookup {
  std::mutex mutex;
  std::condition_variable done;
  bool finished = false;
  int status = 0;
  addrinfo* list = nullptr;
  ~Lookup() {
    if (list != nullptr) freeaddrinfo(list);
  }
};

// The value of "device" in a gpsd report, or empty.
std::string DeviceOf(const char* message) {
  const char* key = std::strstr(message, "\"device\":\"");
  if (key == nullptr) return {};
  key += std::strlen("\"device\":\"");
  const char* end = std::strchr(key, '"');
  return end == nullptr ? std::string() : std::string(key, end);
}

class GpsdReader : public PositionReader {
 public:
  GpsdReader(const PositionOptions& options, ClockPiece* clock, WindowPiece* window,
             const GpsdLimits& limits)
      : m_host(options.host),
        m_port(options.port),
        m_clock(clock),
        m_window(window),
        m_limits(limits) {}

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

 private:
  void Run();
  // A connected and watching libgps session, or false with the reason.
  bool Connect(gps_data_t* gps, std::string* reason);
  // Resolves the name within the lookup limit; the numeric addresses to try, or empty.
  std::vector<std::string> Resolve(std::string* reason);
  bool Answers(const std::string& address, std::string* reason);
  // Reads reports until the session ends; returns why it ended.
  std::string ReadUntilGone(gps_data_t* gps);
  // Whether the report was a fix that was queued.
  bool TakeReport(const gps_data_t& gps, const char* message);
  void Tell(PositionState state, const std::string& problem) {
    Hub().SetState(state, problem);
    if (m_window != nullptr) m_window->Wake();
  }
  // Waits `delay` unless stopped first; false when stopping.
  bool Rest(milliseconds delay) {
    std::unique_lock lock(m_mutex);
    return !m_wake.wait_for(lock, delay, [this] { return m_stop.load(); });
  }
  std::string Where() const { return _("gpsd at ") + m_host + ":" + m_port; }

  std::string m_host;
  std::string m_port;
  ClockPiece* m_clock;
  WindowPiece* m_window;
  GpsdLimits m_limits;
  std::mutex m_mutex;
  std::condition_variable m_wake;
  std::atomic<bool> m_stop{false};
  std::thread m_thread;
  // The receiver followed (gpsd's device path) and when it last gave a fix.
  std::string m_device;
  Clock::time_point m_deviceFix{};
};

std::vector<std::string> GpsdReader::Resolve(std::string* reason) {
  auto lookup = std::make_shared<Lookup>();
  std::thread([lookup, host = m_host, port = m_port] {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* list = nullptr;
    const int status = getaddrinfo(host.c_str(), port.c_str(), &hints, &list);
    std::lock_guard lock(lookup->mutex);
    lookup->status = status;
    lookup->list = list;
    lookup->finished = true;
    lookup->done.notify_all();
  }).detach();

  std::unique_lock lock(lookup->mutex);
  const auto end = Clock::now() + m_limits.lookup;
  while (!lookup->finished && !m_stop && Clock::now() < end)
    lookup->done.wait_for(lock, milliseconds(kSliceMs));
  std::vector<std::string> out;
  if (!lookup->finished) {
    *reason = _("the name ") + m_host + _(" was not found in time");
    return out;
  }
  if (lookup->status != 0) {
    *reason = _("the name ") + m_host + _(" was not found (") + gai_strerror(lookup->status) + ")";
    return out;
  }
  for (addrinfo* a = lookup->list; a != nullptr; a = a->ai_next) {
    char text[NI_MAXHOST];
    if (getnameinfo(a->ai_addr, a->ai_addrlen, text, sizeof text, nullptr, 0, NI_NUMERICHOST) == 0)
      out.emplace_back(text);
  }
  if (out.empty()) *reason = _("the name ") + m_host + _(" gave no address");
  return out;
}

bool GpsdReader::Answers(const std::string& address, std::string* reason) {
  // A non-blocking connection first, so that an address that never answers cannot hold the
  // thread (and the join at close) inside libgps's blocking connect.
  addrinfo hints{};
  hints.ai_flags = AI_NUMERICHOST | AI_NUMERICSERV;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* list = nullptr;
  if (getaddrinfo(address.c_str(), m_port.c_str(), &hints, &list) != 0 || list == nullptr) {
    *reason = _("bad address ") + address;
    return false;
  }
  bool ok = false;
  int fd = socket(list->ai_family, list->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC,
                  list->ai_protocol);
  if (fd < 0) {
    *reason = std::strerror(errno);
  } else if (connect(fd, list->ai_addr, list->ai_addrlen) == 0) {
    ok = true;
  } else if (errno != EINPROGRESS) {
    *reason = std::strerror(errno);
  } else {
    *reason = _("no answer in time");
    const auto end = Clock::now() + m_limits.connect;
    while (!m_stop && Clock::now() < end) {
      pollfd p{fd, POLLOUT, 0};
      const int r = poll(&p, 1, kSliceMs);
      if (r < 0 && errno == EINTR) continue;
      if (r == 0) continue;
      int err = 0;
      socklen_t len = sizeof err;
      if (r < 0 || getsockopt(fd, SOL_SOCKET, SO_ERROR, &err, &len) != 0) err = errno;
      ok = err == 0;
      if (!ok) *reason = std::strerror(err);
      break;
    }
  }
  if (fd >= 0) close(fd);
  freeaddrinfo(list);
  return ok;
}

bool GpsdReader::Connect(gps_data_t* gps, std::string* reason) {
  for (const std::string& address : Resolve(reason)) {
    if (m_stop) return false;
    if (!Answers(address, reason)) continue;
    // The address answered a moment ago and is numeric: libgps neither looks it up nor waits.
    if (gps_open(address.c_str(), m_port.c_str(), gps) != 0) {
      *reason = gps_errstr(errno);
      continue;
    }
    const int on = 1;
    setsockopt(gps->gps_fd, SOL_SOCKET, SO_KEEPALIVE, &on, sizeof on);
    setsockopt(gps->gps_fd, IPPROTO_TCP, TCP_KEEPIDLE, &kKeepIdleSeconds, sizeof(int));
    setsockopt(gps->gps_fd, IPPROTO_TCP, TCP_KEEPINTVL, &kKeepIntervalSeconds, sizeof(int));
    setsockopt(gps->gps_fd, IPPROTO_TCP, TCP_KEEPCNT, &kKeepProbes, sizeof(int));
    setsockopt(gps->gps_fd, IPPROTO_TCP, TCP_USER_TIMEOUT, &kUnackedLimitMs,
               sizeof kUnackedLimitMs);
    if (gps_stream(gps, WATCH_ENABLE | WATCH_JSON, nullptr) != 0) {
      *reason = _("it did not accept the watch request");
      gps_close(gps);
      continue;
    }
    return true;
  }
  return false;
}

void GpsdReader::Run() {
  milliseconds retry = kFirstRetry;
  bool reached = false;
  while (!m_stop) {
    gps_data_t gps{};
    std::string reason;
    if (Connect(&gps, &reason)) {
      reached = true;
      Tell(PositionState::Waiting, {});
      retry = kFirstRetry;
      reason = ReadUntilGone(&gps);
      gps_close(&gps);
    }
    if (m_stop) break;
    // Until gpsd has answered once, it is not reachable; after that, lost.
    Tell(reached ? PositionState::Lost : PositionState::Unreachable,
         Where() + (reached ? _(" was lost: ") : _(" is not reachable: ")) + reason);
    if (!Rest(retry)) break;
    retry = std::min(retry * 2, kLongestRetry);
  }
}

// True when the peer has closed the connection or it broke (as opposed to a message libgps
// could not use, which it also reports as -1).
bool ConnectionClosed(int fd) {
  char c;
  ssize_t r = recv(fd, &c, 1, MSG_PEEK | MSG_DONTWAIT);
  if (r > 0) return false;
  if (r < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) return false;
  return true;
}

std::string GpsdReader::ReadUntilGone(gps_data_t* gps) {
  char message[16384];  // longer than any report gpsd sends
  int failed = 0;
  // gpsd reports every second while a receiver is attached: silence after a report means
  // the service (or the way to it) is gone, even without a closed connection.
  bool expectReports = false;
  Clock::time_point heard = Clock::now();
  while (!m_stop) {
    errno = 0;  // a quiet spell leaves errno alone; only a failed wait sets it
    if (!gps_waiting(gps, kWaitMicros)) {
      if (errno != 0 && errno != EINTR)
        return std::string(_("the connection failed: ")) + std::strerror(errno);
      if (expectReports && Clock::now() - heard > m_limits.silence)
        return _("no reports for ") + std::to_string(m_limits.silence.count() / 1000) + _(" s");
      continue;
    }
    errno = 0;
    message[0] = '\0';
    int got = gps_read(gps, message, sizeof message - 1);
    if (got < 0) {
      // Unknown or malformed JSON is ignored; a closed connection ends the session, and so
      // does a line libgps cannot get past (it would be offered again at once, for ever).
      if (ConnectionClosed(gps->gps_fd)) return _("the connection was closed");
      if (++failed >= kFailedReadsInARow) return _("a report could not be read");
      continue;
    }
    failed = 0;
    heard = Clock::now();
    if (got > 0) {
      message[sizeof message - 1] = '\0';
      if (std::strstr(message, "\"class\":\"TPV\"") != nullptr) expectReports = true;
      // The last receiver went away: gpsd stays quiet until one comes back.
      if (std::strstr(message, "\"class\":\"DEVICE\"") != nullptr &&
          std::strstr(message, "\"activated\":0") != nullptr)
        expectReports = false;
      TakeReport(*gps, message);
    }
  }
  return {};
}

bool GpsdReader::TakeReport(const gps_data_t& gps, const char* message) {
  if (std::strstr(message, "\"class\":\"TPV\"") == nullptr) return false;
  const gps_fix_t& f = gps.fix;
  if (f.mode < MODE_2D || !std::isfinite(f.latitude) || !std::isfinite(f.longitude) ||
      std::fabs(f.latitude) > 90 || std::fabs(f.longitude) > 180) {
    return false;
  }
  // Several receivers on one gpsd would make the walker jump between them: one is
  // followed, and another taken only after the followed one gave no fix for a while.
  const std::string device = DeviceOf(message);
  const Clock::time_point now = Clock::now();
  if (device != m_device && !m_device.empty() && now - m_deviceFix <= m_limits.silence) {
    return false;
  }
  m_device = device;
  m_deviceFix = now;
  double error = -1;
  if (std::isfinite(f.eph) && f.eph >= 0) {
    error = f.eph;
  } else if (std::isfinite(f.epx) && std::isfinite(f.epy)) {
    error = std::sqrt(f.epx * f.epx + f.epy * f.epy);
  }
  uint32_t stamp = m_clock != nullptr ? static_cast<uint32_t>(m_clock->NowMicros() / 1000) : 0;
  Hub().Push(PositionFix{f.latitude, f.longitude, error, stamp});
  if (m_window != nullptr) m_window->Wake();
  return true;
}

}  // namespace

std::unique_ptr<PositionReader> StartGpsdReader(const PositionOptions& options, ClockPiece* clock,
                                                WindowPiece* window, const GpsdLimits& limits) {
  auto reader = std::make_unique<GpsdReader>(options, clock, window, limits);
  reader->Start();
  return reader;
}

}  // namespace platform
