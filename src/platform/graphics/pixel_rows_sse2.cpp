// The row loops four pixels at a time with SSE2, each channel widened to 16 bits.
#include "platform/graphics/detail/pixel_rows.h"

#if CORVANE_HAS_SSE2_ROWS
#include <emmintrin.h>

#include <cstddef>
#include <cstring>

namespace platform::sse2_rows {
namespace {

using u32 = std::uint32_t;

__m128i Load(const u32* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }
void Store(u32* p, __m128i v) { _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v); }

// x / 255 rounded down, exact for x up to 255 * 255.
__m128i Div255(__m128i x) {
  const __m128i one = _mm_set1_epi16(1);
  return _mm_srli_epi16(_mm_add_epi16(_mm_add_epi16(x, one), _mm_srli_epi16(x, 8)), 8);
}

// The alpha of each of the two pixels in all four of its 16-bit lanes.
__m128i SpreadAlpha(__m128i wide) {
  return _mm_shufflehi_epi16(_mm_shufflelo_epi16(wide, 0xFF), 0xFF);
}

// Where mask is set take a, elsewhere b.
__m128i Select(__m128i mask, __m128i a, __m128i b) {
  return _mm_or_si128(_mm_and_si128(mask, a), _mm_andnot_si128(mask, b));
}

// Lanes where the pixel's colour equals the key.
__m128i KeyMask(__m128i s, __m128i key) {
  return _mm_cmpeq_epi32(_mm_and_si128(s, _mm_set1_epi32(0x00FFFFFF)), key);
}

// Two pixels of src over dst (16-bit lanes) at opacity alpha, as BlendPixel does.
__m128i BlendWide(__m128i s, __m128i d, __m128i alpha) {
  const __m128i full = _mm_set1_epi16(255);
  const __m128i sa = Div255(_mm_mullo_epi16(SpreadAlpha(s), alpha));
  // The source's alpha lane counts as 255 so that it comes out as sa itself.
  const __m128i sOpaque = _mm_or_si128(s, _mm_set_epi16(255, 0, 0, 0, 255, 0, 0, 0));
  const __m128i mine = Div255(_mm_mullo_epi16(sOpaque, sa));
  const __m128i kept = Div255(_mm_mullo_epi16(d, _mm_sub_epi16(full, sa)));
  return _mm_add_epi16(mine, kept);
}

__m128i Blend4(__m128i s, __m128i d, __m128i alpha) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i lo = BlendWide(_mm_unpacklo_epi8(s, zero), _mm_unpacklo_epi8(d, zero), alpha);
  const __m128i hi = BlendWide(_mm_unpackhi_epi8(s, zero), _mm_unpackhi_epi8(d, zero), alpha);
  return _mm_packus_epi16(lo, hi);
}

__m128i ByAlphaWide(__m128i s, __m128i d) {
  const __m128i a = SpreadAlpha(s);
  const __m128i mine = _mm_srli_epi16(_mm_mullo_epi16(s, a), 8);
  const __m128i kept = _mm_srli_epi16(_mm_mullo_epi16(d, _mm_sub_epi16(_mm_set1_epi16(255), a)), 8);
  return _mm_add_epi16(mine, kept);
}

__m128i FillWide(__m128i c, __m128i d, __m128i alpha) {
  const __m128i step = _mm_srli_epi16(_mm_mullo_epi16(_mm_sub_epi16(c, d), alpha), 8);
  return _mm_and_si128(_mm_add_epi16(d, step), _mm_set1_epi16(0xFF));
}

// Runs kernel(source, destination) -> new destination over four pixels at a time. A row of
// four or more ends with one more block flush with its end, worked out from the pixels as
// they were before the row was drawn: where it overlaps the last whole block it writes the
// same values again. Shorter rows go through a staging block.
template <typename Kernel>
void EachRow(u32* dst, const u32* src, int n, const Kernel& kernel) {
  if (n < 4) {
    const std::size_t bytes = static_cast<std::size_t>(n) * sizeof(u32);
    alignas(16) u32 s4[4] = {0, 0, 0, 0};
    alignas(16) u32 d4[4] = {0, 0, 0, 0};
    if (src != nullptr) std::memcpy(s4, src, bytes);
    std::memcpy(d4, dst, bytes);
    Store(d4, kernel(Load(s4), Load(d4)));
    std::memcpy(dst, d4, bytes);
    return;
  }
  const __m128i lastS = src != nullptr ? Load(src + n - 4) : _mm_setzero_si128();
  const __m128i lastD = Load(dst + n - 4);
  for (int i = 0; i + 4 <= n; i += 4) {
    Store(dst + i, kernel(src != nullptr ? Load(src + i) : _mm_setzero_si128(), Load(dst + i)));
  }
  Store(dst + n - 4, kernel(lastS, lastD));
}

template <typename Kernel>
void EachBlock(const PixelArea& area, const Kernel& kernel) {
  if (area.width <= 0) return;
  for (int y = 0; y < area.height; ++y) {
    EachRow(area.dst + y * area.dstStride,
            area.src != nullptr ? area.src + y * area.srcStride : nullptr, area.width, kernel);
  }
}

}  // namespace

void CopyKeyed(const PixelArea& area, u32 key) {
  const __m128i k = _mm_set1_epi32(static_cast<int>(key));
  EachBlock(area, [&](__m128i s, __m128i d) { return Select(KeyMask(s, k), d, s); });
}

void Blend(const PixelArea& area, std::uint8_t alpha, bool keyed, u32 key) {
  const __m128i a = _mm_set1_epi16(alpha);
  const __m128i k = _mm_set1_epi32(static_cast<int>(key));
  EachBlock(area, [&](__m128i s, __m128i d) {
    const __m128i mixed = Blend4(s, d, a);
    return keyed ? Select(KeyMask(s, k), d, mixed) : mixed;
  });
}

void BlendByAlpha(const PixelArea& area) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i opaque = _mm_set1_epi32(static_cast<int>(0xFF000000u));
  const __m128i full = _mm_set1_epi32(255);
  EachBlock(area, [&](__m128i s, __m128i d) {
    const __m128i lo = ByAlphaWide(_mm_unpacklo_epi8(s, zero), _mm_unpacklo_epi8(d, zero));
    const __m128i hi = ByAlphaWide(_mm_unpackhi_epi8(s, zero), _mm_unpackhi_epi8(d, zero));
    __m128i out = _mm_packus_epi16(lo, hi);
    // Fully transparent and fully opaque pixels are taken as they are.
    const __m128i a = _mm_srli_epi32(s, 24);
    out = Select(_mm_cmpeq_epi32(a, zero), d, out);
    out = Select(_mm_cmpeq_epi32(a, full), s, out);
    return _mm_or_si128(out, opaque);
  });
}

void FillBlended(const PixelArea& area, u32 color, std::uint8_t alpha) {
  const __m128i opaque = _mm_set1_epi32(static_cast<int>(0xFF000000u));
  const __m128i c = _mm_set1_epi32(static_cast<int>(color & 0x00FFFFFFu));
  if (alpha == 128) {
    // Half of the sum rounded down: the rounded-up average less the odd bit.
    const __m128i low = _mm_set1_epi8(1);
    EachBlock(area, [&](__m128i, __m128i d) {
      const __m128i half =
          _mm_sub_epi8(_mm_avg_epu8(c, d), _mm_and_si128(_mm_xor_si128(c, d), low));
      return _mm_or_si128(half, opaque);
    });
    return;
  }
  const __m128i zero = _mm_setzero_si128();
  const __m128i a = _mm_set1_epi16(alpha);
  const __m128i cWide = _mm_unpacklo_epi8(c, zero);
  EachBlock(area, [&](__m128i, __m128i d) {
    const __m128i lo = FillWide(cWide, _mm_unpacklo_epi8(d, zero), a);
    const __m128i hi = FillWide(cWide, _mm_unpackhi_epi8(d, zero), a);
    return _mm_or_si128(_mm_packus_epi16(lo, hi), opaque);
  });
}

}  // namespace platform::sse2_rows

#endif
