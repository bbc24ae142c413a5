// Pieces shared by the track readers (platform-internal): strict numbers, ISO 8601 and
// calendar times, and the horizontal error derived from a dilution of precision.
#pragma once

#include <cstdint>
#include <string_view>

namespace platform {

// The user-equivalent range error gpsd multiplies the HDOP by for its eph: 19 m, a quarter
// of that with differential corrections (gpsd 3.22 reports eph 20.9 m for HDOP 1.1, and
// 4.75 m for HDOP 1.0 on a differential fix). Error = UERE x HDOP, as gpsd would report.
constexpr double kHorizontalUere = 19.0;
constexpr double kHorizontalUereDgps = kHorizontalUere / 4;

// The metres for a dilution of precision, or -1 when the DOP is absent or not positive.
double ErrorFromHdop(double hdop, bool differential = false);

// The whole text (surrounding blanks allowed) as a finite number, else NaN.
double StrictNumber(std::string_view text);

// Days since 1970-01-01 of a proleptic Gregorian date (no validation).
int64_t DaysFromCivil(int64_t year, unsigned month, unsigned day);

// "YYYY-MM-DDThh:mm:ss[.fff][Z|+hh:mm|-hh:mm]" as seconds since the epoch; NaN if malformed.
double ParseIsoTime(std::string_view text);

}  // namespace platform
