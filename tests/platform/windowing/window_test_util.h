// A recording window for the message-layer tests: every message its procedure gets, and
// pumping of the queue the way the frame loop does it.
#pragma once

#include <vector>

#include "platform/backend_headless/headless.h"
#include "platform/windowing/win_api.h"

namespace wintest {

struct Seen {
  HWND hwnd;
  UINT msg;
  WPARAM wParam;
  LPARAM lParam;
};

inline std::vector<Seen>& Log() {
  static std::vector<Seen> log;
  return log;
}

// Like the frame, the window takes SC_CLOSE itself unless a test wants the default
// (which destroys the window).
inline bool& TakeClose() {
  static bool take = true;
  return take;
}

inline LRESULT RecordingProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  Log().push_back({hwnd, msg, wParam, lParam});
  if (msg == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_CLOSE && TakeClose()) return 0;
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

// A main window like the frame's: class with the given styles, sizing border, shown.
inline HWND MakeWindow(UINT classStyle = CS_HREDRAW | CS_VREDRAW, const char* name = "Test WndCls") {
  WNDCLASSA wc{};
  wc.style = classStyle;
  wc.lpfnWndProc = RecordingProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = name;
  if (!RegisterClassA(&wc)) return nullptr;
  HWND hwnd = CreateWindowExA(0, name, "Test", WS_CAPTION | WS_SYSMENU | WS_THICKFRAME,
                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                              nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  if (hwnd) ShowWindow(hwnd, SW_SHOW);
  return hwnd;
}

// Takes and dispatches every waiting message; returns those of the given kinds (all when
// none given), in order.
inline std::vector<MSG> Drain(std::vector<UINT> kinds = {}) {
  std::vector<MSG> out;
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      out.push_back(msg);
      break;
    }
    bool wanted = kinds.empty();
    for (UINT k : kinds) wanted = wanted || msg.message == k;
    if (wanted) out.push_back(msg);
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return out;
}

}  // namespace wintest
