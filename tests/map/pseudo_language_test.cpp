// In a pseudo-language whose translations are the English in brackets, every text the map
// view, its status lines, the menu's prompts and the page view show comes bracketed: none is
// left out of the catalogues.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>

#include "platform/text/tr.h"
#include "support/model_builder.h"
#include "support/pseudo_text.h"

namespace {

class PseudoLanguage : public testmodel::ModelTest {
 protected:
  void SetUp() override {
    ModelTest::SetUp();
    setenv("CORVANE_LOCALEDIR", CORVANE_PSEUDO_CATALOGUES, 1);
    tr::InitTexts();
    tr::UseLanguage("xx");
    AddMap();
    AddSystem(30.0);
    model->m_currentUser = AddUser(1, "Ann", 3.45);
  }
  void TearDown() override {
    tr::UseLanguage("");
    unsetenv("CORVANE_LOCALEDIR");
    ModelTest::TearDown();
  }
};

TEST_F(PseudoLanguage, EveryTextOfTheMapMenuAndPageViewIsTranslated) {
  const struct {
    const char* scene;
    std::function<void(CPortrait*)> set;
  } scenes[] = {
      {"status lines", [](CPortrait* m) { m->m_showGpsStatus = true; }},
      {"move prompt", [](CPortrait* m) { m->m_menuOpen = m->m_moveUserMode = true; }},
      {"coordinates prompt", [](CPortrait* m) { m->m_showCoordsMode = true; }},
      {"edit prompt", [](CPortrait* m) { m->m_editSelection = -1; }},
      {"region prompt", [](CPortrait* m) { m->m_editSelection = 10003; }},
      {"icon prompt", [](CPortrait* m) { m->m_editSelection = 4; }},
      {"page view", [](CPortrait* m) { m->m_page = m->m_pageCount = 1; }},
  };
  // A word outside brackets that is not the visitor's name is English left unmarked.
  for (const auto& scene : scenes) {
    SCOPED_TRACE(scene.scene);
    scene.set(model.get());
    int texts = 0;
    for (const auto& call : RenderFrame()) {
      if (call.call != "DrawTextA" && call.call != "DrawLegibleText") continue;
      ++texts;
      EXPECT_FALSE(testsupport::HasUnmarkedWord(call.text, {"Ann"})) << call.text;
    }
    EXPECT_GT(texts, 0);
  }
}

}  // namespace
