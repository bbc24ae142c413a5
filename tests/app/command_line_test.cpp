// The command line: what each accepted line asks for, and the status and message of bad ones.
#include "app/command_line.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Parsed {
  std::optional<int> status;
  RunOptions options;
  std::string out;
  std::string err;
};

Parsed Parse(std::vector<const char*> args) {
  args.insert(args.begin(), "corvane");
  Parsed p;
  std::ostringstream out, err;
  p.status = ParseCommandLine(static_cast<int>(args.size()), args.data(), &p.options, out, err);
  p.out = out.str();
  p.err = err.str();
  return p;
}

using Position = RunOptions::Position;

// Tracks named on accepted lines are read while the line is checked: they must exist. They
// are written to a folder of their own, made the current one for the test.
struct TracksHere {
  std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("corvane-tracks-" + std::to_string(getpid()));
  std::filesystem::path before;
  TracksHere() {
    std::error_code ec;
    before = std::filesystem::current_path(ec);
    std::filesystem::create_directories(folder);
    std::filesystem::current_path(folder);
    const char* gpx = "<gpx><trk><trkseg><trkpt lat=\"1\" lon=\"2\"/></trkseg></trk></gpx>\n";
    std::ofstream("walk.gpx") << gpx;
    std::ofstream("w.gpx") << gpx;
    std::ofstream("w.nmea") << "$GPGGA,120000,4807.038,N,01131.000,E,1,08,0.9,545.4,M,,M,,*5C\n";
  }
  ~TracksHere() {
    std::error_code ec;
    std::filesystem::current_path(before.empty() ? std::filesystem::temp_directory_path() : before,
                                  ec);
    if (ec) std::filesystem::current_path(std::filesystem::temp_directory_path(), ec);
    std::filesystem::remove_all(folder, ec);
  }
};

TEST(CommandLine, AcceptedLines) {
  const TracksHere tracks;
  struct Case {
    std::vector<const char*> args;
    std::string project;
    Position position;
    std::string host, port, track;
    double speed;
    bool fullscreen;
  };
  const Case cases[] = {
      {{}, "", Position::None, "localhost", "2947", "", 1, false},
      {{"p.xml"}, "p.xml", Position::None, "localhost", "2947", "", 1, false},
      // A bare --gps takes no value: the project after it stays the project.
      {{"--gps", "p.xml"}, "p.xml", Position::Gpsd, "localhost", "2947", "", 1, false},
      {{"p.xml", "--gps=pi.local"}, "p.xml", Position::Gpsd, "pi.local", "2947", "", 1, false},
      {{"--gps=10.0.0.2:3000"}, "", Position::Gpsd, "10.0.0.2", "3000", "", 1, false},
      {{"--gps=:2948"}, "", Position::Gpsd, "localhost", "2948", "", 1, false},
      {{"--gps=[::1]:2950"}, "", Position::Gpsd, "::1", "2950", "", 1, false},
      {{"--replay=walk.gpx", "p.xml"},
       "p.xml",
       Position::Track,
       "localhost",
       "2947",
       "walk.gpx",
       1,
       false},
      {{"--replay", "w.nmea", "--speed=10", "--fullscreen"},
       "",
       Position::Track,
       "localhost",
       "2947",
       "w.nmea",
       10,
       true},
      {{"--replay=w.gpx", "--speed", "0.5"},
       "",
       Position::Track,
       "localhost",
       "2947",
       "w.gpx",
       0.5,
       false},
  };
  for (const Case& c : cases) {
    const Parsed p = Parse(c.args);
    const std::string line = c.args.empty() ? "(none)" : c.args[0];
    ASSERT_FALSE(p.status.has_value()) << line << ": " << p.err;
    EXPECT_EQ(p.options.projectFile, c.project) << line;
    EXPECT_EQ(p.options.position, c.position) << line;
    EXPECT_EQ(p.options.gpsHost, c.host) << line;
    EXPECT_EQ(p.options.gpsPort, c.port) << line;
    // A track named relative to where the program starts is kept whole: the project's
    // folder becomes the current one before the track is opened.
    const std::string track =
        c.track.empty() ? std::string() : (std::filesystem::current_path() / c.track).string();
    EXPECT_EQ(p.options.trackFile, track) << line;
    EXPECT_EQ(p.options.speed, c.speed) << line;
    EXPECT_EQ(p.options.fullscreen, c.fullscreen) << line;
  }
}

TEST(CommandLine, BadLinesEndWithStatusTwoAndSayWhy) {
  struct Case {
    std::vector<const char*> args;
    const char* said;
  };
  const Case cases[] = {
      {{"--replay=w.gpx", "--speed=0"}, "'0' is not a positive number"},
      {{"--replay=w.gpx", "--speed=-1"}, "'-1' is not a positive number"},
      {{"--replay=w.gpx", "--speed=fast"}, "'fast' is not a positive number"},
      {{"--replay=w.gpx", "--speed=inf"}, "'inf' is not a positive number"},
      {{"--replay=w.gpx", "--speed="}, "--speed"},
      {{"--speed=2"}, "--speed requires --replay"},
      {{"--gps=host:notaport"}, "'notaport' is not a port number"},
      {{"--gps=host:70000"}, "'70000' is not a port number"},
      {{"--gps=host:"}, "'' is not a port number"},
      {{"--gps=[::1"}, "missing ']'"},
      {{"--gps", "--replay=w.gpx"}, "excludes"},
      {{"--replay"}, "--replay"},
      {{"--bogus"}, "--bogus"},
      {{"a.xml", "b.xml"}, "b.xml"},
      {{"--gps=::1"}, "write it as [::1]:PORT"},
      {{"--gps=fe80::2:3000"}, "[fe80::2:3000]:PORT"},
      {{"--replay=w.gpx", "--speed=1e-15"}, "'1e-15' is outside 0.01 to 1000"},
      {{"--replay=w.gpx", "--speed=1e9"}, "'1e9' is outside 0.01 to 1000"},
      {{"--replay=missing.gpx"}, "missing.gpx: No such file or directory"},
      {{"--replay=~/walk.gpx"}, "does not expand ~"},
      {{"--replay", "."}, "is a folder"},
      {{"--kiosk"}, "--kiosk: a PROJECT_FILE is needed"},
      {{"p.xml", "--idle=3"}, "--idle requires --kiosk"},
      {{"--kiosk", "p.xml", "--idle=0"}, "'0' is not a positive number"},
      {{"--kiosk", "p.xml", "--idle=0.001"}, "outside one second"},
  };
  for (const Case& c : cases) {
    const Parsed p = Parse(c.args);
    ASSERT_TRUE(p.status.has_value()) << c.args[0];
    EXPECT_EQ(*p.status, 2) << c.args[0];
    EXPECT_NE(p.err.find(c.said), std::string::npos) << c.args[0] << ": " << p.err;
    EXPECT_NE(p.err.find("--help"), std::string::npos) << c.args[0];
  }
}

TEST(CommandLine, KioskIsFullScreenWithFiveIdleMinutesUnlessGiven) {
  for (const auto& [args, idle] :
       {std::pair<std::vector<const char*>, double>{{"--kiosk", "p.xml"}, 5},
        {{"p.xml", "--kiosk", "--idle=0.1"}, 0.1}}) {
    const Parsed p = Parse(args);
    ASSERT_FALSE(p.status.has_value()) << p.err;
    EXPECT_TRUE(p.options.kiosk && p.options.fullscreen);
    EXPECT_EQ(p.options.idleMinutes, idle);
  }
}

TEST(CommandLine, HelpListsEveryOptionAndVersionPrintsTheTitle) {
  const Parsed help = Parse({"--help"});
  ASSERT_EQ(help.status, 0);
  for (const char* word : {"PROJECT_FILE", "--gps", "--replay", "--speed", "--fullscreen",
                           "--kiosk", "--idle", "--version", "CORVANE_HEADLESS"})
    EXPECT_NE(help.out.find(word), std::string::npos) << word;
  for (const Subcommand& sub : Subcommands())
    EXPECT_NE(help.out.find(sub.name), std::string::npos) << sub.name;

  const Parsed version = Parse({"--version"});
  ASSERT_EQ(version.status, 0);
  EXPECT_EQ(version.out, std::string(kProgramTitle) + "\n");
}

}  // namespace
