// Inside of a CGapiSurface, shared by the platform pieces (never included outside src/platform).
#pragma once

#include <SDL.h>

#include <cstdint>

#include "platform/windowing/win_types.h"

struct GapiSurfaceData {
  SDL_Surface* surface = nullptr;  // ARGB8888, every pixel opaque
  DWORD colorKey = 0;              // 0x00RRGGBB; kept here, SDL's own colour key stays off
  bool hasColorKey = false;
  bool recordDraws = false;  // the headless back buffer records its drawing calls
  std::uint64_t version = 0;  // see CGapiSurface::Version
};

namespace platform {

// The surface to draw on: a surface made from a resource shares its pixels with every other
// one made from it, and gets a copy of its own here before its first change. Null when it
// has no pixels or the copy cannot be made.
SDL_Surface* OwnPixels(GapiSurfaceData* data);

// Gives the surface a version no surface has had before: its pixels or key are about to change.
void NewVersion(GapiSurfaceData* data);

}  // namespace platform
