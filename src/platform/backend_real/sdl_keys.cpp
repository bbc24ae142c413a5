#include "platform/backend_real/sdl_keys.h"

namespace platform {

UINT VirtualKeyFromSdl(SDL_Keycode key, SDL_Scancode scancode) {
  // Letters follow the keyboard layout, like the virtual keys of the platform this stands
  // in for; the digit row is read by position so every layout gives '0' to '9'.
  if (key >= SDLK_a && key <= SDLK_z) return 'A' + static_cast<UINT>(key - SDLK_a);
  if (scancode >= SDL_SCANCODE_1 && scancode <= SDL_SCANCODE_9) {
    return '1' + static_cast<UINT>(scancode - SDL_SCANCODE_1);
  }
  if (scancode == SDL_SCANCODE_0) return '0';
  if (scancode >= SDL_SCANCODE_KP_1 && scancode <= SDL_SCANCODE_KP_9) {
    return VK_NUMPAD0 + 1 + static_cast<UINT>(scancode - SDL_SCANCODE_KP_1);
  }
  if (scancode >= SDL_SCANCODE_F1 && scancode <= SDL_SCANCODE_F12) {
    return VK_F1 + static_cast<UINT>(scancode - SDL_SCANCODE_F1);
  }
  switch (key) {
    case SDLK_ESCAPE: return VK_ESCAPE;
    case SDLK_LEFT: return VK_LEFT;
    case SDLK_UP: return VK_UP;
    case SDLK_RIGHT: return VK_RIGHT;
    case SDLK_DOWN: return VK_DOWN;
    // Desktops often keep the Super key for themselves, so Return and Enter stand in for it.
    case SDLK_LGUI:
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
      return VK_LWIN;
    case SDLK_RGUI: return VK_RWIN;
    case SDLK_SPACE: return VK_SPACE;
    case SDLK_BACKSPACE: return VK_BACK;
    case SDLK_TAB: return VK_TAB;
    case SDLK_LSHIFT:
    case SDLK_RSHIFT:
      return VK_SHIFT;
    case SDLK_LCTRL:
    case SDLK_RCTRL:
      return VK_CONTROL;
    case SDLK_LALT:
    case SDLK_RALT:
      return VK_MENU;
    case SDLK_PAGEUP: return VK_PRIOR;
    case SDLK_PAGEDOWN: return VK_NEXT;
    case SDLK_END: return VK_END;
    case SDLK_HOME: return VK_HOME;
    case SDLK_INSERT: return VK_INSERT;
    case SDLK_DELETE: return VK_DELETE;
    case SDLK_KP_0: return VK_NUMPAD0;
    case SDLK_KP_MULTIPLY: return VK_MULTIPLY;
    case SDLK_KP_PLUS: return VK_ADD;
    case SDLK_KP_MINUS: return VK_SUBTRACT;
    case SDLK_PLUS:
    case SDLK_EQUALS:
      return VK_OEM_PLUS;
    case SDLK_MINUS: return VK_OEM_MINUS;
    case SDLK_KP_PERIOD: return VK_DECIMAL;
    case SDLK_KP_DIVIDE: return VK_DIVIDE;
    default: return 0;
  }
}

}  // namespace platform
