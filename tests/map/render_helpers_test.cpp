// Clipping of map rectangles against the view, and the menu's cell layout.
#include <gtest/gtest.h>

#include <vector>

#include "map/render_helpers.h"
#include "support/model_builder.h"

using testmodel::Str;

namespace {

struct ClipCase {
  const char* name;
  RECT view;
  RECT x;
  bool visible;
  const char* dest;
  const char* src;
};

TEST(ClipToView, CasesAcrossEveryEdge) {
  const RECT view{100, 50, 900, 650};
  const std::vector<ClipCase> cases = {
      {"inside", view, {200, 100, 241, 141}, true, "100,50,141,91", "0,0,41,41"},
      {"cut on the left", view, {90, 100, 131, 141}, true, "0,50,31,91", "10,0,41,41"},
      {"cut at the top", view, {200, 40, 241, 81}, true, "100,0,141,31", "0,10,41,41"},
      {"cut on the right", view, {880, 100, 921, 141}, true, "780,50,800,91", "0,0,20,41"},
      {"cut at the bottom", view, {200, 630, 241, 671}, true, "100,580,141,600", "0,0,41,20"},
      {"larger than the view", view, {0, 0, 1000, 700}, true, "0,0,800,600",
       "100,50,900,650"},
      {"touching the right edge", view, {900, 100, 941, 141}, true, "800,50,800,91",
       "0,0,0,41"},
      {"touching the left edge", view, {59, 100, 100, 141}, true, "0,50,0,91", "41,0,41,41"},
  };
  for (const ClipCase& c : cases) {
    RECT d{}, s{};
    ASSERT_EQ(ClipToView(c.view, c.x, &d, &s), c.visible) << c.name;
    EXPECT_EQ(Str(d), c.dest) << c.name;
    EXPECT_EQ(Str(s), c.src) << c.name;
  }
}

TEST(ClipToView, NothingVisibleBeyondAnyEdge) {
  const RECT view{0, 0, 800, 600};
  RECT d, s;
  EXPECT_FALSE(ClipToView(view, RECT{801, 10, 841, 50}, &d, &s));
  EXPECT_FALSE(ClipToView(view, RECT{-50, 10, -1, 50}, &d, &s));
  EXPECT_FALSE(ClipToView(view, RECT{10, 601, 50, 641}, &d, &s));
  EXPECT_FALSE(ClipToView(view, RECT{10, -50, 50, -1}, &d, &s));
}

TEST(GetMenuCellRect, SixteenCellsOnThePitchInsideThePanel) {
  RECT first, last;
  ASSERT_TRUE(GetMenuCellRect(0, 0, &first));
  EXPECT_EQ(Str(first), "2,3,27,28");
  ASSERT_TRUE(GetMenuCellRect(7, 1, &last));
  EXPECT_EQ(Str(last), "212,33,237,58");

  std::vector<RECT> cells;
  for (int row = 0; row < 2; ++row) {
    for (int col = 0; col < 8; ++col) {
      RECT r;
      ASSERT_TRUE(GetMenuCellRect(col, row, &r));
      EXPECT_EQ(r.right - r.left, 25);
      EXPECT_EQ(r.bottom - r.top, 25);
      EXPECT_GE(r.left, 0);
      EXPECT_LE(r.right, 240);
      EXPECT_LE(r.bottom, 61);
      for (const RECT& o : cells) {
        const bool overlap =
            r.left < o.right && o.left < r.right && r.top < o.bottom && o.top < r.bottom;
        EXPECT_FALSE(overlap) << Str(r) << " overlaps " << Str(o);
      }
      cells.push_back(r);
    }
  }
}

TEST(GetMenuCellRect, NoCellOutsideEightByTwo) {
  RECT r;
  EXPECT_FALSE(GetMenuCellRect(8, 0, &r));
  EXPECT_FALSE(GetMenuCellRect(-1, 0, &r));
  EXPECT_FALSE(GetMenuCellRect(0, 2, &r));
  EXPECT_FALSE(GetMenuCellRect(0, -1, &r));
}

}  // namespace
