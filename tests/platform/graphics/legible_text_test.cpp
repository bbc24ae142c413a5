// Legible text: tall enough to read, bad bytes shown as U+FFFD, shortened only at character
// boundaries, and nothing drawn for a text of spaces.
#include <gtest/gtest.h>

#include <string>

#include "platform/graphics/detail/text_encoding.h"
#include "platform/graphics/gapi.h"
#include "surface_test_util.h"

namespace {

using namespace surface_test;

constexpr DWORD kGrey = 0x808080;

// Rows that hold any drawn pixel.
int DrawnRows(const CGapiSurface& s) {
  int top = -1, bottom = -1;
  for (LONG y = 0; y < static_cast<LONG>(s.GetHeight()); ++y) {
    for (LONG x = 0; x < static_cast<LONG>(s.GetWidth()); ++x) {
      if (s.GetPixel(x, y) == kGrey) continue;
      if (top < 0) top = y;
      bottom = y;
      break;
    }
  }
  return top < 0 ? 0 : bottom - top + 1;
}

TEST(LegibleText, TheLabelSizeIsAtLeastFourteenPixelsHigh) {
  CGapiSurface s;
  MakeSurface(s, 200, 40, kGrey);
  GDTEXTSTYLE style;
  ASSERT_EQ(s.DrawLegibleText(5, 5, "Abbey ruins, 140 m", style), GD_OK);
  EXPECT_GE(DrawnRows(s), 14);
  EXPECT_GE(LegibleLineHeight(GD_LEGIBLE_PIXELS), DrawnRows(s));
}

TEST(LegibleText, ShortenedAndBadTextStaysWholeCharacters) {
  const std::string accents = "\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9";
  const int full = LegibleTextWidth(accents.c_str(), GD_LEGIBLE_PIXELS);
  for (int width = 0; width <= full; width += 3) {
    const std::string fit = FitLegibleText(accents.c_str(), GD_LEGIBLE_PIXELS, width);
    EXPECT_TRUE(platform::IsValidUtf8(fit)) << width;
    EXPECT_LE(LegibleTextWidth(fit.c_str(), GD_LEGIBLE_PIXELS), width);
  }
  EXPECT_EQ(FitLegibleText(accents.c_str(), GD_LEGIBLE_PIXELS, full), accents);
  const std::string cut = FitLegibleText(accents.c_str(), GD_LEGIBLE_PIXELS, full - 1);
  EXPECT_EQ(cut.substr(cut.size() - 3), "\xE2\x80\xA6");
  EXPECT_EQ(FitLegibleText("Caf\xE9 \xC3", GD_LEGIBLE_PIXELS, 1000),
            "Caf\xEF\xBF\xBD \xEF\xBF\xBD");
  EXPECT_EQ(LegibleTextWidth("   ", GD_LEGIBLE_PIXELS), 0);
}

}  // namespace
