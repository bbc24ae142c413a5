// Loading and saving the project file.
#include <sys/resource.h>

#include <csignal>
#include <cstring>
#include <filesystem>

#include "data/character_item.h"
#include "data/content_item.h"
#include "data/location_item.h"
#include "data/region_item.h"
#include "data/system_item.h"
#include "data/theme_item.h"
#include "data/time_item.h"
#include "project_test_fixture.h"

using datatest::Fixture;
using datatest::ReadAll;
using datatest::WriteAll;

namespace {

CContentItem* Content(CPortrait& m, int id) {
  return static_cast<CContentItem*>(m.m_contentList->FindById(id));
}
CRegionItem* Region(CPortrait& m, int id) {
  return static_cast<CRegionItem*>(m.m_regionList->FindById(id));
}

}  // namespace

TEST_F(ProjectFileTest, LoadsEveryKindOfRecord) {
  const std::string path = Fixture("project_lf.xml");
  ASSERT_TRUE(model->LoadProjectFile(path.c_str()));
  EXPECT_EQ(model->m_status, 1);
  EXPECT_STREQ(model->m_projectPath, path.c_str());

  const CSystemItem* s = model->System();
  ASSERT_NE(s, nullptr);
  EXPECT_STREQ(s->m_projectName, "Harbour &amp; Quay");
  EXPECT_STREQ(model->GetUserFilename(), "users.xml");
  EXPECT_EQ(s->m_radius, 48.5);
  EXPECT_TRUE(s->m_themeRels);
  EXPECT_FALSE(s->m_characterRels);
  EXPECT_FALSE(s->m_timeRels);  // 2 is not 1
  EXPECT_TRUE(s->m_locationRels);
  EXPECT_EQ(model->m_gpsTopLeft.x, -0.6262);
  EXPECT_EQ(model->m_gpsTopLeft.y, 51.501234);
  EXPECT_EQ(model->m_gpsBottomRight.y, 51.4835);

  EXPECT_EQ(model->m_characterList->Count(), 2);
  EXPECT_NE(model->m_characterList->FindById(8), nullptr);  // written 010
  EXPECT_NE(model->m_locationList->FindById(26), nullptr);  // written 0x1A
  EXPECT_EQ(model->m_themeList->Count(), 2);
  EXPECT_EQ(model->m_timeList->Count(), 1);

  ASSERT_EQ(model->m_regionList->Count(), 2);
  EXPECT_STREQ(Region(*model, 1)->m_description, "The quay");  // opened with an attribute
  EXPECT_EQ(Region(*model, 1)->m_gpsX, 1.5);
  EXPECT_EQ(Region(*model, 1)->m_contentCount, 2);
  EXPECT_EQ(Region(*model, 2)->m_contentCount, 0);

  ASSERT_EQ(model->m_contentList->Count(), 3);
  const CContentItem* c = Content(*model, 10);
  EXPECT_TRUE(c->HasTheme(3) && c->HasTheme(4));
  EXPECT_EQ(c->m_themeCount, 3);
  EXPECT_TRUE(c->HasCharacter(0));
  EXPECT_TRUE(c->HasLocation(26));
  EXPECT_EQ(c->m_timeCount, 0);
  EXPECT_STREQ(c->m_filename, "video/quay.mp4");
  EXPECT_TRUE(Content(*model, 11)->HasTheme(4));  // outside its list element
  EXPECT_STREQ(Content(*model, 11)->m_thumbnail, "");
  EXPECT_EQ(Content(*model, 12)->m_regionId, 9);  // names no region, counted nowhere
  EXPECT_EQ(headless::BeepCount(), 0);
}

TEST_F(ProjectFileTest, SavesTheGoldenFile) {
  ASSERT_TRUE(model->LoadProjectFile(Fixture("project_lf.xml").c_str()));
  EXPECT_EQ(Saved(*model, dir), ReadAll(Fixture("golden_project.xml")));
}

TEST_F(ProjectFileTest, LineEndsAndSectionOrderDoNotMatter) {
  // Each of these holds the records of project_lf.xml, so each saves as the golden file.
  for (const char* name :
       {"project_crlf.xml", "project_no_final_newline.xml", "project_reordered.xml"}) {
    SCOPED_TRACE(name);
    auto m = MakeModel();
    ASSERT_TRUE(m->LoadProjectFile(Fixture(name).c_str()));
    EXPECT_EQ(Region(*m, 1)->m_contentCount, 2);
    EXPECT_EQ(Saved(*m, dir), ReadAll(Fixture("golden_project.xml")));
  }
}

TEST_F(ProjectFileTest, RoundTripIsStable) {
  ASSERT_TRUE(model->LoadProjectFile(Fixture("project_lf.xml").c_str()));
  const std::string first = Saved(*model, dir);
  auto again = MakeModel();
  const std::string copy = dir.Path("copy.xml");
  WriteAll(copy, first);
  ASSERT_TRUE(again->LoadProjectFile(copy.c_str()));
  EXPECT_EQ(again->m_contentList->Count(), 3);
  EXPECT_EQ(Saved(*again, dir), first);
}

TEST_F(ProjectFileTest, FailedLoadsSetTheirStatus) {
  struct Case {
    const char* file;
    int status;
  };
  // "." names the fixtures' folder: a folder cannot be opened as a project.
  for (const Case& c : {Case{"no_such_project.xml", -7}, Case{".", -7},
                        Case{"project_no_system.xml", -8}, Case{"project_system_unclosed.xml", -8},
                        Case{"project_empty.xml", -8}, Case{"project_two_systems.xml", -9}}) {
    SCOPED_TRACE(c.file);
    auto m = MakeModel();
    EXPECT_FALSE(m->LoadProjectFile(Fixture(c.file).c_str()));
    EXPECT_EQ(m->m_status, c.status);
    EXPECT_EQ(CountOf(m->m_regionList), 0);
    EXPECT_EQ(CountOf(m->m_contentList), 0);
    EXPECT_EQ(CountOf(m->m_themeList), 0);
  }
  EXPECT_FALSE(model->LoadProjectFile(nullptr));
  EXPECT_EQ(model->m_status, -7);
}

TEST_F(ProjectFileTest, AProjectThatFailedToLoadIsNotWrittenBack) {
  for (const char* name : {"project_no_system.xml", "project_two_systems.xml"}) {
    SCOPED_TRACE(name);
    const std::string path = dir.Copy(name);
    auto m = MakeModel();
    EXPECT_FALSE(m->LoadProjectFile(path.c_str()));
    EXPECT_FALSE(m->SaveProjectFile(path.c_str()));
    EXPECT_EQ(ReadAll(path), ReadAll(Fixture(name)));
  }
  const std::string missing = dir.Path("missing.xml");
  EXPECT_FALSE(model->LoadProjectFile(missing.c_str()));
  EXPECT_FALSE(model->SaveProjectFile(missing.c_str()));
  EXPECT_FALSE(std::filesystem::exists(missing));
}

TEST_F(ProjectFileTest, AFileEndingInsideARecordKeepsTheRecordsBeforeIt) {
  ASSERT_TRUE(model->LoadProjectFile(Fixture("project_truncated.xml").c_str()));
  EXPECT_EQ(model->m_contentList->Count(), 2);
  EXPECT_EQ(Content(*model, 12), nullptr);
  EXPECT_EQ(model->m_regionList->Count(), 2);
}

TEST_F(ProjectFileTest, RelationshipsAreNeitherLoadedNorSaved) {
  ASSERT_TRUE(model->LoadProjectFile(Fixture("project_relationships.xml").c_str()));
  EXPECT_EQ(model->m_regionList->Count(), 1);
  const std::string saved = Saved(*model, dir);
  EXPECT_EQ(saved.find("relationship"), std::string::npos);
  // Empty kinds are written as empty elements, which show an author where records go.
  EXPECT_EQ(saved,
            "<?xml version='1.0' encoding='UTF-8' ?>\n\n<media_portrait>\n<system>\n"
            "\t<project_name>Minimal</project_name>\n\t<map_filename>map.png</map_filename>\n"
            "\t<left>0.000000</left>\n\t<top>1.000000</top>\n\t<right>1.000000</right>\n"
            "\t<bottom>0.000000</bottom>\n\t<theme_rels>0</theme_rels>\n"
            "\t<character_rels>0</character_rels>\n\t<time_rels>0</time_rels>\n"
            "\t<location_rels>0</location_rels>\n\t<radius>10.000000</radius>\n"
            "\t<user_filename/>\n</system>\n\n\n<character_list>\n</character_list>\n\n"
            "<location_list>\n</location_list>\n\n<theme_list>\n</theme_list>\n\n"
            "<time_list>\n</time_list>\n\n<region_list>\n\t<region>\n"
            "\t\t<region_id>1</region_id>\n\t\t<region_description>Only</region_description>\n"
            "\t\t<gps_x>0.500000</gps_x>\n\t\t<gps_y>0.500000</gps_y>\n\t</region>\n"
            "</region_list>\n\n<content_list>\n</content_list>\n\n\n\n</media_portrait>");
}

TEST_F(ProjectFileTest, OverlongLinesAndNamesAreCutNotOverrun) {
  ASSERT_TRUE(model->LoadProjectFile(Fixture("project_long_lines.xml").c_str()));
  ASSERT_EQ(model->m_regionList->Count(), 2);
  EXPECT_STREQ(Region(*model, 1)->m_description, "");  // a 300-character line comes in pieces
  EXPECT_EQ(Region(*model, 1)->m_gpsY, 0.75);
  EXPECT_EQ(std::string(Region(*model, 2)->m_description), std::string(127, 'y'));
  EXPECT_EQ(Region(*model, 2)->m_gpsX, 0.5);
  EXPECT_EQ(headless::BeepCount(), 1);  // the 80-character element is unknown
}

TEST_F(ProjectFileTest, MalformedLinesAreSkipped) {
  ASSERT_TRUE(model->LoadProjectFile(Fixture("project_malformed.xml").c_str()));
  ASSERT_EQ(model->m_regionList->Count(), 2);
  const auto* first = static_cast<CRegionItem*>(model->m_regionList->At(0));
  EXPECT_EQ(first->m_id, 0);
  EXPECT_STREQ(first->m_description, "");
  EXPECT_EQ(first->m_gpsX, 0.0);
  EXPECT_EQ(first->m_gpsY, 0.0);
  const auto* second = static_cast<CRegionItem*>(model->m_regionList->At(1));
  EXPECT_EQ(second->m_id, 2147483647);
  EXPECT_EQ(second->m_gpsX, 0.0);
  EXPECT_EQ(second->m_gpsY, 0.5);
  EXPECT_STREQ(static_cast<CThemeItem*>(model->m_themeList->At(0))->m_description, "Kept");
  const CContentItem* c = Content(*model, 5);
  EXPECT_EQ(c->m_themeCount, 0);
  EXPECT_EQ(c->m_characterCount, 1);
  EXPECT_EQ(c->m_locationCount, 0);
  // A tabbed tag name and the colour element are unknown.
  EXPECT_EQ(headless::BeepCount(), 2);
  EXPECT_NE(Saved(*model, dir).find("\t\t<filename>%s%%n%%s</filename>\n"), std::string::npos);
}

TEST_F(ProjectFileTest, MoreThan128RecordsLoadTheFirstAndAreNotWrittenBack) {
  std::string text = "<system>\n<radius>5</radius>\n</system>\n";
  for (int i = 0; i < 130; ++i)
    text += "<region>\n<region_id>" + std::to_string(i) + "</region_id>\n</region>\n";
  text += "<content>\n<content_id>1</content_id>\n<region_id>129</region_id>\n</content>\n";
  const std::string path = dir.Path("big.xml");
  WriteAll(path, text);
  ASSERT_TRUE(model->LoadProjectFile(path.c_str()));
  EXPECT_EQ(model->m_regionList->Count(), LIST_CAPACITY);
  EXPECT_EQ(Region(*model, 127)->m_id, 127);
  EXPECT_EQ(Region(*model, 128), nullptr);

  EXPECT_FALSE(model->SaveProjectFile(path.c_str()));
  EXPECT_EQ(ReadAll(path), text);
  EXPECT_TRUE(model->DroppedRecords());  // the quit says so, in one box
  EXPECT_TRUE(headless::MessageBoxes().empty());
}

TEST_F(ProjectFileTest, AFailedSaveLeavesTheOldFile) {
  const std::string path = dir.Copy("project_lf.xml", "project.xml");
  ASSERT_TRUE(model->LoadProjectFile(path.c_str()));
  const std::string before = ReadAll(path);

  // Writes beyond 64 bytes fail, as on a full disk.
  struct rlimit old {};
  getrlimit(RLIMIT_FSIZE, &old);
  const auto oldHandler = signal(SIGXFSZ, SIG_IGN);
  struct rlimit small = old;
  small.rlim_cur = 64;
  setrlimit(RLIMIT_FSIZE, &small);
  const bool saved = model->SaveProjectFile(path.c_str());
  setrlimit(RLIMIT_FSIZE, &old);
  signal(SIGXFSZ, oldHandler);

  EXPECT_FALSE(saved);
  EXPECT_EQ(ReadAll(path), before);
  // No temporary file is left beside it.
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dir.Root())) {
    (void)entry;
    ++files;
  }
  EXPECT_EQ(files, 1);

  EXPECT_FALSE(model->SaveProjectFile(dir.Path("no/such/folder/p.xml").c_str()));
  std::filesystem::create_directory(dir.Path("a_folder"));
  EXPECT_FALSE(model->SaveProjectFile(dir.Path("a_folder").c_str()));
  EXPECT_TRUE(std::filesystem::is_directory(dir.Path("a_folder")));
}

TEST_F(ProjectFileTest, SavingKeepsThePermissionsOfTheReplacedFile) {
  const std::string path = dir.Copy("project_lf.xml", "project.xml");
  std::filesystem::permissions(path, std::filesystem::perms::owner_read |
                                         std::filesystem::perms::owner_write |
                                         std::filesystem::perms::group_read);
  ASSERT_TRUE(model->LoadProjectFile(path.c_str()));
  ASSERT_TRUE(model->SaveProjectFile(path.c_str()));
  EXPECT_EQ(std::filesystem::status(path).permissions(), std::filesystem::perms::owner_read |
                                                             std::filesystem::perms::owner_write |
                                                             std::filesystem::perms::group_read);
}

TEST_F(ProjectFileTest, EditsReachTheSavedFile) {
  ASSERT_TRUE(model->LoadProjectFile(Fixture("project_lf.xml").c_str()));
  Region(*model, 2)->m_gpsX = 0.25;
  model->System()->m_characterRels = true;
  Region(*model, 1)->m_screenX = 12345;  // run-time, never written
  const std::string saved = Saved(*model, dir);
  EXPECT_NE(saved.find("\t<character_rels>1</character_rels>\n"), std::string::npos);
  EXPECT_NE(saved.find("\t\t<gps_x>0.250000</gps_x>\n"), std::string::npos);
  EXPECT_EQ(saved.find("12345"), std::string::npos);
}

TEST_F(ProjectFileTest, AnOverlongProjectPathIsNotKeptCut) {
  std::string deep = dir.Root();
  while (deep.size() < 300) {
    deep += "/abcdefghijklmnopqrstuvwxyz";
    std::filesystem::create_directory(deep);
  }
  const std::string path = deep + "/p.xml";
  std::filesystem::copy_file(Fixture("project_relationships.xml"), path);
  ASSERT_TRUE(model->LoadProjectFile(path.c_str()));
  EXPECT_STREQ(model->m_projectPath, "");
}

// The demo ships in exactly the form the program writes, so the first save after a tour
// changes only what the tour changed.
TEST_F(ProjectFileTest, TheDemoProjectLoadsWithoutBeepsAndSavesUnchanged) {
  const std::string path = std::string(CORVANE_SOURCE_DIR) + "/demo/Harbour.xml";
  ASSERT_TRUE(model->LoadProjectFile(path.c_str()));
  EXPECT_EQ(headless::BeepCount(), 0);
  EXPECT_EQ(CountOf(model->m_regionList), 10);
  EXPECT_EQ(CountOf(model->m_contentList), 20);

  // Every content item with a region belongs to one that exists.
  int withRegion = 0;
  for (int slot = model->m_contentList->First(); slot != -1; slot = model->m_contentList->Next()) {
    auto* content = static_cast<CContentItem*>(model->m_contentList->Current());
    if (content->m_regionId == 0) continue;
    ++withRegion;
    EXPECT_NE(model->m_regionList->FindById(content->m_regionId), nullptr) << content->m_id;
  }
  EXPECT_EQ(withRegion, 18);

  EXPECT_EQ(Saved(*model, dir), datatest::ReadAll(path));
}

TEST_F(ProjectFileTest, SavingThroughALinkReplacesTheFileItNames) {
  const std::string real = dir.Copy("project_lf.xml", "real.xml");
  const std::string link = dir.Path("link.xml");
  std::filesystem::create_symlink("real.xml", link);
  ASSERT_TRUE(model->LoadProjectFile(link.c_str()));
  model->System()->m_characterRels = true;
  ASSERT_TRUE(model->SaveProjectFile(link.c_str()));
  EXPECT_TRUE(std::filesystem::is_symlink(link));
  EXPECT_NE(ReadAll(real).find("\t<character_rels>1</character_rels>\n"), std::string::npos);
}
