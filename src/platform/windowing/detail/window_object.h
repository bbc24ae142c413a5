// The windows and classes of the message layer, shared by the window calls, the message
// queue and the input translator.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/windowing/win_types.h"

namespace platform {

struct WindowClass {
  std::string name;
  UINT style = 0;
  WNDPROC proc = nullptr;
  HINSTANCE instance = nullptr;
  HICON icon = nullptr;
  HCURSOR cursor = nullptr;
};

}  // namespace platform

struct WindowObject {
  platform::WindowClass cls;
  std::string title;
  DWORD style = 0;
  DWORD exStyle = 0;
  HWND parent = nullptr;
  bool native = false;       // has a window of the window system (top-level windows)
  bool wantVisible = false;  // ShowWindow asked for it
  bool collapsed = false;    // sized to nothing: kept off screen until it gets an area
  bool minimized = false;
  bool destroying = false;
  RECT childRect{};  // child windows: position and size in the parent's client area
};

namespace platform {

bool IsLiveWindow(HWND hwnd);
// The window that takes mouse and keyboard input: the capture window, else the first live
// top-level window.
HWND InputWindow();
const std::vector<HWND>& LiveWindows();
// Client size as the program sees it (0 x 0 while collapsed).
void ClientSize(HWND hwnd, int* width, int* height);
// Gives a top-level window a client area of exactly this size (the display open).
void SetClientAreaSize(HWND hwnd, int width, int height);

// Forgets every class and window (headless reset, backend shutdown).
void ResetWindows();

}  // namespace platform
