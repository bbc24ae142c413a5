// Window-system events to messages: key data bits, the double-click rule, activation, size
// and close commands.
#include "platform/windowing/detail/input_translate.h"

#include <cstdlib>
#include <cstring>

#include "platform/windowing/detail/message_queue.h"
#include "platform/windowing/detail/window_object.h"
#include "platform/windowing/detail/window_support.h"
#include "platform/windowing/win_api.h"

namespace platform {
namespace {

constexpr uint32_t kPreviousStateBit = 1u << 30;  // the key was already down: auto-repeat
constexpr uint32_t kTransitionBit = 1u << 31;     // the key is being released
constexpr uint32_t kContextBit = 1u << 29;        // Alt is held

struct Click {
  HWND hwnd = nullptr;
  uint32_t time = 0;
  int x = 0;
  int y = 0;
  bool valid = false;
};

struct InputState {
  BYTE keys[256] = {};
  Click lastClick;
  bool leftDown = false;
  // A press reached the program and its release has not: set by every posted press,
  // cleared by every posted release.
  bool pressDelivered = false;
  HWND pressWindow = nullptr;
  POINT lastMouse{0, 0};  // client point of the latest mouse event, delivered or not
};

InputState& I() {
  static InputState state;
  return state;
}

LPARAM KeyData(uint32_t bits) { return static_cast<LPARAM>(bits); }

bool IsDoubleClick(HWND hwnd, int x, int y, uint32_t time) {
  const Click& c = I().lastClick;
  if (!c.valid || c.hwnd != hwnd) return false;
  if (time - c.time > kDoubleClickMs) return false;  // 32-bit difference: wraps
  return std::abs(x - c.x) <= kDoubleClickDistance / 2 &&
         std::abs(y - c.y) <= kDoubleClickDistance / 2;
}

void KeyDown(HWND hwnd, UINT vk, bool repeat) {
  InputState& s = I();
  vk &= 0xFF;
  bool alt = s.keys[VK_MENU] != 0 || vk == VK_MENU;
  bool wasDown = repeat || s.keys[vk] != 0;
  s.keys[vk] = 1;
  if (vk == VK_F4 && s.keys[VK_MENU]) {
    // Alt+F4 closes the window the way its close button does.
    if (!wasDown) PostToQueue(hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
    return;
  }
  uint32_t bits = 1 | (alt ? kContextBit : 0) | (wasDown ? kPreviousStateBit : 0);
  PostToQueue(hwnd, alt || vk == VK_F10 ? WM_SYSKEYDOWN : WM_KEYDOWN, vk, KeyData(bits));
}

void KeyUp(HWND hwnd, UINT vk) {
  InputState& s = I();
  vk &= 0xFF;
  bool alt = s.keys[VK_MENU] != 0;
  s.keys[vk] = 0;
  uint32_t bits = 1 | (alt && vk != VK_MENU ? kContextBit : 0) | kPreviousStateBit | kTransitionBit;
  PostToQueue(hwnd, alt || vk == VK_F10 ? WM_SYSKEYUP : WM_KEYUP, vk, KeyData(bits));
}

// Clicks are timed when they happened, not when the queue was read: a program busy for a
// second must not turn two slow clicks into a double click.
void MouseDown(HWND hwnd, int x, int y, uint32_t time) {
  InputState& s = I();
  UINT msg = WM_LBUTTONDOWN;
  if (IsDoubleClick(hwnd, x, y, time)) {
    // The pair is used up: a third click starts a new one.
    s.lastClick.valid = false;
    if (hwnd->cls.style & CS_DBLCLKS) msg = WM_LBUTTONDBLCLK;
  } else {
    s.lastClick = Click{hwnd, time, x, y, true};
  }
  s.leftDown = true;
  s.pressDelivered = true;
  s.pressWindow = hwnd;
  PostToQueue(hwnd, msg, MK_LBUTTON, MAKELPARAM(x, y));
}

}  // namespace

void TranslateInput(const InputEvent& e) {
  HWND hwnd = e.hwnd != nullptr ? e.hwnd : InputWindow();
  if (e.kind == InputEvent::Kind::Terminate) {
    // Not the close button: the program is to end without asking anything.
    if (IsLiveWindow(hwnd)) {
      PostToQueue(hwnd, WM_ENDSESSION, TRUE, 0);
    } else {
      PostQuitMessage(0);
    }
    return;
  }
  if (!IsLiveWindow(hwnd)) return;
  // Mouse input goes to the window that holds the capture.
  HWND captured = CapturedWindow();
  InputState& s = I();
  if (e.kind == InputEvent::Kind::MouseDown || e.kind == InputEvent::Kind::MouseUp ||
      e.kind == InputEvent::Kind::MouseMove)
    s.lastMouse = POINT{e.x, e.y};
  switch (e.kind) {
    case InputEvent::Kind::KeyDown:
      KeyDown(hwnd, e.vk, e.repeat);
      break;
    case InputEvent::Kind::KeyUp:
      KeyUp(hwnd, e.vk);
      break;
    case InputEvent::Kind::MouseDown:
      MouseDown(captured ? captured : hwnd, e.x, e.y, e.time);
      break;
    case InputEvent::Kind::MouseUp:
      s.leftDown = false;
      s.pressDelivered = false;
      PostToQueue(captured ? captured : hwnd, WM_LBUTTONUP, 0, MAKELPARAM(e.x, e.y));
      break;
    case InputEvent::Kind::MouseMove:
      if (captured == nullptr) {
        SendMessageA(hwnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(hwnd),
                     MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
      }
      PostToQueue(captured ? captured : hwnd, WM_MOUSEMOVE, s.leftDown ? MK_LBUTTON : 0,
                  MAKELPARAM(e.x, e.y));
      break;
    case InputEvent::Kind::Wheel:
      // The client point, not the screen point the message carries elsewhere.
      PostToQueue(captured ? captured : hwnd, WM_MOUSEWHEEL,
                  static_cast<WPARAM>(static_cast<uint16_t>(e.wheel * kWheelDelta)) << 16,
                  MAKELPARAM(e.x, e.y));
      break;
    case InputEvent::Kind::Activate:
      PostToQueue(hwnd, WM_ACTIVATE, WA_ACTIVE, 0);
      break;
    case InputEvent::Kind::Deactivate:
      PostToQueue(hwnd, WM_ACTIVATE, WA_INACTIVE, 0);
      break;
    case InputEvent::Kind::Minimize:
      if (!hwnd->minimized) {
        hwnd->minimized = true;
        PostToQueue(hwnd, WM_SIZE, SIZE_MINIMIZED, 0);
      }
      break;
    case InputEvent::Kind::Restore:
      if (hwnd->minimized) {
        hwnd->minimized = false;
        int w = 0;
        int h = 0;
        ClientSize(hwnd, &w, &h);
        PostToQueue(hwnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(w, h));
      }
      break;
    case InputEvent::Kind::Resize:
      if (!hwnd->minimized) PostToQueue(hwnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(e.x, e.y));
      break;
    case InputEvent::Kind::Close:
      PostToQueue(hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
      break;
    case InputEvent::Kind::Terminate:
      break;
  }
}

void DiscardOrTranslate(const InputEvent& e, bool discard) {
  if (!discard) {
    TranslateInput(e);
    return;
  }
  InputState& s = I();
  switch (e.kind) {
    case InputEvent::Kind::KeyUp:
      s.keys[e.vk & 0xFF] = 0;  // the key is up even though nobody is told
      break;
    case InputEvent::Kind::MouseUp:
      s.leftDown = false;
      s.lastMouse = POINT{e.x, e.y};
      break;
    case InputEvent::Kind::KeyDown:
    case InputEvent::Kind::MouseDown:
    case InputEvent::Kind::MouseMove:
      s.lastMouse = POINT{e.x, e.y};
      break;
    case InputEvent::Kind::Wheel:
      break;
    case InputEvent::Kind::Close:
      break;
    default:
      TranslateInput(e);  // window state and termination always get through
      return;
  }
  s.lastClick.valid = false;
}

void ReleaseStylusAfterModal() {
  InputState& s = I();
  if (CapturedWindow() != nullptr) ReleaseCapture();
  if (!s.pressDelivered) return;
  s.leftDown = false;
  s.pressDelivered = false;
  if (IsLiveWindow(s.pressWindow))
    PostToQueue(s.pressWindow, WM_LBUTTONUP, 0, MAKELPARAM(s.lastMouse.x, s.lastMouse.y));
}

const BYTE* KeyStates() { return I().keys; }

void ResetInputState() { I() = InputState{}; }

}  // namespace platform
