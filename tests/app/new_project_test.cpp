// `corvane new`: a project written from a map and waypoints, in the program's own format,
// and the inputs it refuses without writing anything.
#include "app/new_project.h"

#include <gtest/gtest.h>

#include <algorithm>
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
#include "support/png_writer.h"

namespace fs = std::filesystem;

namespace {

const std::string kMap = std::string(CORVANE_SOURCE_DIR) + "/demo/map.png";
const std::string kWaypoints = std::string(CORVANE_FIXTURES) + "/app/waypoints.gpx";
const std::string kBounds = "-0.6262,54.491402,-0.6062,54.482601";  // the demo's

using testsupport::ReadAll;

class NewProjectTest : public ::testing::Test {
 protected:
  void SetUp() override { headless::Reset(); }

  NewProjectRequest Request(const std::string& folder = "Castle") const {
    return NewProjectRequest{(root / folder).string(), kMap, kBounds, kWaypoints, "", ""};
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
  EXPECT_NEAR(system->m_bottom, 54.482601, 1e-5);
  EXPECT_EQ(system->m_radius, 15);  // 1.62 metres per map pixel here
  ASSERT_EQ(model.m_regionList->Count(), 4);
  // Written for other XML tools too: the reader keeps the entities as they stand.
  const char* names[] = {"Fish quay", "Swing bridge &amp; &lt;lock&gt;", "Old market place",
                         "Waypoint 4"};
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
  std::ofstream(root / "far.gpx") << "<gpx><wpt lat=\"54.487\" lon=\"-1.4\"><name>Far</name>"
                                     "</wpt></gpx>";
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
      // The users file's name, "<folder>Users.xml", must fit the reader's 127 characters.
      {"long folder name", std::string(119, 'f'), kMap, kBounds, "", "at most 118 characters"},
      {"'&' in the folder name", "A & B", kMap, kBounds, "", "without '&'"},
      // A waypoint about 50 km west of the map, which check calls an error.
      {"waypoint outside the bounds", "A", kMap, kBounds, (root / "far.gpx").string(),
       "lies outside the bounds"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const NewProjectResult result =
        CreateNewProject({(root / c.folder).string(), c.map, c.bounds, c.waypoints, "", ""});
    EXPECT_FALSE(result.written);
    EXPECT_NE(result.problem.find(c.problem), std::string::npos) << result.problem;
  }
  EXPECT_FALSE(fs::exists(root / "A"));
  EXPECT_FALSE(fs::exists(root / "A & B"));
  EXPECT_EQ(ReadAll(root / "Existing" / "Existing.xml"), "mine");
  EXPECT_EQ(ReadAll(root / "Clash" / "map.png"), "another map");
  EXPECT_FALSE(fs::exists(root / "Clash" / "Clash.xml"));
}

// Values are written as given: no rounding through single precision, names escaped for other
// XML tools, every value within what the reader keeps, and the empty lists as empty elements.
TEST_F(NewProjectTest, WritesValuesAsGivenEscapedAndWithinTheReadersLimits) {
  std::ofstream(root / "one.gpx")
      << "<gpx><wpt lat=\"51.7555\" lon=\"-1.2575\"><name>Castle &amp; Barbican &lt;"
      << std::string(150, 'x') << "</name></wpt></gpx>";
  const std::string folder(118, 'f');  // the longest whose users file's name fits
  NewProjectResult result =
      CreateNewProject({(root / folder).string(), kMap, "-1.2600,51.7560,-1.2500,51.7500",
                        (root / "one.gpx").string(), "Castle & Barbican", ""});
  ASSERT_TRUE(result.written) << result.problem;
  const std::string text = ReadAll(result.projectFile);
  for (const std::string& want :
       {std::string("\t<top>51.756000</top>\n"), std::string("\t\t<gps_y>51.755500</gps_y>\n"),
        std::string("\t<project_name>Castle &amp; Barbican</project_name>\n"),
        "\t<user_filename>" + folder + "Users.xml</user_filename>\n",
        std::string("<character_list>\n</character_list>\n"),
        std::string("<location_list>\n</location_list>\n"),
        std::string("<theme_list>\n</theme_list>\n"), std::string("<time_list>\n</time_list>\n"),
        std::string("<content_list>\n</content_list>\n")})
    EXPECT_NE(text.find(want), std::string::npos) << want << "\n" << text;
  // The description is cut to 127 characters between entities, never inside one.
  const size_t open = text.find("<region_description>") + 20;
  const std::string description = text.substr(open, text.find("</region_description>") - open);
  EXPECT_EQ(description, "Castle &amp; Barbican &lt;" + std::string(101, 'x'));

  // The program reads back every value whole and writes the file back unchanged.
  CPortrait model(nullptr, GetModuleHandleA(nullptr), 800, 600);
  ASSERT_TRUE(model.LoadProjectFile(result.projectFile.c_str()));
  EXPECT_EQ(std::string(model.System()->m_userFilename), folder + "Users.xml");
  const fs::path saved = root / "saved.xml";
  ASSERT_TRUE(model.SaveProjectFile(saved.string().c_str()));
  EXPECT_EQ(ReadAll(saved), text);
}

// A map in the drawn proportions is only scaled; a note is given only for one that is not.
TEST_F(NewProjectTest, OnlyAMapOutOfProportionIsCalledStretched) {
  const struct {
    DWORD width, height;
    bool noted;
  } cases[] = {{160, 120, false}, {160, 110, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.height);
    const fs::path map = root / ("map" + std::to_string(c.height) + ".png");
    CGapiSurface image;
    ASSERT_EQ(image.CreateSurface(GDSURFACE_SYSTEMMEMORY, c.width, c.height), GD_OK);
    ASSERT_TRUE(png::WriteFile(map.string(), png::Encode(image)));
    const NewProjectResult result = CreateNewProject(
        {(root / ("M" + std::to_string(c.height))).string(), map.string(), kBounds, "", "", ""});
    ASSERT_TRUE(result.written) << result.problem;
    const bool stretched = std::any_of(result.notes.begin(), result.notes.end(), [](auto& n) {
      return n.find("stretches it to 800 x 600") != std::string::npos;
    });
    EXPECT_EQ(stretched, c.noted);
  }
}

}  // namespace
