// Conversions of element values and the numeric locale of reading and writing. Numbers in
// both files use '.' whatever the user's locale, so every conversion runs in the "C" locale.
#pragma once

#include <locale.h>

#include <clocale>
#include <cstddef>

// Integer as "%i" reads it: optional sign, decimal, hex after 0x, octal after a leading 0.
// Out-of-range values are clamped. False (and out untouched) when there is no number.
bool ReadInt(const char* value, int* out);
// Real as "%lf" reads it. False (and out untouched) when there is no number or it is not
// finite.
bool ReadReal(const char* value, double* out);
// The numbers a field takes. A value outside its range is refused as one that is not a
// number is (the field keeps its reset value): absurd values would not come back the same
// from a save ("%f" of 1e240 is longer than a line the reader takes) and would break the
// arithmetic on positions and clocks.
struct ValueRange {
  double low;
  double high;
  bool Holds(double v) const { return v >= low && v <= high; }
};
constexpr ValueRange LONGITUDE_RANGE{-180.0, 180.0};
constexpr ValueRange LATITUDE_RANGE{-90.0, 90.0};
// Map pixels: ten times the diagonal of the 800 x 600 map already covers all of it.
constexpr ValueRange RADIUS_RANGE{0.0, 10000.0};
// Minutes of use (a duration or the time of a viewing): about nineteen years.
constexpr ValueRange CLOCK_RANGE{0.0, 10000000.0};

// A real within range; false (and out untouched) otherwise, as ReadReal.
bool ReadRealIn(const char* value, ValueRange range, double* out);
// A use-clock value (minutes, then seconds as the first two decimals) read exactly: the
// nearest double to the minutes and hundredths written, a third decimal rounding half up
// (12.345 is 12.35). False (and out untouched) when there is no number, it is not finite or
// it lies outside CLOCK_RANGE.
bool ReadClock(const char* value, double* out);
// The nearest double to minutes plus hundredths / 100: the one form every clock value takes,
// so a value read back equals the one that was written.
double ClockValue(double minutes, double hundredths);
// True only when the value reads as the integer 1.
bool ReadFlag(const char* value);
// The viewing entry "%i--%f", its time read as ReadClock reads it. False when there is no
// id; without "--" or a clock value after it the time is 0.
bool ReadViewedPair(const char* value, int* id, double* time);
// Copies at most size - 1 bytes and terminates.
void CopyText(char* dst, size_t size, const char* src);

// Switches the calling thread to the "C" numeric conventions while it lives, for fprintf
// of reals in the writers.
class CClassicLocaleScope {
 public:
  CClassicLocaleScope();
  ~CClassicLocaleScope();
  CClassicLocaleScope(const CClassicLocaleScope&) = delete;
  CClassicLocaleScope& operator=(const CClassicLocaleScope&) = delete;

 private:
  locale_t m_previous;
};
