// Map edges from the world file beside a map: the files read and refused, and conversions
// from projected systems checked against points whose longitude and latitude are known.
#include "app/new_georeference.h"

#include <gtest/gtest.h>

#include <string>

#include "app/new_project.h"
#include "support/files.h"
#include "support/scratch_folder.h"

namespace {

// Centres of the pixels 0.00001 degrees apart from 10.000005 E, 50.000005 N: the edges of an
// 800 x 600 map lie at 10 E, 50.00001 N, 10.008 E and 49.99401 N.
const char kDegrees[] = "0.00001\n0\n0\n-0.00001\n10.000005\n50.000005\n";

TEST(WorldFile, FilesReadAndRefused) {
  struct Case {
    const char* name;
    const char* file;  // beside town.png
    std::string text;
    const char* crs;
    const char* problem;  // empty: read, with the edges above
  };
  const Case cases[] = {
      {"plain", "town.pgw", kDegrees, "", ""},
      {"CRLF, blank lines, signs", "town.pngw",
       "+1e-5\r\n\r\n0\r\n0.0\r\n-0.00001\r\n10.000005\r\n50.000005\r\n\r\n", "", ""},
      {"upper-case name", "town.PGW", kDegrees, "", ""},
      {"generic name", "town.wld", kDegrees, "", ""},
      {"none", "other.pgw", kDegrees, "", "no world file beside the map"},
      {"text", "town.pgw", "0.00001\n0\n0\n-0.00001\nten\n50\n", "", "line 5: 'ten' is not"},
      {"NaN", "town.pgw", "nan\n0\n0\n-0.00001\n10\n50\n", "", "line 1: 'nan' is not"},
      {"infinity", "town.pgw", "0.00001\n0\n0\n-inf\n10\n50\n", "", "line 4: '-inf' is not"},
      {"two a line", "town.pgw", "0.00001 0\n0\n-0.00001\n10\n50\n", "", "more than one value"},
      {"five numbers", "town.pgw", "0.00001\n0\n0\n-0.00001\n10\n", "", "holds 5 numbers"},
      {"seven numbers", "town.pgw", std::string(kDegrees) + "1\n", "", "a seventh"},
      {"zero pixel width", "town.pgw", "0\n0\n0\n-0.00001\n10\n50\n", "", "pixel width"},
      {"negative pixel width", "town.pgw", "-1e-5\n0\n0\n-1e-5\n10\n50\n", "", "pixel width"},
      {"south up", "town.pgw", "1e-5\n0\n0\n1e-5\n10\n50\n", "", "pixel height"},
      {"zero pixel height", "town.pgw", "1e-5\n0\n0\n0\n10\n50\n", "", "pixel height"},
      {"turned", "town.pgw", "1e-5\n1e-7\n1e-7\n-1e-5\n10\n50\n", "", "turns the map by 0.57"},
      {"metres without a system", "town.pgw", "1\n0\n0\n-1\n500000\n5000000\n", "",
       "name the system it is in with --crs"},
      {"across the date line", "town.pgw", "0.001\n0\n0\n-0.001\n179.9\n50\n", "",
       "across the date line"},
      {"unknown system", "town.pgw", "1\n0\n0\n-1\n500000\n5000000\n", "EPSG:99999",
       "not a coordinate system"},
      {"not a code", "town.pgw", "1\n0\n0\n-1\n500000\n5000000\n", "+proj=utm", "takes a code"},
      {"not a map's system", "town.pgw", "1\n0\n0\n-1\n500000\n5000000\n", "EPSG:5703",
       "not a horizontal coordinate system"},
      // 100 km east of the zone's middle at 60 N, grid north is turned about 1.2 degrees.
      {"turned by the projection", "town.pgw", "1\n0\n0\n-1\n600000\n6650000\n", "EPSG:32633",
       "pixels off north-up"},
      {"projected across the date line", "town.pgw", "100\n0\n0\n-100\n19990000\n6000000\n",
       "EPSG:3857", "across the date line"},
      // Web Mercator wraps x far beyond the globe's width back onto it, out of order.
      {"projected far off the globe", "town.pgw", "999999\n0\n0\n-5\n4e23\n50\n",
       "EPSG:3857", "out of order or off the globe"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    testsupport::ScratchFolder scratch{"corvane-world"};
    scratch.Write(c.file, c.text);
    const Georeference placed = BoundsFromWorldFile(scratch.Path("town.png"), 800, 600, c.crs);
    if (*c.problem != '\0') {
      EXPECT_FALSE(placed.ok);
      EXPECT_NE(placed.problem.find(c.problem), std::string::npos) << placed.problem;
      continue;
    }
    ASSERT_TRUE(placed.ok) << placed.problem;
    EXPECT_EQ(placed.worldFile, scratch.Path(c.file));
    EXPECT_NEAR(placed.bounds.west, 10.0, 1e-9);
    EXPECT_NEAR(placed.bounds.north, 50.00001, 1e-9);
    EXPECT_NEAR(placed.bounds.east, 10.008, 1e-9);
    EXPECT_NEAR(placed.bounds.south, 49.99401, 1e-9);
  }
}

// Web Mercator's (1113194.908, 6446275.841) is 10 E, 50 N; UTM zone 33N's (500000, 0) is
// 15 E on the equator. Each is the top-left corner of a map of 1-metre pixels.
TEST(WorldFile, ProjectedCornersLandOnKnownPoints) {
  const struct {
    const char* crs;
    double x, y, west, north;
  } cases[] = {{"EPSG:3857", 1113194.9079327357, 6446275.841017161, 10.0, 50.0},
               {"epsg:32633", 500000.0, 0.0, 15.0, 0.0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.crs);
    testsupport::ScratchFolder scratch{"corvane-world"};
    char text[160];
    std::snprintf(text, sizeof text, "1\n0\n0\n-1\n%.10f\n%.10f\n", c.x + 0.5, c.y - 0.5);
    scratch.Write("town.jgw", text);
    const Georeference placed = BoundsFromWorldFile(scratch.Path("town.jpg"), 800, 600, c.crs);
    ASSERT_TRUE(placed.ok) << placed.problem;
    // The west edge is the mean of two corners; near the middle of a map this small the
    // corners are within a hundredth of a pixel of each other.
    EXPECT_NEAR(placed.bounds.west, c.west, 1e-6);
    EXPECT_NEAR(placed.bounds.north, c.north, 1e-6);
    EXPECT_TRUE(placed.notes.empty());
  }
}

// Without --bounds the edges come from the world file and are what the project holds.
TEST(WorldFile, NewProjectTakesItsEdgesFromTheWorldFile) {
  testsupport::ScratchFolder scratch{"corvane-world"};
  const std::string map = scratch.Path("town.png");
  std::filesystem::copy_file(std::string(CORVANE_SOURCE_DIR) + "/demo/map.png", map);
  scratch.Write("town.pgw", kDegrees);
  NewProjectResult result = CreateNewProject({scratch.Path("Town"), map, "", "", "", ""});
  ASSERT_TRUE(result.written) << result.problem;
  const std::string text = testsupport::ReadAll(result.projectFile);
  EXPECT_NE(text.find("\t<left>10.000000</left>\n\t<top>50.000010</top>\n"
                      "\t<right>10.008000</right>\n\t<bottom>49.994010</bottom>\n"),
            std::string::npos)
      << text;
  // Square pixels of a degree each way are stretched east-west at 50 N, and the author is
  // told so.
  ASSERT_EQ(result.notes.size(), 1u);
  EXPECT_NE(result.notes[0].find("distances east-west are drawn 56% too long"),
            std::string::npos)
      << result.notes[0];
  result = CreateNewProject({scratch.Path("Other"), map, "10,50.1,10.1,50", "", "", "EPSG:3857"});
  EXPECT_NE(result.problem.find("--bounds are always in degrees"), std::string::npos);
}

}  // namespace
