// Filled rectangles: opaque ones row by row (SDL's fill costs more in setting up than the
// frames, bars and lines of the map view take to fill), translucent ones with the rounding of
// SDL's surface-alpha blend.
#include "platform/graphics/detail/surface_fill.h"

#include <algorithm>

#include "platform/graphics/detail/pixel_rows.h"
#include "platform/graphics/detail/surface_ops.h"

namespace platform {

void FillArea(SDL_Surface* dst, RECT r, DWORD color, Uint8 alpha) {
  if (dst == nullptr || alpha == 0 || !ClipToSurface(r, dst->w, dst->h)) return;
  if (alpha == 255) {
    const Uint32 pixel = PixelOf(color);
    for (int y = r.top; y < r.bottom; ++y) {
      Uint32* row = PixelRow(dst, y);
      std::fill(row + r.left, row + r.right, pixel);
    }
    return;
  }
  const PixelArea area{PixelRow(dst, r.top) + r.left,
                       dst->pitch / 4,
                       nullptr,
                       0,
                       r.right - r.left,
                       r.bottom - r.top};
  FillBlended(area, color & 0x00FFFFFFu, alpha);
}

}  // namespace platform
