// Helpers shared by the surface drawing calls: rectangles, opacity, pixel blending and the
// drawing record of the headless back buffer.
#pragma once

#include <SDL.h>

#include <algorithm>
#include <cstdint>

#include "platform/graphics/gapi.h"
#include "platform/backend_headless/headless.h"
#include "platform/graphics/detail/surface_data.h"

namespace platform {

constexpr Uint32 kOpaque = 0xFF000000u;

inline Uint32 PixelOf(DWORD color) { return kOpaque | (color & 0x00FFFFFFu); }

inline RECT WholeRect(const SDL_Surface* s) { return RECT{0, 0, s->w, s->h}; }

inline bool IsEmptyRect(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }

inline int64_t Width(const RECT& r) { return int64_t{r.right} - r.left; }
inline int64_t Height(const RECT& r) { return int64_t{r.bottom} - r.top; }

// Coordinates computed from caller values may leave the 32-bit range; they only ever
// matter for clipping, so they are pinned to its ends.
inline LONG Saturate(int64_t v) {
  return static_cast<LONG>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

// Intersects r with (0, 0, width, height); false when nothing is left.
inline bool ClipToSurface(RECT& r, int width, int height) {
  r.left = std::max<LONG>(r.left, 0);
  r.top = std::max<LONG>(r.top, 0);
  r.right = std::min<LONG>(r.right, width);
  r.bottom = std::min<LONG>(r.bottom, height);
  return !IsEmptyRect(r);
}

inline Uint8 ClampOpacity(DWORD opacity) {
  return static_cast<Uint8>(std::min<DWORD>(opacity, 255));
}

inline Uint32* PixelRow(SDL_Surface* s, int y) {
  return reinterpret_cast<Uint32*>(static_cast<unsigned char*>(s->pixels) + y * s->pitch);
}

// src over dst at opacity a (0..255), rounded to nearest; the result stays opaque.
inline Uint32 BlendPixel(Uint32 src, Uint32 dst, unsigned a) {
  unsigned inv = 255 - a;
  auto channel = [&](int shift) {
    unsigned v = ((src >> shift) & 0xFF) * a + ((dst >> shift) & 0xFF) * inv + 127;
    return ((v + 1 + (v >> 8)) >> 8) << shift;  // v / 255, exact in this range
  };
  return kOpaque | channel(16) | channel(8) | channel(0);
}

// Sets the alpha of every pixel in `area` (already inside the surface) to opaque. SDL's
// per-pixel-alpha blend leaves the destination alpha a little short of opaque, which a
// later translucent blit from this surface would take as partial transparency.
inline void MakeOpaque(SDL_Surface* s, const SDL_Rect& area) {
  for (int y = area.y; y < area.y + area.h; ++y) {
    Uint32* row = PixelRow(s, y) + area.x;
    for (int x = 0; x < area.w; ++x) row[x] |= kOpaque;
  }
}

// Whether drawing on `target` goes into the drawing record now; the record is built only
// then, so drawing costs nothing extra outside tests.
bool RecordsDraws(const GapiSurfaceData* target);
// Appends a call to the drawing record.
void RecordDraw(headless::DrawCall call);

}  // namespace platform
