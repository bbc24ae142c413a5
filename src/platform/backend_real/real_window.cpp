// SDL windows. Events are taken in an event watch installed before any renderer exists, so
// mouse positions are the window's own pixels: the renderer's watch, which runs after ours,
// would rewrite them into logical coordinates, and on this layer that is the display's job
// (DeviceToLogical).
#include <SDL_image.h>
#include <glib.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "platform/backend_real/real_pieces.h"
#include "platform/backend_real/sdl_keys.h"
#include "platform/graphics/detail/resources.h"
#include "platform/graphics/detail/text_encoding.h"
#include "platform/windowing/detail/modal_scope.h"
#include "platform/windowing/detail/window_object.h"
#include "platform/windowing/win_api.h"

namespace platform {
namespace {

// Below this the picture is too small to use; the window manager keeps the window larger.
constexpr int kMinimumClientWidth = 160;
constexpr int kMinimumClientHeight = 120;

// SDL's stand-ins that draw nowhere: chosen by SDL itself when no window system answers.
bool DrawsNowhere(const char* driver) {
  return driver == nullptr || std::strcmp(driver, "offscreen") == 0 ||
         std::strcmp(driver, "dummy") == 0 || std::strcmp(driver, "evdev") == 0;
}

// Starts SDL's video on a window system. When none answers, SDL falls back to a driver that
// draws nowhere, and the program would run unseen: that is refused. A display that is named
// but does not answer (a server still starting, or one too busy to accept at once) is asked
// again for a few seconds before the program gives up with a message.
bool InitWindowSystem() {
  const char* asked = SDL_getenv("SDL_VIDEODRIVER");
  const bool chosen = asked != nullptr && *asked != '\0';
  const char* display = SDL_getenv("DISPLAY");
  const char* wayland = SDL_getenv("WAYLAND_DISPLAY");
  const bool onX = display != nullptr && *display != '\0';
  const bool onWayland = wayland != nullptr && *wayland != '\0';
  // Without a Wayland display only X is asked for: SDL would try Wayland's default socket
  // at every attempt, and its library would complain each time.
  if (!chosen && onX && !onWayland) SDL_SetHint(SDL_HINT_VIDEODRIVER, "x11");
  constexpr int kTries = 20;
  constexpr Uint32 kPauseMs = 250;
  for (int attempt = 1;; ++attempt) {
    const bool up = SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
    if (up && (chosen || !DrawsNowhere(SDL_GetCurrentVideoDriver()))) return true;
    const std::string why = up ? "no window system answers" : SDL_GetError();
    if (up) SDL_QuitSubSystem(SDL_INIT_VIDEO);
    if (chosen || !(onX || onWayland) || attempt == kTries) {
      SDL_Log("Cannot start the display: %s (DISPLAY=%s)", why.c_str(), onX ? display : "");
      return false;
    }
    SDL_Delay(kPauseMs);
  }
}

}  // namespace

bool SdlWindowPiece::EnsureVideo() {
  if (m_videoUp) return true;
  // The close button arrives as a window event. Signals are the program's own
  // (termination.cpp): SDL's handler would leave SIGHUP out and be seen only by its pump.
  SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  // A click that activates the window is still a click, as on the platform this replaces.
  SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
  SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
  if (!InitWindowSystem()) return false;
  SDL_AddEventWatch(&SdlWindowPiece::Watch, this);
  m_videoUp = true;
  EnsureGtk();
  return true;
}

void SdlWindowPiece::Shutdown() {
  for (auto& [hwnd, window] : m_windows) SDL_DestroyWindow(window);
  m_windows.clear();
  m_coverScreen.clear();
  m_pending.clear();
  if (m_videoUp) {
    SDL_DelEventWatch(&SdlWindowPiece::Watch, this);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    m_videoUp = false;
  }
}

bool SdlWindowPiece::Create(HWND hwnd, const char* title, int clientWidth, int clientHeight,
                            bool resizable) {
  if (!EnsureVideo()) return false;
  std::string text = title ? title : "";
  if (!IsValidUtf8(text)) text = Windows1252ToUtf8(text);
  Uint32 flags = SDL_WINDOW_HIDDEN | (resizable ? SDL_WINDOW_RESIZABLE : 0);
  // A topmost pop-up with no owner is the full-screen presentation: a frameless window over
  // the whole screen, the picture scaled into it as into a resized window. It is placed by
  // hand rather than switched to the window system's full-screen state, which needs a window
  // manager to take effect and leaves the window half-sized without one.
  const bool coverScreen = (hwnd->style & WS_POPUP) != 0 &&
                           (hwnd->exStyle & WS_EX_TOPMOST) != 0 && hwnd->parent == nullptr;
  int x = SDL_WINDOWPOS_UNDEFINED;
  int y = SDL_WINDOWPOS_UNDEFINED;
  SDL_Rect screen{};
  if (coverScreen && SDL_GetDisplayBounds(0, &screen) == 0) {
    flags |= SDL_WINDOW_BORDERLESS;
    x = screen.x;
    y = screen.y;
    clientWidth = screen.w;
    clientHeight = screen.h;
  }
  SDL_Window* window = SDL_CreateWindow(text.c_str(), x, y, clientWidth, clientHeight, flags);
  if (window == nullptr) {
    SDL_Log("Cannot create a window: %s", SDL_GetError());
    return false;
  }
  SDL_SetWindowMinimumSize(window, kMinimumClientWidth, kMinimumClientHeight);
  m_windows[hwnd] = window;
  if ((flags & SDL_WINDOW_BORDERLESS) != 0) m_coverScreen.push_back(hwnd);
  return true;
}

void SdlWindowPiece::Destroy(HWND hwnd) {
  auto it = m_windows.find(hwnd);
  if (it == m_windows.end()) return;
  SDL_DestroyWindow(it->second);
  m_windows.erase(it);
  std::erase(m_coverScreen, hwnd);
  std::erase_if(m_pending, [hwnd](const InputEvent& e) { return e.hwnd == hwnd; });
}

SDL_Window* SdlWindowPiece::Native(HWND hwnd) const {
  auto it = m_windows.find(hwnd);
  return it == m_windows.end() ? nullptr : it->second;
}

HWND SdlWindowPiece::FromId(Uint32 windowId) const {
  for (const auto& [hwnd, window] : m_windows) {
    if (SDL_GetWindowID(window) == windowId) return hwnd;
  }
  return nullptr;
}

void SdlWindowPiece::SetVisible(HWND hwnd, bool visible) {
  SDL_Window* w = Native(hwnd);
  if (w == nullptr) return;
  bool shown = (SDL_GetWindowFlags(w) & SDL_WINDOW_SHOWN) != 0;
  if (visible && !shown) {
    SDL_ShowWindow(w);
    SDL_RaiseWindow(w);
  } else if (!visible && shown) {
    SDL_HideWindow(w);
  }
}

void SdlWindowPiece::Minimize(HWND hwnd) {
  if (SDL_Window* w = Native(hwnd)) SDL_MinimizeWindow(w);
}

void SdlWindowPiece::Restore(HWND hwnd) {
  if (SDL_Window* w = Native(hwnd)) SDL_RestoreWindow(w);
}

void SdlWindowPiece::Focus(HWND hwnd) {
  SDL_Window* w = Native(hwnd);
  if (w != nullptr && (SDL_GetWindowFlags(w) & SDL_WINDOW_SHOWN)) SDL_RaiseWindow(w);
}

void SdlWindowPiece::SetIcon(HWND hwnd, int resourceId) {
  SDL_Window* w = Native(hwnd);
  ResourceBytes png = FindResource(static_cast<uint32_t>(resourceId), "PNG");
  if (w == nullptr || !png) return;
  SDL_RWops* rw = SDL_RWFromConstMem(png.data, static_cast<int>(png.size));
  if (SDL_Surface* icon = IMG_Load_RW(rw, 1)) {
    SDL_SetWindowIcon(w, icon);
    SDL_FreeSurface(icon);
  }
}

RECT SdlWindowPiece::ClientOnScreen(HWND hwnd) {
  SDL_Window* w = Native(hwnd);
  if (w == nullptr) return RECT{0, 0, 0, 0};
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  SDL_GetWindowPosition(w, &x, &y);
  SDL_GetWindowSize(w, &width, &height);
  return RECT{x, y, x + width, y + height};
}

RECT SdlWindowPiece::FrameExtents(HWND hwnd) {
  SDL_Window* w = Native(hwnd);
  int top = 0;
  int left = 0;
  int bottom = 0;
  int right = 0;
  if (w == nullptr || SDL_GetWindowBordersSize(w, &top, &left, &bottom, &right) != 0) {
    return RECT{0, 0, 0, 0};
  }
  return RECT{left, top, right, bottom};
}

void SdlWindowPiece::PlaceClient(HWND hwnd, int x, int y, int width, int height) {
  SDL_Window* w = Native(hwnd);
  if (w == nullptr) return;
  // A full-screen window keeps the screen whatever size the program asks for.
  if (std::find(m_coverScreen.begin(), m_coverScreen.end(), hwnd) != m_coverScreen.end()) return;
  RECT now = ClientOnScreen(hwnd);
  if (now.left != x || now.top != y) SDL_SetWindowPosition(w, x, y);
  if (now.right - now.left != width || now.bottom - now.top != height) {
    SDL_SetWindowSize(w, width, height);
  }
}

int SdlWindowPiece::Watch(void* self, SDL_Event* event) {
  static_cast<SdlWindowPiece*>(self)->Take(*event);
  return 1;
}

void SdlWindowPiece::Take(const SDL_Event& e) {
  InputEvent in;
  switch (e.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP:
      in.kind = e.type == SDL_KEYDOWN ? InputEvent::Kind::KeyDown : InputEvent::Kind::KeyUp;
      in.hwnd = FromId(e.key.windowID);
      in.vk = VirtualKeyFromSdl(e.key.keysym.sym, e.key.keysym.scancode);
      in.repeat = e.key.repeat != 0;
      // When the window loses the focus SDL releases every held key with no window named;
      // those releases still go to the main window, or the key list would keep them down.
      if (in.vk == 0 || (in.hwnd == nullptr && e.type == SDL_KEYDOWN)) return;
      break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
      if (e.button.button != SDL_BUTTON_LEFT) return;
      in.kind =
          e.type == SDL_MOUSEBUTTONDOWN ? InputEvent::Kind::MouseDown : InputEvent::Kind::MouseUp;
      in.hwnd = FromId(e.button.windowID);
      in.x = e.button.x;
      in.y = e.button.y;
      if (in.hwnd == nullptr) return;
      break;
    case SDL_MOUSEMOTION:
      in.kind = InputEvent::Kind::MouseMove;
      in.hwnd = FromId(e.motion.windowID);
      in.x = e.motion.x;
      in.y = e.motion.y;
      if (in.hwnd == nullptr) return;
      break;
    case SDL_MOUSEWHEEL:
      in.kind = InputEvent::Kind::Wheel;
      in.hwnd = FromId(e.wheel.windowID);
      in.x = e.wheel.mouseX;
      in.y = e.wheel.mouseY;
      in.wheel = e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -e.wheel.y : e.wheel.y;
      if (in.hwnd == nullptr || in.wheel == 0) return;
      break;
    case SDL_WINDOWEVENT:
      in.hwnd = FromId(e.window.windowID);
      if (in.hwnd == nullptr) return;
      switch (e.window.event) {
        case SDL_WINDOWEVENT_FOCUS_GAINED:
          in.kind = InputEvent::Kind::Activate;
          break;
        case SDL_WINDOWEVENT_FOCUS_LOST:
          in.kind = InputEvent::Kind::Deactivate;
          break;
        case SDL_WINDOWEVENT_MINIMIZED:
          in.kind = InputEvent::Kind::Minimize;
          break;
        case SDL_WINDOWEVENT_RESTORED:
          in.kind = InputEvent::Kind::Restore;
          break;
        case SDL_WINDOWEVENT_SIZE_CHANGED:
          in.kind = InputEvent::Kind::Resize;
          in.x = e.window.data1;
          in.y = e.window.data2;
          break;
        case SDL_WINDOWEVENT_CLOSE:
          in.kind = InputEvent::Kind::Close;
          break;
        case SDL_WINDOWEVENT_EXPOSED:
          m_exposed = true;
          return;
        default:
          return;
      }
      break;
    case SDL_QUIT:  // asked to end by the system (signals are handled in termination.cpp)
      in.kind = InputEvent::Kind::Terminate;
      NoteTermination();
      break;
    default:
      return;
  }
  in.time = timeGetTime();
  m_pending.push_back(in);
}

void SdlWindowPiece::Pump(std::vector<InputEvent>& out) {
  if (!m_videoUp) return;
  SDL_PumpEvents();
  // The watch has seen every event; the queue itself is of no further use.
  SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
  if (m_exposed) {
    m_exposed = false;
    Active().present->Refresh();
  }
  out.insert(out.end(), m_pending.begin(), m_pending.end());
  m_pending.clear();
}

bool SdlWindowPiece::WaitForEvents(uint32_t ms) {
  if (!m_videoUp) {
    SDL_Delay(ms);
    return false;
  }
  if (!m_pending.empty()) return true;
  SDL_Event ignored;
  bool any = SDL_WaitEventTimeout(&ignored, static_cast<int>(ms)) == 1;
  return any || !m_pending.empty();
}

void SdlWindowPiece::Wake() {
  // SDL's event queue is locked, so pushing is safe from any thread; without the events
  // subsystem the push fails harmlessly. The watch ignores the event's type.
  SDL_Event e{};
  e.type = SDL_USEREVENT;
  SDL_PushEvent(&e);
  // A GTK dialog's loop may be the one waiting (also safe from any thread).
  g_main_context_wakeup(nullptr);
}

POINT SdlWindowPiece::CursorOnScreen() {
  int x = 0;
  int y = 0;
  if (m_videoUp) SDL_GetGlobalMouseState(&x, &y);
  return POINT{x, y};
}

void SdlWindowPiece::Capture(bool on) {
  if (m_videoUp) SDL_CaptureMouse(on ? SDL_TRUE : SDL_FALSE);
}

void SdlWindowPiece::ShowCursor(bool show) {
  if (m_videoUp) SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE);
}

}  // namespace platform
