// From a fix reaching the position source to the frame that shows the user there: the demo
// project with the demo walk fed fix by fix through the scripted receiver, each followed by the
// window message's delivery, the map view's drawing and the flip. Reported per fix as the
// median and the worst over the walk (microseconds of wall time, and of the thread's own CPU
// time, which a busy machine does not stretch). The wait for the next frame
// tick (the program draws 30 frames a second) comes on top and is not part of this figure.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "bench_support.h"
#include "map/portrait.h"
#include "platform/backend_headless/headless.h"
#include "platform/backend_select.h"
#include "platform/graphics/gapi.h"
#include "platform/position/track_file.h"
#include "platform/windowing/win_api.h"

namespace {

struct Walk : bench::HeadlessScreen {
  std::unique_ptr<CPortrait> model;
  platform::TrackFile track;

  Walk() : HeadlessScreen("CorvanePositionBench") {
    model = std::make_unique<CPortrait>(window, GetModuleHandleA(nullptr), 800, 600);
    // The project's files are found from the working folder, as when started from a shell.
    const std::string demo = std::string(CORVANE_SOURCE_DIR) + "/demo/";
    std::filesystem::current_path(demo);
    if (!model->LoadProjectFile("Harbour.xml") || !model->LoadMap()) {
      std::fprintf(stderr, "cannot load the demo project (status %d)\n", model->m_status);
      for (const auto& box : headless::MessageBoxes())
        std::fprintf(stderr, "%s\n", box.text.c_str());
      std::abort();
    }
    model->ComputeMapPositions();
    model->LoadIcons();
    model->m_showGpsStatus = true;
    model->m_positionOptions.source = platform::PositionOptions::Source::Gpsd;
    if (model->OpenGpsPort() != 1) std::abort();
    track = platform::ReadTrackFile(demo + "walk.gpx");
    if (track.points.empty()) {
      std::fprintf(stderr, "cannot read the demo walk: %s\n", track.error.c_str());
      std::abort();
    }
  }
};

double ThreadCpuMicros() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) * 1e6 + static_cast<double>(t.tv_nsec) / 1e3;
}

void BM_FixToFrame(benchmark::State& state) {
  static Walk walk;
  CPortrait& m = *walk.model;
  std::vector<double> micros;
  std::vector<double> cpuMicros;  // the thread's own time: tells work from waiting for a core
  for (auto _ : state) {
    micros.clear();
    cpuMicros.clear();
    for (const platform::TrackPoint& p : walk.track.points) {
      const auto start = std::chrono::steady_clock::now();
      const double cpuStart = ThreadCpuMicros();
      headless::FeedPositionFix(p.latitude, p.longitude, p.horizontalError);
      MSG msg;
      while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        if (msg.message == WM_GPS_NOTIFY) m.OnGpsMessage();
      m.Render(&walk.back, walk.font);
      walk.display.Flip();
      const auto end = std::chrono::steady_clock::now();
      micros.push_back(std::chrono::duration<double, std::micro>(end - start).count());
      cpuMicros.push_back(ThreadCpuMicros() - cpuStart);
    }
  }
  std::sort(micros.begin(), micros.end());
  state.counters["fixes"] = static_cast<double>(micros.size());
  state.counters["median_us"] = micros[micros.size() / 2];
  state.counters["worst_us"] = micros.back();
  std::sort(cpuMicros.begin(), cpuMicros.end());
  state.counters["cpu_median_us"] = cpuMicros[cpuMicros.size() / 2];
  state.counters["cpu_worst_us"] = cpuMicros.back();
}

}  // namespace

BENCHMARK(BM_FixToFrame)->Iterations(1)->Repetitions(5)->Unit(benchmark::kMillisecond);
