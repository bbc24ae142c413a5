// Filled rectangles, opaque and translucent, on a destination surface.
#pragma once

#include <SDL.h>

#include "platform/windowing/win_types.h"

namespace platform {

// Fills r, clipped to dst, with colour (0x00RRGGBB) at opacity alpha (0..255).
void FillArea(SDL_Surface* dst, RECT r, DWORD color, Uint8 alpha);

}  // namespace platform
