// One present of the 800 x 600 back buffer in a real window, beside one plain 800 x 600
// copy between surfaces for scale. Needs a display (run under xvfb-run when there is
// none); without one the present is skipped.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>

#include "platform/backend_select.h"
#include "platform/graphics/gapi.h"
#include "platform/windowing/win_api.h"

namespace {

LRESULT BenchProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

void Pump() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

// The window and display of the frame, opened the way the frame opens them.
struct Screen {
  HWND hwnd = nullptr;
  CGapiDisplay display;
  CGapiSurface back;
  bool ok = false;

  Screen() {
    if (std::getenv("DISPLAY") == nullptr) return;
    platform::UseBackend(platform::BackendKind::Real);
    WNDCLASSA wc{};
    wc.lpfnWndProc = BenchProc;
    wc.lpszClassName = "Present bench WndCls";
    if (!RegisterClassA(&wc)) return;
    hwnd = CreateWindowExA(0, wc.lpszClassName, "Present bench", WS_CAPTION | WS_THICKFRAME,
                           CW_USEDEFAULT, CW_USEDEFAULT, 0, 0, nullptr, nullptr, nullptr, nullptr);
    if (hwnd == nullptr) return;
    ShowWindow(hwnd, SW_SHOW);
    if (display.OpenDisplay(4, hwnd, 800, 600, 0, 0, 0, 75) != GD_OK) return;
    if (display.GetBackBuffer(&back) != GD_OK) return;
    RECT half{0, 0, 400, 600};
    back.FillRect(nullptr, 0x204060, 0, nullptr);
    back.FillRect(&half, 0xC08020, 0, nullptr);
    Pump();
    ok = true;
  }
  ~Screen() {
    display.CloseDisplay();
    if (hwnd) DestroyWindow(hwnd);
    platform::ShutdownBackend();
  }
};

void BM_PlainCopy800x600(benchmark::State& state) {
  CGapiSurface src;
  CGapiSurface dst;
  src.CreateSurface(GDSURFACE_SYSTEMMEMORY, 800, 600);
  dst.CreateSurface(GDSURFACE_SYSTEMMEMORY, 800, 600);
  src.FillRect(nullptr, 0x336699, 0, nullptr);
  for (auto _ : state) {
    dst.BltFast(0, 0, &src, nullptr, 0, nullptr);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_PlainCopy800x600)->Unit(benchmark::kMicrosecond);

// A picture that changed since the last present: compared, uploaded and drawn.
void BM_Present800x600(benchmark::State& state) {
  auto screen = std::make_unique<Screen>();
  if (!screen->ok) {
    state.SkipWithError("no display to present on (set DISPLAY, e.g. under xvfb-run)");
    return;
  }
  DWORD shade = 0;
  for (auto _ : state) {
    state.PauseTiming();
    RECT corner{0, 0, 8, 8};
    screen->back.FillRect(&corner, ++shade & 0xFF, 0, nullptr);
    state.ResumeTiming();
    screen->display.Flip();
    state.PauseTiming();
    Pump();  // the frame loop reads its messages between frames
    state.ResumeTiming();
  }
}
BENCHMARK(BM_Present800x600)->Unit(benchmark::kMicrosecond);

// The idle case: the same picture again is only compared, never uploaded.
void BM_PresentUnchanged800x600(benchmark::State& state) {
  auto screen = std::make_unique<Screen>();
  if (!screen->ok) {
    state.SkipWithError("no display to present on (set DISPLAY, e.g. under xvfb-run)");
    return;
  }
  for (auto _ : state) {
    screen->display.Flip();
    state.PauseTiming();
    Pump();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_PresentUnchanged800x600)->Unit(benchmark::kMicrosecond);

}  // namespace
