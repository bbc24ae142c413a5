// `corvane stats`: visitors, time and viewings counted against hand-made users files from
// two devices, a cut-off file and noise; the three output forms; statuses of bad lines.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/stats_output.h"
#include "app/stats_tally.h"
#include "support/files.h"

namespace fs = std::filesystem;

namespace {

const fs::path kFixtures = fs::path(CORVANE_FIXTURES) / "stats";

std::string Fixture(const char* name) { return (kFixtures / name).string(); }

using testsupport::ReadAll;

// The output with the fixtures' folder left out of the names in it.
std::string Relative(std::string text) {
  const std::string prefix = kFixtures.string() + "/";
  for (size_t at; (at = text.find(prefix)) != std::string::npos;) text.erase(at, prefix.size());
  return text;
}

struct StatsRun {
  int status = -1;
  std::string out, err;
};

StatsRun Stats(std::vector<std::string> args) {
  std::vector<const char*> argv{"corvane", "stats"};
  for (const std::string& arg : args) argv.push_back(arg.c_str());
  RunOptions options;
  std::ostringstream out, err;
  StatsRun run;
  const auto status =
      ParseCommandLine(static_cast<int>(argv.size()), argv.data(), &options, out, err);
  run.status = status.value_or(-1);
  run.out = Relative(out.str());
  run.err = Relative(err.str());
  return run;
}

// Ann, Bob and a guest on device A; another Ann and Cy (whose use time has 75 seconds) on
// device B, with two viewings of an id from another project; Di whole and Ed cut off in
// Cut.xml. Hand-counted: 6 visitors, 5 timed (45, 60, 300, 630, 1200 s: 2235 in all, median
// 300), item 1 seen 3 times by 2 visitors, place 1 (items 1 and 2) 5 times by 3 visitors.
const std::vector<std::string> kAllFiles = {Fixture("DeviceA.xml"), Fixture("DeviceB.xml"),
                                            Fixture("Cut.xml"), Fixture("Noise.bin"),
                                            Fixture("Missing.xml")};

TEST(Stats, OutputsAgainstHandCountedFiles) {
  struct Form {
    const char* flag;
    const char* expected;
  };
  for (const Form& form :
       {Form{nullptr, "all.txt"}, Form{"--json", "all.json"}, Form{"--csv", "all.csv"}}) {
    std::vector<std::string> args{Fixture("Museum.xml")};
    args.insert(args.end(), kAllFiles.begin(), kAllFiles.end());
    if (form.flag != nullptr) args.push_back(form.flag);
    const StatsRun run = Stats(args);
    EXPECT_EQ(run.status, 1) << form.expected;
    EXPECT_EQ(run.out, ReadAll(kFixtures / form.expected)) << form.expected;
    for (const char* said :
         {"Cut.xml ends early", "Noise.bin is not a users file", "Missing.xml cannot be read"})
      EXPECT_NE(run.err.find(said), std::string::npos) << run.err;
  }
}

TEST(Stats, StatusesAndMessages) {
  struct Line {
    std::vector<std::string> args;
    int status;
    const char* out;  // text the output holds
    const char* err;  // text the error stream holds
  };
  const std::string museum = Fixture("Museum.xml");
  const Line lines[] = {
      // The project's own users file (DeviceA.xml) when none is named.
      {{museum}, 0, "Visitors: 3\n", ""},
      // An even count of timed visitors: the median lies between the middle two.
      {{museum, Fixture("DeviceA.xml"), Fixture("DeviceB.xml"), "--json"},
       0,
       "\"median_seconds\": 465.0",
       ""},
      {{museum, Fixture("DeviceA.xml"), Fixture("./DeviceA.xml")},
       0,
       "Visitors: 3\n",
       "named more than once"},
      {{museum, museum}, 1, "Visitors: 0\n", "is a project file"},
      {{museum, kFixtures.string()}, 1, "Visitors: 0\n", "not a file"},
      {{Fixture("Missing.xml")}, 1, "", "Missing.xml cannot be read"},
      {{museum, "--json", "--csv"}, 2, "", "excludes"},
      {{museum, "--out=folder"}, 2, "", "requires --csv"},
      {{}, 2, "", "PROJECT_FILE"},
  };
  for (const Line& line : lines) {
    const StatsRun run = Stats(line.args);
    const std::string shown = line.args.empty() ? "(none)" : line.args.back();
    EXPECT_EQ(run.status, line.status) << shown << "\n" << run.err;
    EXPECT_NE(run.out.find(line.out), std::string::npos) << shown << "\n" << run.out;
    EXPECT_NE(run.err.find(line.err), std::string::npos) << shown << "\n" << run.err;
  }
}

TEST(Stats, OutFolderHoldsTheTablesOfTheCsv) {
  const fs::path folder = fs::path(CORVANE_TEST_OUTPUT) / "stats_tables";
  fs::remove_all(folder);
  std::vector<std::string> args{Fixture("Museum.xml")};
  args.insert(args.end(), kAllFiles.begin(), kAllFiles.end());
  args.push_back("--csv");
  args.push_back("--out=" + folder.string());
  EXPECT_EQ(Stats(args).status, 1);
  std::string joined;
  for (const char* table : {"summary", "places", "items", "not_in_project", "files"})
    joined += (joined.empty() ? "" : "\n") + std::string(table) + "\n" +
              Relative(ReadAll(folder / (std::string(table) + ".csv")));
  EXPECT_EQ(joined, ReadAll(kFixtures / "all.csv"));
}

TEST(Stats, UseClockInSeconds) {
  const struct {
    double clock;
    int64_t seconds;
  } cases[] = {
      {10.30, 630}, {0.45, 45}, {4.0499999999, 245}, {7.75, -1},
      {-1.0, -1},   {NAN, -1},  {INFINITY, -1},      {1e12, -1},
  };
  for (const auto& c : cases) EXPECT_EQ(ClockSeconds(c.clock), c.seconds) << c.clock;
}

TEST(Stats, CsvCellsStayCellsAndText) {
  const struct {
    const char* text;
    const char* cell;
  } cases[] = {
      {"Great hall", "Great hall"},
      {"Caf\xC3\xA9, \"east\"", "\"Caf\xC3\xA9, \"\"east\"\"\""},
      {"=HYPERLINK(\"x\")", "\"'=HYPERLINK(\"\"x\"\")\""},
      {"-3", "'-3"},
      {"bad \xFF byte\x1B[2J", "bad \xEF\xBF\xBD byte\xEF\xBF\xBD[2J"},
  };
  for (const auto& c : cases) EXPECT_EQ(CsvCell(c.text), c.cell) << c.text;
}

}  // namespace
