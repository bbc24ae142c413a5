// Translucent fills blit a surface filled once with the colour, with alpha modulation:
// several times faster than SDL's software renderer and exact to within one step.
#include "platform/surface_fill.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "platform/surface_ops.h"

namespace platform {
namespace {

struct SolidSurface {
  DWORD color = 0;
  SDL_Surface* surface = nullptr;
  uint64_t lastUse = 0;
};

// A frame uses a handful of translucent colours; each keeps a surface as large as the
// largest rectangle asked of it.
class SolidCache {
 public:
  ~SolidCache() {
    for (SolidSurface& e : m_entries) {
      if (e.surface != nullptr) SDL_FreeSurface(e.surface);
    }
  }

  SDL_Surface* Get(DWORD color, int width, int height) {
    SolidSurface* slot = &m_entries[0];
    for (SolidSurface& e : m_entries) {
      if (e.surface != nullptr && e.color == color) {
        slot = &e;
        break;
      }
      if (e.lastUse < slot->lastUse) slot = &e;
    }
    slot->lastUse = ++m_clock;
    if (slot->surface != nullptr && slot->color == color && slot->surface->w >= width &&
        slot->surface->h >= height) {
      return slot->surface;
    }
    if (slot->surface != nullptr) {
      if (slot->color == color) {
        width = std::max(width, slot->surface->w);
        height = std::max(height, slot->surface->h);
      }
      SDL_FreeSurface(slot->surface);
    }
    slot->color = color;
    // No alpha channel: SDL has a fast blitter for surface-alpha blends from such surfaces
    // (ten times the speed of its per-pixel-alpha path), and it leaves the destination opaque.
    slot->surface = SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, SDL_PIXELFORMAT_RGB888);
    if (slot->surface != nullptr) {
      SDL_FillRect(slot->surface, nullptr, PixelOf(color));
      SDL_SetSurfaceBlendMode(slot->surface, SDL_BLENDMODE_BLEND);
    }
    return slot->surface;
  }

 private:
  std::array<SolidSurface, 8> m_entries{};
  uint64_t m_clock = 0;
};

SolidCache& Cache() {
  static SolidCache cache;
  return cache;
}

}  // namespace

void FillArea(SDL_Surface* dst, RECT r, DWORD color, Uint8 alpha) {
  if (dst == nullptr || alpha == 0 || !ClipToSurface(r, dst->w, dst->h)) return;
  SDL_Rect area{r.left, r.top, r.right - r.left, r.bottom - r.top};
  if (alpha == 255) {
    SDL_FillRect(dst, &area, PixelOf(color));
    return;
  }
  SDL_Surface* solid = Cache().Get(color & 0x00FFFFFFu, area.w, area.h);
  if (solid == nullptr) return;
  SDL_SetSurfaceAlphaMod(solid, alpha);
  SDL_Rect from{0, 0, area.w, area.h};
  SDL_BlitSurface(solid, &from, dst, &area);
}

}  // namespace platform
