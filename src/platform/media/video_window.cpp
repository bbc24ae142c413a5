#include "platform/media/video_window.h"

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <system_error>

#include "platform/backend_select.h"
#include "platform/graphics/detail/display_state.h"
#include "platform/graphics/gapi.h"
#include "platform/media/detail/media_picture.h"
#include "platform/media/detail/video_player.h"
#include "platform/media/detail/video_windows.h"
#include "platform/windowing/detail/window_object.h"
#include "platform/windowing/win_api.h"

namespace platform {
namespace {

constexpr const char* kClassName = "Corvane MediaWindow";

struct MediaWindow {
  std::unique_ptr<VideoPlayer> player;
  std::unique_ptr<MediaPicture> picture;
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
    w.picture.reset();
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
    case MCI_PAUSE:
    case MCI_RESUME:
      if (w.player) w.player->SetPaused(msg == MCI_PAUSE);
      return 0;
    case MCI_SEEK:
      if (w.player && wParam == MCI_SEEK_RELATIVE)
        w.player->SeekByMs(static_cast<int32_t>(lParam));
      else if (w.player)
        w.player->SeekMs(static_cast<uint32_t>(lParam));
      return 0;
    case MCIWNDM_SETVOLUME:
      if (w.player) w.player->SetVolume(static_cast<int>(lParam));
      return 0;
    case MCIWNDM_SHOWVOLUME:
      if (w.picture) w.picture->ShowVolume(static_cast<int>(lParam), wParam != 0, timeGetTime());
      return 0;
    case MCIWNDM_GETVOLUME:
      return w.player ? static_cast<LRESULT>(w.player->Volume()) : 0;
    case MCIWNDM_SETITEMTITLE:
      if (w.picture) w.picture->SetTitle(lParam != 0 ? reinterpret_cast<const char*>(lParam) : "");
      return 0;
    case MCIWNDM_PUT_DEST:
      if (w.picture && lParam != 0) w.picture->SetArtBox(*reinterpret_cast<const RECT*>(lParam));
      return 0;
    case MCIWNDM_GETMODEA:
      if (!w.player) return MCI_MODE_STOP;
      if (w.player->Kind() == MediaKind::Unknown) return MCI_MODE_NOT_READY;
      return w.player->Paused() ? MCI_MODE_PAUSE : MCI_MODE_PLAY;
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

void RegisterMediaClass(HINSTANCE instance) {
  // Registered on every call: a class already known is refused and stays as it was, and a
  // window layer that was started over has forgotten it.
  WNDCLASSA wc{};
  wc.lpfnWndProc = MediaWindowProc;
  wc.hInstance = instance;
  wc.lpszClassName = kClassName;
  RegisterClassA(&wc);
}

// The player takes names that look like "proto://..." as streams to fetch; a file named by
// a project is always a local file, so it is handed over as an absolute path. A name that
// cannot be made one (the current folder has gone) gives none: the player refuses it.
std::string LocalPath(const char* file) {
  if (file == nullptr || file[0] == '\0') return std::string();
  std::error_code ec;
  std::filesystem::path p = std::filesystem::absolute(file, ec);
  return ec ? std::string() : p.string();
}

}  // namespace

SDL_Surface* PumpVideoWindows() {
  MediaWindow* newest = nullptr;
  for (auto& [hwnd, w] : Windows()) {
    if (w.player && (!newest || w.order > newest->order)) newest = &w;
  }
  if (!newest) return nullptr;
  return newest->picture->Compose(*newest->player);
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
  MediaWindowFiles files;
  files.file = file;
  return MCIWndCreateFiles(parent, instance, style, files);
}

HWND MCIWndCreateFiles(HWND parent, HINSTANCE instance, DWORD style, const MediaWindowFiles& files) {
  using namespace platform;
  RegisterMediaClass(instance);
  // Every earlier media window is done with: release it so a long run of playbacks
  // does not pile up players and their threads.
  for (auto it = Windows().begin(); it != Windows().end();) {
    HWND old = it->first;
    if (IsLiveWindow(old)) {
      ++it;
      DestroyWindow(old);  // its WM_DESTROY releases the player and the entry
    } else {
      // The window layer was started over without destroying its windows.
      CloseMedia(it->second);
      it = Windows().erase(it);
    }
  }
  // Frames are made at the display's logical size, so they are shown the way the program's
  // own pictures are: scaled into the window with the aspect kept. The player letterboxes
  // the video inside that area.
  RECT client{0, 0, 800, 600};
  if (parent) GetClientRect(parent, &client);
  int width = client.right - client.left > 0 ? client.right - client.left : 800;
  int height = client.bottom - client.top > 0 ? client.bottom - client.top : 600;
  if (CGapiSurface* back = OpenBackBuffer()) {
    width = static_cast<int>(back->GetWidth());
    height = static_cast<int>(back->GetHeight());
  }
  HWND hwnd = CreateWindowExA(0, kClassName, "", style | WS_CHILD, 0, 0, width, height, parent,
                              nullptr, instance, nullptr);
  if (!hwnd) return nullptr;
  MediaWindow& w = Windows()[hwnd];
  w.order = ++g_order;
  bool audio = ActiveBackend() == BackendKind::Real;
  w.player = std::make_unique<VideoPlayer>(width, height, audio);
  w.picture = std::make_unique<MediaPicture>(width, height, (style & MCIWNDF_NOPLAYBAR) == 0);
  ++g_livePlayers;
  const std::string subtitles = LocalPath(files.subtitles);
  w.player->Open(LocalPath(files.file), LocalPath(files.fallback),
                 files.subtitlesChosen ? &subtitles : nullptr);
  return hwnd;
}
