// Writing the visitor statistics as text, JSON and CSV.
#include "app/stats_output.h"

#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <ostream>

#include "platform/text/tr.h"

namespace {

const char kReplacement[] = "\xEF\xBF\xBD";

// Length of the well-formed UTF-8 sequence at s[i] (no overlongs, no surrogates), else 0.
size_t Utf8Length(const std::string& s, size_t i) {
  const auto c = static_cast<unsigned char>(s[i]);
  if (c < 0x80) return 1;
  const size_t n = c >= 0xC2 && c <= 0xDF   ? 2
                   : c >= 0xE0 && c <= 0xEF ? 3
                   : c >= 0xF0 && c <= 0xF4 ? 4
                                            : 0;
  if (n == 0 || i + n > s.size()) return 0;
  for (size_t k = 1; k < n; ++k)
    if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return 0;
  const auto c1 = static_cast<unsigned char>(s[i + 1]);
  if ((c == 0xE0 && c1 < 0xA0) || (c == 0xED && c1 > 0x9F) || (c == 0xF0 && c1 < 0x90) ||
      (c == 0xF4 && c1 > 0x8F))
    return 0;
  return n;
}

std::string Number(int64_t value) { return std::to_string(value); }

// Seconds with one decimal: a median of an even count may fall on a half second.
std::string Seconds(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f", value);
  return text;
}

// H:MM:SS, rounded to the second.
std::string Clock(double seconds) {
  const auto whole = static_cast<int64_t>(std::llround(seconds));
  char text[48];
  std::snprintf(text, sizeof text, "%" PRId64 ":%02d:%02d", whole / 3600,
                static_cast<int>(whole / 60 % 60), static_cast<int>(whole % 60));
  return text;
}

std::string Json(const std::string& text) {
  std::string out = "\"";
  for (char ch : CleanText(text)) {
    if (ch == '"' || ch == '\\') out += '\\';
    out += ch;
  }
  return out + "\"";
}

// n and the word in the form for n, in the reader's language.
std::string Plural(int64_t n, const char* one, const char* many) {
  return Number(n) + " " + P_(one, many, static_cast<unsigned long>(n));
}

int64_t UnknownViewings(const StatsReport& report) {
  int64_t total = 0;
  for (const auto& [id, count] : report.unknown) total += count.viewings;
  return total;
}

// "12 Herring season", or the item's file when it has no title.
std::string ItemLabel(const StatsItem& item) {
  std::string label =
      Number(item.id) + " " + CleanText(item.title.empty() ? item.file : item.title);
  if (item.placeId != 0) label += _(" (place ") + Number(item.placeId) + ")";
  return label;
}

void CountRow(std::ostream& out, const StatsCount& count, const std::string& label) {
  char numbers[64];
  std::snprintf(numbers, sizeof numbers, "  %8" PRId64 "  %8" PRId64 "  ", count.visitors,
                count.viewings);
  out << numbers << label << "\n";
}

}  // namespace

std::string CleanText(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    const auto c = static_cast<unsigned char>(text[i]);
    const size_t n = Utf8Length(text, i);
    if (n == 0 || c < 0x20 || c == 0x7F) {
      out += kReplacement;
      ++i;
    } else {
      out.append(text, i, n);
      i += n;
    }
  }
  return out;
}

std::string CsvCell(const std::string& text) {
  std::string cell = CleanText(text);
  if (!cell.empty() && (cell[0] == '=' || cell[0] == '+' || cell[0] == '-' || cell[0] == '@'))
    cell.insert(0, "'");
  if (cell.find_first_of(",\"\r\n") == std::string::npos) return cell;
  std::string quoted = "\"";
  for (char ch : cell) {
    if (ch == '"') quoted += '"';
    quoted += ch;
  }
  return quoted + "\"";
}

void WriteStatsText(const StatsReport& report, std::ostream& out) {
  out << _("Visitor statistics of ")
      << (report.projectName.empty() ? _("the project") : CleanText(report.projectName)) << " ("
      << CleanText(report.projectFile) << ")\n";
  const int notRead = report.FilesNotRead();
  int64_t named = 0;
  for (const StatsFile& file : report.files) named += file.skipped ? 0 : 1;
  out << _("Users files: ") << named - notRead << _(" read whole");
  if (notRead > 0) out << ", " << notRead << _(" not (see the messages)");
  out << _("\nVisitors: ") << report.visitors << "\n";
  out << _("Time: ") << Clock(static_cast<double>(report.totalSeconds)) << _(" in all, ")
      << Clock(report.medianSeconds) << _(" the median visit\n");
  if (report.durationsOutOfRange > 0)
    out << "      (" << Plural(report.durationsOutOfRange, NP_("visitor", "visitors"))
        << _(" with a use time out of range left out)\n");

  out << _("\nPlaces\n")
      // TRANSLATORS: column heads over numbers eight characters wide, right-aligned.
      << _("  Visitors  Viewings  Place\n");
  for (const StatsPlace& place : report.places)
    CountRow(out, place.count, Number(place.id) + " " + CleanText(place.name));
  out << _("\nItems\n")
      // TRANSLATORS: column heads over numbers eight characters wide, right-aligned.
      << _("  Visitors  Viewings  Item\n");
  for (const StatsItem& item : report.items) CountRow(out, item.count, ItemLabel(item));
  if (!report.unknown.empty()) {
    out << _("\nNot in this project: ")
        << Plural(UnknownViewings(report), NP_("viewing", "viewings"))
        << _(" of ids the project does not hold (users files of another project?)\n")
        // TRANSLATORS: column heads over numbers eight characters wide, right-aligned.
        << _("  Visitors  Viewings  Id\n");
    for (const auto& [id, count] : report.unknown) CountRow(out, count, Number(id));
  }
}

void WriteStatsJson(const StatsReport& report, std::ostream& out) {
  out << "{\n  \"project\": {\"name\": " << Json(report.projectName)
      << ", \"file\": " << Json(report.projectFile) << "},\n";
  out << "  \"visitors\": " << report.visitors << ",\n";
  out << "  \"time\": {\"total_seconds\": " << report.totalSeconds
      << ", \"median_seconds\": " << Seconds(report.medianSeconds)
      << ", \"timed_visitors\": " << report.timedVisitors
      << ", \"out_of_range\": " << report.durationsOutOfRange << "},\n";
  const auto counts = [](const StatsCount& c) {
    return "\"visitors\": " + Number(c.visitors) + ", \"viewings\": " + Number(c.viewings);
  };
  out << "  \"places\": [";
  const char* sep = "\n";
  for (const StatsPlace& place : report.places) {
    out << sep << "    {\"id\": " << place.id << ", \"name\": " << Json(place.name) << ", "
        << counts(place.count) << "}";
    sep = ",\n";
  }
  out << (report.places.empty() ? "" : "\n  ") << "],\n  \"items\": [";
  sep = "\n";
  for (const StatsItem& item : report.items) {
    out << sep << "    {\"id\": " << item.id << ", \"title\": " << Json(item.title)
        << ", \"file\": " << Json(item.file)
        << ", \"place\": " << (item.placeId != 0 ? Number(item.placeId) : "null") << ", "
        << counts(item.count) << "}";
    sep = ",\n";
  }
  out << (report.items.empty() ? "" : "\n  ") << "],\n  \"not_in_project\": [";
  sep = "\n";
  for (const auto& [id, count] : report.unknown) {
    out << sep << "    {\"id\": " << id << ", " << counts(count) << "}";
    sep = ",\n";
  }
  out << (report.unknown.empty() ? "" : "\n  ") << "],\n  \"files\": [";
  sep = "\n";
  for (const StatsFile& file : report.files) {
    out << sep << "    {\"file\": " << Json(file.name) << ", \"visitors\": " << file.visitors
        << ", \"viewings_not_in_project\": " << file.unknownViewings
        << ", \"problem\": " << (file.problem.empty() ? "null" : Json(file.problem)) << "}";
    sep = ",\n";
  }
  out << (report.files.empty() ? "" : "\n  ") << "]\n}\n";
}

std::vector<CsvTable> StatsCsvTables(const StatsReport& report) {
  std::vector<CsvTable> tables;
  std::string text = "key,value\n";
  const auto row = [&text](const char* key, const std::string& value) {
    text += std::string(key) + "," + CsvCell(value) + "\n";
  };
  row("project", report.projectName);
  row("project_file", report.projectFile);
  row("users_files", Number(static_cast<int64_t>(report.files.size())));
  row("users_files_not_read", Number(report.FilesNotRead()));
  row("visitors", Number(report.visitors));
  row("total_seconds", Number(report.totalSeconds));
  row("median_seconds", Seconds(report.medianSeconds));
  row("timed_visitors", Number(report.timedVisitors));
  row("durations_out_of_range", Number(report.durationsOutOfRange));
  row("viewings_not_in_project", Number(UnknownViewings(report)));
  tables.push_back({"summary", text});

  const auto counts = [](const StatsCount& c) {
    return Number(c.visitors) + "," + Number(c.viewings) + "\n";
  };
  text = "place_id,name,visitors,viewings\n";
  for (const StatsPlace& place : report.places)
    text += Number(place.id) + "," + CsvCell(place.name) + "," + counts(place.count);
  tables.push_back({"places", text});

  text = "item_id,title,file,place_id,visitors,viewings\n";
  for (const StatsItem& item : report.items)
    text += Number(item.id) + "," + CsvCell(item.title) + "," + CsvCell(item.file) + "," +
            (item.placeId != 0 ? Number(item.placeId) : "") + "," + counts(item.count);
  tables.push_back({"items", text});

  text = "item_id,visitors,viewings\n";
  for (const auto& [id, count] : report.unknown) text += Number(id) + "," + counts(count);
  tables.push_back({"not_in_project", text});

  text = "file,visitors,viewings_not_in_project,problem\n";
  for (const StatsFile& file : report.files)
    text += CsvCell(file.name) + "," + Number(file.visitors) + "," + Number(file.unknownViewings) +
            "," + CsvCell(file.problem) + "\n";
  tables.push_back({"files", text});
  return tables;
}
