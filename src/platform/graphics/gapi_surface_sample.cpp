// Bilinear fills from a source surface at any scale and sub-pixel offset.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

#if defined(__SSE2__)
// A tap as the wide loop reads it: pixels a and a + 1 in one load, weighed by 256 - w and w
// on their four channels each.
struct WideTap {
  int a;
  alignas(16) std::uint16_t weights[8];
};

// The same tap with its second pixel always the one after the first (the weight says what
// counts): needs a source at least two pixels wide.
WideTap Widened(Tap t, int last) {
  if (t.a == t.b) t = t.a == last ? Tap{last - 1, last, 256} : Tap{t.a, t.a + 1, 0};
  WideTap wide{t.a, {}};
  for (int k = 0; k < 4; ++k) {
    wide.weights[k] = static_cast<std::uint16_t>(256 - t.w);
    wide.weights[k + 4] = static_cast<std::uint16_t>(t.w);
  }
  return wide;
}

// Four channels of the tap's two pixels, each p * (256 - w) + q * w (below 65536), laid as
// two 64-bit halves: p's products, then q's.
inline __m128i Weighed(__m128i pair, const WideTap& t) {
  return _mm_mullo_epi16(pair, _mm_load_si128(reinterpret_cast<const __m128i*>(t.weights)));
}

// Sums the halves of two weighed pairs and scales them back: two mixed pixels, 16 bits a
// channel.
inline __m128i Summed(__m128i first, __m128i second) {
  return _mm_srli_epi16(
      _mm_add_epi16(_mm_unpacklo_epi64(first, second), _mm_unpackhi_epi64(first, second)), 8);
}
#endif

// Two source rows, each resampled across to the columns of the area, kept while the next
// rows of the area still fall between them: an enlarged picture reads each source row once,
// however many rows of it the row makes.
class AcrossRows {
 public:
  AcrossRows(const SDL_Surface* from, const std::vector<Tap>& columns)
      : m_from(from), m_columns(columns) {
    for (Slot& slot : m_slots) {
      slot.row = -1;
      slot.pixels.resize(columns.size());
    }
#if defined(__SSE2__)
    static thread_local std::vector<WideTap> wide;
    wide.clear();
    if (from->w >= 2)
      for (const Tap& t : columns) wide.push_back(Widened(t, from->w - 1));
    m_wide = &wide;
#endif
  }

  // Source row `y` resampled across; the row `keep` stays kept if it is.
  const Uint32* Row(int y, int keep) {
    for (const Slot& slot : m_slots)
      if (slot.row == y) return slot.pixels.data();
    Slot& slot = m_slots[0].row == keep ? m_slots[1] : m_slots[0];
    slot.row = y;
    Across(PixelRow(const_cast<SDL_Surface*>(m_from), y), slot.pixels.data());
    return slot.pixels.data();
  }

 private:
  struct Slot {
    int row;
    std::vector<Uint32> pixels;
  };

  // Each column's pixel of the source row `in`; alpha is left to the caller.
  void Across(const Uint32* in, Uint32* out) const {
    const std::size_t n = m_columns.size();
    std::size_t i = 0;
#if defined(__SSE2__)
    if (!m_wide->empty()) {
      const WideTap* t = m_wide->data();
      const __m128i zero = _mm_setzero_si128();
      auto pairs = [&](std::size_t k) {
        return _mm_unpacklo_epi64(
            _mm_loadl_epi64(reinterpret_cast<const __m128i*>(in + t[k].a)),
            _mm_loadl_epi64(reinterpret_cast<const __m128i*>(in + t[k + 1].a)));
      };
      for (; i + 4 <= n; i += 4) {
        const __m128i x01 = pairs(i);
        const __m128i x23 = pairs(i + 2);
        const __m128i s01 = Summed(Weighed(_mm_unpacklo_epi8(x01, zero), t[i]),
                                   Weighed(_mm_unpackhi_epi8(x01, zero), t[i + 1]));
        const __m128i s23 = Summed(Weighed(_mm_unpacklo_epi8(x23, zero), t[i + 2]),
                                   Weighed(_mm_unpackhi_epi8(x23, zero), t[i + 3]));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_packus_epi16(s01, s23));
      }
    }
#endif
    for (; i < n; ++i) {
      const Tap& c = m_columns[i];
      out[i] = Mix(in[c.a], in[c.b], c.w);
    }
  }

  const SDL_Surface* m_from;
  const std::vector<Tap>& m_columns;
#if defined(__SSE2__)
  const std::vector<WideTap>* m_wide = nullptr;
#endif
  Slot m_slots[2];
};

// out = upper and lower weighed by w / 256, made opaque: Mix over a row.
void MixRows(Uint32* out, const Uint32* upper, const Uint32* lower, Uint32 w, std::size_t n) {
  std::size_t i = 0;
#if defined(__SSE2__)
  // Eight channels of 16 bits at a time: (p * (256 - w) + q * w) >> 8 stays below 65536,
  // so each channel comes out as Mix gives it.
  const __m128i zero = _mm_setzero_si128();
  const __m128i wq = _mm_set1_epi16(static_cast<short>(w));
  const __m128i wp = _mm_set1_epi16(static_cast<short>(256 - w));
  const __m128i opaque = _mm_set1_epi32(static_cast<int>(platform::kOpaque));
  for (; i + 4 <= n; i += 4) {
    const __m128i p = _mm_loadu_si128(reinterpret_cast<const __m128i*>(upper + i));
    const __m128i q = _mm_loadu_si128(reinterpret_cast<const __m128i*>(lower + i));
    const __m128i lo =
        _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(_mm_unpacklo_epi8(p, zero), wp),
                                     _mm_mullo_epi16(_mm_unpacklo_epi8(q, zero), wq)),
                       8);
    const __m128i hi =
        _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(_mm_unpackhi_epi8(p, zero), wp),
                                     _mm_mullo_epi16(_mm_unpackhi_epi8(q, zero), wq)),
                       8);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i),
                     _mm_or_si128(_mm_packus_epi16(lo, hi), opaque));
  }
#endif
  for (; i < n; ++i) out[i] = Mix(upper[i], lower[i], w) | platform::kOpaque;
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

  // Across first, then down, each rounded as it is made.
  AcrossRows across(from, columns);
  const std::size_t n = columns.size();
  for (LONG y = visible.top; y < visible.bottom; ++y) {
    const Tap row = TapAt(at.y0 + (y - area.top) * at.dy, lastY);
    const Uint32* upper = across.Row(row.a, row.b);
    Uint32* out = PixelRow(dst, y) + visible.left;
    if (row.w == 0) {
      for (std::size_t i = 0; i < n; ++i) out[i] = upper[i] | platform::kOpaque;
      continue;
    }
    MixRows(out, upper, across.Row(row.b, row.a), row.w, n);
  }
  return GD_OK;
}
