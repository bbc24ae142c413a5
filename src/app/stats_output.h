// The three forms of the visitor statistics: text for a person, JSON for scripts, and CSV
// tables for a spreadsheet (docs/visitor_stats.md describes the JSON and CSV shapes).
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "app/stats_tally.h"

void WriteStatsText(const StatsReport& report, std::ostream& out);
void WriteStatsJson(const StatsReport& report, std::ostream& out);

struct CsvTable {
  std::string name;  // also the file name without ".csv"
  std::string text;  // header row and data rows
};
// summary, places, items, not_in_project and files, in that order.
std::vector<CsvTable> StatsCsvTables(const StatsReport& report);

// One CSV cell: quoted when it holds a comma, a quote or a line end; text a spreadsheet would
// take for a formula (=, +, -, @ first) is kept as text by a leading apostrophe.
std::string CsvCell(const std::string& text);
// Valid UTF-8 without control characters: anything else becomes U+FFFD, so a name from an
// untrusted file can neither break the output nor reach the terminal as a command.
std::string CleanText(const std::string& text);
