// The menu panel: its sixteen buttons by tap and by key, the keyboard cursor, and the
// panel's hit areas checked as data against the drawn cells.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <tuple>
#include <utility>

#include "input_fixture.h"
#include "map/render_helpers.h"

namespace {

using inputtest::InputTest;

// Everything a menu button may change.
struct MenuState {
  bool followGps, moveUserMode, showCoordsMode, showMap, showOverview, showUser, showRegionAreas,
      showRegionMarkers, showGpsStatus, menuOpen;
  int editSelection, pendingAction, iconMode;
  size_t boxes;
  bool operator==(const MenuState&) const = default;
};

MenuState StateOf(const CPortrait& m) {
  return {m.m_followGps,       m.m_moveUserMode,      m.m_showCoordsMode, m.m_showMap,
          m.m_showOverview,    m.m_showUser,          m.m_showRegionAreas,
          m.m_showRegionMarkers, m.m_showGpsStatus,   m.m_menuOpen,
          m.m_editSelection,   m.m_pendingAction,     m.m_iconMode,
          headless::MessageBoxes().size()};
}

class MenuPanelTest : public InputTest {
 protected:
  void SetUp() override {
    InputTest::SetUp();
    model->m_menuOpen = true;
  }
  // Centre of a drawn menu cell.
  static std::pair<int, int> CellCentre(int column, int row) {
    RECT cell;
    GetMenuCellRect(column, row, &cell);
    return {(cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2};
  }
};

TEST_F(MenuPanelTest, EveryButtonHasItsOwnEffectAndNoOther) {
  const std::function<void(MenuState&)> effects[16] = {
      [](MenuState& s) { s.followGps = false, s.moveUserMode = true; },
      [](MenuState& s) { s.editSelection = -1; },
      [](MenuState& s) { s.pendingAction = ACTION_RELATIONSHIPS; },
      [](MenuState& s) { s.boxes += 1; },  // calibration, which needs a map
      [](MenuState& s) { s.showCoordsMode = true; },
      [](MenuState& s) { s.followGps = !s.followGps; },
      [](MenuState& s) { s.pendingAction = ACTION_USER_LIST; },
      [](MenuState& s) { s.pendingAction = ACTION_SAVE_AND_QUIT; },
      [](MenuState& s) { s.showMap = !s.showMap; },
      [](MenuState& s) { s.showOverview = !s.showOverview; },
      [](MenuState& s) { s.showUser = !s.showUser; },
      [](MenuState& s) { s.showRegionAreas = !s.showRegionAreas; },
      [](MenuState& s) { s.showRegionMarkers = !s.showRegionMarkers; },
      [](MenuState& s) { s.iconMode = 2; },
      [](MenuState& s) { s.showGpsStatus = !s.showGpsStatus; },
      [](MenuState& s) { s.menuOpen = false; },
  };
  for (int button = 0; button < 16; ++button) {
    SCOPED_TRACE(button);
    CPortrait fresh(nullptr, GetModuleHandleA(nullptr), 800, 600);
    fresh.m_menuOpen = true;
    MenuState expected = StateOf(fresh);
    effects[button](expected);
    fresh.ExecuteMenuButton(button % 8, button / 8);
    EXPECT_EQ(StateOf(fresh), expected);
  }
}

TEST_F(MenuPanelTest, IconModeCyclesOneTwoZeroOne) {
  auto [x, y] = CellCentre(5, 1);
  int seen[3];
  for (int& mode : seen) {
    Tap(x, y);
    mode = model->m_iconMode;
  }
  EXPECT_EQ(seen[0], 2);
  EXPECT_EQ(seen[1], 0);
  EXPECT_EQ(seen[2], 1);
}

TEST_F(MenuPanelTest, CursorWrapsWithinItsRowAndSwapsRows) {
  const std::tuple<int, UINT, int> moves[] = {
      {7, VK_RIGHT, 0}, {8, VK_LEFT, 15}, {3, VK_DOWN, 11}, {11, VK_UP, 3},
      {12, VK_DOWN, 4}, {0, VK_LEFT, 7},  {15, VK_RIGHT, 8}, {4, VK_RIGHT, 5},
      {9, VK_LEFT, 8},  {5, VK_UP, 13},   {5, 'A', 5},       {5, VK_ESCAPE, 5}};
  for (auto [from, key, to] : moves) {
    SCOPED_TRACE(testing::Message() << from << " key " << key);
    model->m_menuCursor = from;
    EXPECT_FALSE(model->MenuKey(key));
    EXPECT_EQ(model->m_menuCursor, to);
  }
}

TEST_F(MenuPanelTest, WindowsKeyExecutesTheButtonUnderTheCursor) {
  model->m_menuCursor = 13;
  EXPECT_TRUE(model->MenuKey(VK_LWIN));
  EXPECT_EQ(model->m_iconMode, 2);
  EXPECT_EQ(model->m_menuCursor, 13);

  model->m_menuCursor = 6;  // the key's pending action is performed by the application
  Key(VK_LWIN);
  EXPECT_EQ(app->m_mode, MODE_USER_LIST);
  EXPECT_EQ(model->m_pendingAction, ACTION_NONE);
}

TEST_F(MenuPanelTest, KeysDoNothingWhileTheMenuIsClosed) {
  model->m_menuOpen = false;
  model->m_menuCursor = 13;
  EXPECT_FALSE(model->MenuKey(VK_RIGHT));
  EXPECT_FALSE(model->MenuKey(VK_LWIN));
  EXPECT_EQ(model->m_menuCursor, 13);
  EXPECT_EQ(model->m_iconMode, 1);
}

TEST_F(MenuPanelTest, KeysDoNothingWhereTheMenuCannotBeSeen) {
  struct Case {
    const char* name;
    int mode;
    int page;
  };
  for (const Case& c : {Case{"user list", MODE_USER_LIST, 0}, Case{"new user", MODE_NEW_USER, 0},
                        Case{"page view", MODE_MAP, 1}}) {
    SCOPED_TRACE(c.name);
    for (bool open : {false, true}) {
      app->m_mode = c.mode;
      model->m_page = c.page;
      model->m_menuOpen = open;
      model->m_menuCursor = 13;
      Key(VK_ESCAPE);
      Key(VK_RIGHT);
      Key(VK_LWIN);
      EXPECT_EQ(model->m_menuOpen, open);
      EXPECT_EQ(model->m_menuCursor, 13);
      EXPECT_EQ(model->m_iconMode, 1);
    }
  }
}

TEST_F(MenuPanelTest, GapsAndTheRightEndDoNothing) {
  const MenuState start = StateOf(*model);
  const CGeoPoint user = model->m_userPos;
  // The four-pixel gaps after buttons 0 and 6 of the top row, the gap between the rows,
  // the edges of the rows, and everything right of the eighth button.
  const std::pair<int, int> misses[] = {{28, 10}, {31, 10}, {208, 10}, {211, 10}, {100, 30},
                                        {100, 3},  {100, 28}, {100, 58}, {1, 40},   {238, 10},
                                        {241, 40}, {242, 10}, {400, 20}, {700, 50}};
  for (auto [x, y] : misses) {
    SCOPED_TRACE(testing::Message() << x << "," << y);
    int column = -1;
    int row = -1;
    EXPECT_FALSE(model->HitTestMenu(x, y, &column, &row));
    Tap(x, y);
    EXPECT_EQ(StateOf(*model), start);
    EXPECT_EQ(model->m_userPos, user);  // the panel used the tap up
  }
}

TEST_F(MenuPanelTest, TapsBelowThePanelReachTheMap) {
  ASSERT_EQ(model->m_menuBackground.GetHeight(), 61u);
  Tap(100, 61);
  EXPECT_EQ(model->m_userPos, CGeoPoint(100, 61));
  EXPECT_TRUE(model->m_menuOpen);
}

// Layout as data: each button's hit area is one rectangle of its own, inside the panel
// image and within a pixel of its drawn cell.
TEST(MenuLayout, HitAreasAreDistinctRectanglesOverTheirCells) {
  CPortrait model(nullptr, GetModuleHandleA(nullptr), 800, 600);
  const int panelW = static_cast<int>(model.m_menuIcons.GetWidth());
  const int panelH = static_cast<int>(model.m_menuBackground.GetHeight());
  ASSERT_GT(panelW, 0);
  std::map<int, RECT> bounds;
  std::map<int, int> pixels;
  for (int y = -2; y < 80; ++y) {
    for (int x = -2; x < 300; ++x) {
      int column = -1;
      int row = -1;
      if (!model.HitTestMenu(x, y, &column, &row)) continue;
      ASSERT_TRUE(column >= 0 && column < 8 && row >= 0 && row < 2) << x << "," << y;
      const int button = column + 8 * row;
      auto [it, fresh] = bounds.try_emplace(button, RECT{x, y, x + 1, y + 1});
      RECT& r = it->second;
      r.left = std::min<LONG>(r.left, x);
      r.top = std::min<LONG>(r.top, y);
      r.right = std::max<LONG>(r.right, x + 1);
      r.bottom = std::max<LONG>(r.bottom, y + 1);
      ++pixels[button];
    }
  }
  ASSERT_EQ(bounds.size(), 16u);
  for (auto& [button, r] : bounds) {
    SCOPED_TRACE(button);
    // Solid: the bounding box holds exactly the pixels that hit this button.
    EXPECT_EQ(pixels[button], (r.right - r.left) * (r.bottom - r.top));
    EXPECT_GE(r.left, 0);
    EXPECT_GE(r.top, 0);
    EXPECT_LE(r.right, panelW);
    EXPECT_LE(r.bottom, panelH);
    RECT cell;
    ASSERT_TRUE(GetMenuCellRect(button % 8, button / 8, &cell));
    EXPECT_LE(std::abs(r.left - cell.left), 1);
    EXPECT_LE(std::abs(r.right - cell.right), 1);
    EXPECT_LE(std::abs(r.top - cell.top), 1);
    EXPECT_LE(std::abs(r.bottom - cell.bottom), 1);
    // The drawn cell's centre answers as this button.
    int column = -1;
    int row = -1;
    EXPECT_TRUE(model.HitTestMenu((cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2,
                                  &column, &row));
    EXPECT_EQ(column + 8 * row, button);
  }
}

}  // namespace
