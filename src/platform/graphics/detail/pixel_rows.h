// Row loops of the software blits and fills on 32-bit 0xAARRGGBB pixels. Each gives exactly
// the pixels SDL 2's own blitters give for the same operation, so pictures stay the same
// whichever path drew them; they only skip SDL's per-call set-up and its slow general path
// for keyed blits with opacity.
#pragma once

#include <cstddef>
#include <cstdint>

namespace platform {

// A rectangle to draw: `height` rows of `width` pixels, each row `dstStride` (`srcStride`)
// pixels after the one before. The source is null for fills and never overlaps dst.
struct PixelArea {
  std::uint32_t* dst = nullptr;
  std::ptrdiff_t dstStride = 0;
  const std::uint32_t* src = nullptr;
  std::ptrdiff_t srcStride = 0;
  int width = 0;
  int height = 0;
};

// Copies the pixels whose colour (alpha aside) differs from key (0x00RRGGBB).
void CopyKeyed(const PixelArea& area, std::uint32_t key);

// src over dst at opacity alpha, src's own alpha included; with `keyed`, pixels whose colour
// equals key are left alone.
void Blend(const PixelArea& area, std::uint8_t alpha, bool keyed, std::uint32_t key);

// Each src pixel over dst by its own alpha (rendered text). The result is opaque.
void BlendByAlpha(const PixelArea& area);

// color (0x00RRGGBB) over dst at opacity alpha. The result is opaque.
void FillBlended(const PixelArea& area, std::uint32_t color, std::uint8_t alpha);

// The functions above pick one of these sets: AVX2 where the processor has it, else SSE2,
// else one pixel at a time. All give the same pixels; the one-pixel loops are the reference.
#define CORVANE_ROW_LOOP_SET                                                            \
  void CopyKeyed(const PixelArea& area, std::uint32_t key);                             \
  void Blend(const PixelArea& area, std::uint8_t alpha, bool keyed, std::uint32_t key); \
  void BlendByAlpha(const PixelArea& area);                                             \
  void FillBlended(const PixelArea& area, std::uint32_t color, std::uint8_t alpha);

namespace scalar_rows {
CORVANE_ROW_LOOP_SET
}

#if defined(__SSE2__)
#define CORVANE_HAS_SSE2_ROWS 1
namespace sse2_rows {
CORVANE_ROW_LOOP_SET
}
#else
#define CORVANE_HAS_SSE2_ROWS 0
#endif

#if (defined(__x86_64__) || defined(__i386__)) && (defined(__GNUC__) || defined(__clang__))
#define CORVANE_HAS_AVX2_ROWS 1
namespace avx2_rows {
bool Available();  // whether this processor runs them
CORVANE_ROW_LOOP_SET
}  // namespace avx2_rows
#else
#define CORVANE_HAS_AVX2_ROWS 0
#endif

#undef CORVANE_ROW_LOOP_SET

}  // namespace platform
