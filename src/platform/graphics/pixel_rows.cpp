// The row loops of pixel_rows.h: the widest set this processor runs.
#include "platform/graphics/detail/pixel_rows.h"

namespace platform {

#if CORVANE_HAS_AVX2_ROWS
#define CORVANE_ROW_CALL(call)                        \
  if (avx2_rows::Available()) return avx2_rows::call; \
  return sse2_rows::call;
#elif CORVANE_HAS_SSE2_ROWS
#define CORVANE_ROW_CALL(call) return sse2_rows::call;
#else
#define CORVANE_ROW_CALL(call) return scalar_rows::call;
#endif

void CopyKeyed(const PixelArea& area, std::uint32_t key) { CORVANE_ROW_CALL(CopyKeyed(area, key)) }

void Blend(const PixelArea& area, std::uint8_t alpha, bool keyed, std::uint32_t key) {
  CORVANE_ROW_CALL(Blend(area, alpha, keyed, key))
}

void BlendByAlpha(const PixelArea& area) { CORVANE_ROW_CALL(BlendByAlpha(area)) }

void FillBlended(const PixelArea& area, std::uint32_t color, std::uint8_t alpha) {
  CORVANE_ROW_CALL(FillBlended(area, color, alpha))
}

#undef CORVANE_ROW_CALL

}  // namespace platform
