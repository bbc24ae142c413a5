// CGapiSurface::Blt and BltFast. Unscaled copies go row by row through the row loops, which
// match SDL's blitters pixel for pixel; scaled copies use nearest sampling, or bilinear
// sampling when asked.
#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/graphics/detail/pixel_rows.h"
#include "platform/graphics/detail/surface_data.h"
#include "platform/graphics/detail/surface_ops.h"
#include "platform/graphics/gapi.h"

namespace {

using platform::PixelRow;

struct BlitMode {
  bool key;
  Uint8 alpha;
  bool smooth;
};

BlitMode ModeOf(const GapiSurfaceData& src, DWORD flags, const DWORD* opacity) {
  BlitMode m{(flags & GDBLT_KEYSRC) != 0 && src.hasColorKey, 255, false};
  m.smooth = (flags & GDBLT_SMOOTH) != 0 && !m.key;
  if ((flags & GDBLT_OPACITY) != 0 && opacity != nullptr)
    m.alpha = platform::ClampOpacity(*opacity);
  return m;
}

DWORD RecordedOpacity(DWORD flags, const DWORD* opacity) {
  return (flags & GDBLT_OPACITY) != 0 && opacity != nullptr ? *opacity : 255;
}

// A blit from a surface onto itself reads from a copy, so overlapping areas come out as if
// the source had been read first.
struct SourceCopy {
  GapiSurfaceData data;
  explicit SourceCopy(const GapiSurfaceData& from) : data(from) {
    data.surface = SDL_DuplicateSurface(from.surface);
  }
  ~SourceCopy() {
    if (data.surface != nullptr) SDL_FreeSurface(data.surface);
  }
  SourceCopy(const SourceCopy&) = delete;
  SourceCopy& operator=(const SourceCopy&) = delete;
};

// Source rectangle s drawn with its top-left corner at (x, y). Whatever lies outside the
// source or the destination is cut off without moving the rest.
void BlitUnscaled(SDL_Surface* dst, const GapiSurfaceData& src, RECT s, LONG x, LONG y,
                  BlitMode m) {
  if (m.alpha == 0 || platform::IsEmptyRect(s)) return;
  int64_t sl = s.left, st = s.top, sr = s.right, sb = s.bottom, dx = x, dy = y;
  auto cutLeading = [](int64_t& from, int64_t& to, int64_t minimum) {
    if (from < minimum) {
      to += minimum - from;
      from = minimum;
    }
  };
  cutLeading(sl, dx, 0);
  cutLeading(st, dy, 0);
  cutLeading(dx, sl, 0);
  cutLeading(dy, st, 0);
  sr = std::min<int64_t>({sr, src.surface->w, sl + (dst->w - dx)});
  sb = std::min<int64_t>({sb, src.surface->h, st + (dst->h - dy)});
  if (sr <= sl || sb <= st) return;
  const int width = static_cast<int>(sr - sl), height = static_cast<int>(sb - st);
  const Uint32* in = PixelRow(src.surface, static_cast<int>(st)) + sl;
  Uint32* out = PixelRow(dst, static_cast<int>(dy)) + dx;
  if (m.alpha == 255 && !m.key) {
    for (int row = 0; row < height; ++row) {
      std::memcpy(out + row * (dst->pitch / 4), in + row * (src.surface->pitch / 4),
                  static_cast<std::size_t>(width) * sizeof(Uint32));
    }
    return;
  }
  const platform::PixelArea area{out, dst->pitch / 4, in, src.surface->pitch / 4, width, height};
  if (m.alpha < 255) {
    platform::Blend(area, m.alpha, m.key, src.colorKey);
  } else {
    platform::CopyKeyed(area, src.colorKey);
  }
}

// Bilinear sampling: each destination pixel's centre is mapped into the source rectangle,
// and the four source pixels around it are weighed (in 1/256 steps) by their distance; at
// the rectangle's edges the edge pixels repeat.
void BlitSmooth(SDL_Surface* dst, const GapiSurfaceData& src, RECT s, RECT d, RECT visible,
                Uint8 alpha) {
  SDL_Surface* from = src.surface;
  RECT inside = s;
  if (!platform::ClipToSurface(inside, from->w, from->h)) return;
  const double sx = double(platform::Width(s)) / double(platform::Width(d));
  const double sy = double(platform::Height(s)) / double(platform::Height(d));
  struct Tap {
    int a, b;
    int w;  // weight of b, 0..256
  };
  auto tap = [](double at, LONG first, LONG last) {
    at = std::clamp(at, double(first), double(last));
    const int a = static_cast<int>(at);
    const int b = std::min<int>(a + 1, last);
    return Tap{a, b, static_cast<int>((at - a) * 256.0 + 0.5)};
  };
  static thread_local std::vector<Tap> columns;
  columns.resize(static_cast<std::size_t>(visible.right - visible.left));
  for (LONG x = visible.left; x < visible.right; ++x) {
    const double at = s.left + (x - d.left + 0.5) * sx - 0.5;
    columns[static_cast<std::size_t>(x - visible.left)] = tap(at, inside.left, inside.right - 1);
  }
  auto mix = [](Uint32 p, Uint32 q, int w) {
    Uint32 out = 0;
    for (int shift = 0; shift < 24; shift += 8) {
      const int a = (p >> shift) & 0xFF, b = (q >> shift) & 0xFF;
      out |= Uint32((a * (256 - w) + b * w + 128) >> 8) << shift;
    }
    return out;
  };
  for (LONG y = visible.top; y < visible.bottom; ++y) {
    const Tap row = tap(s.top + (y - d.top + 0.5) * sy - 0.5, inside.top, inside.bottom - 1);
    const Uint32* upper = PixelRow(from, row.a);
    const Uint32* lower = PixelRow(from, row.b);
    Uint32* out = PixelRow(dst, y) + visible.left;
    for (std::size_t i = 0; i < columns.size(); ++i) {
      const Tap& c = columns[i];
      const Uint32 p =
          mix(mix(upper[c.a], upper[c.b], c.w), mix(lower[c.a], lower[c.b], c.w), row.w) |
          platform::kOpaque;
      out[i] = alpha == 255 ? p : platform::BlendPixel(p, out[i], alpha);
    }
  }
}

void BlitScaled(SDL_Surface* dst, const GapiSurfaceData& src, RECT s, RECT d, BlitMode m) {
  if (m.alpha == 0 || platform::IsEmptyRect(s) || platform::IsEmptyRect(d)) return;
  if (m.smooth) {
    RECT visible = d;
    if (platform::ClipToSurface(visible, dst->w, dst->h)) {
      BlitSmooth(dst, src, s, d, visible, m.alpha);
    }
    return;
  }
  RECT visible = d;
  if (!platform::ClipToSurface(visible, dst->w, dst->h)) return;
  const int64_t sw = platform::Width(s), sh = platform::Height(s);
  const int64_t dw = platform::Width(d), dh = platform::Height(d);
  SDL_Surface* from = src.surface;
  // Each destination pixel takes the source pixel under its centre; pixels that map outside
  // the source surface are left alone. Clipping does not shift the mapping.
  static thread_local std::vector<int> columns;
  columns.resize(static_cast<std::size_t>(visible.right - visible.left));
  for (LONG x = visible.left; x < visible.right; ++x) {
    int64_t sx = s.left + ((2 * (int64_t{x} - d.left) + 1) * sw) / (2 * dw);
    columns[static_cast<std::size_t>(x - visible.left)] =
        sx >= 0 && sx < from->w ? static_cast<int>(sx) : -1;
  }
  const Uint32 key = platform::PixelOf(src.colorKey);
  for (LONG y = visible.top; y < visible.bottom; ++y) {
    int64_t sy = s.top + ((2 * (int64_t{y} - d.top) + 1) * sh) / (2 * dh);
    if (sy < 0 || sy >= from->h) continue;
    const Uint32* in = PixelRow(from, static_cast<int>(sy));
    Uint32* out = PixelRow(dst, y) + visible.left;
    for (std::size_t i = 0; i < columns.size(); ++i) {
      if (columns[i] < 0) continue;
      Uint32 p = in[columns[i]] | platform::kOpaque;
      if (m.key && p == key) continue;
      out[i] = m.alpha == 255 ? p : platform::BlendPixel(p, out[i], m.alpha);
    }
  }
}

headless::DrawCall BlitRecord(const char* call, RECT dst, const CGapiSurface* src,
                              const RECT* srcRect, DWORD flags, const DWORD* opacity) {
  headless::DrawCall c;
  c.call = call;
  c.dst = dst;
  if (srcRect != nullptr) {
    c.src = *srcRect;
  } else if (src != nullptr && !src->IsEmpty()) {
    c.src = platform::WholeRect(src->Data()->surface);
  }
  c.flags = flags;
  c.opacity = RecordedOpacity(flags, opacity);
  c.source = src;
  return c;
}

}  // namespace

HRESULT CGapiSurface::Blt(const RECT* destRect, CGapiSurface* src, const RECT* srcRect, DWORD flags,
                          const GDBLTFX* fx) {
  SDL_Surface* dst = platform::OwnPixels(m_data);
  const DWORD* opacity = fx != nullptr ? &fx->dwOpacity : nullptr;
  RECT d = destRect != nullptr ? *destRect : dst != nullptr ? platform::WholeRect(dst) : RECT{};
  if (platform::RecordsDraws(m_data))
    platform::RecordDraw(BlitRecord("Blt", d, src, srcRect, flags, opacity));
  if (dst == nullptr || src == nullptr || src->IsEmpty()) return GDERR_INVALID;

  GapiSurfaceData* from = src->Data();
  RECT s = srcRect != nullptr ? *srcRect : platform::WholeRect(from->surface);
  BlitMode mode = ModeOf(*from, flags, opacity);
  bool scaled =
      platform::Width(s) != platform::Width(d) || platform::Height(s) != platform::Height(d);
  if (src == this) {
    SourceCopy copy(*from);
    if (copy.data.surface == nullptr) return GDERR_OUT_OF_MEMORY;
    if (scaled) {
      BlitScaled(dst, copy.data, s, d, mode);
    } else {
      BlitUnscaled(dst, copy.data, s, d.left, d.top, mode);
    }
  } else if (scaled) {
    BlitScaled(dst, *from, s, d, mode);
  } else {
    BlitUnscaled(dst, *from, s, d.left, d.top, mode);
  }
  return GD_OK;
}

HRESULT CGapiSurface::BltFast(LONG x, LONG y, CGapiSurface* src, const RECT* srcRect, DWORD flags,
                              const GDBLTFASTFX* fx) {
  SDL_Surface* dst = platform::OwnPixels(m_data);
  const DWORD* opacity = fx != nullptr ? &fx->dwOpacity : nullptr;
  RECT s{};
  if (srcRect != nullptr) {
    s = *srcRect;
  } else if (src != nullptr && !src->IsEmpty()) {
    s = platform::WholeRect(src->Data()->surface);
  }
  RECT d{x, y, platform::Saturate(x + platform::Width(s)),
         platform::Saturate(y + platform::Height(s))};
  if (platform::RecordsDraws(m_data))
    platform::RecordDraw(BlitRecord("BltFast", d, src, srcRect, flags, opacity));
  if (dst == nullptr || src == nullptr || src->IsEmpty()) return GDERR_INVALID;

  GapiSurfaceData* from = src->Data();
  BlitMode mode = ModeOf(*from, flags, opacity);
  if (src == this) {
    SourceCopy copy(*from);
    if (copy.data.surface == nullptr) return GDERR_OUT_OF_MEMORY;
    BlitUnscaled(dst, copy.data, s, x, y, mode);
  } else {
    BlitUnscaled(dst, *from, s, x, y, mode);
  }
  return GD_OK;
}
