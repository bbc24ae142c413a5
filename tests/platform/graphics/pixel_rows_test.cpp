// The row loops of the blits and fills: SDL's rounding, every vector set against the
// one-pixel loops, and nothing written outside the area.
#include "platform/graphics/detail/pixel_rows.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <random>
#include <string>
#include <vector>

namespace {

using platform::PixelArea;
using u32 = std::uint32_t;

constexpr u32 kKey = 0xFF00FF;

// One set of loops under test.
struct LoopSet {
  std::string name;
  std::function<void(const PixelArea&, u32)> copyKeyed;
  std::function<void(const PixelArea&, std::uint8_t, bool, u32)> blend;
  std::function<void(const PixelArea&)> byAlpha;
  std::function<void(const PixelArea&, u32, std::uint8_t)> fill;
};

std::vector<LoopSet> VectorSets() {
  std::vector<LoopSet> sets;
  sets.push_back({"chosen", platform::CopyKeyed, platform::Blend, platform::BlendByAlpha,
                  platform::FillBlended});
#if CORVANE_HAS_SSE2_ROWS
  sets.push_back({"sse2", platform::sse2_rows::CopyKeyed, platform::sse2_rows::Blend,
                  platform::sse2_rows::BlendByAlpha, platform::sse2_rows::FillBlended});
#endif
#if CORVANE_HAS_AVX2_ROWS
  if (platform::avx2_rows::Available()) {
    sets.push_back({"avx2", platform::avx2_rows::CopyKeyed, platform::avx2_rows::Blend,
                    platform::avx2_rows::BlendByAlpha, platform::avx2_rows::FillBlended});
  }
#endif
  return sets;
}

PixelArea OnePixel(u32* d, const u32* s) { return PixelArea{d, 1, s, 1, 1, 1}; }

u32 OneBlend(u32 s, u32 d, std::uint8_t alpha) {
  platform::scalar_rows::Blend(OnePixel(&d, &s), alpha, false, 0);
  return d;
}
u32 OneByAlpha(u32 s, u32 d) {
  platform::scalar_rows::BlendByAlpha(OnePixel(&d, &s));
  return d;
}
u32 OneFill(u32 c, u32 d, std::uint8_t alpha) {
  platform::scalar_rows::FillBlended(OnePixel(&d, nullptr), c, alpha);
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
  platform::CopyKeyed(PixelArea{copied, 3, src, 3, 3, 1}, kKey);
  platform::Blend(PixelArea{blended, 3, src, 3, 3, 1}, 128, true, kKey);
  EXPECT_EQ(copied[0], 1u);
  EXPECT_EQ(copied[1], 2u);
  EXPECT_EQ(copied[2], 0xFF00FF00u);
  EXPECT_EQ(blended[0], 0xFF000000u);
  EXPECT_EQ(blended[1], 0xFF000000u);
  EXPECT_EQ(blended[2], 0xFF008000u);
}

// Random areas three rows high, of every width up to a few blocks and a long one, at many
// opacities: every vector set gives the one-pixel result and leaves the pixels around the
// area (the margin of each row and the rows above and below) alone.
TEST(PixelRows, EveryVectorSetMatchesTheOnePixelLoops) {
  std::mt19937 random(20240611);
  std::vector<int> widths;
  for (int n = 0; n <= 40; ++n) widths.push_back(n);
  widths.push_back(257);
  const std::uint8_t opacities[] = {1, 64, 127, 128, 129, 196, 254, 255};
  constexpr int kRows = 3;
  for (const LoopSet& set : VectorSets()) {
    for (int n : widths) {
      const int stride = n + 3;
      std::vector<u32> src(static_cast<std::size_t>(stride * (kRows + 2))), dst(src.size());
      for (std::size_t i = 0; i < src.size(); ++i) {
        src[i] = random();
        dst[i] = random();
        if (random() % 5 == 0) src[i] = (src[i] & 0xFF000000u) | kKey;
        if (random() % 7 == 0) src[i] &= 0x00FFFFFFu;  // transparent text pixel
        if (random() % 7 == 0) src[i] |= 0xFF000000u;
        // Text is mostly clear or solid: on odd widths, runs of each.
        const std::size_t run = i / 11 % 3;
        if (n % 2 == 1 && run == 0) src[i] &= 0x00FFFFFFu;
        if (n % 2 == 1 && run == 1) src[i] |= 0xFF000000u;
      }
      auto check = [&](const char* what, int alpha,
                       const std::function<void(const PixelArea&)>& vector,
                       const std::function<void(const PixelArea&)>& scalar) {
        std::vector<u32> got = dst, want = dst;
        // The area starts one row down and one pixel in.
        vector(
            PixelArea{got.data() + stride + 1, stride, src.data() + stride + 1, stride, n, kRows});
        scalar(
            PixelArea{want.data() + stride + 1, stride, src.data() + stride + 1, stride, n, kRows});
        EXPECT_EQ(got, want) << set.name << " " << what << " width " << n << " opacity " << alpha;
        for (std::size_t i = 0; i < dst.size(); ++i) {
          const int x = static_cast<int>(i) % stride, y = static_cast<int>(i) / stride;
          const bool inside = y >= 1 && y <= kRows && x >= 1 && x <= n;
          if (!inside) {
            ASSERT_EQ(want[i], dst[i]) << "the reference wrote outside the area";
          }
        }
      };
      check(
          "keyed copy", 255, [&](const PixelArea& a) { set.copyKeyed(a, kKey); },
          [&](const PixelArea& a) { platform::scalar_rows::CopyKeyed(a, kKey); });
      check(
          "by alpha", 255, [&](const PixelArea& a) { set.byAlpha(a); },
          [&](const PixelArea& a) { platform::scalar_rows::BlendByAlpha(a); });
      for (std::uint8_t op : opacities) {
        for (bool keyed : {false, true}) {
          check(
              keyed ? "keyed blend" : "blend", op,
              [&](const PixelArea& a) { set.blend(a, op, keyed, kKey); },
              [&](const PixelArea& a) { platform::scalar_rows::Blend(a, op, keyed, kKey); });
        }
        const u32 color = random() & 0xFFFFFFu;
        auto fillArea = [](PixelArea a) {
          a.src = nullptr;
          return a;
        };
        check(
            "fill", op, [&](const PixelArea& a) { set.fill(fillArea(a), color, op); },
            [&](const PixelArea& a) {
              platform::scalar_rows::FillBlended(fillArea(a), color, op);
            });
      }
    }
  }
}

}  // namespace
