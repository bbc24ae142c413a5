// FillRect, DrawRect and DrawLine: opaque and translucent, clipped, right and bottom
// exclusive for rectangles, both ends drawn for lines.
#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "platform/graphics/gapi.h"
#include "surface_test_util.h"

namespace {

using namespace surface_test;

constexpr DWORD kBackground = 0x102030;
constexpr DWORD kInk = 0xF0E0D0;

TEST(SurfaceFill, NullRectangleFillsTheWholeSurface) {
  CGapiSurface s;
  MakeSurface(s, 7, 5, kBackground);
  ASSERT_EQ(s.FillRect(nullptr, kInk, 0, nullptr), GD_OK);
  EXPECT_TRUE(PixelsAre(s, [](LONG, LONG) { return kInk; }));
}

TEST(SurfaceFill, ClipsAndExcludesRightAndBottom) {
  const RECT rects[] = {{1, 1, 3, 4},   {-5, -5, 2, 2},
                        {5, 3, 50, 50}, {-1, 2, 9, 3},
                        {3, -9, 4, 99}, {8, 0, 10, 5},
                        {0, 6, 8, 9},   {4, 4, 4, 6},
                        {6, 2, 2, 4},   {-2000000000, -2000000000, 2000000000, 1}};
  for (const RECT& r : rects) {
    SCOPED_TRACE(testing::Message() << r.left << "," << r.top << "," << r.right << "," << r.bottom);
    CGapiSurface s;
    MakeSurface(s, 8, 6, kBackground);
    ASSERT_EQ(s.FillRect(&r, kInk, 0, nullptr), GD_OK);
    EXPECT_TRUE(PixelsAre(s, [&](LONG x, LONG y) { return Inside(x, y, r) ? kInk : kBackground; }));
  }
}

TEST(SurfaceFill, TranslucentFillMixesAtTheRecordsOpacity) {
  struct Case {
    DWORD ink, background, opacity, want;
  };
  const Case cases[] = {
      {0xFFFFFF, 0x000000, 128, 0x808080}, {0x0000FF, 0xFF0000, 128, 0x7F0080},
      {0x808080, 0x606060, 128, 0x707070}, {0x202020, 0xE0E0E0, 128, 0x808080},
      {0xFF0000, 0x000000, 255, 0xFF0000}, {0xFF0000, 0x00FF00, 0, 0x00FF00},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << std::hex << c.ink << " at " << std::dec << c.opacity);
    CGapiSurface s;
    MakeSurface(s, 6, 6, c.background);
    GDFILLRECTFX fx{};
    fx.dwOpacity = c.opacity;
    RECT r{-2, 1, 4, 9};
    ASSERT_EQ(s.FillRect(&r, c.ink, GDFILLRECT_OPACITY, &fx), GD_OK);
    for (LONG y = 0; y < 6; ++y) {
      for (LONG x = 0; x < 6; ++x) {
        ASSERT_TRUE(ColourNear(s.GetPixel(x, y), Inside(x, y, r) ? c.want : c.background))
            << x << ", " << y;
      }
    }
  }
}

TEST(SurfaceFill, TranslucentFillsOfManySizesAndColoursStayExact) {
  // The fills reuse prepared surfaces; a later, larger or differently coloured fill must
  // not show an earlier one.
  CGapiSurface s;
  GDFILLRECTFX fx{};
  fx.dwOpacity = 128;
  const DWORD colours[] = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF, 0x202020,
                           0x808080, 0x404040, 0x00FFFF, 0xFFFF00, 0xFF0000};
  LONG size = 2;
  for (DWORD c : colours) {
    MakeSurface(s, 40, 40, 0x000000);
    RECT r{0, 0, size, size};
    s.FillRect(&r, c, GDFILLRECT_OPACITY, &fx);
    DWORD want = ((c >> 1) & 0x7F7F7F) + (c & 0x010101);  // 128/255 of each channel, rounded
    EXPECT_TRUE(ColourNear(s.GetPixel(size - 1, size - 1), want)) << std::hex << c;
    EXPECT_EQ(s.GetPixel(size, size - 1), 0u);
    size += 4;
  }
}

TEST(SurfaceDrawRect, OutlineIsTheInnermostRingOfTheRectangle) {
  const RECT rects[] = {{1, 1, 5, 4},   {2, 2, 3, 3}, {0, 1, 6, 2}, {3, 0, 4, 6},
                        {-1, -1, 4, 3}, {4, 2, 9, 9}, {2, 2, 2, 4}};
  for (const RECT& r : rects) {
    SCOPED_TRACE(testing::Message() << r.left << "," << r.top << "," << r.right << "," << r.bottom);
    CGapiSurface s;
    MakeSurface(s, 6, 6, kBackground);
    ASSERT_EQ(s.DrawRect(&r, kInk, 0, nullptr), GD_OK);
    EXPECT_TRUE(PixelsAre(s, [&](LONG x, LONG y) {
      bool edge = x == r.left || x == r.right - 1 || y == r.top || y == r.bottom - 1;
      return Inside(x, y, r) && edge ? kInk : kBackground;
    }));
  }
}

TEST(SurfaceDrawRect, TranslucentOutlineBlendsEachPixelOnce) {
  CGapiSurface s;
  MakeSurface(s, 6, 6, 0x000000);
  GDLINEFX fx{};
  fx.dwOpacity = 128;
  RECT r{1, 1, 5, 5};
  s.DrawRect(&r, 0xFFFFFF, GDDRAWRECT_OPACITY, &fx);
  for (LONG y = 1; y < 5; ++y) {
    for (LONG x = 1; x < 5; ++x) {
      bool edge = x == 1 || x == 4 || y == 1 || y == 4;
      EXPECT_TRUE(ColourNear(s.GetPixel(x, y), edge ? 0x808080 : 0)) << x << ", " << y;
    }
  }
}

using Points = std::set<std::pair<LONG, LONG>>;

Points Drawn(const CGapiSurface& s) {
  Points p;
  for (LONG y = 0; y < static_cast<LONG>(s.GetHeight()); ++y) {
    for (LONG x = 0; x < static_cast<LONG>(s.GetWidth()); ++x) {
      if (s.GetPixel(x, y) != kBackground) p.insert({x, y});
    }
  }
  return p;
}

TEST(SurfaceDrawLine, DrawsBothEndsInAnyDirection) {
  struct Case {
    LONG x1, y1, x2, y2;
    Points want;
  };
  const Case cases[] = {
      {1, 2, 4, 2, {{1, 2}, {2, 2}, {3, 2}, {4, 2}}},
      {4, 2, 1, 2, {{1, 2}, {2, 2}, {3, 2}, {4, 2}}},
      {3, 0, 3, 2, {{3, 0}, {3, 1}, {3, 2}}},
      {0, 0, 3, 3, {{0, 0}, {1, 1}, {2, 2}, {3, 3}}},
      {3, 0, 0, 3, {{3, 0}, {2, 1}, {1, 2}, {0, 3}}},
      {2, 2, 2, 2, {{2, 2}}},
      {0, 0, 5, 1, {{0, 0}, {1, 0}, {2, 0}, {3, 1}, {4, 1}, {5, 1}}},
      {5, 1, 0, 0, {{0, 0}, {1, 0}, {2, 0}, {3, 1}, {4, 1}, {5, 1}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.x1 << "," << c.y1 << " to " << c.x2 << "," << c.y2);
    CGapiSurface s;
    MakeSurface(s, 6, 6, kBackground);
    ASSERT_EQ(s.DrawLine(c.x1, c.y1, c.x2, c.y2, kInk, 0, nullptr), GD_OK);
    EXPECT_EQ(Drawn(s), c.want);
  }
}

TEST(SurfaceDrawLine, ClipsToTheSurface) {
  CGapiSurface s;
  MakeSurface(s, 6, 6, kBackground);
  s.DrawLine(-3, 2, 9, 2, kInk, 0, nullptr);
  s.DrawLine(4, -100, 4, 100, kInk, 0, nullptr);
  s.DrawLine(10, 10, 20, 20, kInk, 0, nullptr);  // wholly outside
  Points want;
  for (LONG x = 0; x < 6; ++x) want.insert({x, 2});
  for (LONG y = 0; y < 6; ++y) want.insert({4, y});
  EXPECT_EQ(Drawn(s), want);
}

TEST(SurfaceDrawLine, FarAwayEndsStillDrawTheVisiblePart) {
  CGapiSurface s;
  MakeSurface(s, 6, 6, kBackground);
  s.DrawLine(-2000000000, 3, 2000000000, 3, kInk, 0, nullptr);
  s.DrawLine(2000000000, 2000000000, 2000000001, -2000000000, kInk, 0,
             nullptr);  // off to the right
  Points want;
  for (LONG x = 0; x < 6; ++x) want.insert({x, 3});
  EXPECT_EQ(Drawn(s), want);
}

TEST(SurfaceDrawLine, ShadowLineAtOpacity) {
  for (DWORD opacity : {96u, 128u, 192u}) {
    CGapiSurface s;
    MakeSurface(s, 4, 1, 0xFFFFFF);
    GDLINEFX fx{};
    fx.dwOpacity = opacity;
    s.DrawLine(0, 0, 2, 0, 0x000000, GDLINE_OPACITY, &fx);
    DWORD level = static_cast<DWORD>(255 * (255 - opacity) / 255.0 + 0.5);
    EXPECT_TRUE(ColourNear(s.GetPixel(1, 0), level * 0x010101)) << opacity;
    EXPECT_EQ(s.GetPixel(3, 0), 0xFFFFFFu);
  }
}

// Straight translucent lines of more shades than are kept between calls, each twice, across
// and down a background of every channel value: each pixel is the rounded mix.
TEST(SurfaceDrawLine, TranslucentStraightLinesMixEveryPixelExactly) {
  const std::pair<DWORD, DWORD> shades[] = {{0x000000, 192}, {0x000000, 96}, {0xFFFFFF, 96},
                                            {0x3C8C50, 1},   {0xF0E0D0, 254}, {0x000000, 192}};
  for (int round = 0; round < 2; ++round) {
    for (const auto& [colour, opacity] : shades) {
      CGapiSurface s;
      MakeSurface(s, 256, 256, 0);
      for (LONG y = 0; y < 256; ++y) {
        for (LONG x = 0; x < 256; ++x) {
          const RECT px{x, y, x + 1, y + 1};
          s.FillRect(&px, static_cast<DWORD>(x << 16 | y << 8 | ((x + y) & 0xFF)), 0, nullptr);
        }
      }
      auto mix = [&, colour = colour, opacity = opacity](DWORD d) {
        DWORD out = 0;
        for (int shift : {16, 8, 0}) {
          const DWORD v = ((colour >> shift) & 0xFF) * opacity +
                          ((d >> shift) & 0xFF) * (255 - opacity) + 127;
          out |= (v / 255) << shift;
        }
        return out;
      };
      const DWORD under = s.GetPixel(7, 0), across = s.GetPixel(0, 9);
      GDLINEFX fx{};
      fx.dwOpacity = opacity;
      s.DrawLine(7, 0, 7, 255, colour, GDLINE_OPACITY, &fx);
      s.DrawLine(255, 9, 8, 9, colour, GDLINE_OPACITY, &fx);
      EXPECT_EQ(s.GetPixel(7, 0), mix(under)) << colour << " " << opacity;
      EXPECT_EQ(s.GetPixel(0, 9), across);
      for (LONG i = 0; i < 256; ++i) {
        if (i != 9) {
          ASSERT_EQ(s.GetPixel(7, i), mix(7 << 16 | i << 8 | ((7 + i) & 0xFF)))
              << colour << " " << opacity << " down " << i;
        }
        if (i >= 8) {
          ASSERT_EQ(s.GetPixel(i, 9), mix(static_cast<DWORD>(i << 16 | 9 << 8 | ((i + 9) & 0xFF))))
              << colour << " " << opacity << " across " << i;
        }
      }
    }
  }
}

}  // namespace

namespace {

// Translucent blits weigh the source by its own alpha as well, so every kind of drawing
// must leave the pixels it touches fully opaque.
TEST(SurfaceDrawing, LeavesEveryPixelOpaque) {
  CGapiSurface s, icon, target;
  MakeSurface(s, 60, 30, 0xFFFFFF);
  MakeSurface(icon, 10, 10, 0x3060C0);
  icon.SetColorKey(kKey);
  GDFILLRECTFX fill{};
  fill.dwOpacity = 128;
  GDLINEFX line{};
  line.dwOpacity = 96;
  GDBLTFASTFX fast{};
  fast.dwOpacity = 128;
  GDBLTFX blt{};
  blt.dwOpacity = 196;
  RECT box{2, 2, 40, 20};
  RECT scaled{30, 5, 50, 25};
  CGapiBitmapFont font;
  s.FillRect(&box, 0x202020, GDFILLRECT_OPACITY, &fill);
  s.DrawLine(0, 29, 59, 0, 0x000000, GDLINE_OPACITY, &line);
  s.BltFast(20, 15, &icon, nullptr, GDBLTFAST_KEYSRC | GDBLTFAST_OPACITY, &fast);
  s.Blt(&scaled, &icon, nullptr, GDBLT_KEYSRC | GDBLT_OPACITY, &blt);
  s.DrawTextA(5, 10, "Opaque", &font, GDDRAWTEXT_LEFT, nullptr, 0, nullptr);

  MakeSurface(target, 60, 30, 0x000000);
  GDBLTFASTFX almost{};
  almost.dwOpacity = 254;
  target.BltFast(0, 0, &s, nullptr, GDBLTFAST_OPACITY, &almost);
  for (LONG y = 0; y < 30; ++y) {
    for (LONG x = 0; x < 60; ++x) {
      ASSERT_TRUE(ColourNear(target.GetPixel(x, y), s.GetPixel(x, y), 2)) << x << ", " << y;
    }
  }
}

}  // namespace
