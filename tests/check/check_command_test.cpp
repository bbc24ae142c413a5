// `corvane check` on the command line: the report reaches the output stream, the status is the
// check's, and a line without a project is refused.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "support/files.h"

namespace {

const std::filesystem::path kFixtures = std::filesystem::path(CORVANE_FIXTURES) / "check";

struct Line {
  std::vector<const char*> args;
  int status;
  const char* expected;  // fixture with the whole output, or null
  const char* said;      // text the error stream holds
};

TEST(CheckCommand, StatusAndOutput) {
  const std::string edges = (kFixtures / "edges/Edges.xml").string();
  const Line lines[] = {
      {{"check", edges.c_str(), "--json"}, 1, "edges.json", ""},
      {{"check", edges.c_str()}, 1, "edges.txt", ""},
      {{"check", "no-such-project.xml"}, 2, nullptr, "cannot read no-such-project.xml"},
      {{"check"}, 2, nullptr, "PROJECT_FILE"},
  };
  for (const Line& line : lines) {
    std::vector<const char*> argv{"corvane"};
    argv.insert(argv.end(), line.args.begin(), line.args.end());
    RunOptions options;
    std::ostringstream out, err;
    const auto status =
        ParseCommandLine(static_cast<int>(argv.size()), argv.data(), &options, out, err);
    ASSERT_TRUE(status.has_value()) << argv.size();
    EXPECT_EQ(*status, line.status) << argv.size();
    EXPECT_NE(err.str().find(line.said), std::string::npos) << err.str();
    if (line.expected != nullptr) {
      EXPECT_EQ(out.str(), testsupport::ReadAll(kFixtures / line.expected));
    }
  }
}

}  // namespace
