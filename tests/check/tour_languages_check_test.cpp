// The tour's languages for authors: the template of its texts, and what `check` says about
// catalogues, media siblings and untranslated records.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "check/project_check.h"
#include "guide/tour_catalogue.h"
#include "support/files.h"
#include "support/scratch_folder.h"

namespace {

namespace fs = std::filesystem;
const fs::path kSource = CORVANE_SOURCE_DIR;

// A tour of three places (two with one name) and two items, one titled.
const char kTour[] =
    "<system>\n"                                                          // 1
    "\t<project_name>Quay &amp; Town</project_name>\n"                    // 2
    "\t<map_filename>map.png</map_filename>\n"                            // 3
    "\t<left>0</left>\n\t<top>1</top>\n\t<right>1</right>\n\t<bottom>0</bottom>\n"  // 4-7
    "\t<radius>10</radius>\n"                                             // 8
    "</system>\n"                                                         // 9
    "<region_list>\n"                                                     // 10
    "<region>\n\t<region_id>1</region_id>\n"                              // 11-12
    "\t<region_description>The quay</region_description>\n"              // 13
    "\t<gps_x>0.5</gps_x>\n\t<gps_y>0.5</gps_y>\n</region>\n"              // 14-16
    "<region>\n\t<region_id>2</region_id>\n"                              // 17-18
    "\t<region_description>Fish &amp; \"chips\"</region_description>\n"  // 19
    "\t<gps_x>0.5</gps_x>\n\t<gps_y>0.5</gps_y>\n</region>\n"              // 20-22
    "<region>\n\t<region_id>3</region_id>\n"                              // 23-24
    "\t<region_description>The quay</region_description>\n"              // 25
    "\t<gps_x>0.5</gps_x>\n\t<gps_y>0.5</gps_y>\n</region>\n"              // 26-28
    "</region_list>\n"                                                    // 29
    "<content_list>\n"                                                    // 30
    "<content>\n\t<content_id>1</content_id>\n\t<region_id>1</region_id>\n"  // 31-33
    "\t<filename>video/a.mp4</filename>\n"                                // 34
    "\t<thumbnail>t.png</thumbnail>\n\t<title>Market day</title>\n"       // 35-36
    "\t<gps_x>0.5</gps_x>\n\t<gps_y>0.5</gps_y>\n</content>\n"             // 37-39
    "<content>\n\t<content_id>2</content_id>\n\t<region_id>2</region_id>\n"  // 40-42
    "\t<filename>video/b.mp4</filename>\n"                                // 43
    "\t<thumbnail>t.png</thumbnail>\n"                                    // 44
    "\t<gps_x>0.5</gps_x>\n\t<gps_y>0.5</gps_y>\n</content>\n"             // 45-47
    "</content_list>\n";

const char kTemplate[] =
    "# Texts of the tour Quay & Town (Tour.xml) to translate.\n"
    "# Save a translation beside the project as Tour.LL.po (LL: the language's\n"
    "# two-letter code, e.g. Tour.de.po).\n"
    "msgid \"\"\nmsgstr \"\"\n"
    "\"Project-Id-Version: Quay & Town\\n\"\n"
    "\"MIME-Version: 1.0\\n\"\n"
    "\"Content-Type: text/plain; charset=UTF-8\\n\"\n"
    "\"Content-Transfer-Encoding: 8bit\\n\"\n"
    "\n#. region 1: place name\n#. region 3: place name\n#: Tour.xml:13 Tour.xml:25\n"
    "msgid \"The quay\"\nmsgstr \"\"\n"
    "\n#. region 2: place name\n#: Tour.xml:19\nmsgid \"Fish & \\\"chips\\\"\"\nmsgstr \"\"\n"
    "\n#. content 1: title\n#: Tour.xml:36\nmsgid \"Market day\"\nmsgstr \"\"\n";

std::pair<int, std::string> RunCorvane(std::vector<const char*> args, std::string* err = nullptr) {
  args.insert(args.begin(), "corvane");
  RunOptions options;
  std::ostringstream out, errors;
  const auto status = ParseCommandLine(static_cast<int>(args.size()), args.data(), &options, out,
                                       errors);
  if (err != nullptr) *err = errors.str();
  return {status.value_or(-1), out.str()};
}

TEST(TourLanguages, TemplateNamesEveryTextOnceWithItsRecordsAndLines) {
  testsupport::ScratchFolder folder("corvane_texts");
  const std::string project = folder.Write("Tour.xml", kTour);
  EXPECT_EQ(RunCorvane({"texts", project.c_str()}), std::make_pair(0, std::string(kTemplate)));

  // The demo's sound item has no title of its own: its media file's title is the text.
  fs::copy(kSource / "demo", folder.Path("demo"), fs::copy_options::recursive);
  const std::string demo = folder.Path("demo/Harbour.xml");
  const std::string pot = folder.Path("Harbour.pot");
  const std::string outArg = "--out=" + pot;
  ASSERT_EQ(RunCorvane({"texts", demo.c_str(), outArg.c_str()}).first, 0);
  const std::string written = testsupport::ReadAll(pot);
  EXPECT_NE(written.find("#. content 4: title of audio/item04.mp3\n#: Harbour.xml:"),
            std::string::npos);
  EXPECT_NE(written.find("msgid \"Gutting the catch\"\n"), std::string::npos);
  // gettext's own reader takes it.
  EXPECT_TRUE(ReadTourCatalogue(pot).ok);

  std::string err;
  EXPECT_EQ(RunCorvane({"texts", folder.Path("none.xml").c_str()}, &err).first, 2);
  EXPECT_NE(err.find("cannot read"), std::string::npos);
}

TEST(TourLanguages, CheckReportsBrokenCataloguesUnusableSiblingsAndGapsPerLanguage) {
  testsupport::ScratchFolder folder("corvane_langcheck");
  const std::string project = folder.Write("Tour.xml", kTour);
  fs::create_directories(folder.Path("video"));
  for (const char* video : {"video/a.mp4", "video/b.mp4"})
    fs::copy_file(kSource / "demo/video/item02.mp4", folder.Path(video));
  fs::copy_file(kSource / "demo/map.png", folder.Path("map.png"));
  fs::copy_file(kSource / "demo/thumbs/item01.png", folder.Path("t.png"));
  folder.Write("video/b.de.mp4", "not a video");        // cannot be played
  fs::create_directories(folder.Path("video/a.fr.mp4"));  // a folder, not a file
  folder.Write("Tour.de.po", "msgid \"The quay\"\nmsgstr \"Der Kai\"\n\n"
                             "msgid \"Market day\"\nmsgstr \"Markttag\"\n");
  folder.Write("Tour.fr.po", "msgid \"The quay\"\nmsgstr \"Le quai\n");

  FILE* out = tmpfile();
  RunProjectCheck(project.c_str(), false, out, nullptr);
  const std::string report = testsupport::Slurp(out);
  for (const char* line : {
           "Tour.fr.po:3: error: The Français catalogue cannot be read (end-of-line within "
           "string); visitors who choose Français see the tour's own names and titles.",
           "Tour.xml:19: warning: Region 2, \"Fish & \"chips\"\", has no Deutsch name in "
           "Tour.de.po.",
           "Tour.xml:43: warning: \"video/b.de.mp4\" cannot be played",
           "Tour.xml:13: warning: Region 1, \"The quay\", has no Français name in Tour.fr.po.",
           "Tour.xml:34: warning: \"video/a.fr.mp4\" is not a file inside the project's folder; "
           "Français visitors get the tour's own \"video/a.mp4\".",
           "Tour.xml:43: warning: Content 2 has no Français media (\"video/b.fr.mp4\").",
       }) {
    EXPECT_NE(report.find(line), std::string::npos) << line << "\n" << report;
  }
  // Translated, or with media of its own: nothing said.
  EXPECT_EQ(report.find("Region 1, \"The quay\", has no Deutsch"), std::string::npos) << report;
  EXPECT_EQ(report.find("Content 1 has no Deutsch"), std::string::npos) << report;
}

}  // namespace
