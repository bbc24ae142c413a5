// Mouse capture, cursor position, cursors and icons.
#include <map>

#include "platform/pieces.h"
#include "platform/graphics/detail/resources.h"
#include "platform/windowing/win_api.h"
#include "platform/windowing/detail/window_object.h"
#include "platform/windowing/detail/window_support.h"

namespace platform {
namespace {

// Icons and cursors are tokens: the window layer only needs to know which resource (or
// which system picture) they stand for.
struct IconToken {
  int resourceId;
};
struct CursorToken {
  uintptr_t id;
};

HWND g_capture = nullptr;

std::map<int, IconToken>& Icons() {
  static std::map<int, IconToken> icons;
  return icons;
}

const IconToken kSystemIcon{0};
const CursorToken kArrow{IDC_ARROW};
HCURSOR g_cursor = &kArrow;

}  // namespace

HWND CapturedWindow() { return IsLiveWindow(g_capture) ? g_capture : nullptr; }

int IconResourceId(HICON icon) {
  for (const auto& [id, token] : Icons()) {
    if (icon == &token) return id;
  }
  return 0;
}

void ResetMouseState() {
  g_capture = nullptr;
  g_cursor = &kArrow;
}

}  // namespace platform

using namespace platform;

HWND SetCapture(HWND hwnd) {
  HWND previous = CapturedWindow();
  if (!IsLiveWindow(hwnd)) return previous;
  g_capture = hwnd;
  Active().window->Capture(true);
  return previous;
}

BOOL ReleaseCapture() {
  if (g_capture != nullptr) Active().window->Capture(false);
  g_capture = nullptr;
  return TRUE;
}

BOOL GetCursorPos(POINT* pt) {
  if (pt == nullptr) return FALSE;
  *pt = Active().window->CursorOnScreen();
  return TRUE;
}

HICON LoadIconA(HINSTANCE instance, const char* name) {
  auto id = reinterpret_cast<uintptr_t>(name);
  if (id > 0xFFFF) return nullptr;  // icons by name are not used
  if (instance == nullptr) return &kSystemIcon;  // IDI_WINLOGO and friends
  if (!FindResource(static_cast<uint32_t>(id), "PNG")) return nullptr;
  int key = static_cast<int>(id);
  return &Icons().try_emplace(key, IconToken{key}).first->second;
}

HCURSOR LoadCursorA(HINSTANCE, const char* name) {
  auto id = reinterpret_cast<uintptr_t>(name);
  if (id > 0xFFFF) return nullptr;
  // Every system cursor is shown as the window system's own arrow.
  return &kArrow;
}

HCURSOR SetCursor(HCURSOR cursor) {
  HCURSOR previous = g_cursor;
  g_cursor = cursor;
  Active().window->ShowCursor(cursor != nullptr);
  return previous;
}
