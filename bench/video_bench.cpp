// Time from the play request (media window created, MCI_PLAY sent) to the first video frame
// put on screen by the message pump, over a local one-second clip made by ffmpeg; and the
// time MCI_CLOSE takes in the middle of a playback (a tap waits for it). With a display
// (DISPLAY set, e.g. under xvfb-run) the real window and default audio output are used;
// without one the headless presentation and silent audio.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

#include "platform/backend_select.h"
#include "platform/graphics/gapi.h"
#include "platform/media/video_window.h"
#include "platform/pieces.h"
#include "platform/windowing/win_api.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

LRESULT BenchProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

// Counts pictures on their way to the screen.
class CountingPresent : public platform::PresentPiece {
 public:
  explicit CountingPresent(platform::PresentPiece* inner) : m_inner(inner) {}
  bool Open(HWND hwnd, int w, int h) override { return m_inner->Open(hwnd, w, h); }
  void Close() override { m_inner->Close(); }
  void Refresh() override { m_inner->Refresh(); }
  void Present(const void* pixels, int w, int h, int pitch) override {
    m_inner->Present(pixels, w, h, pitch);
    ++presents;
  }
  int presents = 0;

 private:
  platform::PresentPiece* m_inner;
};

// The main window with its display, and a clip; everything the frame has before a playback.
struct Stage {
  HWND hwnd = nullptr;
  CGapiDisplay display;
  CGapiSurface back;
  CountingPresent* counter = nullptr;
  platform::PresentPiece* inner = nullptr;
  std::string clip;
  bool ok = false;

  Stage() {
    const fs::path dir =
        fs::temp_directory_path() / ("corvane_video_bench_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    clip = (dir / "clip.mp4").string();
    const std::string cmd =
        "ffmpeg -loglevel error -nostdin -y -f lavfi -i testsrc=size=320x240:rate=25 "
        "-f lavfi -i sine=frequency=440 -t 1 -pix_fmt yuv420p -shortest '" +
        clip + "'";
    if (std::system(cmd.c_str()) != 0) return;

    platform::UseBackend(std::getenv("DISPLAY") != nullptr ? platform::BackendKind::Real
                                                           : platform::BackendKind::Headless);
    inner = platform::Active().present;
    counter = new CountingPresent(inner);
    platform::Active().present = counter;
    WNDCLASSA wc{};
    wc.lpfnWndProc = BenchProc;
    wc.lpszClassName = "Video bench WndCls";
    if (!RegisterClassA(&wc)) return;
    hwnd = CreateWindowExA(0, wc.lpszClassName, "Video bench", WS_CAPTION, CW_USEDEFAULT,
                           CW_USEDEFAULT, 0, 0, nullptr, nullptr, nullptr, nullptr);
    if (hwnd == nullptr) return;
    ShowWindow(hwnd, SW_SHOW);
    if (display.OpenDisplay(4, hwnd, 800, 600, 0, 0, 0, 75) != GD_OK) return;
    if (display.GetBackBuffer(&back) != GD_OK) return;
    Pump();
    ok = true;
  }
  ~Stage() {
    display.CloseDisplay();
    if (hwnd) DestroyWindow(hwnd);
    platform::Active().present = inner;
    delete counter;
    platform::ShutdownBackend();
    fs::remove_all(fs::path(clip).parent_path());
  }

  static void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
  }

  // Starts a playback as the program does and waits for its first frame on screen; the
  // media window, or null when no frame came.
  HWND Play(Clock::duration* firstFrame) {
    const int before = counter->presents;
    const auto start = Clock::now();
    HWND video =
        MCIWndCreateA(hwnd, nullptr, WS_CHILD | WS_VISIBLE | MCIWNDF_NOPLAYBAR, clip.c_str());
    SendMessageA(video, MCI_PLAY, 0, 0);
    // The program's loop pumps once per pass; here the pump runs flat out with short rests.
    while (counter->presents == before) {
      Pump();
      if (Clock::now() - start > std::chrono::seconds(10)) return nullptr;
      if (counter->presents == before) std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    *firstFrame = Clock::now() - start;
    return video;
  }
};

Stage& TheStage() {
  static Stage stage;
  return stage;
}

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

void BM_PlayRequestToFirstFrame(benchmark::State& state) {
  Stage& stage = TheStage();
  if (!stage.ok) {
    state.SkipWithError("no clip or no display");
    return;
  }
  for (auto _ : state) {
    Clock::duration took{};
    HWND video = stage.Play(&took);
    if (video == nullptr) {
      state.SkipWithError("no frame within 10 s");
      return;
    }
    state.SetIterationTime(Seconds(took));
    SendMessageA(video, MCI_CLOSE, 0, 0);
    DestroyWindow(video);
  }
}
BENCHMARK(BM_PlayRequestToFirstFrame)
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(20)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond);

void BM_CloseWhilePlaying(benchmark::State& state) {
  Stage& stage = TheStage();
  if (!stage.ok) {
    state.SkipWithError("no clip or no display");
    return;
  }
  for (auto _ : state) {
    Clock::duration took{};
    HWND video = stage.Play(&took);
    if (video == nullptr) {
      state.SkipWithError("no frame within 10 s");
      return;
    }
    // A few frames in, as when the user taps to stop.
    const auto playing = Clock::now();
    while (Clock::now() - playing < std::chrono::milliseconds(200)) {
      Stage::Pump();
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    const auto start = Clock::now();
    SendMessageA(video, MCI_CLOSE, 0, 0);
    state.SetIterationTime(Seconds(Clock::now() - start));
    DestroyWindow(video);
  }
}
BENCHMARK(BM_CloseWhilePlaying)
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(20)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond);

}  // namespace
