// The shipped images as the program loads them: frames that must read differently do, and
// the opaque screens hold no transparent colour.
#include <gtest/gtest.h>

#include "platform/graphics/gapi.h"
#include "platform/backend_headless/headless.h"
#include "platform/windowing/win_api.h"

namespace {

constexpr DWORD KEY = 0xFF00FF;

bool SameBlock(const CGapiSurface& s, LONG x0, LONG y0, LONG x1, LONG y1, LONG size) {
  for (LONG y = 0; y < size; ++y) {
    for (LONG x = 0; x < size; ++x) {
      if (s.GetPixel(x0 + x, y0 + y) != s.GetPixel(x1 + x, y1 + y)) return false;
    }
  }
  return true;
}

class ArtworkTest : public ::testing::Test {
 protected:
  void SetUp() override { headless::Reset(); }
  void Load(CGapiSurface* s, DWORD id) {
    ASSERT_EQ(s->CreateSurface(GDSURFACE_SYSTEMMEMORY, GetModuleHandleA(nullptr), id, "PNG"), GD_OK)
        << id;
  }
};

TEST_F(ArtworkTest, MarkerFramesAndBadgesAllDiffer) {
  CGapiSurface markers;
  Load(&markers, 108);
  for (LONG a = 0; a < 5; ++a) {
    for (LONG b = a + 1; b < 5; ++b) {
      EXPECT_FALSE(SameBlock(markers, 0, 33 * a, 0, 33 * b, 33)) << a << " " << b;
    }
  }
  CGapiSurface badges;
  Load(&badges, 109);
  for (LONG a = 0; a < 3; ++a) {
    for (LONG b = a + 1; b < 3; ++b) {
      EXPECT_FALSE(SameBlock(badges, 0, 13 * a, 0, 13 * b, 13)) << a << " " << b;
    }
  }
}

TEST_F(ArtworkTest, MenuGlyphsAllDifferAndSitInTheirCells) {
  CGapiSurface glyphs;
  Load(&glyphs, 114);
  for (int a = 0; a < 16; ++a) {
    for (int b = a + 1; b < 16; ++b) {
      const bool same = SameBlock(glyphs, 30 * (a % 8) + 2, 30 * (a / 8) + 3, 30 * (b % 8) + 2,
                                  30 * (b / 8) + 3, 25);
      EXPECT_FALSE(same) << a << " " << b;
    }
  }
  // Outside the 25x25 cells nothing is drawn: the gaps stay transparent.
  for (LONG y = 0; y < 61; ++y) {
    for (LONG x = 0; x < 240; ++x) {
      const bool inColumn = x >= 2 && (x - 2) % 30 < 25;
      const bool inRow = (y >= 3 && y < 28) || (y >= 33 && y < 58);
      const bool inCell = inColumn && inRow;
      if (!inCell) {
        ASSERT_EQ(glyphs.GetPixel(x, y), KEY) << x << "," << y;
      }
    }
  }
}

TEST_F(ArtworkTest, OpaqueScreensHaveNoKeyColour) {
  for (DWORD id : {110u, 111u, 112u}) {
    CGapiSurface screen;
    Load(&screen, id);
    for (LONG y = 0; y < static_cast<LONG>(screen.GetHeight()); ++y) {
      for (LONG x = 0; x < static_cast<LONG>(screen.GetWidth()); ++x) {
        ASSERT_NE(screen.GetPixel(x, y), KEY) << id << " at " << x << "," << y;
      }
    }
  }
  CGapiSurface names;
  Load(&names, 111);
  EXPECT_EQ(names.GetWidth(), 240u);
  EXPECT_EQ(names.GetHeight(), 185u);
  CGapiSurface list;
  Load(&list, 112);
  EXPECT_EQ(list.GetWidth(), 240u);
  EXPECT_EQ(list.GetHeight(), 320u);
}

}  // namespace
