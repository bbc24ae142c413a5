// What a project can do to the files around it, and what a save must never lose: users files
// that name the tour's own files, loads that left something out, numbers out of range, files
// too large to read, long names and a folder moved while the project is open.
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "data/region_item.h"
#include "data/system_item.h"
#include "data/user_context.h"
#include "map/file_resolve.h"
#include "project_test_fixture.h"

using datatest::ReadAll;
using datatest::WriteAll;
namespace fs = std::filesystem;

namespace {

const char kMap[] = "PNG map bytes\n";
const char kNotes[] = "IMPORTANT NOTES - do not lose\n";

// tour/Harbour.xml naming userFilename, with a map, a video and a thumbnail beside it.
std::string TourProject(const datatest::ScratchDir& dir, const std::string& userFilename) {
  fs::create_directories(dir.Path("tour"));
  WriteAll(dir.Path("tour/map.png"), kMap);
  WriteAll(dir.Path("tour/v.mp4"), "video bytes\n");
  WriteAll(dir.Path("tour/t.png"), "thumbnail bytes\n");
  const std::string project = dir.Path("tour/Harbour.xml");
  WriteAll(project, "<system>\n<map_filename>map.png</map_filename>\n<user_filename>" +
                        userFilename +
                        "</user_filename>\n</system>\n<content>\n<content_id>1</content_id>\n"
                        "<filename>v.mp4</filename>\n<thumbnail>t.png</thumbnail>\n</content>\n");
  return project;
}

std::string UsersText(int count) {
  std::string text;
  for (int i = 0; i < count; ++i)
    text += "<user_context>\n<user_id>" + std::to_string(i) + "</user_id>\n</user_context>\n";
  return text;
}

}  // namespace

TEST_F(ProjectFileTest, AUsersFileNamingATourFileOrAnotherFileFallsBackToTheDefault) {
  struct Case {
    const char* what;
    const char* name;      // as the project writes it
    const char* protects;  // the file that must come through unchanged, in tour/
  };
  const Case cases[] = {
      {"the project itself", "Harbour.xml", "Harbour.xml"},
      {"the project by another name", "./HARBOUR.XML", "Harbour.xml"},
      {"the project's lock", ".Harbour.xml.lock", ".Harbour.xml.lock"},
      {"the map", "map.png", "map.png"},
      {"a link to the map", "maplink.png", "map.png"},
      {"a video", "v.mp4", "v.mp4"},
      {"a thumbnail", "t.png", "t.png"},
      {"a file of something else", "notes.txt", "notes.txt"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    datatest::ScratchDir scratch;
    const std::string project = TourProject(scratch, c.name);
    WriteAll(scratch.Path("tour/.Harbour.xml.lock"), "");
    WriteAll(scratch.Path("tour/notes.txt"), kNotes);
    fs::create_symlink("map.png", scratch.Path("tour/maplink.png"));
    const std::string protectedFile = scratch.Path(std::string("tour/") + c.protects);
    const std::string before = ReadAll(protectedFile);
    headless::Reset();
    auto m = MakeModel();
    ASSERT_TRUE(m->LoadProjectFile(project.c_str()));
    EXPECT_EQ(m->LoadUsersFile(), 0);
    EXPECT_STREQ(m->GetUserFilename(), "HarbourUsers.xml");
    ASSERT_EQ(headless::MessageBoxes().size(), 1u);
    EXPECT_EQ(headless::MessageBoxes()[0].caption, "Users file not used");
    ASSERT_NE(m->AddNewUser("Cat"), nullptr);
    m->SaveProjectFile(project.c_str());
    EXPECT_FALSE(m->m_usersSaveFailed);
    EXPECT_NE(ReadAll(scratch.Path("tour/HarbourUsers.xml")).find("Cat"), std::string::npos);
    if (std::string(c.protects) != "Harbour.xml") {
      EXPECT_EQ(ReadAll(protectedFile), before);
    }
    EXPECT_NE(ReadAll(project).find("<user_filename>HarbourUsers.xml<"), std::string::npos);
  }
}

TEST_F(ProjectFileTest, ALoadThatLeftSomethingOutIsNotWrittenBack) {
  struct Case {
    const char* what;
    std::string project;  // the users file is Users.xml
    std::string users;
    LoadLoss projectLoss;
    LoadLoss usersLoss;
  };
  const std::string system = "<system>\n<user_filename>Users.xml</user_filename>\n</system>\n";
  const std::vector<Case> cases = {
      {"users past 128", system, UsersText(130), LoadLoss::None, LoadLoss::DroppedRecords},
      {"a tag list on one line",
       system + "<content>\n<content_id>1</content_id>\n"
                "\t\t<theme_list><theme_id>1</theme_id></theme_list>\n</content>\n",
       "", LoadLoss::CrowdedLine, LoadLoss::None},
      {"two fields on one line",
       "<system>\n<radius>16</radius><project_name>X</project_name>\n"
       "<user_filename>Users.xml</user_filename>\n</system>\n",
       "", LoadLoss::CrowdedLine, LoadLoss::None},
      {"a users line of two fields", system,
       "<user_context>\n<user_id>0</user_id><username>Ann</username>\n</user_context>\n",
       LoadLoss::None, LoadLoss::CrowdedLine},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    datatest::ScratchDir scratch;
    const std::string project = scratch.Path("P.xml");
    const std::string users = scratch.Path("Users.xml");
    WriteAll(project, c.project);
    WriteAll(users, c.users);
    auto m = MakeModel();
    ASSERT_TRUE(m->LoadProjectFile(project.c_str()));
    m->LoadUsersFile();
    EXPECT_EQ(m->ProjectLoss(), c.projectLoss);
    EXPECT_EQ(m->UsersLoss(), c.usersLoss);
    ASSERT_NE(m->m_userList, nullptr);
    m->AddNewUser("Cat");
    EXPECT_EQ(m->SaveProjectFile(project.c_str()), c.projectLoss == LoadLoss::None);
    EXPECT_EQ(m->m_usersSaveFailed, c.usersLoss != LoadLoss::None);
    if (c.projectLoss != LoadLoss::None) {
      EXPECT_EQ(ReadAll(project), c.project);
    }
    if (c.usersLoss != LoadLoss::None) {
      EXPECT_EQ(ReadAll(users), c.users);
    }
  }
}

TEST_F(ProjectFileTest, NumbersOutOfRangeAreRefusedAsNotANumberIs) {
  struct Case {
    const char* text;  // inside <system> or a region
    double CSystemItem::*systemField;
    double CRegionItem::*regionField;
  };
  const Case cases[] = {
      {"<left>180.5</left>", &CSystemItem::m_left, nullptr},
      {"<right>-1e130</right>", &CSystemItem::m_right, nullptr},
      {"<top>90.01</top>", &CSystemItem::m_top, nullptr},
      {"<bottom>-1e240</bottom>", &CSystemItem::m_bottom, nullptr},
      {"<radius>-5</radius>", &CSystemItem::m_radius, nullptr},
      {"<radius>1e300</radius>", &CSystemItem::m_radius, nullptr},
      {"<gps_x>200</gps_x>", nullptr, &CRegionItem::m_gpsX},
      {"<gps_y>-91</gps_y>", nullptr, &CRegionItem::m_gpsY},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const std::string path = dir.Path("p.xml");
    const bool inSystem = c.systemField != nullptr;
    WriteAll(path, std::string("<system>\n") + (inSystem ? c.text : "") +
                       "\n</system>\n<region>\n<region_id>1</region_id>\n" +
                       (inSystem ? "" : c.text) + "\n</region>\n");
    auto m = MakeModel();
    ASSERT_TRUE(m->LoadProjectFile(path.c_str()));
    if (inSystem)
      EXPECT_EQ(m->System()->*c.systemField, 0.0);
    else
      EXPECT_EQ(static_cast<CRegionItem*>(m->m_regionList->At(0))->*c.regionField, 0.0);
  }
  // The edges of the ranges are taken.
  CRegionItem region;
  datatest::TextStream edge("<region>\n<gps_x>-180</gps_x>\n<gps_y>90</gps_y>\n</region>\n");
  region.Parse(edge.get());
  EXPECT_EQ(region.m_gpsX, -180.0);
  EXPECT_EQ(region.m_gpsY, 90.0);

  // Clocks: a duration that would make the clock infinite, a viewing time below zero.
  CUserContext user;
  datatest::TextStream clocks(
      "<user_context>\n<viewed_id>3--1e308</viewed_id>\n<viewed_id>4---2.5</viewed_id>\n"
      "<duration>1e308</duration>\n</user_context>\n");
  user.Parse(clocks.get());
  ASSERT_EQ(user.m_viewedCount, 2);
  EXPECT_EQ(user.ViewedTime(0), 0.0);
  EXPECT_EQ(user.ViewedTime(1), 0.0);
  EXPECT_EQ(user.m_duration, 0.0);
}

TEST_F(ProjectFileTest, FilesOverTheSizeLimitAreNeitherReadNorReplaced) {
  const std::string project = dir.Path("Big.xml");
  WriteAll(project, "<system>\n<user_filename>U.xml</user_filename>\n</system>\n");
  const std::string users = dir.Path("U.xml");
  WriteAll(users, UsersText(1));
  // Sparse: the size costs nothing on disk.
  ASSERT_EQ(truncate(users.c_str(), DATA_FILE_MAX_BYTES + 1), 0);
  ASSERT_TRUE(model->LoadProjectFile(project.c_str()));
  EXPECT_EQ(model->LoadUsersFile(), 0);
  EXPECT_EQ(model->m_status, -21);
  EXPECT_FALSE(model->SaveUsersFile());
  EXPECT_EQ(static_cast<long>(fs::file_size(users)), DATA_FILE_MAX_BYTES + 1);

  ASSERT_EQ(truncate(project.c_str(), DATA_FILE_MAX_BYTES + 1), 0);
  auto m = MakeModel();
  EXPECT_FALSE(m->LoadProjectFile(project.c_str()));
  EXPECT_EQ(m->m_status, -20);
}

TEST_F(ProjectFileTest, AProjectNameOfTheLongestLengthSaves) {
  const std::string path = dir.Path(std::string(251, 'p') + ".xml");
  WriteAll(path, "<system>\n<radius>5</radius>\n</system>\n");
  ASSERT_TRUE(model->LoadProjectFile(path.c_str()));
  model->System()->m_radius = 6;
  ASSERT_TRUE(model->SaveProjectFile(path.c_str()));
  EXPECT_NE(ReadAll(path).find("<radius>6.000000</radius>"), std::string::npos);
}

// The folder is held from the load on: moved away and replaced by a link to another folder,
// the users are still written into the project's own folder.
TEST_F(ProjectFileTest, UsersAreWrittenIntoTheFolderTheProjectWasLoadedFrom) {
  fs::create_directories(dir.Path("tour/sub"));
  fs::create_directories(dir.Path("elsewhere/sub"));
  const std::string project = dir.Path("tour/Harbour.xml");
  WriteAll(project, "<system>\n<user_filename>sub/People.xml</user_filename>\n</system>\n");
  WriteAll(dir.Path("tour/sub/People.xml"), UsersText(1));
  ASSERT_TRUE(model->LoadProjectFile(project.c_str()));
  ASSERT_EQ(model->LoadUsersFile(), 1);
  fs::rename(dir.Path("tour"), dir.Path("moved"));
  fs::create_directory_symlink(dir.Path("elsewhere"), dir.Path("tour"));
  ASSERT_NE(model->AddNewUser("Cat"), nullptr);
  EXPECT_TRUE(model->SaveUsersFile());
  EXPECT_NE(ReadAll(dir.Path("moved/sub/People.xml")).find("Cat"), std::string::npos);
  EXPECT_TRUE(fs::is_empty(dir.Path("elsewhere/sub")));
}
