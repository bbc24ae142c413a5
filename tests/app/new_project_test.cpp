// `corvane new`: a project written from a map and waypoints, in the program's own format,
// and the inputs it refuses without writing anything.
#include "app/new_project.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "data/region_item.h"
#include "data/system_item.h"
#include "data/xml_item_list.h"
#include "map/portrait.h"
#include "platform/backend_headless/headless.h"
#include "platform/windowing/win_api.h"
#include "support/files.h"
#include "support/scratch_folder.h"

namespace fs = std::filesystem;

namespace {

const std::string kMap = std::string(CORVANE_SOURCE_DIR) + "/demo/map.png";
const std::string kWaypoints = std::string(CORVANE_FIXTURES) + "/app/waypoints.gpx";
const std::string kBounds = "-0.6262,54.490501,-0.6062,54.483501";

using testsupport::ReadAll;

class NewProjectTest : public ::testing::Test {
 protected:
  void SetUp() override { headless::Reset(); }

  NewProjectRequest Request(const std::string& folder = "Castle") const {
    return NewProjectRequest{(root / folder).string(), kMap, kBounds, kWaypoints, ""};
  }

  testsupport::ScratchFolder scratch{"corvane-new"};
  testsupport::CurrentFolder stay{std::filesystem::current_path()};  // a load moves it
  const fs::path root = scratch.Root();
};

TEST_F(NewProjectTest, WaypointsBecomeRegionsInTheProgramsOwnFormat) {
  NewProjectRequest request = Request();
  request.name = "Castle walk";
  const NewProjectResult result = CreateNewProject(request);
  ASSERT_TRUE(result.written) << result.problem;
  const fs::path project = root / "Castle" / "Castle.xml";
  EXPECT_EQ(result.projectFile, project.string());
  EXPECT_EQ(ReadAll(root / "Castle" / "map.png"), ReadAll(kMap));
  EXPECT_TRUE(result.notes.empty());

  CPortrait model(nullptr, GetModuleHandleA(nullptr), 800, 600);
  ASSERT_TRUE(model.LoadProjectFile(project.string().c_str()));
  const CSystemItem* system = model.System();
  EXPECT_STREQ(system->m_projectName, "Castle walk");
  EXPECT_STREQ(system->m_mapFilename, "map.png");
  EXPECT_STREQ(system->m_userFilename, "CastleUsers.xml");
  EXPECT_NEAR(system->m_left, -0.6262, 1e-6);
  EXPECT_NEAR(system->m_bottom, 54.483501, 1e-5);
  EXPECT_EQ(system->m_radius, 17);  // 1.46 metres per map pixel here
  ASSERT_EQ(model.m_regionList->Count(), 4);
  const char* names[] = {"Fish quay", "Swing bridge & (lock)", "Old market place", "Waypoint 4"};
  for (int id = 1; id <= 4; ++id) {
    const auto* region = static_cast<const CRegionItem*>(model.m_regionList->FindById(id));
    ASSERT_NE(region, nullptr) << id;
    EXPECT_STREQ(region->m_description, names[id - 1]);
  }
  const auto* quay = static_cast<const CRegionItem*>(model.m_regionList->FindById(1));
  EXPECT_NEAR(quay->m_gpsX, -0.621840, 1e-5);
  EXPECT_NEAR(quay->m_gpsY, 54.488812, 1e-5);
  EXPECT_EQ(model.m_contentList->Count(), 0);
  EXPECT_EQ(model.m_themeList->Count(), 0);

  // What the program writes back after opening it is what was written.
  const fs::path saved = root / "saved.xml";
  ASSERT_TRUE(model.SaveProjectFile(saved.string().c_str()));
  EXPECT_EQ(ReadAll(saved), ReadAll(project));
}

TEST_F(NewProjectTest, RadiusIsAboutTwentyFiveMetres) {
  // 800 pixels across 0.009 degrees of longitude at the equator: 1.25 metres per pixel;
  // 600 pixels down 0.006 degrees of latitude: 1.11 metres per pixel.
  EXPECT_EQ(RadiusForMetres(0.0, 0.003, 0.009, -0.003, 25.0), 21);
  EXPECT_EQ(RadiusForMetres(0.0, 0.3, 0.9, -0.3, 25.0), 1);  // never below one pixel
}

TEST_F(NewProjectTest, RefusalsWriteNothing) {
  fs::create_directories(root / "Existing");
  std::ofstream(root / "Existing" / "Existing.xml") << "mine";
  std::ofstream(root / "broken.png") << "not an image";
  std::ofstream(root / "broken.gpx") << "<gpx><wpt lat=";
  std::ofstream(root / "track.gpx") << "<gpx><trk><trkseg><trkpt lat=\"1\" lon=\"2\"/>"
                                       "</trkseg></trk></gpx>";
  fs::create_directories(root / "Clash");
  std::ofstream(root / "Clash" / "map.png") << "another map";
  struct Case {
    const char* name;
    std::string folder, map, bounds, waypoints;
    const char* problem;
  };
  const std::string broken = (root / "broken.png").string();
  const Case cases[] = {
      {"three numbers", "A", kMap, "1,2,3", "", "four numbers"},
      {"five numbers", "A", kMap, "1,4,3,2,5", "", "four numbers"},
      {"text", "A", kMap, "west,54.49,-0.6,54.48", "", "west edge 'west' is not a number"},
      {"NaN", "A", kMap, "-0.7,nan,-0.6,54.48", "", "north edge 'nan' is not a number"},
      {"latitude past the pole", "A", kMap, "-0.7,91,-0.6,54.48", "", "-90 to 90"},
      {"reversed east-west", "A", kMap, "-0.6,54.49,-0.7,54.48", "", "west edge must be less"},
      {"zero height", "A", kMap, "-0.7,54.48,-0.6,54.48", "", "north edge must be greater"},
      {"existing project", "Existing", kMap, kBounds, "", "already exists"},
      {"missing map", "A", (root / "none.png").string(), kBounds, "", "not a readable file"},
      {"undecodable map", "A", broken, kBounds, "", "cannot be read as an image"},
      {"broken GPX", "A", kMap, kBounds, (root / "broken.gpx").string(),
       "cannot read the waypoints"},
      {"missing GPX", "A", kMap, kBounds, (root / "none.gpx").string(),
       "cannot read the waypoints"},
      {"track without waypoints", "A", kMap, kBounds, (root / "track.gpx").string(),
       "holds no waypoints"},
      {"another map in the folder", "Clash", kMap, kBounds, "", "is another file"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const NewProjectResult result =
        CreateNewProject({(root / c.folder).string(), c.map, c.bounds, c.waypoints, ""});
    EXPECT_FALSE(result.written);
    EXPECT_NE(result.problem.find(c.problem), std::string::npos) << result.problem;
  }
  EXPECT_FALSE(fs::exists(root / "A"));
  EXPECT_EQ(ReadAll(root / "Existing" / "Existing.xml"), "mine");
  EXPECT_EQ(ReadAll(root / "Clash" / "map.png"), "another map");
  EXPECT_FALSE(fs::exists(root / "Clash" / "Clash.xml"));
}

}  // namespace
