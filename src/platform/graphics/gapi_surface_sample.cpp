// Bilinear fills from a source surface at any scale and sub-pixel offset.
#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/graphics/detail/surface_data.h"
#include "platform/graphics/detail/surface_ops.h"
#include "platform/graphics/gapi.h"

namespace {

using platform::PixelRow;

struct Tap {
  int a;
  int b;
  Uint32 w;  // weight of b, 0..256
};

// The two source pixels around `at` and the weight of the second; outside the source the
// edge pixel repeats.
Tap TapAt(double at, int last) {
  if (!(at > 0.0)) return Tap{0, 0, 0};  // also not a number
  if (at >= last) return Tap{last, last, 0};
  const int a = static_cast<int>(at);
  return Tap{a, a + 1, static_cast<Uint32>((at - a) * 256.0 + 0.5)};
}

// p and q weighed by w / 256, two channels at a time.
inline Uint32 Mix(Uint32 p, Uint32 q, Uint32 w) {
  const Uint32 v = 256 - w;
  const Uint32 rb = (((p & 0xFF00FFu) * v + (q & 0xFF00FFu) * w) >> 8) & 0xFF00FFu;
  const Uint32 g = (((p & 0x00FF00u) * v + (q & 0x00FF00u) * w) >> 8) & 0x00FF00u;
  return rb | g;
}

}  // namespace

HRESULT CGapiSurface::SampleBilinear(const RECT& area, CGapiSurface* src, const GDSAMPLING& at) {
  SDL_Surface* dst = platform::OwnPixels(m_data);
  if (dst == nullptr || src == nullptr || src->IsEmpty() || src == this) return GDERR_INVALID;
  RECT visible = area;
  if (!platform::ClipToSurface(visible, dst->w, dst->h)) return GD_OK;
  SDL_Surface* from = src->Data()->surface;
  const int lastX = from->w - 1;
  const int lastY = from->h - 1;

  static thread_local std::vector<Tap> columns;
  columns.resize(static_cast<std::size_t>(visible.right - visible.left));
  for (LONG x = visible.left; x < visible.right; ++x)
    columns[static_cast<std::size_t>(x - visible.left)] =
        TapAt(at.x0 + (x - area.left) * at.dx, lastX);

  for (LONG y = visible.top; y < visible.bottom; ++y) {
    const Tap row = TapAt(at.y0 + (y - area.top) * at.dy, lastY);
    const Uint32* upper = PixelRow(from, row.a);
    const Uint32* lower = PixelRow(from, row.b);
    Uint32* out = PixelRow(dst, y) + visible.left;
    const std::size_t n = columns.size();
    if (row.w == 0) {
      for (std::size_t i = 0; i < n; ++i) {
        const Tap& c = columns[i];
        out[i] = Mix(upper[c.a], upper[c.b], c.w) | platform::kOpaque;
      }
      continue;
    }
    for (std::size_t i = 0; i < n; ++i) {
      const Tap& c = columns[i];
      out[i] = Mix(Mix(upper[c.a], upper[c.b], c.w), Mix(lower[c.a], lower[c.b], c.w), row.w) |
               platform::kOpaque;
    }
  }
  return GD_OK;
}
