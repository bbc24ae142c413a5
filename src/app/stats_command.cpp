// The `stats` subcommand: its options, and the run that reads the users files and prints
// or writes the visitor statistics.
#include <CLI/CLI.hpp>
#include <filesystem>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/stats_output.h"
#include "app/stats_reading.h"
#include "data/safe_file.h"
#include "platform/text/tr.h"

namespace {

constexpr int kStatsCounted = 0;
constexpr int kStatsFileNotRead = 1;

// Each table as FOLDER/<name>.csv, each file replaced only once written whole.
bool WriteCsvFolder(const std::string& folder, const std::vector<CsvTable>& tables,
                    std::ostream& out, std::ostream& err) {
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  if (ec) {
    err << _("corvane stats: cannot make ") << folder << ": " << ec.message() << "\n";
    return false;
  }
  for (const CsvTable& table : tables) {
    const std::string path = (std::filesystem::path(folder) / (table.name + ".csv")).string();
    CSafeFileWriter writer;
    bool written = writer.Open(path.c_str());
    if (written) {
      std::fwrite(table.text.data(), 1, table.text.size(), writer.Stream());
      written = writer.Commit();
    }
    if (!written) {
      err << _("corvane stats: cannot write ") << path << "\n";
      return false;
    }
    out << _("Wrote ") << path << "\n";
  }
  return true;
}

}  // namespace

SubcommandRun DefineStats(CLI::App& command) {
  struct Options {
    std::string project;
    std::vector<std::string> usersFiles;
    bool json = false;
    bool csv = false;
    std::string folder;
  };
  auto options = std::make_shared<Options>();
  command
      .add_option("PROJECT_FILE", options->project, _("the project whose places and items count"))
      ->required();
  command.add_option("USERS_FILE", options->usersFiles,
                     _("users files to count, one per device and any archives\n"
                       "(default: the project's own users file)"));
  CLI::Option* json = command.add_flag("--json", options->json,
                                       _("print JSON for scripts (see docs/visitor_stats.md)"));
  CLI::Option* csv =
      command.add_flag("--csv", options->csv, _("print CSV tables for a spreadsheet"))
          ->excludes(json);
  command
      .add_option("--out", options->folder,
                  _("with --csv: write each table to FOLDER/<table>.csv instead"))
      ->option_text("FOLDER")
      ->needs(csv);
  command.footer(
      _("Counts visitors, their time, and for each place and item the visitors who viewed it\n"
        "and the viewings. Every user record is a visitor of its own, even where two devices\n"
        "use the same names. Reads only; nothing is changed.\n"
        "Exit status: 0 counted, 1 a file could not be read (the others are counted),\n"
        "2 a bad command line."));
  return [options](std::ostream& out, std::ostream& err) {
    StatsReport report;
    std::string problem;
    if (!CollectStats(options->project, options->usersFiles, &report, &problem)) {
      err << "corvane stats: " << options->project << " " << problem << "\n";
      return kStatsFileNotRead;
    }
    for (const StatsFile& file : report.files)
      if (!file.problem.empty())
        err << "corvane stats: " << CleanText(file.name) << " " << file.problem << "\n";
    if (report.files.empty())
      err << _("corvane stats: the project has no users file yet: no visitors to count\n");

    bool written = true;
    if (options->json) {
      WriteStatsJson(report, out);
    } else if (options->csv && !options->folder.empty()) {
      written = WriteCsvFolder(options->folder, StatsCsvTables(report), out, err);
    } else if (options->csv) {
      const char* gap = "";
      for (const CsvTable& table : StatsCsvTables(report)) {
        out << gap << table.name << "\n" << table.text;
        gap = "\n";
      }
    } else {
      WriteStatsText(report, out);
    }
    return written && report.FilesNotRead() == 0 ? kStatsCounted : kStatsFileNotRead;
  };
}
