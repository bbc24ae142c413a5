// CGapiSurface::FillRect, DrawRect and DrawLine.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "platform/graphics/gapi.h"
#include "platform/graphics/detail/surface_data.h"
#include "platform/graphics/detail/surface_fill.h"
#include "platform/graphics/detail/surface_ops.h"

namespace {

Uint8 OpacityOf(DWORD flags, DWORD opacityFlag, const DWORD* opacity) {
  return (flags & opacityFlag) != 0 && opacity != nullptr ? platform::ClampOpacity(*opacity) : 255;
}

headless::DrawCall ShapeRecord(const char* call, RECT dst, DWORD color, DWORD flags,
                               DWORD opacityFlag, const DWORD* opacity) {
  headless::DrawCall c;
  c.call = call;
  c.dst = dst;
  c.flags = flags;
  c.opacity = (flags & opacityFlag) != 0 && opacity != nullptr ? *opacity : 255;
  c.color = color;
  return c;
}

void PlotClipped(SDL_Surface* s, int64_t x, int64_t y, Uint32 pixel, Uint8 alpha) {
  if (x < 0 || y < 0 || x >= s->w || y >= s->h) return;
  Uint32& p = platform::PixelRow(s, static_cast<int>(y))[x];
  p = alpha == 255 ? pixel : platform::BlendPixel(pixel, p, alpha);
}

// BlendPixel(pixel, d, alpha) looked up by d's channels: the icons' shadows draw hundreds of
// short translucent lines of two shades each frame. The last few shades are kept.
class ShadeTable {
 public:
  static const ShadeTable& For(Uint32 pixel, Uint8 alpha) {
    thread_local ShadeTable tables[4];
    thread_local int next = 0;
    pixel |= platform::kOpaque;
    for (const ShadeTable& t : tables) {
      if (t.m_made && t.m_pixel == pixel && t.m_alpha == alpha) return t;
    }
    ShadeTable& t = tables[next];
    next = (next + 1) % 4;
    t.Make(pixel, alpha);
    return t;
  }
  Uint32 Over(Uint32 d) const {
    return platform::kOpaque | m_red[(d >> 16) & 0xFF] | m_green[(d >> 8) & 0xFF] |
           m_blue[d & 0xFF];
  }

 private:
  void Make(Uint32 pixel, Uint8 alpha) {
    for (Uint32 v = 0; v < 256; ++v) {
      const Uint32 grey = platform::BlendPixel(pixel, v * 0x010101u, alpha);
      m_red[v] = grey & 0xFF0000u;
      m_green[v] = grey & 0x00FF00u;
      m_blue[v] = grey & 0x0000FFu;
    }
    m_pixel = pixel;
    m_alpha = alpha;
    m_made = true;
  }
  Uint32 m_red[256], m_green[256], m_blue[256];
  Uint32 m_pixel = 0;
  Uint8 m_alpha = 0;
  bool m_made = false;
};

// A horizontal or vertical line from (ax, ay) to (bx, by), both ends included: the pixels
// the general walk plots, clipped once instead of pixel by pixel.
void PlotStraight(SDL_Surface* s, int64_t ax, int64_t ay, int64_t bx, int64_t by, Uint32 pixel,
                  Uint8 alpha) {
  const bool across = ay == by;
  const int64_t fixed = across ? ay : ax;
  if (fixed < 0 || fixed >= (across ? s->h : s->w)) return;
  int64_t from = across ? std::min(ax, bx) : std::min(ay, by);
  int64_t to = across ? std::max(ax, bx) : std::max(ay, by);
  from = std::max<int64_t>(from, 0);
  to = std::min<int64_t>(to, (across ? s->w : s->h) - 1);
  if (from > to) return;
  const int count = static_cast<int>(to - from + 1);
  Uint32* p = across ? platform::PixelRow(s, static_cast<int>(fixed)) + from
                     : platform::PixelRow(s, static_cast<int>(from)) + fixed;
  const int step = across ? 1 : s->pitch / static_cast<int>(sizeof(Uint32));
  if (alpha == 255) {
    for (int i = 0; i < count; ++i, p += step) *p = pixel;
    return;
  }
  const ShadeTable& shade = ShadeTable::For(pixel, alpha);
  for (int i = 0; i < count; ++i, p += step) *p = shade.Over(*p);
}

// Cuts the segment to a box one pixel larger than the surface (Liang-Barsky), so a line
// with far-away ends costs no more than one across the surface. False when it misses.
bool CutToBox(double& x1, double& y1, double& x2, double& y2, double w, double h) {
  double t0 = 0, t1 = 1;
  const double dx = x2 - x1, dy = y2 - y1;
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {x1 + 1, w - x1, y1 + 1, h - y1};
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0) {
      if (q[i] < 0) return false;
      continue;
    }
    double t = q[i] / p[i];
    if (p[i] < 0) {
      if (t > t1) return false;
      t0 = std::max(t0, t);
    } else {
      if (t < t0) return false;
      t1 = std::min(t1, t);
    }
  }
  double ax = x1 + t0 * dx, ay = y1 + t0 * dy;
  x2 = x1 + t1 * dx;
  y2 = y1 + t1 * dy;
  x1 = ax;
  y1 = ay;
  return true;
}

}  // namespace

HRESULT CGapiSurface::FillRect(const RECT* rect, DWORD color, DWORD flags, const GDFILLRECTFX* fx) {
  SDL_Surface* dst = platform::OwnPixels(m_data);
  const DWORD* opacity = fx != nullptr ? &fx->dwOpacity : nullptr;
  RECT r = rect != nullptr ? *rect : dst != nullptr ? platform::WholeRect(dst) : RECT{};
  if (platform::RecordsDraws(m_data))
    platform::RecordDraw(ShapeRecord("FillRect", r, color, flags, GDFILLRECT_OPACITY, opacity));
  if (dst == nullptr) return GDERR_INVALID;
  platform::FillArea(dst, r, color, OpacityOf(flags, GDFILLRECT_OPACITY, opacity));
  return GD_OK;
}

HRESULT CGapiSurface::DrawRect(const RECT* rect, DWORD color, DWORD flags, const GDLINEFX* fx) {
  SDL_Surface* dst = platform::OwnPixels(m_data);
  const DWORD* opacity = fx != nullptr ? &fx->dwOpacity : nullptr;
  RECT r = rect != nullptr ? *rect : dst != nullptr ? platform::WholeRect(dst) : RECT{};
  if (platform::RecordsDraws(m_data))
    platform::RecordDraw(ShapeRecord("DrawRect", r, color, flags, GDDRAWRECT_OPACITY, opacity));
  if (dst == nullptr) return GDERR_INVALID;
  if (platform::IsEmptyRect(r)) return GD_OK;
  Uint8 alpha = OpacityOf(flags, GDDRAWRECT_OPACITY, opacity);
  // The outline is the outermost ring of pixels inside r; each pixel is drawn once, so a
  // translucent outline has even corners.
  platform::FillArea(dst, RECT{r.left, r.top, r.right, r.top + 1}, color, alpha);
  if (int64_t{r.bottom} - r.top > 1) {
    platform::FillArea(dst, RECT{r.left, r.bottom - 1, r.right, r.bottom}, color, alpha);
  }
  if (int64_t{r.bottom} - r.top > 2) {
    platform::FillArea(dst, RECT{r.left, r.top + 1, r.left + 1, r.bottom - 1}, color, alpha);
    if (int64_t{r.right} - r.left > 1) {
      platform::FillArea(dst, RECT{r.right - 1, r.top + 1, r.right, r.bottom - 1}, color, alpha);
    }
  }
  return GD_OK;
}

HRESULT CGapiSurface::DrawLine(LONG x1, LONG y1, LONG x2, LONG y2, DWORD color, DWORD flags,
                               const GDLINEFX* fx) {
  SDL_Surface* dst = platform::OwnPixels(m_data);
  const DWORD* opacity = fx != nullptr ? &fx->dwOpacity : nullptr;
  if (platform::RecordsDraws(m_data))
    platform::RecordDraw(
        ShapeRecord("DrawLine", RECT{x1, y1, x2, y2}, color, flags, GDLINE_OPACITY, opacity));
  if (dst == nullptr) return GDERR_INVALID;
  Uint8 alpha = OpacityOf(flags, GDLINE_OPACITY, opacity);
  if (alpha == 0) return GD_OK;

  // Both ends are drawn. Ends far outside are first moved onto the surface's border.
  int64_t ax = x1, ay = y1, bx = x2, by = y2;
  constexpr int64_t kFar = 1 << 16;
  if (std::llabs(ax) > kFar || std::llabs(ay) > kFar || std::llabs(bx) > kFar ||
      std::llabs(by) > kFar) {
    double fx1 = ax, fy1 = ay, fx2 = bx, fy2 = by;
    if (!CutToBox(fx1, fy1, fx2, fy2, dst->w, dst->h)) return GD_OK;
    ax = std::llround(fx1);
    ay = std::llround(fy1);
    bx = std::llround(fx2);
    by = std::llround(fy2);
  }
  const Uint32 pixel = platform::PixelOf(color);
  if (ax == bx || ay == by) {
    PlotStraight(dst, ax, ay, bx, by, pixel, alpha);
    return GD_OK;
  }
  const int64_t dx = std::llabs(bx - ax), dy = -std::llabs(by - ay);
  const int64_t sx = ax < bx ? 1 : -1, sy = ay < by ? 1 : -1;
  int64_t err = dx + dy;
  for (;;) {
    PlotClipped(dst, ax, ay, pixel, alpha);
    if (ax == bx && ay == by) break;
    int64_t e2 = 2 * err;
    if (e2 >= dy) {
      err += dy;
      ax += sx;
    }
    if (e2 <= dx) {
      err += dx;
      ay += sy;
    }
  }
  return GD_OK;
}
