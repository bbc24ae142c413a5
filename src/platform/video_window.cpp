#include "platform/video_window.h"

#include <map>
#include <memory>
#include <string>

#include "platform/backend_select.h"
#include "platform/video_player.h"
#include "platform/video_windows.h"
#include "platform/win_api.h"

namespace platform {
namespace {

constexpr const char* kClassName = "Corvane MediaWindow";

struct MediaWindow {
  std::unique_ptr<VideoPlayer> player;
  uint64_t order = 0;
};

std::map<HWND, MediaWindow>& Windows() {
  static std::map<HWND, MediaWindow> windows;
  return windows;
}
uint64_t g_order = 0;
int g_livePlayers = 0;

void CloseMedia(MediaWindow& w) {
  if (w.player) {
    w.player->Close();
    w.player.reset();
    --g_livePlayers;
  }
}

LRESULT MediaWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto it = Windows().find(hwnd);
  if (it == Windows().end()) return DefWindowProcA(hwnd, msg, wParam, lParam);
  MediaWindow& w = it->second;
  switch (msg) {
    case MCI_PLAY:
      if (w.player) w.player->Play();
      return 0;
    case MCI_CLOSE:
      CloseMedia(w);
      return 0;
    case MCIWNDM_GETEND:
      return w.player ? static_cast<LRESULT>(w.player->EndMs()) : 0;
    case MCIWNDM_GETPOSITIONA:
      return w.player ? static_cast<LRESULT>(w.player->PositionMs()) : 0;
    case WM_DESTROY:
      CloseMedia(w);
      Windows().erase(it);
      return 0;
    default:
      return DefWindowProcA(hwnd, msg, wParam, lParam);
  }
}

bool RegisterMediaClass(HINSTANCE instance) {
  static bool registered = false;
  if (registered) return true;
  WNDCLASSA wc{};
  wc.lpfnWndProc = MediaWindowProc;
  wc.hInstance = instance;
  wc.lpszClassName = kClassName;
  registered = RegisterClassA(&wc) != 0;
  return registered;
}

}  // namespace

SDL_Surface* PumpVideoWindows() {
  MediaWindow* newest = nullptr;
  for (auto& [hwnd, w] : Windows()) {
    if (w.player && (!newest || w.order > newest->order)) newest = &w;
  }
  if (!newest) return nullptr;
  return newest->player->RenderFrame() ? newest->player->Frame() : nullptr;
}

bool AnyVideoOpen() {
  for (auto& [hwnd, w] : Windows()) {
    if (w.player) return true;
  }
  return false;
}

int LiveVideoPlayers() { return g_livePlayers; }

}  // namespace platform

HWND MCIWndCreateA(HWND parent, HINSTANCE instance, DWORD style, const char* file) {
  using namespace platform;
  if (!RegisterMediaClass(instance)) return nullptr;
  // Every earlier media window is done with: release it so a long run of playbacks
  // does not pile up players and their threads.
  for (auto it = Windows().begin(); it != Windows().end();) {
    HWND old = it->first;
    ++it;
    DestroyWindow(old);
  }
  RECT client{0, 0, 800, 600};
  if (parent) GetClientRect(parent, &client);
  int width = client.right - client.left > 0 ? client.right - client.left : 800;
  int height = client.bottom - client.top > 0 ? client.bottom - client.top : 600;
  HWND hwnd = CreateWindowExA(0, kClassName, "", style | WS_CHILD, 0, 0, width, height, parent,
                              nullptr, instance, nullptr);
  if (!hwnd) return nullptr;
  MediaWindow& w = Windows()[hwnd];
  w.order = ++g_order;
  bool audio = ActiveBackend() == BackendKind::Real;
  w.player = std::make_unique<VideoPlayer>(width, height, audio);
  ++g_livePlayers;
  w.player->Open(file ? file : "");
  return hwnd;
}
