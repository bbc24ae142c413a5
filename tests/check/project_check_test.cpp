// The project checker end to end: exact reports for projects with known problems, clean
// reports for the demo and the tour's saved files, nothing written, and no crash on the
// parsers' fuzz corpus. CORVANE_UPDATE_GOLDEN=1 rewrites the expected reports.
#include "check/project_check.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <ostream>
#include <string>

#include "support/files.h"
#include "support/scratch_folder.h"

namespace fs = std::filesystem;

namespace {

const fs::path kFixtures = fs::path(CORVANE_FIXTURES) / "check";
const fs::path kSource = CORVANE_SOURCE_DIR;

struct CheckRun {
  int status;
  std::string out;
  std::string err;
};

using testsupport::Slurp;

CheckRun Check(const fs::path& project, bool json = false) {
  FILE* out = tmpfile();
  FILE* err = tmpfile();
  const int status = RunProjectCheck(project.c_str(), json, out, err);
  return {status, Slurp(out), Slurp(err)};
}

using testsupport::ReadAll;

// Every file below folder with its contents and time of change.
std::map<std::string, std::pair<std::string, fs::file_time_type>> Snapshot(const fs::path& folder) {
  std::map<std::string, std::pair<std::string, fs::file_time_type>> files;
  for (const auto& e : fs::recursive_directory_iterator(folder))
    if (e.is_regular_file()) files[e.path().string()] = {ReadAll(e.path()), e.last_write_time()};
  return files;
}

// A scratch folder, as a path to build on.
struct Scratch : testsupport::ScratchFolder {
  Scratch() : ScratchFolder("corvane_check") {}
  fs::path Path() const { return Root(); }
};

struct Golden {
  const char* project;
  const char* expected;
  bool json;
};
void PrintTo(const Golden& golden, std::ostream* out) { *out << golden.expected; }

class GoldenReport : public ::testing::TestWithParam<Golden> {};

TEST_P(GoldenReport, MatchesExactly) {
  const Golden& g = GetParam();
  const fs::path project = kFixtures / g.project;
  const auto before = Snapshot(project.parent_path());
  const CheckRun run = Check(project, g.json);
  EXPECT_EQ(run.status, CHECK_PROBLEMS);
  EXPECT_EQ(run.err, "");
  const fs::path expected = kFixtures / g.expected;
  if (std::getenv("CORVANE_UPDATE_GOLDEN") != nullptr) std::ofstream(expected) << run.out;
  EXPECT_EQ(run.out, ReadAll(expected));
  // Neither the project, its users file nor anything beside them changed or appeared.
  EXPECT_EQ(Snapshot(project.parent_path()), before);
}

INSTANTIATE_TEST_SUITE_P(Check, GoldenReport,
                         ::testing::Values(Golden{"problems/Problems.xml", "problems.txt", false},
                                           Golden{"problems/Problems.xml", "problems.json", true},
                                           Golden{"edges/Edges.xml", "edges.txt", false},
                                           Golden{"edges/Edges.xml", "edges.json", true}),
                         [](const ::testing::TestParamInfo<Golden>& info) {
                           std::string name = info.param.expected;
                           for (char& c : name) {
                             if (c == '.') c = '_';
                           }
                           return name;
                         });

TEST(ProjectCheck, DemoIsCleanAndGetsNoUsersFile) {
  Scratch scratch;
  fs::copy(kSource / "demo", scratch.Path() / "demo", fs::copy_options::recursive);
  const fs::path project = scratch.Path() / "demo" / "Harbour.xml";
  const auto before = Snapshot(scratch.Path());
  const fs::path cwd = fs::current_path();
  const CheckRun run = Check(project);
  EXPECT_EQ(run.status, CHECK_CLEAN) << run.out;
  EXPECT_EQ(run.out, "No problems found.\n");
  // The program's loader would have made HarbourUsers.xml; the check makes nothing.
  EXPECT_EQ(Snapshot(scratch.Path()), before);
  EXPECT_EQ(fs::current_path(), cwd);
}

TEST(ProjectCheck, TourExpectedFilesAreClean) {
  Scratch scratch;
  const fs::path demo = scratch.Path() / "demo";
  fs::copy(kSource / "demo", demo, fs::copy_options::recursive);
  // The tour's files as saved: the demo with the tour's edits, and its users file with the
  // clock readings filled in.
  const fs::path expected = kSource / "tests/e2e/expected";
  const std::string edit = "sed -f '" + (expected / "Harbour.sed").string() + "' '" +
                           (kSource / "demo/Harbour.xml").string() + "' > '" +
                           (demo / "Harbour.xml").string() + "'";
  ASSERT_EQ(std::system(edit.c_str()), 0);
  std::string users = ReadAll(expected / "HarbourUsers.xml");
  for (size_t at; (at = users.find("@CLOCK@")) != std::string::npos;) users.replace(at, 7, "0.25");
  std::ofstream(demo / "HarbourUsers.xml", std::ios::binary) << users;
  const CheckRun run = Check(demo / "Harbour.xml", true);
  EXPECT_EQ(run.status, CHECK_CLEAN) << run.out;
  EXPECT_NE(run.out.find("\"errors\": 0,\n  \"warnings\": 0,\n  \"problems\": []"),
            std::string::npos)
      << run.out;
}

TEST(ProjectCheck, UnreadableFileEndsWithStatusTwo) {
  Scratch scratch;
  // A file over the size the program reads (sparse, so it costs nothing).
  const fs::path big = scratch.Path() / "big.xml";
  std::ofstream(big) << "<system>\n</system>\n";
  fs::resize_file(big, 9u << 20);
  for (const fs::path& p : {scratch.Path() / "missing.xml", scratch.Path(), big}) {
    const CheckRun run = Check(p);
    EXPECT_EQ(run.status, CHECK_UNREADABLE) << p;
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("cannot read"), std::string::npos);
  }
}

// Every input the record parsers are fuzzed with, checked as a project and as its own users
// file: a report and status 0 or 1, never a crash.
TEST(ProjectCheck, FuzzCorpusGivesReports) {
  Scratch scratch;
  int checked = 0;
  for (const auto& e : fs::directory_iterator(kSource / "fuzz/corpus/data")) {
    std::string text = ReadAll(e.path());
    const fs::path project = scratch.Path() / "Project.xml";
    fs::copy_file(e.path(), project, fs::copy_options::overwrite_existing);
    fs::copy_file(e.path(), scratch.Path() / "ProjectUsers.xml",
                  fs::copy_options::overwrite_existing);
    for (bool json : {false, true}) {
      const CheckRun run = Check(project, json);
      EXPECT_TRUE(run.status == CHECK_CLEAN || run.status == CHECK_PROBLEMS) << e.path();
      EXPECT_FALSE(run.out.empty()) << e.path();
    }
    ++checked;
  }
  EXPECT_GT(checked, 0);
}

}  // namespace

// Problems a single project cannot show together: each small project gives its code.
TEST(ProjectCheck, WholeFileProblems) {
  const std::string system =
      "<system>\n\t<map_filename>map.png</map_filename>\n\t<left>0</left>\n\t<top>1</top>\n"
      "\t<right>1</right>\n\t<bottom>0</bottom>\n\t<radius>10</radius>\n"
      "\t<user_filename>Users.xml</user_filename>\n</system>\n";
  std::string manyViewings = "<user_context>\n\t<user_id>0</user_id>\n";
  for (int i = 0; i < 513; ++i) manyViewings += "\t<viewed_id>1--0.10</viewed_id>\n";
  manyViewings += "</user_context>\n";
  struct Case {
    std::string project;
    std::string users;  // empty: no users file
    const char* code;
    int line;
  };
  const Case cases[] = {
      {"<region>\n</region>\n", "", "no-system", 0},
      {system + system, "", "two-systems", 10},
      {system, "", "map-undecodable", 2},  // map.png holds text
      {system, manyViewings, "too-many-viewings", 515},
      {system + "<region>\n\t<region_id>1</region_id><gps_x>0.5</gps_x>\n</region>\n", "",
       "several-elements", 11},
      {system, "<user_context>\n<user_id>0</user_id><username>A</username>\n</user_context>\n",
       "several-elements", 2},
      {system + "<region>\n\t<gps_y>95</gps_y>\n</region>\n", "", "out-of-range", 11},
      {system, "<user_context>\n<duration>1e308</duration>\n</user_context>\n", "out-of-range",
       2},
      {system, "notes, not users\n", "users-not-users", 8},
  };
  for (const Case& c : cases) {
    Scratch scratch;
    std::ofstream(scratch.Path() / "P.xml") << c.project;
    std::ofstream(scratch.Path() / "map.png") << "not an image\n";
    if (!c.users.empty()) std::ofstream(scratch.Path() / "Users.xml") << c.users;
    const CheckRun run = Check(scratch.Path() / "P.xml", true);
    EXPECT_EQ(run.status, CHECK_PROBLEMS) << c.code;
    const std::string entry = std::string("\"code\": \"") + c.code + "\", \"file\": ";
    const size_t at = run.out.find(entry);
    ASSERT_NE(at, std::string::npos) << c.code << "\n" << run.out;
    const size_t line = run.out.find("\"line\": ", at) + 8;
    EXPECT_EQ(std::atoi(run.out.c_str() + line), c.line) << c.code << "\n" << run.out;
  }
}
