// Inside of a CGapiSurface, shared by the platform pieces (never included outside src/platform).
#pragma once

#include <SDL.h>

#include "platform/win_types.h"

struct GapiSurfaceData {
  SDL_Surface* surface = nullptr;  // ARGB8888, SDL_BLENDMODE_NONE unless blending
  DWORD colorKey = 0;
  bool hasColorKey = false;
  bool recordDraws = false;  // the headless back buffer records its drawing calls
};
