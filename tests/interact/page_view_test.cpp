// The content page view: layout arithmetic, paging with wrap-around, replaying from the
// history, and its tap targets checked against the drawing.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "input_fixture.h"

namespace {

using inputtest::InputTest;

class PageViewTest : public InputTest {
 protected:
  void SetUp() override {
    InputTest::SetUp();
    AddContent(7, 0, 100, 100, 0, "seven.mp4");
    AddContent(8, 0, 150, 100, 1, "eight.mp4");
    user = AddUser(1, "Ann");
    model->m_currentUser = user;
  }
  void View(int count) {
    for (int i = 0; i < count; ++i) user->AddViewed(i % 2 == 0 ? 7 : 8);
  }
  // The panel is centred on the 800x600 screen.
  static constexpr int kOx = 400 - 120;
  static constexpr int kOy = 300 - 160;
  void Close() { Tap(kOx + 100, kOy + 298); }
  void Previous() { Tap(kOx + 50, kOy + 298); }
  void Next() { Tap(kOx + 190, kOy + 298); }

  CUserContext* user = nullptr;
};

TEST_F(PageViewTest, LayoutFitsCellsOfTheLargestIcon) {
  View(31);
  model->OpenPageView();
  EXPECT_EQ(model->m_page, 1);
  EXPECT_EQ(model->m_pageIconWidth, 35);
  EXPECT_EQ(model->m_pageIconHeight, 26);
  EXPECT_EQ(model->m_pageColumns, 5);  // 218 / 41
  EXPECT_EQ(model->m_pageGapX, 2);     // (218 - 205) / 5
  EXPECT_EQ(model->m_pageMarginX, 12);
  EXPECT_EQ(model->m_pageRows, 6);  // 220 / 32
  EXPECT_EQ(model->m_pageGapY, 4);  // (220 - 192) / 6
  EXPECT_EQ(model->m_pageMarginY, 48);
  EXPECT_EQ(model->m_pageCount, 2);  // 30 per page, one left over
}

TEST_F(PageViewTest, LargestIconAmongTheContentSetsTheCell) {
  MakeIcons({{20, 40}, {50, 10}});
  model->OpenPageView();
  EXPECT_EQ(model->m_pageIconWidth, 50);
  EXPECT_EQ(model->m_pageIconHeight, 40);
  EXPECT_EQ(model->m_pageColumns, 3);
  EXPECT_EQ(model->m_pageRows, 4);
}

TEST_F(PageViewTest, FullPagesNeedNoExtraPage) {
  View(60);
  model->OpenPageView();
  EXPECT_EQ(model->m_pageCount, 2);
}

TEST_F(PageViewTest, EmptyHistoryHasNoPagesPreviousClosesNextStays) {
  model->OpenPageView();
  EXPECT_EQ(model->m_pageCount, 0);
  EXPECT_EQ(model->m_page, 1);
  Next();
  EXPECT_EQ(model->m_page, 1);
  Previous();
  EXPECT_EQ(model->m_page, 0);
}

TEST_F(PageViewTest, PagingWrapsAroundBothWays) {
  View(70);  // three pages
  model->OpenPageView();
  Previous();
  EXPECT_EQ(model->m_page, 3);
  Previous();
  EXPECT_EQ(model->m_page, 2);
  Next();
  EXPECT_EQ(model->m_page, 3);
  Next();
  EXPECT_EQ(model->m_page, 1);
  Close();
  EXPECT_EQ(model->m_page, 0);
}

TEST_F(PageViewTest, EveryTapBelongsToTheOpenPageView) {
  View(3);
  model->OpenPageView();
  const CGeoPoint user = model->m_userPos;
  Tap(780, 10);  // where the exit button is on the map view
  Tap(5, 5);
  Tap(kOx + 120, kOy + 280);  // inside the panel, on no part
  EXPECT_EQ(app->m_quit, 0);
  EXPECT_EQ(model->m_userPos, user);
  EXPECT_EQ(model->m_page, 1);
  EXPECT_FALSE(model->m_dragging);
}

TEST_F(PageViewTest, CellTapReplaysWithoutAddingToTheHistory) {
  View(2);
  model->OpenPageView();
  // Second cell of the first row: left = ox + 12 + 41 + 2 + 3, top = oy + 48 + 3.
  Tap(kOx + 58 + 17, kOy + 51 + 13);
  EXPECT_STREQ(model->m_videoFile, "eight.mp4");
  EXPECT_TRUE(model->IsVideoPlaying());
  EXPECT_EQ(user->m_viewedCount, 2);
  EXPECT_EQ(model->m_selectedContent, nullptr);
  EXPECT_EQ(model->m_page, 1);
}

TEST_F(PageViewTest, CellsOutsideTheIconOrPastTheHistoryDoNothing) {
  View(2);
  model->OpenPageView();
  Tap(kOx + 56, kOy + 60);    // between the first two icons
  Tap(kOx + 58 + 43 + 17, kOy + 64);  // the third cell: no third entry
  Tap(kOx + 15 + 17, kOy + 51 + 32 + 4 + 13);  // second row
  EXPECT_EQ(model->m_videoFile[0], '\0');
  EXPECT_FALSE(model->IsVideoPlaying());
}

TEST_F(PageViewTest, HistoryEntryOfMissingContentIsNotPlayed) {
  user->AddViewed(99);
  model->OpenPageView();
  EXPECT_FALSE(model->HitTestPageCell(kOx + 15 + 17, kOy + 51 + 13, kOx, kOy));
}

TEST_F(PageViewTest, SecondPageCellsHoldTheLaterEntries) {
  View(30);
  user->AddViewed(8);  // entry 30 opens page 2
  model->OpenPageView();
  Next();
  ASSERT_EQ(model->m_page, 2);
  EXPECT_TRUE(model->HitTestPageCell(kOx + 15 + 17, kOy + 51 + 13, kOx, kOy));
  EXPECT_STREQ(model->m_videoFile, "eight.mp4");
  EXPECT_FALSE(model->HitTestPageCell(kOx + 58 + 17, kOy + 51 + 13, kOx, kOy));
}

TEST_F(PageViewTest, TapTargetsAreWhereTheIconsAreDrawn) {
  View(13);
  model->OpenPageView();
  const auto calls = RenderFrame();
  std::map<const CGapiSurface*, std::string> fileOf = {{&model->m_iconSurfaces[0], "seven.mp4"},
                                                      {&model->m_iconSurfaces[1], "eight.mp4"}};
  int icons = 0;
  for (const headless::DrawCall& c : calls) {
    auto it = fileOf.find(c.source);
    if (it == fileOf.end()) continue;
    ++icons;
    model->m_videoFile[0] = '\0';
    const int x = (c.dst.left + c.dst.right) / 2;
    const int y = (c.dst.top + c.dst.bottom) / 2;
    SCOPED_TRACE(testing::Message() << x << "," << y);
    EXPECT_TRUE(model->HandleCommandTap(x, y));
    EXPECT_EQ(model->TakePendingAction(), ACTION_PLAY_VIDEO);
    EXPECT_EQ(model->m_videoFile, it->second);
    // The drawn rectangle's corners are inside, the pixels beyond them outside.
    int ox = 0;
    int oy = 0;
    model->PageViewOrigin(&ox, &oy);
    EXPECT_TRUE(model->HitTestPageCell(c.dst.left, c.dst.top, ox, oy));
    EXPECT_TRUE(model->HitTestPageCell(c.dst.right - 1, c.dst.bottom - 1, ox, oy));
    EXPECT_FALSE(model->HitTestPageCell(c.dst.right, c.dst.bottom - 1, ox, oy));
    EXPECT_FALSE(model->HitTestPageCell(c.dst.left, c.dst.bottom, ox, oy));
  }
  EXPECT_EQ(icons, 13);
}

TEST_F(PageViewTest, IconsTooLargeForACellStillGetOneCellPerPage) {
  MakeIcons({{230, 230}, {10, 10}});
  View(3);
  model->OpenPageView();
  EXPECT_EQ(model->m_pageColumns, 1);
  EXPECT_EQ(model->m_pageRows, 1);
  EXPECT_EQ(model->m_pageGapX, 0);
  EXPECT_EQ(model->m_pageGapY, 0);
  EXPECT_EQ(model->m_pageCount, 3);
  Next();
  EXPECT_EQ(model->m_page, 2);
  Tap(kOx + 20, kOy + 60);
  EXPECT_STREQ(model->m_videoFile, "eight.mp4");
  RenderFrame();  // draws without faulting
}

// Layout as data: on the desktop screen and on the handheld's own, every part of the page
// view answers only inside the panel, and the panel lies on the screen.
TEST_F(PageViewTest, PartsLieInsideThePanelOnEveryScreen) {
  View(70);
  for (auto [w, h] : {std::pair{800, 600}, {240, 320}}) {
    SCOPED_TRACE(testing::Message() << w << "x" << h);
    model->m_screenSize.Set(w, h);
    model->OpenPageView();
    int ox = -1;
    int oy = -1;
    model->PageViewOrigin(&ox, &oy);
    const RECT panel{ox, oy, ox + 240, oy + 320};
    EXPECT_GE(panel.left, 0);
    EXPECT_GE(panel.top, 0);
    EXPECT_LE(panel.right, w);
    EXPECT_LE(panel.bottom, h);
    std::map<int, int> hits;  // effect -> count
    for (int y = 0; y < h; y += 1) {
      for (int x = 0; x < w; x += 1) {
        model->m_page = 2;
        model->m_videoFile[0] = '\0';
        model->HandleCommandTap(x, y);
        int effect = model->m_page;  // 0 close, 1 previous, 3 next, 2 none or a cell
        if (model->TakePendingAction() == ACTION_PLAY_VIDEO) effect = 10;
        if (effect == 2) continue;
        ++hits[effect];
        const POINT pt{x, y};
        ASSERT_TRUE(PtInRect(&panel, pt)) << x << "," << y << " effect " << effect;
      }
    }
    EXPECT_EQ(hits[0], 93 * 14);
    EXPECT_EQ(hits[1], 20 * 20);
    EXPECT_EQ(hits[3], 20 * 20);
    EXPECT_EQ(hits[10], 30 * 35 * 26);
  }
}

}  // namespace
