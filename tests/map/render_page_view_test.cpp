// The content page view: the centred panel, title and footer, and the grid of history icons.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "support/model_builder.h"

using testmodel::CallsFrom;
using testmodel::CallsOf;
using testmodel::Str;
using testmodel::Texts;

namespace {

class PageViewTest : public testmodel::ModelTest {
 protected:
  void SetUp() override {
    ModelTest::SetUp();
    AddMap();
    AddSystem(30.0);
    user = AddUser(1, "Ann", 3.45);
    model->m_currentUser = user;
    headless::SetClock(5000);
    user->m_loginTick = 5000;
    // A 3 x 2 grid of 40 x 30 cells.
    model->m_page = 1;
    model->m_pageCount = 3;
    model->m_pageColumns = 3;
    model->m_pageRows = 2;
    model->m_pageIconWidth = 40;
    model->m_pageIconHeight = 30;
    model->m_pageGapX = 10;
    model->m_pageGapY = 20;
    model->m_pageMarginX = 16;
    model->m_pageMarginY = 56;
  }

  void View(int id) { user->m_viewedIds[user->m_viewedCount++] = id; }

  // Which icon surface each cell of the frame shows, in drawing order.
  std::vector<int> IconsShown(const std::vector<headless::DrawCall>& calls) {
    std::vector<int> out;
    for (const auto& c : calls) {
      for (int i = 0; i < model->m_iconSurfaceCount; ++i) {
        if (c.source == &model->m_iconSurfaces[i]) out.push_back(i);
      }
    }
    return out;
  }

  CUserContext* user = nullptr;
};

TEST_F(PageViewTest, CentredPanelWithTitleAndFooter) {
  ASSERT_EQ(model->m_pageBackground.GetWidth(), 240u);
  ASSERT_EQ(model->m_pageBackground.GetHeight(), 320u);
  model->m_page = 2;
  const auto calls = RenderFrame();
  ASSERT_FALSE(calls.empty());
  EXPECT_EQ(calls[0].call, "BltFast");
  EXPECT_EQ(calls[0].source, &model->m_pageBackground);
  EXPECT_EQ(calls[0].dst.left, 280);
  EXPECT_EQ(calls[0].dst.top, 140);
  EXPECT_EQ(calls[0].flags, 0u);
  const auto texts = CallsOf(calls, "DrawTextA");
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0].text, "Ann (3.45)");
  EXPECT_EQ(texts[0].dst.left, 400);
  EXPECT_EQ(texts[0].dst.top, 170);
  EXPECT_EQ(texts[1].text, "Page 2 of 3");
  EXPECT_EQ(texts[1].dst.top, 415);
}

TEST_F(PageViewTest, TitleShowsTheRunningClock) {
  headless::SetClock(5000 + 20000);
  EXPECT_EQ(Texts(RenderFrame())[0], "Ann (4.05)");
}

TEST_F(PageViewTest, NothingOfTheMapViewIsDrawnNorTested) {
  CRegionItem* region = AddRegion(1, 400, 300);
  model->m_showGpsStatus = true;
  const auto calls = RenderFrame();
  EXPECT_FALSE(region->m_active);
  EXPECT_TRUE(CallsFrom(calls, model->m_mapSurface).empty());
  EXPECT_TRUE(CallsFrom(calls, &model->m_buttonBackground).empty());
  EXPECT_EQ(Texts(calls).size(), 2u);
}

TEST_F(PageViewTest, SecondPageOfAThreeByTwoGridShowsEntriesSixToEleven) {
  std::vector<std::pair<int, int>> sizes(14, {40, 30});
  MakeIcons(sizes);
  for (int i = 0; i < 14; ++i) AddContent(i + 1, 0, 0, 0, i);
  for (int i = 0; i < 14; ++i) View(i + 1);
  model->m_page = 2;
  const auto calls = RenderFrame();
  EXPECT_EQ(IconsShown(calls), (std::vector<int>{6, 7, 8, 9, 10, 11}));
  const auto cells = CallsOf(calls, "BltFast");
  ASSERT_EQ(cells.size(), 7u);
  // Cell (0, 0) and cell (1, 2): margins, the 6-pixel cell padding and the gaps.
  EXPECT_EQ(cells[1].dst.left, 280 + 16 + 3);
  EXPECT_EQ(cells[1].dst.top, 140 + 56 + 3);
  EXPECT_EQ(cells[6].dst.left, 280 + 16 + 2 * 46 + 2 * 10 + 3);
  EXPECT_EQ(cells[6].dst.top, 140 + 56 + 36 + 20 + 3);
  EXPECT_EQ(cells[6].flags, 1u);
}

TEST_F(PageViewTest, RepeatedViewingsShowTwiceAndBrokenEntriesLeaveGaps) {
  MakeIcons({{40, 30}, {40, 30}});
  AddContent(5, 0, 0, 0, 0);
  AddContent(6, 0, 0, 0, -1);
  View(5);
  View(0);   // no content has id 0
  View(77);  // matches nothing
  View(6);   // has no icon
  View(5);
  const auto calls = RenderFrame();
  const auto cells = CallsOf(calls, "BltFast");
  ASSERT_EQ(cells.size(), 3u);
  EXPECT_EQ(cells[1].dst.left, 299);
  EXPECT_EQ(cells[2].dst.left, 299 + 56);  // entry 4: column 1 of row 1
  EXPECT_EQ(cells[2].dst.top, 199 + 56);
}

TEST_F(PageViewTest, LongNameIsShortenedAndKeepsTheClock) {
  std::string name(255, 'n');
  std::strncpy(user->m_username, name.c_str(), sizeof user->m_username - 1);
  const std::string title = Texts(RenderFrame())[0];
  EXPECT_EQ(title.size(), 127u);
  EXPECT_EQ(title.substr(title.size() - 7), " (3.45)");
}

TEST_F(PageViewTest, NoCurrentUserShowsTheFooterOnly) {
  MakeIcons({{40, 30}});
  AddContent(5, 0, 0, 0, 0);
  View(5);
  model->m_currentUser = nullptr;
  const auto calls = RenderFrame();
  EXPECT_EQ(Texts(calls), (std::vector<std::string>{"Page 1 of 3"}));
  EXPECT_EQ(CallsOf(calls, "BltFast").size(), 1u);
}

TEST_F(PageViewTest, ScreenSizedBackgroundIsDrawnAtTheCorner) {
  model->m_pageBackground.Destroy();
  ASSERT_EQ(model->m_pageBackground.CreateSurface(GDSURFACE_SYSTEMMEMORY, 800, 600), GD_OK);
  const auto calls = RenderFrame();
  EXPECT_EQ(calls[0].dst.left, 0);
  EXPECT_EQ(calls[0].dst.top, 0);
  EXPECT_EQ(Texts(calls)[0], "Ann (3.45)");
  EXPECT_EQ(CallsOf(calls, "DrawTextA")[0].dst.top, 30);
}

}  // namespace
