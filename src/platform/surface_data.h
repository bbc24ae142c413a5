// Inside of a CGapiSurface, shared by the platform pieces (never included outside src/platform).
#pragma once

#include <SDL.h>

#include "platform/win_types.h"

struct GapiSurfaceData {
  SDL_Surface* surface = nullptr;  // ARGB8888, SDL_BLENDMODE_NONE unless blending
  DWORD colorKey = 0;
  bool hasColorKey = false;
  bool recordDraws = false;  // the headless back buffer records its drawing calls

  // What SDL currently has set on `surface` as a blit source. Changing the colour key or
  // blend mode makes SDL choose a new blitter, so these change only when a blit needs it.
  bool sdlKeyOn = false;
  SDL_BlendMode sdlBlend = SDL_BLENDMODE_NONE;
  Uint8 sdlAlpha = 255;
};
