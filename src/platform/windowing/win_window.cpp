// Window classes and windows: creation with WM_CREATE, destruction with WM_DESTROY, the
// default window procedure, showing, focus and geometry.
#include <strings.h>

#include <algorithm>
#include <cstring>
#include <memory>

#include "platform/pieces.h"
#include "platform/windowing/detail/input_translate.h"
#include "platform/windowing/detail/message_queue.h"
#include "platform/windowing/detail/window_object.h"
#include "platform/windowing/detail/window_support.h"
#include "platform/windowing/win_api.h"

namespace platform {
namespace {

// A window made with CW_USEDEFAULT gets this client size until someone sizes it.
constexpr int kDefaultWidth = 640;
constexpr int kDefaultHeight = 480;

struct WindowState {
  std::vector<WindowClass> classes;
  std::vector<HWND> windows;  // live windows in creation order, owned here
  HWND focus = nullptr;

  // Windows still open when the process ends are released with the list (their native
  // windows go with the window system).
  ~WindowState() {
    for (HWND w : windows) delete w;
  }
};

WindowState& S() {
  static WindowState state;
  return state;
}

const WindowClass* FindClass(const char* name) {
  if (name == nullptr) return nullptr;
  for (const WindowClass& c : S().classes) {
    if (strcasecmp(c.name.c_str(), name) == 0) return &c;
  }
  return nullptr;
}

void ApplyVisibility(HWND hwnd) {
  if (hwnd->native) Active().window->SetVisible(hwnd, hwnd->wantVisible && !hwnd->collapsed);
}

RECT ParentClientOrigin(HWND hwnd) {
  RECT origin{0, 0, 0, 0};
  for (HWND p = hwnd->parent; p != nullptr; p = p->parent) {
    if (p->native) {
      RECT c = Active().window->ClientOnScreen(p);
      origin.left += c.left;
      origin.top += c.top;
      break;
    }
    origin.left += p->childRect.left;
    origin.top += p->childRect.top;
  }
  return origin;
}

// Screen position of the client area's top-left corner.
POINT ClientOrigin(HWND hwnd) {
  if (hwnd->native) {
    RECT c = Active().window->ClientOnScreen(hwnd);
    return POINT{c.left, c.top};
  }
  RECT o = ParentClientOrigin(hwnd);
  return POINT{o.left + hwnd->childRect.left, o.top + hwnd->childRect.top};
}

void Unlist(HWND hwnd) {
  auto& w = S().windows;
  w.erase(std::remove(w.begin(), w.end(), hwnd), w.end());
  if (S().focus == hwnd) S().focus = nullptr;
}

}  // namespace

bool IsLiveWindow(HWND hwnd) {
  if (hwnd == nullptr) return false;
  const auto& w = S().windows;
  return std::find(w.begin(), w.end(), hwnd) != w.end();
}

const std::vector<HWND>& LiveWindows() { return S().windows; }

HWND InputWindow() {
  HWND captured = CapturedWindow();
  if (IsLiveWindow(captured)) return captured;
  for (HWND w : S().windows) {
    if (w->native && !w->destroying) return w;
  }
  return nullptr;
}

void ClientSize(HWND hwnd, int* width, int* height) {
  *width = 0;
  *height = 0;
  if (!IsLiveWindow(hwnd) || hwnd->collapsed) return;
  if (hwnd->native) {
    RECT c = Active().window->ClientOnScreen(hwnd);
    *width = c.right - c.left;
    *height = c.bottom - c.top;
  } else {
    *width = hwnd->childRect.right - hwnd->childRect.left;
    *height = hwnd->childRect.bottom - hwnd->childRect.top;
  }
}

void SetClientAreaSize(HWND hwnd, int width, int height) {
  if (!IsLiveWindow(hwnd) || !hwnd->native || width <= 0 || height <= 0) return;
  RECT c = Active().window->ClientOnScreen(hwnd);
  hwnd->collapsed = false;
  Active().window->PlaceClient(hwnd, c.left, c.top, width, height);
  ApplyVisibility(hwnd);
}

void ResetWindows() {
  WindowState& s = S();
  // Children first, so no window outlives its parent's native window.
  while (!s.windows.empty()) {
    HWND hwnd = s.windows.back();
    s.windows.pop_back();
    if (hwnd->native) Active().window->Destroy(hwnd);
    delete hwnd;
  }
  s.classes.clear();
  s.focus = nullptr;
}

}  // namespace platform

using namespace platform;

WORD RegisterClassA(const WNDCLASSA* wc) {
  if (wc == nullptr || wc->lpfnWndProc == nullptr || wc->lpszClassName == nullptr ||
      wc->lpszClassName[0] == '\0' || FindClass(wc->lpszClassName) != nullptr) {
    return 0;
  }
  WindowClass c;
  c.name = wc->lpszClassName;
  c.style = wc->style;
  c.proc = wc->lpfnWndProc;
  c.instance = wc->hInstance;
  c.icon = wc->hIcon;
  c.cursor = wc->hCursor;
  S().classes.push_back(c);
  return static_cast<WORD>(0xC000 + S().classes.size());
}

HWND CreateWindowExA(DWORD exStyle, const char* className, const char* title, DWORD style, int x,
                     int y, int width, int height, HWND parent, void*, HINSTANCE, void* param) {
  const WindowClass* cls = FindClass(className);
  if (cls == nullptr) return nullptr;
  bool child = (style & WS_CHILD) != 0;
  if (child && !IsLiveWindow(parent)) return nullptr;

  auto window = std::make_unique<WindowObject>();
  HWND hwnd = window.get();
  hwnd->cls = *cls;
  hwnd->title = title ? title : "";
  hwnd->style = style;
  hwnd->exStyle = exStyle;
  hwnd->parent = parent;
  if (child) {
    hwnd->childRect = RECT{x == CW_USEDEFAULT ? 0 : x, y == CW_USEDEFAULT ? 0 : y, 0, 0};
    hwnd->childRect.right = hwnd->childRect.left + (width == CW_USEDEFAULT ? 0 : width);
    hwnd->childRect.bottom = hwnd->childRect.top + (height == CW_USEDEFAULT ? 0 : height);
  } else {
    hwnd->native = true;
    int w = width == CW_USEDEFAULT ? kDefaultWidth : width;
    int h = height == CW_USEDEFAULT ? kDefaultHeight : height;
    hwnd->collapsed = w <= 0 || h <= 0;
    bool resizable = (style & WS_THICKFRAME) != 0;
    if (!Active().window->Create(hwnd, hwnd->title.c_str(), std::max(w, 1), std::max(h, 1),
                                 resizable)) {
      return nullptr;
    }
    if (x != CW_USEDEFAULT && y != CW_USEDEFAULT) {
      RECT c = Active().window->ClientOnScreen(hwnd);
      Active().window->PlaceClient(hwnd, x, y, c.right - c.left, c.bottom - c.top);
    }
    if (int icon = IconResourceId(cls->icon); icon != 0) Active().window->SetIcon(hwnd, icon);
  }
  S().windows.push_back(window.release());

  // The creation parameter itself is WM_CREATE's lParam.
  if (SendMessageA(hwnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(param)) == -1) {
    DestroyWindow(hwnd);
    return nullptr;
  }
  if (IsLiveWindow(hwnd) && (style & WS_VISIBLE)) ShowWindow(hwnd, SW_SHOW);
  return IsLiveWindow(hwnd) ? hwnd : nullptr;
}

LRESULT DefWindowProcA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM) {
  switch (msg) {
    case WM_CLOSE:
      DestroyWindow(hwnd);
      return 0;
    case WM_ENDSESSION:
      // The process is ending: a window that does not see to it itself is closed.
      if (wParam) SendMessageA(hwnd, WM_CLOSE, 0, 0);
      return 0;
    case WM_SYSCOMMAND:
      switch (wParam & 0xFFF0) {
        case SC_CLOSE:
          SendMessageA(hwnd, WM_CLOSE, 0, 0);
          return 0;
        case SC_MINIMIZE:
          ShowWindow(hwnd, SW_MINIMIZE);
          return 0;
        default:
          return 0;
      }
    case WM_NCHITTEST:
      return HTCLIENT;
    case WM_SETCURSOR:
      if (IsLiveWindow(hwnd) && hwnd->cls.cursor != nullptr) SetCursor(hwnd->cls.cursor);
      return 0;
    default:
      return 0;
  }
}

BOOL DestroyWindow(HWND hwnd) {
  if (!IsLiveWindow(hwnd)) return FALSE;
  if (hwnd->destroying) return TRUE;  // a WM_DESTROY handler destroying its own window
  hwnd->destroying = true;
  SendMessageA(hwnd, WM_DESTROY, 0, 0);
  // Children go after their parent was told, as they would on the platform this stands in for.
  std::vector<HWND> children;
  for (HWND w : LiveWindows()) {
    if (w->parent == hwnd) children.push_back(w);
  }
  for (HWND c : children) DestroyWindow(c);
  KillTimersOf(hwnd);
  if (CapturedWindow() == hwnd) ReleaseCapture();
  DropMessagesFor(hwnd);
  if (hwnd->native) Active().window->Destroy(hwnd);
  Unlist(hwnd);
  delete hwnd;
  return TRUE;
}

BOOL ShowWindow(HWND hwnd, int cmd) {
  if (!IsLiveWindow(hwnd)) return FALSE;
  BOOL wasVisible = hwnd->wantVisible ? TRUE : FALSE;
  switch (cmd) {
    case SW_HIDE:
      hwnd->wantVisible = false;
      break;
    case SW_MINIMIZE:
      hwnd->wantVisible = true;
      ApplyVisibility(hwnd);
      if (hwnd->native) Active().window->Minimize(hwnd);
      return wasVisible;
    case SW_RESTORE:
      hwnd->wantVisible = true;
      ApplyVisibility(hwnd);
      if (hwnd->native) Active().window->Restore(hwnd);
      return wasVisible;
    default:
      hwnd->wantVisible = true;
      break;
  }
  ApplyVisibility(hwnd);
  return wasVisible;
}

BOOL UpdateWindow(HWND hwnd) { return IsLiveWindow(hwnd) ? TRUE : FALSE; }

HWND SetFocus(HWND hwnd) {
  HWND previous = S().focus;
  if (hwnd != nullptr && !IsLiveWindow(hwnd)) return nullptr;
  S().focus = hwnd;
  if (hwnd != nullptr && hwnd->native) Active().window->Focus(hwnd);
  return previous;
}

BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL) {
  if (!IsLiveWindow(hwnd)) return FALSE;
  if (!hwnd->native) {
    hwnd->childRect = RECT{x, y, x + width, y + height};
    return TRUE;
  }
  RECT frame = Active().window->FrameExtents(hwnd);
  int cw = width - frame.left - frame.right;
  int ch = height - frame.top - frame.bottom;
  RECT c = Active().window->ClientOnScreen(hwnd);
  // A window sized to nothing keeps its native size but stays off screen until it gets an
  // area again (the display open gives it one).
  hwnd->collapsed = cw <= 0 || ch <= 0;
  if (hwnd->collapsed) {
    cw = c.right - c.left;
    ch = c.bottom - c.top;
  }
  Active().window->PlaceClient(hwnd, x + frame.left, y + frame.top, cw, ch);
  ApplyVisibility(hwnd);
  return TRUE;
}

BOOL GetWindowRect(HWND hwnd, RECT* rc) {
  if (!IsLiveWindow(hwnd) || rc == nullptr) return FALSE;
  POINT o = ClientOrigin(hwnd);
  int w = 0;
  int h = 0;
  ClientSize(hwnd, &w, &h);
  RECT frame = hwnd->native ? Active().window->FrameExtents(hwnd) : RECT{0, 0, 0, 0};
  *rc = RECT{o.x - frame.left, o.y - frame.top, o.x + w + frame.right, o.y + h + frame.bottom};
  return TRUE;
}

BOOL GetClientRect(HWND hwnd, RECT* rc) {
  if (!IsLiveWindow(hwnd) || rc == nullptr) return FALSE;
  int w = 0;
  int h = 0;
  ClientSize(hwnd, &w, &h);
  *rc = RECT{0, 0, w, h};
  return TRUE;
}

BOOL SetWindowPos(HWND hwnd, HWND, int x, int y, int cx, int cy, UINT flags) {
  if (!IsLiveWindow(hwnd)) return FALSE;
  RECT r{};
  GetWindowRect(hwnd, &r);
  if (!hwnd->native && hwnd->parent) {
    RECT o = ParentClientOrigin(hwnd);
    r = RECT{r.left - o.left, r.top - o.top, r.right - o.left, r.bottom - o.top};
  }
  if (flags & SWP_NOMOVE) {
    x = r.left;
    y = r.top;
  }
  if (flags & SWP_NOSIZE) {
    cx = r.right - r.left;
    cy = r.bottom - r.top;
  }
  if ((flags & (SWP_NOMOVE | SWP_NOSIZE)) != (SWP_NOMOVE | SWP_NOSIZE)) {
    MoveWindow(hwnd, x, y, cx, cy, TRUE);
  }
  if (flags & SWP_SHOWWINDOW) ShowWindow(hwnd, SW_SHOW);
  if (flags & SWP_HIDEWINDOW) ShowWindow(hwnd, SW_HIDE);
  return TRUE;
}

BOOL ScreenToClient(HWND hwnd, POINT* pt) {
  if (!IsLiveWindow(hwnd) || pt == nullptr) return FALSE;
  POINT o = ClientOrigin(hwnd);
  pt->x -= o.x;
  pt->y -= o.y;
  return TRUE;
}
