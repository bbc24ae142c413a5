// Blt and BltFast, pixel by pixel: plain, keyed and translucent copies, nearest scaling,
// clipping at every edge, exclusive right and bottom, null and empty rectangles.
#include <gtest/gtest.h>

#include <cstdint>

#include "platform/graphics/gapi.h"
#include "surface_test_util.h"

namespace {

using namespace surface_test;

constexpr DWORD kBackground = 0x123456;

// Pixel (x, y) of a source made by MakeNumbered: unique, never the key.
DWORD Numbered(LONG x, LONG y) { return (static_cast<DWORD>(x) << 12) | static_cast<DWORD>(y); }

void MakeNumbered(CGapiSurface& s, DWORD w, DWORD h) {
  ASSERT_EQ(s.CreateSurface(GDSURFACE_SYSTEMMEMORY, w, h), GD_OK);
  for (LONG y = 0; y < static_cast<LONG>(h); ++y) {
    for (LONG x = 0; x < static_cast<LONG>(w); ++x) SetPixel(s, x, y, Numbered(x, y));
  }
}

// 4 x 4 numbered source whose diagonal is the colour key.
void MakeKeyed(CGapiSurface& s) {
  MakeNumbered(s, 4, 4);
  for (LONG i = 0; i < 4; ++i) SetPixel(s, i, i, kKey);
  ASSERT_EQ(s.SetColorKey(kKey), GD_OK);
}

DWORD KeyedAt(LONG x, LONG y) { return x == y ? kKey : Numbered(x, y); }

TEST(SurfaceBlit, PlainCopyDrawsKeyColourAndKeyedCopySkipsIt) {
  CGapiSurface src, dst;
  MakeKeyed(src);
  for (DWORD flags : {0u, 1u}) {
    for (bool fast : {true, false}) {
      SCOPED_TRACE(testing::Message() << "flags " << flags << (fast ? " BltFast" : " Blt"));
      MakeSurface(dst, 8, 8, kBackground);
      RECT to{2, 3, 6, 7};
      if (fast) {
        ASSERT_EQ(dst.BltFast(2, 3, &src, nullptr, flags, nullptr), GD_OK);
      } else {
        ASSERT_EQ(dst.Blt(&to, &src, nullptr, flags, nullptr), GD_OK);
      }
      EXPECT_TRUE(PixelsAre(dst, [&](LONG x, LONG y) {
        if (!Inside(x, y, to)) return kBackground;
        bool key = x - 2 == y - 3;
        return key && flags == 1 ? kBackground : KeyedAt(x - 2, y - 3);
      }));
    }
  }
}

TEST(SurfaceBlit, KeyedFlagWithoutColourKeyCopiesEverything) {
  CGapiSurface src, dst;
  MakeSurface(src, 2, 2, kKey);
  MakeSurface(dst, 2, 2, kBackground);
  dst.BltFast(0, 0, &src, nullptr, GDBLTFAST_KEYSRC, nullptr);
  EXPECT_TRUE(PixelsAre(dst, [](LONG, LONG) { return kKey; }));
}

TEST(SurfaceBlit, ChangingTheColourKeyTakesEffect) {
  CGapiSurface src, dst;
  MakeSurface(src, 2, 1, 0x00FF00);
  SetPixel(src, 1, 0, kKey);
  src.SetColorKey(0x00FF00);
  MakeSurface(dst, 2, 1, kBackground);
  dst.BltFast(0, 0, &src, nullptr, GDBLTFAST_KEYSRC, nullptr);
  EXPECT_EQ(dst.GetPixel(0, 0), kBackground);
  EXPECT_EQ(dst.GetPixel(1, 0), kKey);
  src.SetColorKey(kKey);
  dst.BltFast(0, 0, &src, nullptr, GDBLTFAST_KEYSRC, nullptr);
  EXPECT_EQ(dst.GetPixel(0, 0), 0x00FF00u);
  EXPECT_EQ(dst.GetPixel(1, 0), kKey);
}

DWORD Mix(DWORD src, DWORD dst, DWORD a) {
  DWORD out = 0;
  for (int shift : {16, 8, 0}) {
    double v = (((src >> shift) & 0xFF) * a + ((dst >> shift) & 0xFF) * (255.0 - a)) / 255.0;
    out |= static_cast<DWORD>(v + 0.5) << shift;
  }
  return out;
}

struct OpacityCase {
  DWORD src, dst, opacity;
};

TEST(SurfaceBlit, KeyedCopyAtOpacityMixesWithinOneOfExact) {
  const OpacityCase cases[] = {
      {0xFFFFFF, 0x000000, 128},  {0x000000, 0xFFFFFF, 128}, {0xFF0000, 0x0000FF, 128},
      {0x204080, 0xC0A060, 128},  {0xFFFFFF, 0x000000, 96},  {0x808080, 0x202020, 192},
      {0x10E0F0, 0xF01008, 196},  {0x123456, 0xABCDEF, 255}, {0x123456, 0xABCDEF, 0},
      {0xFFFFFF, 0x000000, 1000},  // beyond the scale: opaque
  };
  for (const OpacityCase& c : cases) {
    for (int how = 0; how < 3; ++how) {  // BltFast, Blt unscaled, Blt scaled
      SCOPED_TRACE(testing::Message() << std::hex << c.src << " over " << c.dst << std::dec
                                      << " at " << c.opacity << ", way " << how);
      CGapiSurface src, dst;
      MakeSurface(src, 3, 3, c.src);
      SetPixel(src, 1, 1, kKey);
      src.SetColorKey(kKey);
      MakeSurface(dst, 6, 6, c.dst);
      GDBLTFX fx{};
      fx.dwOpacity = c.opacity;
      GDBLTFASTFX fastFx{};
      fastFx.dwOpacity = c.opacity;
      RECT to = how == 2 ? RECT{0, 0, 6, 6} : RECT{0, 0, 3, 3};
      const DWORD flags = GDBLT_KEYSRC | GDBLT_OPACITY;
      if (how == 0) {
        ASSERT_EQ(dst.BltFast(0, 0, &src, nullptr, flags, &fastFx), GD_OK);
      } else {
        ASSERT_EQ(dst.Blt(&to, &src, nullptr, flags, &fx), GD_OK);
      }
      const DWORD want = Mix(c.src, c.dst, std::min<DWORD>(c.opacity, 255));
      const RECT key = how == 2 ? RECT{2, 2, 4, 4} : RECT{1, 1, 2, 2};
      for (LONG y = 0; y < 6; ++y) {
        for (LONG x = 0; x < 6; ++x) {
          DWORD expected = Inside(x, y, to) && !Inside(x, y, key) ? want : c.dst;
          ASSERT_TRUE(ColourNear(dst.GetPixel(x, y), expected)) << "at " << x << ", " << y;
        }
      }
    }
  }
}

TEST(SurfaceBlit, OpacityWithoutTheFlagIsIgnored) {
  CGapiSurface src, dst;
  MakeSurface(src, 1, 1, 0xFFFFFF);
  MakeSurface(dst, 1, 1, 0x000000);
  GDBLTFASTFX fx{};
  fx.dwOpacity = 128;
  dst.BltFast(0, 0, &src, nullptr, GDBLTFAST_KEYSRC, &fx);
  EXPECT_EQ(dst.GetPixel(0, 0), 0xFFFFFFu);
}

TEST(SurfaceBlit, NearestScalingDoublesEveryPixel) {
  CGapiSurface src, dst;
  MakeNumbered(src, 400, 300);
  MakeSurface(dst, 800, 600, kBackground);
  ASSERT_EQ(dst.Blt(nullptr, &src, nullptr, 0, nullptr), GD_OK);
  EXPECT_TRUE(PixelsAre(dst, [](LONG x, LONG y) { return Numbered(x / 2, y / 2); }));
}

TEST(SurfaceBlit, SmoothScalingBlendsNeighboursAndKeyedScalingStaysNearest) {
  // Black and white side by side, eight times wider: the ends keep the source colours, the
  // middle rises step by step through greys; with a colour key the flag is ignored.
  CGapiSurface src, dst;
  MakeSurface(src, 2, 1, 0x000000);
  SetPixel(src, 1, 0, 0xFFFFFF);
  MakeSurface(dst, 16, 1, kBackground);
  ASSERT_EQ(dst.Blt(nullptr, &src, nullptr, GDBLT_SMOOTH, nullptr), GD_OK);
  EXPECT_EQ(dst.GetPixel(0, 0), 0x000000u);
  EXPECT_EQ(dst.GetPixel(15, 0), 0xFFFFFFu);
  for (LONG x = 1; x < 16; ++x) {
    const DWORD before = dst.GetPixel(x - 1, 0), now = dst.GetPixel(x, 0);
    EXPECT_GE(now & 0xFF, before & 0xFF) << x;
    EXPECT_EQ(now, (now & 0xFF) * 0x010101u) << x;  // grey: the channels move together
  }
  EXPECT_NE(dst.GetPixel(7, 0), 0x000000u);
  EXPECT_NE(dst.GetPixel(7, 0), 0xFFFFFFu);

  src.SetColorKey(0xFFFFFF);
  MakeSurface(dst, 16, 1, kBackground);
  ASSERT_EQ(dst.Blt(nullptr, &src, nullptr, GDBLT_SMOOTH | GDBLT_KEYSRC, nullptr), GD_OK);
  EXPECT_TRUE(PixelsAre(dst, [](LONG x, LONG) { return x < 8 ? 0x000000u : kBackground; }));
}

TEST(SurfaceBlit, ClippedScalingKeepsTheUnclippedMapping) {
  CGapiSurface src, dst;
  MakeNumbered(src, 40, 30);
  MakeSurface(dst, 60, 40, kBackground);
  RECT to{-10, -5, 70, 55};  // 80 x 60, over every edge
  ASSERT_EQ(dst.Blt(&to, &src, nullptr, 0, nullptr), GD_OK);
  EXPECT_TRUE(PixelsAre(dst, [](LONG x, LONG y) { return Numbered((x + 10) / 2, (y + 5) / 2); }));
}

TEST(SurfaceBlit, ScaledPartOfSourceAndKeyedScaling) {
  CGapiSurface src, dst;
  MakeKeyed(src);
  MakeSurface(dst, 8, 8, kBackground);
  RECT from{1, 1, 3, 3};
  RECT to{0, 0, 8, 8};
  ASSERT_EQ(dst.Blt(&to, &src, &from, GDBLT_KEYSRC, nullptr), GD_OK);
  EXPECT_TRUE(PixelsAre(dst, [](LONG x, LONG y) {
    LONG sx = 1 + x / 4, sy = 1 + y / 4;
    return sx == sy ? kBackground : Numbered(sx, sy);
  }));
}

struct Placement {
  LONG x, y;
};

TEST(SurfaceBlit, ClipsAtEveryEdgeOfTheDestination) {
  const Placement places[] = {
      {-2, -2}, {6, -2}, {-2, 5}, {6, 5}, {-1, 2},  {7, 3},  {3, -3}, {2, 6},
      {-4, 0},  {8, 0},  {0, -4}, {0, 7}, {-9, -9}, {20, 1}, {1, 30}, {-3000000, 2000000000}};
  CGapiSurface src, dst;
  MakeKeyed(src);
  for (const Placement& p : places) {
    for (int how = 0; how < 3; ++how) {  // BltFast, Blt, keyed BltFast
      SCOPED_TRACE(testing::Message() << "at " << p.x << ", " << p.y << ", way " << how);
      MakeSurface(dst, 8, 7, kBackground);
      RECT to{p.x, p.y, p.x + 4, p.y + 4};
      if (how == 1) {
        ASSERT_EQ(dst.Blt(&to, &src, nullptr, 0, nullptr), GD_OK);
      } else {
        ASSERT_EQ(dst.BltFast(p.x, p.y, &src, nullptr, how == 2 ? GDBLTFAST_KEYSRC : 0, nullptr),
                  GD_OK);
      }
      EXPECT_TRUE(PixelsAre(dst, [&](LONG x, LONG y) {
        if (!Inside(x, y, to)) return kBackground;
        LONG sx = x - p.x, sy = y - p.y;
        return how == 2 && sx == sy ? kBackground : KeyedAt(sx, sy);
      }));
    }
  }
}

TEST(SurfaceBlit, SourceRectanglePastTheSourceDrawsOnlyTheSource) {
  CGapiSurface src, dst;
  MakeNumbered(src, 4, 4);
  MakeSurface(dst, 10, 10, kBackground);
  RECT from{-1, 2, 6, 5};  // one column left of the source, two right, one row below
  ASSERT_EQ(dst.BltFast(2, 2, &src, &from, 0, nullptr), GD_OK);
  EXPECT_TRUE(PixelsAre(dst, [](LONG x, LONG y) {
    // Source column c lands at x = 3 + c, source row r at y = r.
    return x >= 3 && x < 7 && y >= 2 && y < 4 ? Numbered(x - 3, y) : kBackground;
  }));
}

TEST(SurfaceBlit, RightAndBottomAreExclusive) {
  CGapiSurface src, dst;
  MakeNumbered(src, 3, 3);
  MakeSurface(dst, 8, 8, kBackground);
  RECT from{0, 0, 2, 2};
  RECT to{2, 2, 4, 4};
  dst.Blt(&to, &src, &from, 0, nullptr);
  EXPECT_TRUE(PixelsAre(dst, [&](LONG x, LONG y) {
    return Inside(x, y, to) ? Numbered(x - 2, y - 2) : kBackground;
  }));
}

TEST(SurfaceBlit, EmptyOrInvertedRectanglesDrawNothing) {
  const RECT rects[] = {{2, 2, 2, 5}, {2, 2, 5, 2}, {5, 5, 2, 2}, {3, 1, 1, 3}};
  CGapiSurface src, dst;
  MakeNumbered(src, 4, 4);
  MakeSurface(dst, 6, 6, kBackground);
  for (const RECT& r : rects) {
    EXPECT_EQ(dst.Blt(&r, &src, nullptr, 0, nullptr), GD_OK);
    EXPECT_EQ(dst.Blt(nullptr, &src, &r, 0, nullptr), GD_OK);
    EXPECT_EQ(dst.BltFast(0, 0, &src, &r, 0, nullptr), GD_OK);
  }
  EXPECT_TRUE(PixelsAre(dst, [](LONG, LONG) { return kBackground; }));
}

TEST(SurfaceBlit, OntoItselfReadsTheSourceBeforeWriting) {
  CGapiSurface s;
  MakeNumbered(s, 6, 6);
  RECT from{0, 0, 5, 5};
  ASSERT_EQ(s.BltFast(1, 1, &s, &from, 0, nullptr), GD_OK);
  EXPECT_TRUE(PixelsAre(s, [](LONG x, LONG y) {
    return x == 0 || y == 0 ? Numbered(x, y) : Numbered(x - 1, y - 1);
  }));
  RECT to{0, 0, 6, 6};
  RECT quarter{0, 0, 3, 3};
  ASSERT_EQ(s.Blt(&to, &s, &quarter, 0, nullptr), GD_OK);
  // (5, 5) takes source pixel (2, 2), which held Numbered(1, 1) before anything was written.
  EXPECT_EQ(s.GetPixel(5, 5), Numbered(1, 1));
}

TEST(SurfaceBlit, ExtremeCoordinatesAreClippedAway) {
  CGapiSurface src, dst;
  MakeNumbered(src, 4, 4);
  MakeSurface(dst, 6, 6, kBackground);
  const LONG lo = INT32_MIN, hi = INT32_MAX;
  const RECT rects[] = {{hi - 1, hi - 1, hi, hi}, {lo, lo, lo + 1, lo + 1}, {lo, 0, hi, 4}};
  for (const RECT& r : rects) {
    dst.BltFast(hi, hi, &src, nullptr, 0, nullptr);
    dst.BltFast(lo, lo, &src, nullptr, 0, nullptr);
    dst.BltFast(lo, 0, &src, &r, 0, nullptr);
    dst.Blt(&r, &src, &r, 0, nullptr);
    dst.FillRect(&r, kBackground, 0, nullptr);  // no change to see, only no harm
  }
  EXPECT_TRUE(PixelsAre(dst, [](LONG, LONG) { return kBackground; }));
  // The whole coordinate range as source: its pixel (0, 0) lands far to the right...
  RECT huge{lo, lo, hi, hi};
  dst.BltFast(0, 0, &src, &huge, 0, nullptr);
  EXPECT_TRUE(PixelsAre(dst, [](LONG, LONG) { return kBackground; }));
  // ...unless the destination is the same range, which puts every pixel in its own place.
  dst.Blt(&huge, &src, &huge, 0, nullptr);
  EXPECT_TRUE(
      PixelsAre(dst, [](LONG x, LONG y) { return x < 4 && y < 4 ? Numbered(x, y) : kBackground; }));
  // A source rectangle reaching far past the source draws exactly the source.
  dst.FillRect(nullptr, kBackground, 0, nullptr);
  RECT wide{-1, -1, hi, hi};
  dst.BltFast(0, 0, &src, &wide, 0, nullptr);
  EXPECT_TRUE(PixelsAre(dst, [](LONG x, LONG y) {
    return x >= 1 && x < 5 && y >= 1 && y < 5 ? Numbered(x - 1, y - 1) : kBackground;
  }));
}

TEST(SurfaceBlit, MissingSurfacesFailWithoutDrawing) {
  CGapiSurface empty, src, dst;
  MakeSurface(src, 2, 2, 0xFFFFFF);
  MakeSurface(dst, 2, 2, kBackground);
  EXPECT_NE(dst.BltFast(0, 0, &empty, nullptr, 0, nullptr), GD_OK);
  EXPECT_NE(dst.BltFast(0, 0, nullptr, nullptr, 0, nullptr), GD_OK);
  EXPECT_NE(dst.Blt(nullptr, &empty, nullptr, 0, nullptr), GD_OK);
  EXPECT_NE(empty.Blt(nullptr, &src, nullptr, 0, nullptr), GD_OK);
  EXPECT_NE(empty.BltFast(0, 0, &src, nullptr, 0, nullptr), GD_OK);
  EXPECT_TRUE(PixelsAre(dst, [](LONG, LONG) { return kBackground; }));
}

}  // namespace
