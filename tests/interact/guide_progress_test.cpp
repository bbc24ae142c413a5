// The guide as the visitor meets it: progress and place states after viewings and a visitor
// switch, the arrival cue once per entry and held back by playback, the way to the next
// place, and a project without names that only gains its progress line.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "support/model_builder.h"

namespace {

using guide::PlaceState;

class GuideTest : public testmodel::ModelTest {
 protected:
  void SetUp() override {
    ModelTest::SetUp();
    AddMap();
    AddSystem(30.0);
    // The demo's corner of the coast: 0.02 degrees of longitude across 800 pixels.
    model->m_gpsTopLeft.Set(-0.6262, 54.4905);
    model->m_gpsBottomRight.Set(-0.6062, 54.4835);
  }
  CRegionItem* Place(int id, double x, double y, const char* name) {
    CRegionItem* r = AddRegion(id, x, y, 1);
    std::strncpy(r->m_description, name, sizeof r->m_description - 1);
    const CGeoPoint g = model->MapToGps(CGeoPoint(x, y));
    r->m_gpsX = g.x;
    r->m_gpsY = g.y;
    return r;
  }
  // The texts of the legible path in the frame just drawn.
  std::vector<std::string> Texts() {
    std::vector<std::string> out;
    for (const auto& c : testmodel::CallsOf(RenderFrame(), "DrawLegibleText"))
      out.push_back(c.text);
    return out;
  }
  bool Shows(const std::string& text) {
    const auto texts = Texts();
    return std::find(texts.begin(), texts.end(), text) != texts.end();
  }
  void Walk(int x, int y) {
    model->SetUserPosition(x, y);
    RenderFrame();
  }
};

TEST_F(GuideTest, ProgressAndPlaceStatesFollowViewingsAndTheVisitor) {
  Place(1, 200, 300, "Fish quay");
  Place(2, 600, 300, "Abbey &amp; ruins");
  Place(3, 400, 100, "");
  CContentItem* a = AddContent(11, 1, 190, 330, -1);
  CContentItem* b = AddContent(12, 1, 230, 330, -1);
  AddContent(13, 2, 600, 330, -1);
  AddContent(14, 0, 0, 0, -1);
  CUserContext* ann = AddUser(1, "Ann");
  CUserContext* bob = AddUser(2, "Bob");
  model->SetCurrentUser(ann);
  Walk(200, 300);
  EXPECT_TRUE(Shows("0 of 3 places \xC2\xB7 0 of 4 items"));
  model->ChooseContent(a);
  EXPECT_TRUE(Shows("0 of 3 places \xC2\xB7 1 of 4 items"));
  model->ChooseContent(b);
  EXPECT_TRUE(Shows("1 of 3 places \xC2\xB7 2 of 4 items"));
  EXPECT_EQ(model->m_guide.places[0], PlaceState::Visited);
  EXPECT_EQ(model->m_guide.places[1], PlaceState::NeverEntered);

  Walk(400, 300);  // out of every place
  model->SetCurrentUser(bob);
  EXPECT_TRUE(Shows("0 of 3 places \xC2\xB7 0 of 4 items"));
  EXPECT_EQ(model->m_guide.places[0], PlaceState::NeverEntered);
  Walk(200, 300);
  Walk(400, 300);
  EXPECT_EQ(model->m_guide.places[0], PlaceState::Entered);  // walked through, nothing seen
  model->SetCurrentUser(ann);
  EXPECT_TRUE(Shows("1 of 3 places \xC2\xB7 2 of 4 items"));
}

TEST_F(GuideTest, TheArrivalCueComesOncePerEntryAndWaitsForPlaybackToEnd) {
  Place(1, 200, 300, "Fish quay");
  Place(2, 600, 300, "Abbey ruins");
  Walk(400, 300);
  EXPECT_FALSE(model->StepGuide(0));  // starting somewhere is no arrival

  auto shown = [&](const char* text) {
    const auto texts = Texts();
    return std::count(texts.begin(), texts.end(), text);
  };
  Walk(200, 300);
  EXPECT_TRUE(model->StepGuide(100));
  EXPECT_EQ(shown("Fish quay"), 2);  // its label and its banner
  Walk(210, 300);                    // still inside
  EXPECT_FALSE(model->StepGuide(200));
  model->StepGuide(100 + guide::kBannerMs);
  EXPECT_EQ(shown("Fish quay"), 1);  // the banner is gone

  Walk(400, 300);
  model->ToggleVideoPlaying();
  Walk(600, 300);
  EXPECT_FALSE(model->StepGuide(5000));
  model->ToggleVideoPlaying();
  EXPECT_TRUE(model->StepGuide(6000));

  // Entered and left again while media played: nothing is left to announce.
  model->ToggleVideoPlaying();
  Walk(200, 300);
  Walk(400, 300);
  model->ToggleVideoPlaying();
  EXPECT_FALSE(model->StepGuide(7000));

  // A place moved onto the visitor by an edit is not an arrival.
  model->m_editSelection = 10000 + 1;
  model->HandleMapTap(400, 300);
  RenderFrame();
  EXPECT_FALSE(model->StepGuide(8000));
}

TEST_F(GuideTest, TheWayToTheNearestPlaceNotVisitedIsMeasuredOnTheGround) {
  Place(1, 200, 300, "Fish quay");
  Place(2, 700, 300, "Abbey ruins");
  Place(3, 200, 500, "Far stair");
  CContentItem* item = AddContent(11, 1, 0, 0, -1);
  model->SetCurrentUser(AddUser(1, "Ann"));
  const CGeoPoint at = model->MapToGps(CGeoPoint(400, 300));
  model->ApplyGpsFix(at.y, at.x, 5.0, 0);
  // 200 pixels of longitude are 0.005 degrees: 111195 m * 0.005 * cos(54.4870) = 323 m.
  EXPECT_TRUE(Shows("Fish quay, 323 m"));
  const auto lines = testmodel::CallsOf(RenderFrame(), "DrawLine");
  // The arrow at the user marker points west, its tip 44 pixels out.
  EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [](const headless::DrawCall& c) {
    return c.dst.right == 400 - 44 && c.dst.bottom == 300;
  }));
  Walk(200, 300);
  model->ChooseContent(item);
  // 200 pixels of latitude are 0.0023333 degrees: 259 m.
  EXPECT_TRUE(Shows("Far stair, 259 m")) << testing::PrintToString(Texts());
}

TEST_F(GuideTest, APlaceWithoutNameGetsNoLabelAndTheMapOnlyItsProgressLine) {
  AddRegion(1, 200, 300, 1);
  AddRegion(2, 600, 300, 0);
  AddContent(11, 1, 200, 330, -1);
  Walk(200, 300);
  EXPECT_EQ(Texts(), std::vector<std::string>{"0 of 2 places \xC2\xB7 0 of 1 items"});
}

}  // namespace
