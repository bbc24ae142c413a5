// Bilinear sampling at any scale and offset: every pixel as the four source pixels around
// its centre give it, across first and then down, each step rounded down in 1/256ths.
#include <gtest/gtest.h>

#include <cmath>

#include "surface_test_util.h"

namespace {

using surface_test::MakeSurface;
using surface_test::PixelsAre;

// Channels that differ from each neighbour in unrelated ways.
DWORD Noise(LONG x, LONG y) {
  DWORD v = static_cast<DWORD>(x) * 73856093u ^ static_cast<DWORD>(y) * 19349663u;
  v ^= v >> 13;
  return (v * 2654435761u) & 0xFFFFFF;
}

void MakeNoise(CGapiSurface& s, LONG w, LONG h) {
  MakeSurface(s, static_cast<DWORD>(w), static_cast<DWORD>(h), 0);
  for (LONG y = 0; y < h; ++y)
    for (LONG x = 0; x < w; ++x) surface_test::SetPixel(s, x, y, Noise(x, y));
}

// One axis: the pixel before `at`, the one after (the edge repeats) and the second's weight.
struct Between {
  LONG a, b;
  DWORD w;
};
Between At(double at, LONG last) {
  if (!(at > 0.0)) return {0, 0, 0};
  if (at >= last) return {last, last, 0};
  const LONG a = static_cast<LONG>(at);
  return {a, a + 1, static_cast<DWORD>(std::lround((at - a) * 256.0))};
}

DWORD Mixed(DWORD p, DWORD q, DWORD w) {
  DWORD out = 0;
  for (int shift : {16, 8, 0})
    out |= ((((p >> shift) & 0xFF) * (256 - w) + ((q >> shift) & 0xFF) * w) >> 8) << shift;
  return out;
}

TEST(SurfaceSample, EveryPixelWeighsTheFourAroundItsCentre) {
  struct Case {
    LONG srcW, srcH;
    RECT area;  // in a 40 x 30 destination
    GDSAMPLING at;
  };
  const Case cases[] = {
      {64, 48, {0, 0, 40, 30}, {0.3, 0.7, 0.85, 0.85}},    // enlarged between two levels
      {64, 48, {3, 2, 40, 29}, {-0.25, -0.25, 0.5, 0.5}},  // twice, from the top-left edge
      {90, 70, {0, 0, 37, 30}, {0.5, 0.5, 2.0, 2.0}},      // halved: a pyramid level
      {64, 48, {-5, -3, 45, 33}, {50.0, 40.0, 0.9, 0.6}},  // clipped, past the right edge
      {1, 48, {0, 0, 40, 30}, {0.0, 2.0, 0.5, 1.3}},       // a source one pixel wide
      {64, 48, {1, 0, 2, 30}, {63.5, 0.0, 1.0, 1.0}},      // one column at the last pixel
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.srcW << "x" << c.srcH << " from " << c.at.x0 << ","
                                    << c.at.y0 << " by " << c.at.dx);
    CGapiSurface src, dst;
    MakeNoise(src, c.srcW, c.srcH);
    MakeSurface(dst, 40, 30, 0x123456);
    ASSERT_EQ(dst.SampleBilinear(c.area, &src, c.at), GD_OK);
    EXPECT_TRUE(PixelsAre(dst, [&](LONG x, LONG y) -> DWORD {
      if (!surface_test::Inside(x, y, c.area)) return 0x123456;
      const Between h = At(c.at.x0 + (x - c.area.left) * c.at.dx, c.srcW - 1);
      const Between v = At(c.at.y0 + (y - c.area.top) * c.at.dy, c.srcH - 1);
      return Mixed(Mixed(Noise(h.a, v.a), Noise(h.b, v.a), h.w),
                   Mixed(Noise(h.a, v.b), Noise(h.b, v.b), h.w), v.w);
    }));
  }
}

}  // namespace
