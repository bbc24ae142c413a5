// Virtual-key codes for SDL keys (platform-internal).
#pragma once

#include <SDL.h>

#include "platform/windowing/win_types.h"

namespace platform {

// 0 for keys the program has no code for.
UINT VirtualKeyFromSdl(SDL_Keycode key, SDL_Scancode scancode);

}  // namespace platform
