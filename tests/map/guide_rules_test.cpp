// The guide's rules on their own: entity decoding, distance and bearing on the ground, and
// label placement over bunched places.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "guide/geo_distance.h"
#include "guide/guide_text.h"
#include "guide/label_placement.h"

namespace {

TEST(GuideText, EntitiesAreDecodedAndEverythingElseKept) {
  const struct {
    const char* stored;
    const char* shown;
  } cases[] = {
      {"Caf&#233;", "Caf\xC3\xA9"},
      {"&amp;&lt;&gt;&quot;&apos;&nbsp;", "&<>\"'\xC2\xA0"},
      {"&#x263A; &#X1F600;", "\xE2\x98\xBA \xF0\x9F\x98\x80"},
      {"&#0;&#xD800;&#1114112;", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},
      {"AT&T; &unknown; &amp &#; &#x;", "AT&T; &unknown; &amp &#; &#x;"},
      {"&amp;amp;", "&amp;"},    // decoded once, as the file means it
      {"\xFF\xC3", "\xFF\xC3"},  // bad bytes are the text path's to show
  };
  for (const auto& c : cases) EXPECT_EQ(guide::DecodeEntities(c.stored), c.shown) << c.stored;
  EXPECT_EQ(guide::ShownName("  &#32; \t"), "");
  EXPECT_EQ(guide::ShownName(" Abbey ruins "), "Abbey ruins");
}

// Worked by hand: a degree of latitude is R * pi / 180 = 111195.08 m on the mean sphere; a
// step of longitude shrinks with the cosine of the latitude.
TEST(GeoDistance, DistanceAndBearingAtThreeLatitudes) {
  const struct {
    double lat1, lon1, lat2, lon2, metres, bearing;
  } cases[] = {
      {0, 0, 0, 0.001, 111.195, 90},
      {0, 0, 0, 90, 10007557.2, 90},
      {54.49, -0.62, 54.491, -0.62, 111.195, 0},
      {54.49, -0.62, 54.49, -0.619, 64.593, 90},
      {54.49, -0.62, 54.489, -0.621, 128.595, 210.15},
      {-60, 10, -60.001, 10, 111.195, 180},
      {-60, 10, -60, 9.999, 55.598, 270},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message()
                 << c.lat1 << "," << c.lon1 << " to " << c.lat2 << "," << c.lon2);
    EXPECT_NEAR(guide::GroundMetres(c.lat1, c.lon1, c.lat2, c.lon2), c.metres,
                c.metres * 1e-4 + 0.01);
    EXPECT_NEAR(guide::BearingDegrees(c.lat1, c.lon1, c.lat2, c.lon2), c.bearing, 0.05);
  }
  EXPECT_EQ(guide::BearingDegrees(10, 10, 10, 10), 0.0);
}

// Seven pixels a byte; shortening keeps whole bytes and adds a three-byte "…".
std::string FitByBytes(const std::string& text, int maxWidth, int* width) {
  const int keep = maxWidth / 7 - 1;
  if (keep <= 0) {
    *width = 0;
    return {};
  }
  std::string s = text.substr(0, static_cast<std::size_t>(keep)) + "\xE2\x80\xA6";
  *width = (keep + 1) * 7;
  return s;
}

struct Bunch {
  const char* name;
  int count;
  int x0, y0, dx, dy;  // anchors at x0 + i * dx, y0 + i * dy
  int length;          // bytes of each text
};

const Bunch kBunches[] = {
    {"128 places on one spot", 128, 400, 300, 0, 0, 12},
    {"a row 5 pixels apart", 40, 100, 200, 5, 0, 10},
    {"a column against the right edge", 30, 795, 10, 0, 20, 20},
    {"names of 255 bytes", 10, 300, 100, 10, 40, 255},
    {"in the top-left corner", 20, 0, 0, 1, 1, 8},
};

std::vector<guide::LabelRequest> RequestsOf(const Bunch& c) {
  std::vector<guide::LabelRequest> requests;
  for (int i = 0; i < c.count; ++i) {
    guide::LabelRequest r;
    r.text = std::string(static_cast<std::size_t>(c.length), 'a');
    r.width = c.length * 7;
    r.height = 19;
    const int x = c.x0 + i * c.dx, y = c.y0 + i * c.dy;
    r.anchor = RECT{x - 12, y - 12, x + 12, y + 12};
    r.mustShow = i == 0;
    r.below = i % 3 == 2;
    requests.push_back(r);
  }
  return requests;
}

TEST(LabelPlacement, BunchedPlacesNeverOverlapEachOtherTheObstaclesOrTheScreenEdge) {
  const RECT screen{0, 0, 800, 600};
  const RECT user{380, 280, 421, 321};
  for (const Bunch& c : kBunches) {
    SCOPED_TRACE(c.name);
    const auto placed = guide::PlaceLabels(RequestsOf(c), {user}, screen, FitByBytes);
    ASSERT_FALSE(placed.empty());
    EXPECT_EQ(placed.front().request, 0);  // the entered place's name always shows
    for (std::size_t i = 0; i < placed.size(); ++i) {
      const RECT& a = placed[i].box;
      EXPECT_TRUE(a.left >= 0 && a.top >= 0 && a.right <= 800 && a.bottom <= 600) << i;
      if (i > 0) {
        EXPECT_FALSE(guide::Overlaps(a, user)) << i;
      }
      for (std::size_t k = 0; k < i; ++k)
        EXPECT_FALSE(guide::Overlaps(a, placed[k].box)) << i << " " << k;
    }
  }
}

// The user marker walks across the screen, by steps and a pixel at a time: wherever the last
// placement is said to hold, and wherever a placement is made again from the last one, it
// must be the one a fresh placement makes; and it must not be said to hold everywhere.
TEST(LabelPlacement, AKeptPlacementIsTheOneAFreshPlacementWouldMake) {
  const RECT screen{0, 0, 800, 600};
  const RECT controls{0, 560, 735, 600};
  for (const Bunch& c : kBunches) {
    SCOPED_TRACE(c.name);
    const auto requests = RequestsOf(c);
    std::vector<RECT> before{controls, RECT{0, 0, 41, 41}};
    guide::PlacementMemo memo;
    auto kept = guide::PlaceLabels(requests, before, screen, FitByBytes, &memo);
    int holds = 0, moves = 0;
    for (int x = 0; x < 800; x += (x % 2 == 0 ? 1 : 6)) {
      const int y = ((x - x % 2) * 3) % 560;
      const std::vector<RECT> after{controls, RECT{x, y, x + 41, y + 41}};
      ++moves;
      const auto fresh = guide::PlaceLabels(requests, after, screen, FitByBytes);
      const bool held = guide::PlacementHolds(memo.tried, before, after);
      holds += held ? 1 : 0;
      if (!held) kept = guide::PlaceLabels(requests, after, screen, FitByBytes, &memo);
      ASSERT_EQ(fresh.size(), kept.size()) << x;
      for (std::size_t i = 0; i < fresh.size(); ++i) {
        EXPECT_TRUE(guide::SameRect(fresh[i].box, kept[i].box) && fresh[i].text == kept[i].text &&
                    fresh[i].request == kept[i].request)
            << x << " label " << i;
      }
      before = after;
    }
    EXPECT_GT(holds, 0);
    EXPECT_LT(holds, moves);
  }
}

}  // namespace
