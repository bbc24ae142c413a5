// Whole frames of the map view and the page view compared byte for byte with reference
// images. CORVANE_UPDATE_REFERENCES=1 rewrites the references; a mismatch leaves
// <name>-actual.png in the build folder's test output to look at.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "support/model_builder.h"
#include "support/png_writer.h"

namespace {

const std::string kReferenceDir = std::string(CORVANE_FIXTURES) + "/map/reference/";

// True when bytes match the reference image name. On a mismatch the frame is written as
// <name>-actual.png under the build folder (never among the fixtures) and *why says where.
bool MatchesReference(const std::vector<uint8_t>& bytes, const std::string& name,
                      std::string* why) {
  std::vector<uint8_t> expected;
  if (!png::ReadFile(kReferenceDir + name + ".png", &expected)) {
    *why = "no reference " + kReferenceDir + name +
           ".png; run with CORVANE_UPDATE_REFERENCES=1 to make it";
    return false;
  }
  if (bytes == expected) return true;
  const std::filesystem::path out = std::filesystem::path(CORVANE_TEST_OUTPUT) / "reference";
  std::filesystem::create_directories(out);
  const std::string actual = (out / (name + "-actual.png")).string();
  png::WriteFile(actual, bytes);
  *why = name + " differs from its reference; see " + actual;
  return false;
}

TEST(ReferenceImages, AMismatchIsWrittenToTheBuildFolderNotBesideTheReference) {
  std::filesystem::remove(std::filesystem::path(CORVANE_TEST_OUTPUT) / "reference" /
                          "map_view-actual.png");
  std::string why;
  EXPECT_FALSE(MatchesReference({1, 2, 3}, "map_view", &why));
  EXPECT_FALSE(std::filesystem::exists(kReferenceDir + "map_view-actual.png"));
  EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(CORVANE_TEST_OUTPUT) / "reference" /
                                      "map_view-actual.png"))
      << why;
}

class ReferenceTest : public testmodel::ModelTest {
 protected:
  void SetUp() override {
    ModelTest::SetUp();
    AddMap();
    PaintMap();
    AddSystem(30.0, REL_THEMES);
    MakeIcons({{35, 26}, {35, 26}, {35, 26}, {35, 26}, {35, 26}, {35, 26}});
    PaintIcons();
  }

  // Sea, a coast, two roads and a park: enough shape to see where things land.
  void PaintMap() {
    CGapiSurface* map = model->m_mapSurface;
    auto fill = [&](int l, int t, int r, int b, DWORD c) {
      const RECT rc{l, t, r, b};
      map->FillRect(&rc, c, 0, nullptr);
    };
    fill(0, 0, 800, 600, 0x9CC48A);
    fill(0, 430, 800, 600, 0x4F7FB8);
    fill(0, 400, 800, 430, 0xE3D5A5);
    fill(0, 180, 800, 196, 0xB8B8B0);
    fill(330, 0, 346, 400, 0xB8B8B0);
    fill(520, 60, 700, 160, 0x6FA060);
    for (int i = 0; i < 12; ++i) fill(40 + 60 * i, 220, 80 + 60 * i, 250, 0xC97A5A);
  }

  void PaintIcons() {
    for (int i = 0; i < model->m_iconSurfaceCount; ++i) {
      CGapiSurface& s = model->m_iconSurfaces[i];
      const RECT all{0, 0, 35, 26};
      s.FillRect(&all, 0xFF00FF, 0, nullptr);
      const RECT body{0, 0, 32, 24};
      s.FillRect(&body, IconColour(i) * 3 % 0xFFFFFF, 0, nullptr);
      const RECT inner{6, 5, 26, 19};
      s.FillRect(&inner, 0xF0F0E8, 0, nullptr);
      const RECT shadowRight{32, 2, 35, 26};
      s.FillRect(&shadowRight, 0x000000, 0, nullptr);
      const RECT shadowBottom{2, 24, 35, 26};
      s.FillRect(&shadowBottom, 0x000000, 0, nullptr);
    }
  }

  // A harbour with three regions, available, related, placed and viewed content.
  void BuildScene() {
    AddRegion(1, 200, 300, 1);
    AddRegion(2, 420, 120, 3);
    AddRegion(3, 640, 330, 6);
    model->m_userPos.Set(410, 130);

    CContentItem* a = AddContent(11, 2, 395, 105, 0);
    a->m_themes[1] = true;
    a->m_themeCount = 1;
    AddContent(12, 2, 450, 140, 1);
    AddContent(13, 3, 640, 330, 2)->m_themes[1] = true;
    AddContent(14, 0, 0, 0, 3)->m_themes[1] = true;
    AddContent(15, 0, 0, 0, 4)->m_themes[1] = true;
    AddContent(16, 1, 200, 300, 5);

    CUserContext* user = AddUser(1, "Ann", 3.45);
    headless::SetClock(1000);
    model->SetCurrentUser(user);
    model->ChooseContent(a);
    headless::AdvanceClock(75000);
  }

  void CheckReference(const std::string& name) {
    const std::vector<uint8_t> bytes = png::Encode(back);
    const char* update = std::getenv("CORVANE_UPDATE_REFERENCES");
    if (update != nullptr && std::string(update) == "1") {
      ASSERT_TRUE(png::WriteFile(kReferenceDir + name + ".png", bytes)) << name;
      return;
    }
    std::string why;
    EXPECT_TRUE(MatchesReference(bytes, name, &why)) << why;
  }
};

TEST_F(ReferenceTest, MapViewWithMarkersIconsAndOverview) {
  BuildScene();
  model->m_showOverview = true;
  RenderFrame();
  CheckReference("map_view");
}

TEST_F(ReferenceTest, MapViewWithAreasMenuPromptAndStatusLine) {
  BuildScene();
  model->m_showRegionAreas = true;
  model->m_iconMode = 2;
  model->m_menuOpen = true;
  model->m_menuCursor = 13;
  model->m_moveUserMode = true;
  model->m_showGpsStatus = true;
  headless::SetPositionState(platform::PositionState::Waiting);
  RenderFrame();
  CheckReference("map_view_menu");
}

TEST_F(ReferenceTest, PageViewOverTheMap) {
  BuildScene();
  RenderFrame();
  CUserContext* user = model->m_currentUser;
  for (int id : {12, 13, 14, 16, 15, 11, 12}) user->AddViewed(id);
  model->m_page = 1;
  model->m_pageCount = 2;
  model->m_pageIconWidth = 35;
  model->m_pageIconHeight = 26;
  model->m_pageColumns = 5;
  model->m_pageRows = 6;
  model->m_pageGapX = 2;
  model->m_pageGapY = 4;
  model->m_pageMarginX = 12;
  model->m_pageMarginY = 48;
  RenderFrame();
  CheckReference("page_view");
}

}  // namespace
