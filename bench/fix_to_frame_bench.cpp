// From a position report leaving gpsd to the presented picture that shows it, through the
// whole program: a stand-in gpsd on a private port sends the demo walk as gpsd's reports, the
// real reader thread takes them, and the real frame loop of the program (real window, 30
// frames a second) draws and presents them. The reports come at uneven intervals so that
// they land at every point of the frame period. Reported over the walk: the median and the
// worst time from a report's sending to the end of the first present that shows it (or a
// later fix), in milliseconds. Needs a display (run under xvfb-run when there is none).
#include <arpa/inet.h>
#include <benchmark/benchmark.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "app/portrait_app.h"
#include "bench_support.h"
#include "map/portrait.h"
#include "platform/backend_select.h"
#include "platform/position/track_file.h"
#include "platform/windowing/win_api.h"

namespace {

using Clock = std::chrono::steady_clock;

// Plays the walk to one watcher once the program says its map view is up.
class StandInGpsd {
 public:
  explicit StandInGpsd(const std::vector<platform::TrackPoint>& walk) : m_walk(walk) {
    m_listen = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(m_listen, reinterpret_cast<sockaddr*>(&a), sizeof a);
    socklen_t len = sizeof a;
    getsockname(m_listen, reinterpret_cast<sockaddr*>(&a), &len);
    m_port = std::to_string(ntohs(a.sin_port));
    listen(m_listen, 4);
    m_sent.resize(walk.size());
    m_thread = std::thread([this] { Serve(); });
  }
  ~StandInGpsd() {
    m_stop = true;
    shutdown(m_listen, SHUT_RDWR);
    m_thread.join();
    close(m_listen);
  }
  const std::string& Port() const { return m_port; }
  void Go() { m_go = true; }
  bool Done() const { return m_done; }
  Clock::time_point Sent(size_t i) const { return m_sent[i]; }

 private:
  void Serve() {
    // The reader first only tries the address (a connection closed without a word), then
    // connects and asks to watch.
    int fd = -1;
    for (;;) {
      fd = accept(m_listen, nullptr, nullptr);
      if (fd < 0) return;
      const std::string greeting =
          "{\"class\":\"VERSION\",\"release\":\"3.22\",\"proto_major\":3}\n";
      send(fd, greeting.data(), greeting.size(), MSG_NOSIGNAL);
      char ask[512];
      if (recv(fd, ask, sizeof ask, 0) > 0) break;
      close(fd);
    }
    while (!m_go && !m_stop) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    std::mt19937 random(20);
    std::uniform_int_distribution<int> pause(40, 110);  // ms: every phase of a 33 ms frame
    for (size_t i = 0; i < m_walk.size() && !m_stop; ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(pause(random)));
      char line[256];
      std::snprintf(line, sizeof line,
                    "{\"class\":\"TPV\",\"device\":\"/dev/bench\",\"mode\":2,\"lat\":%.9f,"
                    "\"lon\":%.9f,\"eph\":5.0}\n",
                    m_walk[i].latitude, m_walk[i].longitude);
      m_sent[i] = Clock::now();
      send(fd, line, std::strlen(line), MSG_NOSIGNAL);
    }
    m_done = true;
    while (!m_stop) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    close(fd);
  }

  std::vector<platform::TrackPoint> m_walk;
  int m_listen = -1;
  std::string m_port;
  std::vector<Clock::time_point> m_sent;
  std::atomic<bool> m_go{false};
  std::atomic<bool> m_done{false};
  std::atomic<bool> m_stop{false};
  std::thread m_thread;
};

// The program, told to skip the user list, noting which fix each presented picture shows.
class MeasuredApp : public CPortraitApp {
 public:
  MeasuredApp(const AppConfig& config, StandInGpsd* gpsd,
              std::map<std::pair<double, double>, size_t> index)
      : CPortraitApp(config), m_gpsd(gpsd), m_index(std::move(index)) {}

  HRESULT ProcessNextFrame(CGapiSurface* back, uint32_t flags) override {
    const HRESULT hr = CPortraitApp::ProcessNextFrame(back, flags);
    if (!m_startupPending && m_model != nullptr && m_mode != MODE_MAP) m_mode = MODE_MAP;
    if (!m_startupPending && m_mode == MODE_MAP) m_gpsd->Go();
    return hr;
  }
  void FramePresented() override {
    // Once the walk is over, a second more of frames and the program ends.
    if (m_gpsd->Done() && ++m_after > 30) Quit();
    if (m_model == nullptr || !m_model->HasGpsFix()) return;
    const auto found = m_index.find({m_model->m_gpsLatitude, m_model->m_gpsLongitude});
    if (found == m_index.end()) return;
    presented.emplace_back(Clock::now(), found->second);
    if (found->second + 1 == m_index.size()) Quit();
  }

  std::vector<std::pair<Clock::time_point, size_t>> presented;  // when, which fix

 private:
  StandInGpsd* m_gpsd;
  std::map<std::pair<double, double>, size_t> m_index;
  int m_after = 0;
};

void BM_FixToPresentedFrame(benchmark::State& state) {
  if (std::getenv("DISPLAY") == nullptr) {
    state.SkipWithError("no display: run under xvfb-run");
    return;
  }
  const std::string demo = std::string(CORVANE_SOURCE_DIR) + "/demo";
  platform::TrackFile track = platform::ReadTrackFile(demo + "/walk.gpx");
  // The walk as libgps will read it back from the reports' text, each point told apart by
  // a nanodegree or so (a walker who stands still repeats a position).
  std::map<std::pair<double, double>, size_t> index;
  for (size_t i = 0; i < track.points.size(); ++i) {
    char text[64];
    std::snprintf(text, sizeof text, "%.9f %.9f", track.points[i].latitude,
                  track.points[i].longitude + 1e-9 * static_cast<double>(i));
    double lat = 0, lon = 0;
    std::sscanf(text, "%lf %lf", &lat, &lon);
    track.points[i].latitude = lat;
    track.points[i].longitude = lon;
    index.emplace(std::make_pair(lat, lon), i);
  }
  std::vector<double> ms;
  for (auto _ : state) {
    // The program saves its users file at the end: it runs on a copy of the demo.
    bench::ScratchFolder scratch;
    std::filesystem::copy(demo, scratch.path, std::filesystem::copy_options::recursive);
    StandInGpsd gpsd(track.points);
    platform::UseBackend(platform::BackendKind::Real);
    const std::string project = (scratch.path / "Harbour.xml").string();
    platform::PresetFileChoice(project.c_str());
    AppConfig config;
    std::memset(&config, 0, sizeof config);
    config.m_instance = GetModuleHandleA(nullptr);
    config.m_title = "Fix to frame bench";
    config.m_frameRate = 30;
    config.m_displayFlags = 4;
    config.m_displayMode = 1;
    config.m_width = 800;
    config.m_height = 600;
    config.m_displayOption4 = 75;
    RunOptions options;
    options.projectFile = project;
    options.position = RunOptions::Position::Gpsd;
    options.gpsHost = "127.0.0.1";
    options.gpsPort = gpsd.Port();
    std::vector<std::pair<Clock::time_point, size_t>> presented;
    {
      MeasuredApp app(config, &gpsd, index);
      app.SetRunOptions(options);
      app.Run();
      presented = app.presented;
    }
    platform::ShutdownBackend();
    while (!gpsd.Done()) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    // Each fix: the first present showing it or a later one.
    size_t p = 0;
    for (size_t i = 0; i < track.points.size(); ++i) {
      while (p < presented.size() && presented[p].second < i) ++p;
      if (p == presented.size()) break;
      ms.push_back(std::chrono::duration<double, std::milli>(presented[p].first - gpsd.Sent(i))
                       .count());
    }
  }
  if (ms.empty()) {
    state.SkipWithError("no fix was presented");
    return;
  }
  std::sort(ms.begin(), ms.end());
  state.counters["fixes"] = static_cast<double>(ms.size());
  state.counters["median_ms"] = ms[ms.size() / 2];
  state.counters["p99_ms"] = ms[ms.size() * 99 / 100];
  state.counters["worst_ms"] = ms.back();
  state.counters["over_33ms"] =
      static_cast<double>(ms.end() - std::upper_bound(ms.begin(), ms.end(), 33.0));
}

}  // namespace

BENCHMARK(BM_FixToPresentedFrame)->Iterations(1)->Unit(benchmark::kSecond);
