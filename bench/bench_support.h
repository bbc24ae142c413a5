// What several benchmarks set up alike: a scratch folder, and a headless 800x600 display with
// its back buffer and font.
#pragma once

#include <stdlib.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/backend_headless/headless.h"
#include "platform/backend_select.h"
#include "platform/graphics/gapi.h"
#include "platform/windowing/win_api.h"

namespace bench {

// A fresh folder under /tmp, removed with everything in it when the object goes.
struct ScratchFolder {
  std::filesystem::path path;
  ScratchFolder() {
    char pattern[] = "/tmp/corvane-bench-XXXXXX";
    const char* made = mkdtemp(pattern);
    if (made == nullptr) {
      std::perror("mkdtemp");
      std::abort();
    }
    path = made;
  }
  ~ScratchFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path, ec);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
};

// The headless backend with a window of its own class and an 800x600 display on it; nothing
// drawn is recorded, so frames cost what they cost in the program.
struct HeadlessScreen {
  CGapiDisplay display;
  CGapiSurface back;
  CGapiBitmapFont* font = nullptr;
  HWND window = nullptr;

  explicit HeadlessScreen(const char* windowClass) {
    platform::UseBackend(platform::BackendKind::Headless);
    headless::Reset();
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = windowClass;
    RegisterClassA(&wc);
    window = CreateWindowExA(0, wc.lpszClassName, "bench", WS_CAPTION, 0, 0, 0, 0, nullptr, nullptr,
                             wc.hInstance, nullptr);
    if (display.OpenDisplay(0, window, 800, 600, 0, 0, 0, 0) != GD_OK ||
        display.GetBackBuffer(&back) != GD_OK || back.GetWidth() != 800) {
      std::fprintf(stderr, "no headless display\n");
      std::abort();
    }
    font = display.GetSystemFontBorder();
    headless::SetDrawRecording(false);
  }
};

}  // namespace bench
