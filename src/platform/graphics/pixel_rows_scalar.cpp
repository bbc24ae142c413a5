// The row loops one pixel at a time, with SDL 2's rounding for each operation.
#include "platform/graphics/detail/pixel_rows.h"

namespace platform::scalar_rows {
namespace {

using u32 = std::uint32_t;

constexpr u32 kColourMask = 0x00FFFFFFu;
constexpr u32 kOpaque = 0xFF000000u;

unsigned Channel(u32 p, int shift) { return (p >> shift) & 0xFFu; }

// SDL's general blitter: the opacity scales the source alpha, the source colour is
// premultiplied, and every product is divided by 255 rounding down.
u32 BlendPixel(u32 s, u32 d, unsigned alpha) {
  const unsigned sa = Channel(s, 24) * alpha / 255;
  const unsigned keep = 255 - sa;
  u32 out = (sa + keep * Channel(d, 24) / 255) << 24;
  for (int shift = 0; shift < 24; shift += 8) {
    out |= (Channel(s, shift) * sa / 255 + keep * Channel(d, shift) / 255) << shift;
  }
  return out;
}

// SDL's per-pixel-alpha blitter: each product divided by 256, fully transparent and fully
// opaque pixels taken as they are.
u32 ByAlphaPixel(u32 s, u32 d) {
  const unsigned a = Channel(s, 24);
  if (a == 0) return d | kOpaque;
  if (a == 255) return s;
  u32 out = kOpaque;
  for (int shift = 0; shift < 24; shift += 8) {
    out |= ((Channel(s, shift) * a >> 8) + (Channel(d, shift) * (255 - a) >> 8)) << shift;
  }
  return out;
}

// SDL's surface-alpha blitter for sources without alpha: halves summed at opacity 128,
// otherwise d + (s - d) * alpha / 256 in 16-bit arithmetic.
u32 FillPixel(u32 c, u32 d, unsigned alpha) {
  if (alpha == 128) {
    return ((((c & 0xFEFEFEu) + (d & 0xFEFEFEu)) >> 1) + (c & d & 0x010101u)) | kOpaque;
  }
  u32 out = kOpaque;
  for (int shift = 0; shift < 24; shift += 8) {
    const int diff = static_cast<int>(Channel(c, shift)) - static_cast<int>(Channel(d, shift));
    const unsigned step = (static_cast<unsigned>(diff * static_cast<int>(alpha)) & 0xFFFFu) >> 8;
    out |= ((Channel(d, shift) + step) & 0xFFu) << shift;
  }
  return out;
}

// Runs pixel(source, destination) -> new destination over every pixel of the area.
template <typename Pixel>
void EachPixel(const PixelArea& area, Pixel pixel) {
  for (int y = 0; y < area.height; ++y) {
    u32* d = area.dst + y * area.dstStride;
    const u32* s = area.src != nullptr ? area.src + y * area.srcStride : nullptr;
    for (int x = 0; x < area.width; ++x) d[x] = pixel(s != nullptr ? s[x] : 0, d[x]);
  }
}

}  // namespace

void CopyKeyed(const PixelArea& area, u32 key) {
  EachPixel(area, [&](u32 s, u32 d) { return (s & kColourMask) == key ? d : s; });
}

void Blend(const PixelArea& area, std::uint8_t alpha, bool keyed, u32 key) {
  EachPixel(area, [&](u32 s, u32 d) {
    return keyed && (s & kColourMask) == key ? d : BlendPixel(s, d, alpha);
  });
}

void BlendByAlpha(const PixelArea& area) { EachPixel(area, ByAlphaPixel); }

void FillBlended(const PixelArea& area, u32 color, std::uint8_t alpha) {
  EachPixel(area, [&](u32, u32 d) { return FillPixel(color, d, alpha); });
}

}  // namespace platform::scalar_rows
