// Bordered text: drawn from x (flags 1) or centred on x (flags 2), white with a dark
// border, on a ten-pixel line; bytes that are not UTF-8 shown as Windows-1252.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/graphics/gapi.h"
#include "surface_test_util.h"

namespace {

using namespace surface_test;

constexpr DWORD kGrey = 0x808080;

struct Box {
  LONG left = INT32_MAX, top = INT32_MAX, right = INT32_MIN, bottom = INT32_MIN;  // exclusive
  bool Empty() const { return right == INT32_MIN; }
};

Box DrawnBox(const CGapiSurface& s, DWORD background) {
  Box b;
  for (LONG y = 0; y < static_cast<LONG>(s.GetHeight()); ++y) {
    for (LONG x = 0; x < static_cast<LONG>(s.GetWidth()); ++x) {
      if (s.GetPixel(x, y) == background) continue;
      b.left = std::min(b.left, x);
      b.top = std::min(b.top, y);
      b.right = std::max(b.right, x + 1);
      b.bottom = std::max(b.bottom, y + 1);
    }
  }
  return b;
}

class TextDraw : public testing::Test {
 protected:
  void Draw(const char* text, LONG x, LONG y, DWORD flags) {
    MakeSurface(surface, 200, 40, kGrey);
    ASSERT_EQ(surface.DrawTextA(x, y, text, &font, flags, nullptr, 0, nullptr), GD_OK);
  }
  CGapiBitmapFont font;
  CGapiSurface surface;
};

TEST_F(TextDraw, FromXStartsAtXAndFitsTheLine) {
  Draw("Corvane map", 40, 12, GDDRAWTEXT_LEFT);
  Box b = DrawnBox(surface, kGrey);
  ASSERT_FALSE(b.Empty());
  const int width = font.TextWidth("Corvane map");
  EXPECT_GT(width, 30);
  EXPECT_EQ(font.LineHeight(), 10);
  // The border may reach one pixel past the text on each side.
  EXPECT_GE(b.left, 39);
  EXPECT_LE(b.left, 41);
  EXPECT_LE(b.right, 40 + width + 1);
  EXPECT_GE(b.right, 40 + width - 2);
  EXPECT_GE(b.top, 11);
  EXPECT_LE(b.bottom, 12 + 11);
}

TEST_F(TextDraw, CentredIsTheSameTextMovedLeftByHalfItsWidth) {
  const char* text = "Tap screen to move user position";
  const int width = font.TextWidth(text);
  Draw(text, 100, 10, GDDRAWTEXT_CENTER);
  CGapiSurface centred;
  MakeSurface(centred, 200, 40, kGrey);
  centred.BltFast(0, 0, &surface, nullptr, 0, nullptr);
  Draw(text, 100 - width / 2, 10, GDDRAWTEXT_LEFT);
  EXPECT_TRUE(PixelsAre(centred, [&](LONG x, LONG y) { return surface.GetPixel(x, y); }));
  Box b = DrawnBox(centred, kGrey);
  EXPECT_LE(std::abs((b.left + b.right) / 2 - 100), 1);
}

TEST_F(TextDraw, WhiteWithADarkBorder) {
  Draw("HHH", 10, 10, GDDRAWTEXT_LEFT);
  bool white = false, dark = false;
  for (LONG y = 0; y < 40; ++y) {
    for (LONG x = 0; x < 200; ++x) {
      DWORD p = surface.GetPixel(x, y);
      white |= p == 0xFFFFFF;
      dark |= (p & 0xFF) < 0x20 && ((p >> 8) & 0xFF) < 0x20 && (p >> 16) < 0x20;
    }
  }
  EXPECT_TRUE(white);
  EXPECT_TRUE(dark);
  // The border surrounds the glyphs: the pixel left of the first white one is dark.
  for (LONG y = 0; y < 40; ++y) {
    for (LONG x = 1; x < 200; ++x) {
      if (surface.GetPixel(x, y) == 0xFFFFFF) {
        EXPECT_LT(surface.GetPixel(x - 1, y) & 0xFF, 0x80u);
        break;
      }
    }
  }
}

TEST_F(TextDraw, Windows1252BytesDrawLikeTheirUtf8) {
  const char* pairs[][2] = {{"Caf\xE9 \x80 5", "Caf\xC3\xA9 \xE2\x82\xAC 5"},
                            {"M\xFCnchen", "M\xC3\xBCnchen"}};
  for (const auto& p : pairs) {
    Draw(p[1], 5, 5, GDDRAWTEXT_LEFT);
    CGapiSurface utf8;
    MakeSurface(utf8, 200, 40, kGrey);
    utf8.BltFast(0, 0, &surface, nullptr, 0, nullptr);
    Draw(p[0], 5, 5, GDDRAWTEXT_LEFT);
    EXPECT_TRUE(PixelsAre(utf8, [&](LONG x, LONG y) { return surface.GetPixel(x, y); })) << p[1];
    EXPECT_EQ(font.TextWidth(p[0]), font.TextWidth(p[1]));
  }
}

TEST_F(TextDraw, ClipsAtEveryEdge) {
  const LONG places[][2] = {{-20, 10},      {190, 10},     {50, -6},       {50, 35},
                            {-5000, 5000},  {2000000, 1},  {INT32_MIN, 5}, {INT32_MAX, 5},
                            {5, INT32_MIN}, {5, INT32_MAX}};
  for (const auto& p : places) {
    Draw("Select icon or region to edit", p[0], p[1], GDDRAWTEXT_CENTER);
    Box b = DrawnBox(surface, kGrey);
    if (!b.Empty()) {
      EXPECT_GE(b.left, 0);
      EXPECT_LE(b.right, 200);
    }
  }
}

TEST_F(TextDraw, EmptyTextDrawsNothingAndNoFontFails) {
  Draw("", 50, 10, GDDRAWTEXT_LEFT);
  EXPECT_TRUE(DrawnBox(surface, kGrey).Empty());
  EXPECT_EQ(font.TextWidth(""), 0);
  EXPECT_NE(surface.DrawTextA(0, 0, "x", nullptr, GDDRAWTEXT_LEFT, nullptr, 0, nullptr), GD_OK);
  EXPECT_NE(surface.DrawTextA(0, 0, nullptr, &font, GDDRAWTEXT_LEFT, nullptr, 0, nullptr), GD_OK);
}

TEST_F(TextDraw, VeryLongTextIsCutNotRefused) {
  std::string name(300, 'W');
  EXPECT_GT(font.TextWidth(name.c_str()), 800);
  std::string huge(100000, 'a');
  Draw(huge.c_str(), 0, 0, GDDRAWTEXT_LEFT);
  EXPECT_FALSE(DrawnBox(surface, kGrey).Empty());
}

}  // namespace
