// The row loops of pixel_rows.h: the widest set this processor runs.
#include "platform/pixel_rows.h"

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

void CopyRowKeyed(std::uint32_t* dst, const std::uint32_t* src, int n, std::uint32_t key) {
  CORVANE_ROW_CALL(CopyRowKeyed(dst, src, n, key))
}

void BlendRow(std::uint32_t* dst, const std::uint32_t* src, int n, std::uint8_t alpha, bool keyed,
              std::uint32_t key) {
  CORVANE_ROW_CALL(BlendRow(dst, src, n, alpha, keyed, key))
}

void BlendRowByAlpha(std::uint32_t* dst, const std::uint32_t* src, int n) {
  CORVANE_ROW_CALL(BlendRowByAlpha(dst, src, n))
}

void FillRowBlended(std::uint32_t* dst, int n, std::uint32_t color, std::uint8_t alpha) {
  CORVANE_ROW_CALL(FillRowBlended(dst, n, color, alpha))
}

#undef CORVANE_ROW_CALL

}  // namespace platform
