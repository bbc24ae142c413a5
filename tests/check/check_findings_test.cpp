// Findings of the checker that depend on single values: numbers with text after them, content
// ids the program cannot tap or edit, the map's proportions, and the UTF-8 it writes.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include "check/check_report.h"
#include "check/project_check.h"
#include "support/png_writer.h"
#include "support/files.h"

namespace fs = std::filesystem;

namespace {

using testsupport::Slurp;

// One region and one content item; each @KEY@ is filled in by the case.
const char kProject[] =
    "<?xml version='1.0' encoding='UTF-8' ?>\n"     // 1
    "<media_portrait>\n"                            // 2
    "<system>\n"                                    // 3
    "\t<map_filename>map.png</map_filename>\n"      // 4
    "\t<left>0</left>\n"                            // 5
    "\t<top>1</top>\n"                              // 6
    "\t<right>@RIGHT@</right>\n"                    // 7
    "\t<bottom>0</bottom>\n"                        // 8
    "\t<radius>@RADIUS@</radius>\n"                 // 9
    "\t<theme_rels>@RELS@</theme_rels>\n"           // 10
    "</system>\n"                                   // 11
    "<region_list>\n<region>\n"                     // 12, 13
    "\t<region_id>1</region_id>\n"                  // 14
    "\t<gps_x>@GPSX@</gps_x>\n"                     // 15
    "\t<gps_y>0.5</gps_y>\n"                        // 16
    "</region>\n</region_list>\n"                   // 17, 18
    "<content_list>\n<content>\n"                   // 19, 20
    "\t<content_id>@ID@</content_id>\n"             // 21
    "\t<region_id>1</region_id>\n"                  // 22
    "\t<gps_x>0.5</gps_x>\n\t<gps_y>0.5</gps_y>\n"  // 23, 24
    "</content>\n</content_list>\n</media_portrait>\n";

TEST(CheckFindings, SingleValuesGiveTheirCodes) {
  struct Case {
    std::map<std::string, std::string> values;  // over the defaults below
    int mapWidth, mapHeight;
    const char* code;
    int line;  // 0: the code must not be reported
  };
  const Case cases[] = {
      {{{"RADIUS", "48,5"}}, 800, 600, "number-text", 9},
      {{{"GPSX", "0.5 W"}}, 800, 600, "number-text", 15},
      {{{"RELS", "1 yes"}}, 800, 600, "number-text", 10},
      {{{"ID", "7a"}}, 800, 600, "number-text", 21},
      {{{"RADIUS", " 48.5 "}}, 800, 600, "number-text", 0},
      {{{"ID", "-1"}}, 800, 600, "content-id-negative", 21},
      {{{"ID", "10000"}}, 800, 600, "content-id-large", 21},
      {{{"ID", "9999"}}, 800, 600, "content-id-large", 0},
      {{{"ID", "0"}}, 800, 600, "content-id-negative", 0},
      // Scaled in proportion, within 2 %, and beyond it.
      {{}, 160, 120, "map-stretched", 0},
      {{}, 162, 120, "map-stretched", 0},
      {{}, 164, 120, "map-stretched", 4},
      {{}, 160, 110, "map-stretched", 4},
      // The picture's shape against the ground inside the edges (here near the equator).
      {{{"RIGHT", "1.3334"}}, 800, 600, "bounds-aspect", 0},
      {{{"RIGHT", "1.31"}}, 800, 600, "bounds-aspect", 0},
      {{{"RIGHT", "1.3"}}, 800, 600, "bounds-aspect", 7},
      {{{"RIGHT", "1.38"}}, 800, 600, "bounds-aspect", 7},
  };
  const fs::path folder =
      fs::temp_directory_path() / ("corvane_check_findings_" + std::to_string(getpid()));
  for (const Case& c : cases) {
    const std::string label = c.code + std::string(" ") + std::to_string(c.mapWidth) + " " +
                              (c.values.empty() ? "" : c.values.begin()->second);
    SCOPED_TRACE(label);
    fs::remove_all(folder);
    fs::create_directories(folder);
    std::map<std::string, std::string> values{
        {"RADIUS", "10"}, {"RELS", "1"}, {"GPSX", "0.5"}, {"ID", "1"}, {"RIGHT", "1"}};
    for (const auto& [key, value] : c.values) values[key] = value;
    std::string text = kProject;
    for (const auto& [key, value] : values)
      text.replace(text.find("@" + key + "@"), key.size() + 2, value);
    std::ofstream(folder / "P.xml") << text;
    CGapiSurface map;
    ASSERT_EQ(map.CreateSurface(GDSURFACE_SYSTEMMEMORY, c.mapWidth, c.mapHeight), GD_OK);
    ASSERT_TRUE(png::WriteFile((folder / "map.png").string(), png::Encode(map)));

    FILE* out = tmpfile();
    FILE* err = tmpfile();
    RunProjectCheck((folder / "P.xml").c_str(), true, out, err);
    const std::string report = Slurp(out);
    Slurp(err);
    const std::string entry = std::string("\"code\": \"") + c.code + "\", \"file\": ";
    const size_t at = report.find(entry);
    if (c.line == 0) {
      EXPECT_EQ(at, std::string::npos) << report;
      continue;
    }
    ASSERT_NE(at, std::string::npos) << report;
    const size_t line = report.find("\"line\": ", at) + 8;
    EXPECT_EQ(std::atoi(report.c_str() + line), c.line) << report;
  }
  fs::remove_all(folder);
}

// Whatever bytes a project holds, the report is valid UTF-8: overlong forms, surrogates and
// values past U+10FFFF are shown as \xNN like any other stray byte.
TEST(CheckFindings, QuotedTextIsStrictUtf8) {
  const struct {
    const char* bytes;
    const char* shown;
  } cases[] = {
      {"caf\xC3\xA9 \xF0\x9F\x98\x80", "\"caf\xC3\xA9 \xF0\x9F\x98\x80\""},
      {"\xC0\xAF", "\"\\xC0\\xAF\""},                    // overlong '/'
      {"\xC1\xBF", "\"\\xC1\\xBF\""},                    // overlong DEL
      {"\xE0\x80\xAF", "\"\\xE0\\x80\\xAF\""},           // overlong in three bytes
      {"\xF0\x8F\xBF\xBF", "\"\\xF0\\x8F\\xBF\\xBF\""},  // overlong in four bytes
      {"\xED\xA0\x80", "\"\\xED\\xA0\\x80\""},           // a surrogate
      {"\xF4\x90\x80\x80", "\"\\xF4\\x90\\x80\\x80\""},  // past U+10FFFF
      {"\xF5\x80\x80\x80", "\"\\xF5\\x80\\x80\\x80\""},  // leads F5 to F7
      {"\xF7\xBF\xBF\xBF", "\"\\xF7\\xBF\\xBF\\xBF\""},
      {"a\tb", "\"a\\x09b\""},
  };
  for (const auto& c : cases) EXPECT_EQ(Quote(c.bytes), c.shown) << c.shown;

  // Messages and file names are written the same way in both forms of the report.
  for (bool json : {false, true}) {
    CCheckReport report;
    report.Error("not-a-number", "P\xC1.xml", 3, "holds \xED\xA0\x80 and \xF5!");
    FILE* out = tmpfile();
    json ? report.WriteJson(out) : report.WriteText(out);
    const std::string written = Slurp(out);
    const std::string file = json ? "P\\\\xC1.xml" : "P\\xC1.xml";
    const std::string message =
        json ? "holds \\\\xED\\\\xA0\\\\x80 and \\\\xF5!" : "holds \\xED\\xA0\\x80 and \\xF5!";
    EXPECT_NE(written.find(file), std::string::npos) << written;
    EXPECT_NE(written.find(message), std::string::npos) << written;
  }
}

}  // namespace
