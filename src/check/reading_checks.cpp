// What the reader drops or cuts: long lines, long names and values, numbers that do not read,
// switches, unknown elements, unclosed records and records past a list's 128.
#include <cctype>
#include <cstdarg>
#include <cstdlib>
#include <cstring>

#include "check/project_checks.h"
#include "check/record_fields.h"
#include "data/content_item.h"
#include "data/user_context.h"
#include "data/xml_item_list.h"
#include "data/xml_scan.h"
#include "data/xml_values.h"
#include "platform/text/tr.h"

std::string Format(const char* format, ...) {
  char buffer[1024];
  va_list args;
  va_start(args, format);
  vsnprintf(buffer, sizeof buffer, format, args);
  va_end(args);
  return buffer;
}

namespace {

const char* const kProjectKinds[] = {"system",   "region", "content", "character",
                                     "location", "theme",  "time"};

// A leading 0 followed by a digit makes "%i" read the number as octal.
bool LooksOctal(const char* value) {
  while (*value == ' ' || *value == '\t') ++value;
  if (*value == '+' || *value == '-') ++value;
  return value[0] == '0' && isdigit(static_cast<unsigned char>(value[1]));
}

// What follows the number the reader takes, without the spaces round it; the reader drops
// it without a word ("48,5" reads as 48). Numbers are read the same way as the reader's.
std::string TextAfterNumber(const char* value, bool real) {
  char* end = nullptr;
  if (real) {
    CClassicLocaleScope classic;
    std::strtod(value, &end);
  } else {
    std::strtoll(value, &end, 0);
  }
  if (end == nullptr) return {};
  while (*end == ' ' || (*end >= '\t' && *end <= '\r')) ++end;
  return end;
}

void CheckTrailingText(const std::string& file, const ScanField& field, const char* kept, bool real,
                       CCheckReport& report) {
  const std::string rest = TextAfterNumber(kept, real);
  if (rest.empty()) return;
  report.Warning("number-text", file, field.line,
                 Format(_("<%s> holds %s; the reader takes the number at its start and drops %s."),
                        field.name.c_str(), Quote(kept).c_str(), Quote(rest).c_str()));
}

void CheckValue(const std::string& file, const ScanField& field, const FieldRule& rule,
                CCheckReport& report) {
  const char* name = field.name.c_str();
  // The reader holds at most XML_VALUE_SIZE - 1 characters of a value.
  char kept[XML_VALUE_SIZE];
  CopyText(kept, sizeof kept, field.value.c_str());
  if (field.value.size() > XML_VALUE_SIZE - 1)
    report.Error("value-too-long", file, field.line,
                 Format(_("<%s> holds %zu characters; the reader keeps only the first %zu."), name,
                        field.value.size(), XML_VALUE_SIZE - 1));
  const std::string shown = Quote(kept);
  int i = 0;
  double r = 0;
  switch (rule.type) {
    case FieldType::Int:
    case FieldType::TagId:
      if (!ReadInt(kept, &i)) {
        report.Error(
            "not-a-number", file, field.line,
            Format(_("<%s> holds %s, which is not a number; the reader %s."), name, shown.c_str(),
                   rule.type == FieldType::TagId ? _("ignores the entry") : _("keeps 0")));
      } else {
        CheckTrailingText(file, field, kept, false, report);
        if (LooksOctal(kept))
          report.Warning("octal-number", file, field.line,
                         Format(_("<%s> holds %s, which reads as %d: a leading 0 makes a number "
                                  "octal."),
                                name, shown.c_str(), i));
        if (rule.type == FieldType::TagId && (i < 0 || i >= CONTENT_TAG_IDS))
          report.Error("tag-out-of-range", file, field.line,
                       Format(_("<%s> %d lies outside 0 to 63; the reader ignores it."), name, i));
      }
      break;
    case FieldType::Real:
      if (!ReadReal(kept, &r))
        report.Error("not-a-number", file, field.line,
                     Format(_("<%s> holds %s, which is not a number; the reader keeps 0."), name,
                            shown.c_str()));
      else
        CheckTrailingText(file, field, kept, true, report);
      break;
    case FieldType::Flag:
      if (!ReadInt(kept, &i) || (i != 0 && i != 1))
        report.Warning("switch-value", file, field.line,
                       Format(_("<%s> holds %s; a switch is 0 or 1, and this reads as 0 (off)."),
                              name, shown.c_str()));
      else
        CheckTrailingText(file, field, kept, false, report);
      break;
    case FieldType::Viewed: {
      double time = 0;
      if (!ReadViewedPair(kept, &i, &time))
        report.Error("not-a-number", file, field.line,
                     Format(_("<%s> holds %s, which does not start with a content id; the reader "
                              "ignores the entry."),
                            name, shown.c_str()));
      break;
    }
    case FieldType::Text:
    case FieldType::ListMark:
      break;
  }
}

void CheckKind(const std::string& file, const CLineScan& scan, const char* element,
               CCheckReport& report) {
  const RecordRules* rules = RulesFor(element);
  const ScanResult& found = scan.Records(element);
  for (const ScanRecord& record : found.records) {
    for (const ScanField& field : record.fields) {
      if (field.name.size() > XML_NAME_SIZE - 1) {
        report.Error("name-too-long", file, field.line,
                     Format(_("The element name %s is %zu characters long; the reader keeps 63 "
                              "and ignores the element."),
                            Quote(field.name, 40).c_str(), field.name.size()));
        continue;
      }
      const FieldRule* rule = FindRule(*rules, field.name.c_str());
      if (rule == nullptr) {
        report.Warning("unknown-element", file, field.line,
                       Format(_("The reader does not know the element %s inside <%s> and "
                                "ignores it."),
                              Quote(field.name, 40).c_str(), element));
        continue;
      }
      CheckValue(file, field, *rule, report);
    }
  }
  if (found.unclosedLine > 0)
    report.Error(
        "record-unclosed", file, found.unclosedLine,
        Format(_("This <%s> is never closed before the file ends; the reader drops it."), element));
  const size_t count = found.records.size();
  if (count > static_cast<size_t>(LIST_CAPACITY))
    report.Error("too-many-records", file, found.records[LIST_CAPACITY].line,
                 Format(_("This is <%s> number %d of %zu; the reader keeps the first %d and drops "
                          "the rest."),
                        element, LIST_CAPACITY + 1, count, LIST_CAPACITY));
  if (std::strcmp(element, "user_context") == 0) {
    for (const ScanRecord& record : found.records) {
      int viewings = 0;
      for (const ScanField& field : record.fields)
        if (field.name == "viewed_id" && ++viewings == USER_MAX_VIEWED + 1)
          report.Warning("too-many-viewings", file, field.line,
                         Format(_("This user has more than %d viewings; the reader keeps the "
                                  "first %d."),
                                USER_MAX_VIEWED, USER_MAX_VIEWED));
    }
  }
}

}  // namespace

void CheckReading(const std::string& file, const CLineScan& scan, bool usersFile,
                  CCheckReport& report) {
  for (const ScanLongLine& longLine : scan.LongLines())
    report.Error(
        "line-too-long", file, longLine.line,
        Format(_("This line is %zu characters long with its line end; the reader takes %zu "
                 "at a time and "
                 "reads the rest as a line of its own."),
               longLine.length, XML_LINE_SIZE - 1));
  for (const int line : scan.CrowdedLines())
    report.Error("several-elements", file, line,
                 _("This line holds more than one element; the reader takes only the first, and "
                   "the program does not save over the file while it holds such a line."));
  if (usersFile) {
    CheckKind(file, scan, "user_context", report);
    return;
  }
  for (const char* kind : kProjectKinds) CheckKind(file, scan, kind, report);
}
