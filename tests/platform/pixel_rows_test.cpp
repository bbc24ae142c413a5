// The row loops of the blits and fills: SDL's rounding, every vector set against the
// one-pixel loops, and nothing written outside the row.
#include "platform/pixel_rows.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <random>
#include <string>
#include <vector>

namespace {

using u32 = std::uint32_t;

constexpr u32 kKey = 0xFF00FF;
constexpr u32 kGuard = 0x12345678;

// One set of row loops under test, as the dispatching functions take them.
struct LoopSet {
  std::string name;
  std::function<void(u32*, const u32*, int, u32)> copyKeyed;
  std::function<void(u32*, const u32*, int, std::uint8_t, bool, u32)> blend;
  std::function<void(u32*, const u32*, int)> byAlpha;
  std::function<void(u32*, int, u32, std::uint8_t)> fill;
};

std::vector<LoopSet> VectorSets() {
  std::vector<LoopSet> sets;
  sets.push_back({"chosen", platform::CopyRowKeyed, platform::BlendRow, platform::BlendRowByAlpha,
                  platform::FillRowBlended});
#if CORVANE_HAS_SSE2_ROWS
  sets.push_back({"sse2", platform::sse2_rows::CopyRowKeyed, platform::sse2_rows::BlendRow,
                  platform::sse2_rows::BlendRowByAlpha, platform::sse2_rows::FillRowBlended});
#endif
#if CORVANE_HAS_AVX2_ROWS
  if (platform::avx2_rows::Available()) {
    sets.push_back({"avx2", platform::avx2_rows::CopyRowKeyed, platform::avx2_rows::BlendRow,
                    platform::avx2_rows::BlendRowByAlpha, platform::avx2_rows::FillRowBlended});
  }
#endif
  return sets;
}

u32 OneBlend(u32 s, u32 d, std::uint8_t alpha) {
  platform::scalar_rows::BlendRow(&d, &s, 1, alpha, false, 0);
  return d;
}
u32 OneByAlpha(u32 s, u32 d) {
  platform::scalar_rows::BlendRowByAlpha(&d, &s, 1);
  return d;
}
u32 OneFill(u32 c, u32 d, std::uint8_t alpha) {
  platform::scalar_rows::FillRowBlended(&d, 1, c, alpha);
  return d;
}

TEST(PixelRows, RoundLikeSdlsBlitters) {
  // Opacity blits: source premultiplied, each product divided by 255 rounding down.
  EXPECT_EQ(OneBlend(0xFFFFFFFF, 0xFF000000, 128), 0xFF808080u);
  EXPECT_EQ(OneBlend(0xFF000000, 0xFFFFFFFF, 128), 0xFF7F7F7Fu);
  EXPECT_EQ(OneBlend(0xFF102030, 0xFF405060, 196), 0xFF1A2A3Au);
  // Text: each product divided by 256; fully transparent and opaque pixels taken as they are.
  EXPECT_EQ(OneByAlpha(0x80FFFFFF, 0xFF000000), 0xFF7F7F7Fu);
  EXPECT_EQ(OneByAlpha(0x00FFFFFF, 0xFF123456), 0xFF123456u);
  EXPECT_EQ(OneByAlpha(0xFFFFFFFF, 0xFF123456), 0xFFFFFFFFu);
  // Fills: half the sum rounded down at 128, 16-bit steps otherwise.
  EXPECT_EQ(OneFill(0xFFFFFF, 0xFF000000, 128), 0xFF7F7F7Fu);
  EXPECT_EQ(OneFill(0x010101, 0xFF000000, 128), 0xFF000000u);
  EXPECT_EQ(OneFill(0xFFFFFF, 0xFF000000, 64), 0xFF3F3F3Fu);
  EXPECT_EQ(OneFill(0x000000, 0xFFFFFFFF, 64), 0xFFBFBFBFu);
}

TEST(PixelRows, KeyPixelsAreLeftAloneWhateverTheirAlpha) {
  const u32 src[3] = {0xFFFF00FF, 0x00FF00FF, 0xFF00FF00};
  u32 copied[3] = {1, 2, 3};
  u32 blended[3] = {0xFF000000, 0xFF000000, 0xFF000000};
  platform::CopyRowKeyed(copied, src, 3, kKey);
  platform::BlendRow(blended, src, 3, 128, true, kKey);
  EXPECT_EQ(copied[0], 1u);
  EXPECT_EQ(copied[1], 2u);
  EXPECT_EQ(copied[2], 0xFF00FF00u);
  EXPECT_EQ(blended[0], 0xFF000000u);
  EXPECT_EQ(blended[1], 0xFF000000u);
  EXPECT_EQ(blended[2], 0xFF008000u);
}

// Random rows of every length up to a few blocks and a long one, at many opacities: every
// vector set gives the one-pixel result and leaves the pixels on either side alone.
TEST(PixelRows, EveryVectorSetMatchesTheOnePixelLoops) {
  std::mt19937 random(20240611);
  std::vector<int> lengths;
  for (int n = 0; n <= 40; ++n) lengths.push_back(n);
  lengths.push_back(257);
  const std::uint8_t opacities[] = {1, 64, 127, 128, 129, 196, 254, 255};
  for (const LoopSet& set : VectorSets()) {
    for (int n : lengths) {
      std::vector<u32> src(static_cast<std::size_t>(n) + 2), dst(src.size());
      for (std::size_t i = 0; i < src.size(); ++i) {
        src[i] = random();
        dst[i] = random();
        if (random() % 5 == 0) src[i] = (src[i] & 0xFF000000u) | kKey;
        if (random() % 7 == 0) src[i] &= 0x00FFFFFFu;  // transparent text pixel
        if (random() % 7 == 0) src[i] |= 0xFF000000u;
      }
      dst.front() = dst.back() = kGuard;
      const u32* s = src.data() + 1;
      auto check = [&](const char* what, int alpha, const std::function<void(u32*)>& vector,
                       const std::function<void(u32*)>& scalar) {
        std::vector<u32> got = dst, want = dst;
        vector(got.data() + 1);
        scalar(want.data() + 1);
        EXPECT_EQ(got, want) << set.name << " " << what << " length " << n << " opacity " << alpha;
      };
      check(
          "keyed copy", 255, [&](u32* d) { set.copyKeyed(d, s, n, kKey); },
          [&](u32* d) { platform::scalar_rows::CopyRowKeyed(d, s, n, kKey); });
      check(
          "by alpha", 255, [&](u32* d) { set.byAlpha(d, s, n); },
          [&](u32* d) { platform::scalar_rows::BlendRowByAlpha(d, s, n); });
      for (std::uint8_t a : opacities) {
        for (bool keyed : {false, true}) {
          check(
              keyed ? "keyed blend" : "blend", a,
              [&](u32* d) { set.blend(d, s, n, a, keyed, kKey); },
              [&](u32* d) { platform::scalar_rows::BlendRow(d, s, n, a, keyed, kKey); });
        }
        const u32 color = random() & 0xFFFFFFu;
        check(
            "fill", a, [&](u32* d) { set.fill(d, n, color, a); },
            [&](u32* d) { platform::scalar_rows::FillRowBlended(d, n, color, a); });
      }
    }
  }
}

}  // namespace
