// The row loops eight pixels at a time with AVX2, for the processors that have it. The
// arithmetic is that of the SSE2 loops, lane for lane. Kept by hand because the map frame's
// measured cost needs them: text and icons skip the work for blocks they wholly cover or miss.
#include "platform/graphics/detail/pixel_rows.h"

#if CORVANE_HAS_AVX2_ROWS
#include <immintrin.h>

#define AVX2_ROW __attribute__((target("avx2")))

namespace platform::avx2_rows {
namespace {

using u32 = std::uint32_t;

AVX2_ROW __m256i Load(const u32* p) {
  return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
}
AVX2_ROW void Store(u32* p, __m256i v) { _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), v); }

AVX2_ROW __m256i Div255(__m256i x) {
  const __m256i one = _mm256_set1_epi16(1);
  return _mm256_srli_epi16(_mm256_add_epi16(_mm256_add_epi16(x, one), _mm256_srli_epi16(x, 8)), 8);
}

AVX2_ROW __m256i SpreadAlpha(__m256i wide) {
  return _mm256_shufflehi_epi16(_mm256_shufflelo_epi16(wide, 0xFF), 0xFF);
}

AVX2_ROW __m256i KeyMask(__m256i s, __m256i key) {
  return _mm256_cmpeq_epi32(_mm256_and_si256(s, _mm256_set1_epi32(0x00FFFFFF)), key);
}

AVX2_ROW __m256i BlendWide(__m256i s, __m256i d, __m256i alpha) {
  const __m256i sa = Div255(_mm256_mullo_epi16(SpreadAlpha(s), alpha));
  const __m256i sOpaque =
      _mm256_or_si256(s, _mm256_set_epi16(255, 0, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0));
  const __m256i mine = Div255(_mm256_mullo_epi16(sOpaque, sa));
  const __m256i kept = Div255(_mm256_mullo_epi16(d, _mm256_sub_epi16(_mm256_set1_epi16(255), sa)));
  return _mm256_add_epi16(mine, kept);
}

AVX2_ROW __m256i ByAlphaWide(__m256i s, __m256i d) {
  const __m256i a = SpreadAlpha(s);
  const __m256i mine = _mm256_srli_epi16(_mm256_mullo_epi16(s, a), 8);
  const __m256i kept =
      _mm256_srli_epi16(_mm256_mullo_epi16(d, _mm256_sub_epi16(_mm256_set1_epi16(255), a)), 8);
  return _mm256_add_epi16(mine, kept);
}

AVX2_ROW __m256i FillWide(__m256i c, __m256i d, __m256i alpha) {
  const __m256i step = _mm256_srli_epi16(_mm256_mullo_epi16(_mm256_sub_epi16(c, d), alpha), 8);
  return _mm256_and_si256(_mm256_add_epi16(d, step), _mm256_set1_epi16(0xFF));
}

// Runs kernel(source, destination) -> new destination over eight pixels at a time. A row
// of eight or more ends with one more block flush with its end, worked out from the pixels
// as they were before the row was drawn: where it overlaps the last whole block it writes
// the same values again. Shorter rows use masked loads and stores, which are slow on some
// processors.
template <typename Kernel>
AVX2_ROW void EachRow(u32* dst, const u32* src, int n, const Kernel& kernel) {
  if (n < 8) {
    const __m256i mask =
        _mm256_cmpgt_epi32(_mm256_set1_epi32(n), _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7));
    const __m256i s = src != nullptr
                          ? _mm256_maskload_epi32(reinterpret_cast<const int*>(src), mask)
                          : _mm256_setzero_si256();
    const __m256i d = _mm256_maskload_epi32(reinterpret_cast<const int*>(dst), mask);
    _mm256_maskstore_epi32(reinterpret_cast<int*>(dst), mask, kernel(s, d));
    return;
  }
  const __m256i lastS = src != nullptr ? Load(src + n - 8) : _mm256_setzero_si256();
  const __m256i lastD = Load(dst + n - 8);
  for (int i = 0; i + 8 <= n; i += 8) {
    Store(dst + i, kernel(src != nullptr ? Load(src + i) : _mm256_setzero_si256(), Load(dst + i)));
  }
  Store(dst + n - 8, kernel(lastS, lastD));
}

template <typename Kernel>
AVX2_ROW void EachBlock(const PixelArea& area, const Kernel& kernel) {
  if (area.width <= 0) return;
  for (int y = 0; y < area.height; ++y) {
    EachRow(area.dst + y * area.dstStride,
            area.src != nullptr ? area.src + y * area.srcStride : nullptr, area.width, kernel);
  }
}

struct KeyedCopy {
  __m256i key;
  AVX2_ROW __m256i operator()(__m256i s, __m256i d) const {
    return _mm256_blendv_epi8(s, d, KeyMask(s, key));
  }
};

struct Mix {
  __m256i alpha, key;
  bool keyed;
  AVX2_ROW __m256i operator()(__m256i s, __m256i d) const {
    const __m256i zero = _mm256_setzero_si256();
    const __m256i lo =
        BlendWide(_mm256_unpacklo_epi8(s, zero), _mm256_unpacklo_epi8(d, zero), alpha);
    const __m256i hi =
        BlendWide(_mm256_unpackhi_epi8(s, zero), _mm256_unpackhi_epi8(d, zero), alpha);
    const __m256i mixed = _mm256_packus_epi16(lo, hi);
    return keyed ? _mm256_blendv_epi8(mixed, d, KeyMask(s, key)) : mixed;
  }
};

struct ByAlpha {
  AVX2_ROW __m256i operator()(__m256i s, __m256i d) const {
    // Most of a line of text is clear or solid: eight of a kind are taken as they are.
    const __m256i alphas = _mm256_set1_epi32(static_cast<int>(0xFF000000u));
    if (_mm256_testz_si256(s, alphas)) return _mm256_or_si256(d, alphas);
    if (_mm256_testc_si256(s, alphas)) return s;
    const __m256i zero = _mm256_setzero_si256();
    const __m256i lo = ByAlphaWide(_mm256_unpacklo_epi8(s, zero), _mm256_unpacklo_epi8(d, zero));
    const __m256i hi = ByAlphaWide(_mm256_unpackhi_epi8(s, zero), _mm256_unpackhi_epi8(d, zero));
    __m256i out = _mm256_packus_epi16(lo, hi);
    const __m256i a = _mm256_srli_epi32(s, 24);
    out = _mm256_blendv_epi8(out, d, _mm256_cmpeq_epi32(a, zero));
    out = _mm256_blendv_epi8(out, s, _mm256_cmpeq_epi32(a, _mm256_set1_epi32(255)));
    return _mm256_or_si256(out, _mm256_set1_epi32(static_cast<int>(0xFF000000u)));
  }
};

struct FillHalf {
  __m256i color;
  AVX2_ROW __m256i operator()(__m256i, __m256i d) const {
    const __m256i odd = _mm256_and_si256(_mm256_xor_si256(color, d), _mm256_set1_epi8(1));
    const __m256i half = _mm256_sub_epi8(_mm256_avg_epu8(color, d), odd);
    return _mm256_or_si256(half, _mm256_set1_epi32(static_cast<int>(0xFF000000u)));
  }
};

struct Fill {
  __m256i wideColor, alpha;
  AVX2_ROW __m256i operator()(__m256i, __m256i d) const {
    const __m256i zero = _mm256_setzero_si256();
    const __m256i lo = FillWide(wideColor, _mm256_unpacklo_epi8(d, zero), alpha);
    const __m256i hi = FillWide(wideColor, _mm256_unpackhi_epi8(d, zero), alpha);
    return _mm256_or_si256(_mm256_packus_epi16(lo, hi),
                           _mm256_set1_epi32(static_cast<int>(0xFF000000u)));
  }
};

}  // namespace

// Icons are mostly solid: a block without a key pixel is stored without reading what it
// covers. Otherwise as EachRow does it, the last block worked out before the row is drawn.
AVX2_ROW void CopyKeyed(const PixelArea& area, u32 key) {
  const __m256i k = _mm256_set1_epi32(static_cast<int>(key));
  if (area.width < 8) {
    EachBlock(area, KeyedCopy{k});
    return;
  }
  const int n = area.width;
  auto block = [&](const u32* src, const u32* dst) AVX2_ROW {
    const __m256i s = Load(src);
    const __m256i mask = KeyMask(s, k);
    return _mm256_testz_si256(mask, mask) ? s : _mm256_blendv_epi8(s, Load(dst), mask);
  };
  for (int y = 0; y < area.height; ++y) {
    u32* dst = area.dst + y * area.dstStride;
    const u32* src = area.src + y * area.srcStride;
    const __m256i last = block(src + n - 8, dst + n - 8);
    for (int i = 0; i + 8 <= n; i += 8) Store(dst + i, block(src + i, dst + i));
    Store(dst + n - 8, last);
  }
}

AVX2_ROW void Blend(const PixelArea& area, std::uint8_t alpha, bool keyed, u32 key) {
  EachBlock(area, Mix{_mm256_set1_epi16(alpha), _mm256_set1_epi32(static_cast<int>(key)), keyed});
}

AVX2_ROW void BlendByAlpha(const PixelArea& area) { EachBlock(area, ByAlpha{}); }

AVX2_ROW void FillBlended(const PixelArea& area, u32 color, std::uint8_t alpha) {
  const __m256i c = _mm256_set1_epi32(static_cast<int>(color & 0x00FFFFFFu));
  if (alpha == 128) {
    EachBlock(area, FillHalf{c});
    return;
  }
  EachBlock(area, Fill{_mm256_unpacklo_epi8(c, _mm256_setzero_si256()), _mm256_set1_epi16(alpha)});
}

namespace {

bool Detect() {
  __builtin_cpu_init();  // needed when this runs among the static initialisers
  return __builtin_cpu_supports("avx2");
}

// Until this is set, the SSE2 loops are used, which give the same pixels.
const bool g_available = Detect();

}  // namespace

bool Available() { return g_available; }

}  // namespace platform::avx2_rows

#endif
