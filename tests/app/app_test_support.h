// Helpers for driving the frame on the headless backend: a standard configuration, and a
// loop pass that mirrors the frame loop (all waiting messages, then one frame step).
#pragma once

#include <cstring>
#include <ostream>
#include <string>
#include <vector>

#include "app/app_frame.h"
#include "platform/backend_headless/headless.h"
#include "platform/windowing/win_api.h"

namespace apptest {

inline AppConfig ProgramConfig() {
  AppConfig config;
  std::memset(&config, 0, sizeof config);
  config.m_instance = GetModuleHandleA(nullptr);
  config.m_title = "Corvane V0.01";
  config.m_frameRate = 30;
  config.m_displayFlags = 4;
  config.m_displayMode = 1;
  config.m_width = 800;
  config.m_height = 600;
  config.m_displayOption4 = 75;
  config.m_iconId = 101;
  return config;
}

// Clears the process-wide frame state and the headless backend between tests.
inline void ResetAll() {
  headless::Reset();
  headless::SetDrawRecording(true);
  g_app = nullptr;
  g_frameFlags = 0;
}

// Handles every waiting message; false when WM_QUIT was taken.
inline bool DrainMessages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) return false;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return true;
}

// One pass of the loop as Run makes it when messages are waiting and then the queue is empty.
inline HRESULT Pass(CAppFrame& frame) {
  DrainMessages();
  return frame.FrameStep();
}

struct TextAt {
  std::string text;
  LONG x;
  LONG y;
  bool operator==(const TextAt&) const = default;
};

inline std::vector<TextAt> TextsDrawn() {
  std::vector<TextAt> out;
  for (const headless::DrawCall& c : headless::DrawCalls())
    if (c.call == "DrawTextA") out.push_back({c.text, c.dst.left, c.dst.top});
  return out;
}

inline void PrintTo(const TextAt& t, std::ostream* os) {
  *os << '"' << t.text << "\" at (" << t.x << ", " << t.y << ')';
}

}  // namespace apptest
