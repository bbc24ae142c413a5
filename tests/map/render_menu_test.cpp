// The buttons, and the menu panel with its key cursor, toggle states, tap modes and prompts.
#include <gtest/gtest.h>

#include "support/model_builder.h"

using testmodel::CallsFrom;
using testmodel::CallsOf;
using testmodel::Str;
using testmodel::Texts;

namespace {

class MenuRenderTest : public testmodel::ModelTest {
 protected:
  void SetUp() override {
    ModelTest::SetUp();
    AddMap();
    AddSystem(30.0);
  }

  // Lines and frames drawn on the panel, as "kind left,top,right,bottom".
  std::vector<std::string> Marks(const std::vector<headless::DrawCall>& calls, DWORD colour) {
    std::vector<std::string> out;
    for (const auto& c : calls) {
      if ((c.call == "DrawLine" || c.call == "DrawRect") && c.color == colour) {
        out.push_back(c.call + " " + Str(c.dst));
      }
    }
    return out;
  }
};

TEST_F(MenuRenderTest, ButtonsWhileTheMenuIsClosed) {
  ASSERT_EQ(model->m_buttonBackground.GetWidth(), 25u);
  ASSERT_EQ(model->m_exitGlyph.GetWidth(), 15u);
  ASSERT_EQ(model->m_exitGlyph.GetHeight(), 13u);
  const auto calls = RenderFrame();
  const auto backs = CallsFrom(calls, &model->m_buttonBackground);
  ASSERT_EQ(backs.size(), 2u);
  EXPECT_EQ(backs[0].call, "BltFast");
  EXPECT_EQ(backs[0].dst.left, 772);
  EXPECT_EQ(backs[0].dst.top, 3);
  EXPECT_EQ(backs[0].flags, 5u);
  EXPECT_EQ(backs[0].opacity, 128u);
  EXPECT_EQ(backs[1].dst.left, 744);
  const auto glyph = CallsFrom(calls, &model->m_exitGlyph);
  ASSERT_EQ(glyph.size(), 1u);
  EXPECT_EQ(glyph[0].dst.left, 777);
  EXPECT_EQ(glyph[0].dst.top, 9);
  EXPECT_EQ(glyph[0].flags, 1u);
  const auto users = CallsFrom(calls, &model->m_menuIcons);
  ASSERT_EQ(users.size(), 1u);
  EXPECT_EQ(users[0].call, "Blt");
  EXPECT_EQ(Str(users[0].src), "182,3,207,28");
  EXPECT_EQ(Str(users[0].dst), "745,3,770,28");
}

TEST_F(MenuRenderTest, PanelReplacesTheButtons) {
  model->m_menuOpen = true;
  const auto calls = RenderFrame();
  EXPECT_TRUE(CallsFrom(calls, &model->m_buttonBackground).empty());
  const auto panel = CallsFrom(calls, &model->m_menuBackground);
  ASSERT_EQ(panel.size(), 1u);
  EXPECT_EQ(panel[0].opacity, 196u);
  EXPECT_EQ(panel[0].flags, 5u);
  const auto glyphs = CallsFrom(calls, &model->m_menuIcons);
  ASSERT_EQ(glyphs.size(), 1u);
  EXPECT_EQ(glyphs[0].dst.left, 0);
  EXPECT_EQ(glyphs[0].flags, 1u);
}

TEST_F(MenuRenderTest, CursorBarUnderItsCell) {
  model->m_menuOpen = true;
  model->m_menuCursor = 13;
  bool found = false;
  for (const auto& f : CallsOf(RenderFrame(), "FillRect")) {
    if (f.color == 0xFF0000 && Str(f.dst) == "156,57,173,59") found = true;
  }
  EXPECT_TRUE(found);

  model->m_menuCursor = 0;
  found = false;
  for (const auto& f : CallsOf(RenderFrame(), "FillRect")) {
    if (f.color == 0xFF0000 && Str(f.dst) == "6,27,23,29") found = true;
  }
  EXPECT_TRUE(found);
}

TEST_F(MenuRenderTest, SwitchedOffTogglesAreStruckThrough) {
  model->m_menuOpen = true;
  // Defaults: overview, areas and GPS status off.
  EXPECT_EQ(Marks(RenderFrame(), 0x0000FF),
            (std::vector<std::string>{"DrawLine 32,33,57,58", "DrawLine 92,33,117,58",
                                      "DrawLine 182,33,207,58"}));
  model->m_showMap = false;
  model->m_showOverview = true;
  model->m_showUser = false;
  model->m_showRegionAreas = true;
  model->m_showRegionMarkers = false;
  model->m_showGpsStatus = true;
  model->m_followGps = false;
  const auto marks = Marks(RenderFrame(), 0x0000FF);
  EXPECT_EQ(marks, (std::vector<std::string>{"DrawLine 2,33,27,58", "DrawLine 62,33,87,58",
                                             "DrawLine 122,33,147,58", "DrawLine 152,3,177,28"}));
}

TEST_F(MenuRenderTest, IconModeCell) {
  model->m_menuOpen = true;
  model->m_showOverview = true;
  model->m_showRegionAreas = true;
  model->m_showGpsStatus = true;
  model->m_iconMode = 0;
  EXPECT_EQ(Marks(RenderFrame(), 0x0000FF), (std::vector<std::string>{"DrawLine 152,33,177,58"}));
  model->m_iconMode = 1;
  EXPECT_TRUE(Marks(RenderFrame(), 0x0000FF).empty());
  EXPECT_TRUE(Marks(RenderFrame(), 0xFF0000).empty());
  model->m_iconMode = 2;
  EXPECT_EQ(Marks(RenderFrame(), 0xFF0000), (std::vector<std::string>{"DrawRect 152,33,177,58"}));
}

TEST_F(MenuRenderTest, EachTapModeFramesItsButtonAndShowsItsPrompt) {
  ASSERT_EQ(model->m_menuIcons.GetHeight(), 61u);
  model->m_menuOpen = true;
  struct Case {
    const char* name;
    void (*arm)(CPortrait*);
    const char* cell;
    const char* text;
  } cases[] = {
      {"move user", [](CPortrait* m) { m->m_moveUserMode = true; }, "2,3,27,28",
       "Tap screen to move user position"},
      {"coordinates", [](CPortrait* m) { m->m_showCoordsMode = true; }, "122,3,147,28",
       "Tap screen to display coordinates"},
      {"choose", [](CPortrait* m) { m->m_editSelection = -1; }, "32,3,57,28",
       "Select icon or region to edit"},
      {"region 3", [](CPortrait* m) { m->m_editSelection = 10003; }, "32,3,57,28",
       "Select new position for region 3"},
      {"icon 0", [](CPortrait* m) { m->m_editSelection = 0; }, "32,3,57,28",
       "Select new position for icon"},
      {"icon 9999", [](CPortrait* m) { m->m_editSelection = 9999; }, "32,3,57,28",
       "Select new position for icon"},
  };
  for (const Case& c : cases) {
    model->m_moveUserMode = false;
    model->m_showCoordsMode = false;
    model->m_editSelection = -2;
    c.arm(model.get());
    const auto calls = RenderFrame();
    std::vector<std::string> expected = {std::string("DrawRect ") + c.cell};
    EXPECT_EQ(Marks(calls, 0xFF0000), expected) << c.name;
    const auto texts = CallsOf(calls, "DrawTextA");
    ASSERT_EQ(texts.size(), 1u) << c.name;
    EXPECT_EQ(texts[0].text, c.text);
    EXPECT_EQ(texts[0].dst.left, 400);
    EXPECT_EQ(texts[0].dst.top, 69);
    const auto boxes = CallsOf(calls, "DrawRect");
    EXPECT_EQ(Str(boxes.back().dst), "5,66,795,78") << c.name;
  }
}

TEST_F(MenuRenderTest, LastArmedModeShowsOnTop) {
  model->m_menuOpen = true;
  model->m_moveUserMode = true;
  model->m_showCoordsMode = true;
  model->m_editSelection = -1;
  EXPECT_EQ(Texts(RenderFrame()),
            (std::vector<std::string>{"Tap screen to move user position",
                                      "Tap screen to display coordinates",
                                      "Select icon or region to edit"}));
}

TEST_F(MenuRenderTest, NoPromptWithoutAnArmedMode) {
  model->m_menuOpen = true;
  EXPECT_TRUE(Texts(RenderFrame()).empty());
}

}  // namespace
