// The command line of corvane: the window program's options, checked values, and the
// subcommands, all through one CLI11 parser so that --help lists everything.
#include "app/command_line.h"

#include <CLI/CLI.hpp>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <ostream>

#include "platform/position/track_file.h"
#include "platform/text/tr.h"

const char* const kProgramTitle = "Corvane V0.01";

// The subcommands. To add one: write `SubcommandRun DefineXxx(CLI::App& command)` in its own
// file (its options go on command, bound to state the returned function captures), declare it
// here and add a row.
SubcommandRun DefineCheck(CLI::App& command);  // check/check_command.cpp
SubcommandRun DefineNew(CLI::App& command);    // app/new_command.cpp
SubcommandRun DefineStats(CLI::App& command);  // app/stats_command.cpp
SubcommandRun DefineTexts(CLI::App& command);  // check/texts_command.cpp

const std::vector<Subcommand>& Subcommands() {
  static const std::vector<Subcommand> table = {
      {"check", N_("check a project and its users file, and list every problem"), DefineCheck},
      {"new", N_("write a new project from a map and the waypoints of a GPX file"), DefineNew},
      {"stats", N_("count visitors, their time and what they viewed, from users files"),
       DefineStats},
      {"texts", N_("write a PO template of a tour's place names and titles for translators"),
       DefineTexts},
  };
  return table;
}

namespace {

constexpr int kBadLine = 2;
constexpr double kSlowestSpeed = 0.01;
constexpr double kFastestSpeed = 1000;
// A visit shorter than a second or longer than a day is no use to anybody.
constexpr double kShortestIdle = 1.0 / 60;
constexpr double kLongestIdle = 24 * 60;

// "HOST", "HOST:PORT", ":PORT" or "[ADDRESS]:PORT"; an empty part keeps the default.
bool ParseGpsAddress(const std::string& text, RunOptions* options, std::string* problem) {
  std::string host = text;
  std::string port;
  if (!host.empty() && host.front() == '[') {
    const size_t close = host.find(']');
    if (close == std::string::npos) {
      *problem = _("missing ']' in '") + text + "'";
      return false;
    }
    if (close + 1 < host.size()) {
      if (host[close + 1] != ':') {
        *problem = _("expected ':' after ']' in '") + text + "'";
        return false;
      }
      port = host.substr(close + 2);
    }
    host = host.substr(1, close - 1);
  } else if (const size_t colon = host.rfind(':'); colon != std::string::npos) {
    port = host.substr(colon + 1);
    host.resize(colon);
  }
  // An IPv6 address without brackets cannot be told from HOST:PORT ("::1" would be host "::"
  // and port 1): it must be written in brackets.
  if (host.find(':') != std::string::npos && text.front() != '[') {
    *problem = "'" + text + _("' is an IPv6 address without brackets: write it as [") + text +
               _("]:PORT, for example [::1]:2947");
    return false;
  }
  if (!host.empty()) options->gpsHost = host;
  if (!port.empty() || text.find(':') != std::string::npos) {
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(port.c_str(), &end, 10);
    if (port.empty() || *end != '\0' || errno != 0 || value < 1 || value > 65535) {
      *problem = "'" + port + _("' is not a port number (1 to 65535)");
      return false;
    }
    options->gpsPort = port;
  }
  return true;
}

bool ParsePositive(const std::string& text, double* value, std::string* problem) {
  char* end = nullptr;
  errno = 0;
  *value = std::strtod(text.c_str(), &end);
  if (text.empty() || *end != '\0' || errno != 0 || !std::isfinite(*value) || *value <= 0) {
    *problem = "'" + text + _("' is not a positive number");
    return false;
  }
  return true;
}

bool ParseSpeed(const std::string& text, double* speed, std::string* problem) {
  double value = 0;
  if (!ParsePositive(text, &value, problem)) return false;
  // Beyond these a walk is either still for days between points or over in a blink, and
  // the pacing's microsecond arithmetic would leave its range.
  if (value < kSlowestSpeed || value > kFastestSpeed) {
    *problem = "'" + text + _("' is outside 0.01 to 1000");
    return false;
  }
  *speed = value;
  return true;
}

bool ParseIdle(const std::string& text, double* minutes, std::string* problem) {
  double value = 0;
  if (!ParsePositive(text, &value, problem)) return false;
  if (value < kShortestIdle || value > kLongestIdle) {
    *problem = "'" + text + _("' is outside one second (0.0167) and a day (1440)");
    return false;
  }
  *minutes = value;
  return true;
}

// The track is read now, so that a file that cannot be used ends the start with the
// reader's reason instead of a map that waits for a fix for ever.
bool CheckTrack(const std::string& path, const std::string& given, std::string* problem) {
  const platform::TrackFile track = platform::ReadTrackFile(path);
  if (!track.points.empty()) return true;
  std::string why = !track.error.empty()      ? track.error
                    : track.waypoints.empty() ? _("no track or route points")
                                              : _("only waypoints, no track or route points");
  *problem = why.find(path) != std::string::npos ? why : path + ": " + why;
  // The shell expands "~" only at the start of a word, not after "--replay=".
  if (!given.empty() && given.front() == '~')
    *problem += _(" (the shell does not expand ~ after '=': write the whole path)");
  return false;
}

// Lists a flag's value given alone (--gps{localhost}) by its plain name.
class HelpFormatter : public CLI::Formatter {
 public:
  std::string make_option_name(const CLI::Option* option, bool positional) const override {
    std::string name = CLI::Formatter::make_option_name(option, positional);
    const size_t open = name.find('{');
    if (open != std::string::npos) name.erase(open, name.find('}', open) + 1 - open);
    return name;
  }
};

int BadLine(std::ostream& err, const std::string& message) {
  err << "corvane: " << message << _("\nRun with --help for more information.\n");
  return kBadLine;
}

}  // namespace

std::optional<int> ParseCommandLine(int argc, const char* const* argv, RunOptions* options,
                                    std::ostream& out, std::ostream& err) {
  CLI::App app{
      _("Location-based media guide: opens a project (map, regions, video content) in an 800x600\n"
        "window. Without PROJECT_FILE a file dialog asks for the project."),
      "corvane"};
  auto formatter = std::make_shared<HelpFormatter>();
  for (const char* label : {N_("Usage"), N_("Positionals"), N_("OPTIONS"), N_("REQUIRED"),
                            N_("Needs"), N_("Excludes"), N_("Env")})
    formatter->label(label, tr::Text(label));
  app.formatter(formatter);
  app.option_defaults()->group(_("Options"));
  app.set_help_flag("-h,--help", _("Print this help message and exit"));
  app.set_version_flag("--version", kProgramTitle, _("Show the version and exit"));
  app.footer(
      _("The user follows the position of a GPS receiver (--gps) or of a recorded walk\n"
        "(--replay) while following is on (the menu's GPS button; moving the user by hand\n"
        "from the menu turns it off).\n"
        "\n"
        "Environment:\n"
        "  CORVANE_HEADLESS=1  run without a display (for tests)"));

  std::string projectFile;
  std::string gps;
  std::string replay;
  std::string speed;
  bool fullscreen = false;
  app.add_option("PROJECT_FILE", projectFile, _("The project to open"));
  CLI::Option* gpsOption = app.add_flag("--gps{localhost}", gps,
                                        _("Follow a GPS receiver through gpsd, at HOST and PORT\n"
                                          "(default localhost:2947)"))
                               ->option_text("[=HOST[:PORT]]");
  CLI::Option* replayOption =
      app.add_option("--replay", replay, _("Follow a recorded walk: a GPX track or an NMEA log"))
          ->option_text("FILE")
          ->excludes(gpsOption);
  app.add_option("--speed", speed, _("Replay N times faster than recorded (default 1)"))
      ->option_text("N")
      ->needs(replayOption);
  app.add_flag("--fullscreen", fullscreen, _("Fill the screen: no window frame, no cursor"));
  bool kiosk = false;
  std::string idle;
  CLI::Option* kioskOption =
      app.add_flag("--kiosk", kiosk,
                   _("Run on a shared device: full screen, visitors cannot quit or edit,\n"
                     "Ctrl+Shift+Q asks the operator before quitting (needs PROJECT_FILE)"));
  app.add_option("--idle", idle,
                 _("Kiosk: end a visit after MINUTES without a touch (default 5;\n"
                   "fractions allowed: 0.1 is six seconds)"))
      ->option_text("MINUTES")
      ->needs(kioskOption);

  // Each subcommand's run function, chosen after parsing.
  std::vector<std::pair<CLI::App*, SubcommandRun>> runs;
  for (const Subcommand& sub : Subcommands()) {
    CLI::App* command = app.add_subcommand(sub.name, tr::Text(sub.summary));
    command->group(_("Subcommands"));
    runs.emplace_back(command, sub.define(*command));
  }
  app.require_subcommand(0, 1);

  try {
    app.parse(argc, argv);
  } catch (const CLI::Success& e) {  // --help, --version
    return app.exit(e, out, err);
  } catch (const CLI::ParseError& e) {
    return BadLine(err, e.what());
  }

  for (auto& [command, run] : runs) {
    if (command->parsed()) return run(out, err);
  }

  RunOptions result;
  result.projectFile = projectFile;
  result.fullscreen = fullscreen || kiosk;
  result.kiosk = kiosk;
  std::string problem;
  // Visitors cannot reach the file dialog, so the kiosk's project is named here.
  if (kiosk && projectFile.empty()) return BadLine(err, _("--kiosk: a PROJECT_FILE is needed"));
  if (app.count("--idle") > 0 && !ParseIdle(idle, &result.idleMinutes, &problem))
    return BadLine(err, "--idle: " + problem);
  if (gpsOption->count() > 0) {
    result.position = RunOptions::Position::Gpsd;
    if (!ParseGpsAddress(gps, &result, &problem)) return BadLine(err, "--gps: " + problem);
  }
  if (!replay.empty()) {
    result.position = RunOptions::Position::Track;
    // Opening the project makes its folder the current one, so a name relative to where the
    // program was started must be made whole first.
    std::error_code ec;
    const std::filesystem::path whole = std::filesystem::absolute(replay, ec);
    result.trackFile = ec ? replay : whole.lexically_normal().string();
  } else if (app.count("--replay") > 0) {
    return BadLine(err, _("--replay: a track file is needed"));
  }
  if (app.count("--speed") > 0 && !ParseSpeed(speed, &result.speed, &problem))
    return BadLine(err, "--speed: " + problem);
  if (result.position == RunOptions::Position::Track &&
      !CheckTrack(result.trackFile, replay, &problem))
    return BadLine(err, "--replay: " + problem);
  *options = result;
  return std::nullopt;
}
