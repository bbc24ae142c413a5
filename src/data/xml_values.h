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
// A use-clock value (minutes, then seconds as the first two decimals) read exactly: the
// nearest double to the minutes and hundredths written, a third decimal rounding half up
// (12.345 is 12.35). False (and out untouched) when there is no number or it is not finite.
bool ReadClock(const char* value, double* out);
// The nearest double to minutes plus hundredths / 100: the one form every clock value takes,
// so a value read back equals the one that was written.
double ClockValue(double minutes, double hundredths);
// True only when the value reads as the integer 1.
bool ReadFlag(const char* value);
// The viewing entry "%i--%f", its time read as ReadClock reads it. False when there is no
// id; without "--" or a real after it the time is 0.
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
