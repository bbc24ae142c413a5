// Numbers that read but lie outside what their field takes: positions beyond the earth's
// degrees, a radius or a clock far past any real use. The reader refuses them.
#include <cstring>

#include "check/project_checks.h"
#include "data/xml_values.h"
#include "platform/text/tr.h"

namespace {

struct RangedField {
  const char* element;  // the record
  const char* field;
  ValueRange range;
  const char* unit;
};

constexpr RangedField kRanged[] = {
    {"system", "left", LONGITUDE_RANGE, N_("degrees")},
    {"system", "right", LONGITUDE_RANGE, N_("degrees")},
    {"system", "top", LATITUDE_RANGE, N_("degrees")},
    {"system", "bottom", LATITUDE_RANGE, N_("degrees")},
    {"system", "radius", RADIUS_RANGE, N_("map pixels")},
    {"region", "gps_x", LONGITUDE_RANGE, N_("degrees")},
    {"region", "gps_y", LATITUDE_RANGE, N_("degrees")},
    {"content", "gps_x", LONGITUDE_RANGE, N_("degrees")},
    {"content", "gps_y", LATITUDE_RANGE, N_("degrees")},
    {"user_context", "duration", CLOCK_RANGE, N_("minutes")},
    {"user_context", "viewed_id", CLOCK_RANGE, N_("minutes")},
};

// The number the reader would take from the field's value, before its range is applied;
// false when there is none (reported elsewhere as not a number).
bool NumberOf(const ScanField& field, double* number) {
  const char* text = field.value.c_str();
  if (field.name == "viewed_id") {
    // The time after the content id and "--".
    const char* dashes = std::strstr(text, "--");
    if (dashes == nullptr) return false;
    text = dashes + 2;
  }
  return ReadReal(text, number);
}

}  // namespace

void CheckValueRanges(const std::string& file, const CLineScan& scan, bool usersFile,
                      CCheckReport& report) {
  for (const RangedField& ranged : kRanged) {
    if ((std::strcmp(ranged.element, "user_context") == 0) != usersFile) continue;
    for (const ScanRecord& record : scan.Records(ranged.element).records) {
      for (const ScanField& field : record.fields) {
        double number = 0;
        if (field.name != ranged.field || !NumberOf(field, &number) || ranged.range.Holds(number))
          continue;
        report.Error(
            "out-of-range", file, field.line,
            Format(_("<%s> holds %g, outside %g to %g %s; the reader refuses it and "
                     "keeps %s."),
                   ranged.field, number, ranged.range.low, ranged.range.high, tr::Text(ranged.unit),
                   field.name == "viewed_id" ? _("the viewing with a time of 0") : "0"));
      }
    }
  }
}
