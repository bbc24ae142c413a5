// Filled rectangles: opaque ones through SDL's fill, translucent ones row by row with the
// rounding of SDL's surface-alpha blend.
#include "platform/graphics/detail/surface_fill.h"

#include "platform/graphics/detail/pixel_rows.h"
#include "platform/graphics/detail/surface_ops.h"

namespace platform {

void FillArea(SDL_Surface* dst, RECT r, DWORD color, Uint8 alpha) {
  if (dst == nullptr || alpha == 0 || !ClipToSurface(r, dst->w, dst->h)) return;
  if (alpha == 255) {
    SDL_Rect area{r.left, r.top, r.right - r.left, r.bottom - r.top};
    SDL_FillRect(dst, &area, PixelOf(color));
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
