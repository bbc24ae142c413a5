// The command line: options of the window program, and the table of subcommands that run
// without a window (each adds its own options and returns what runs it).
#pragma once

#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace CLI {
class App;
}

// What the window program was asked for.
struct RunOptions {
  std::string projectFile;  // empty: the file dialog asks for the project
  enum class Position { None, Gpsd, Track };
  Position position = Position::None;
  std::string gpsHost = "localhost";  // --gps
  std::string gpsPort = "2947";
  std::string trackFile;  // --replay
  double speed = 1.0;     // --speed: N times the recorded pace
  bool fullscreen = false;
  // --kiosk: a shared device (full screen, no quitting or editing by visitors, visits that
  // end when left alone for idleMinutes).
  bool kiosk = false;
  double idleMinutes = 5;  // --idle; fractions allowed (0.1 is six seconds)
};

// A subcommand runs instead of the window program, e.g. `corvane check PROJECT_FILE`.
// define adds the subcommand's options and positionals to its own parser (bound to state it
// keeps) and returns the function that runs it once the whole line has parsed; that function
// writes to the given streams and returns the exit status.
using SubcommandRun = std::function<int(std::ostream& out, std::ostream& err)>;
struct Subcommand {
  const char* name;
  const char* summary;  // one line for --help
  std::function<SubcommandRun(CLI::App& command)> define;
};

// The subcommands of this build, in the order --help lists them (command_line.cpp).
const std::vector<Subcommand>& Subcommands();

// Parses argv (argv[0] is the program). Returns the exit status when the program ends at once
// (--help and --version: 0; a bad line: a message on err and 2; a subcommand: its status), or
// nothing when the window program is to start with *options.
std::optional<int> ParseCommandLine(int argc, const char* const* argv, RunOptions* options,
                                    std::ostream& out, std::ostream& err);

// The window title, which --version prints.
extern const char* const kProgramTitle;
