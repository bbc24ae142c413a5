#include "data/xml_values.h"

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

// Created once and kept for the life of the process; uselocale needs it to stay valid.
locale_t ClassicLocale() {
  static const locale_t classic = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
  return classic;
}

// "%i" into *out; returns where the number ended, or null when there is none.
const char* ScanInt(const char* value, int* out) {
  // Users files hold millions of plain decimal ids: those are read here, digit by digit.
  // strtoll's base 0 reads "1x" as 1 too, so what it would take is exactly these digits;
  // signs, spaces, octal and hexadecimal forms and long numbers go to strtoll.
  if (*value >= '1' && *value <= '9') {
    long long v = 0;
    const char* p = value;
    for (; *p >= '0' && *p <= '9' && p - value < 18; ++p) v = v * 10 + (*p - '0');
    if (*p < '0' || *p > '9') {
      *out = v > INT_MAX ? INT_MAX : static_cast<int>(v);
      return p;
    }
  }
  char* end = nullptr;
  errno = 0;
  const long long v = strtoll(value, &end, 0);
  if (end == value) return nullptr;
  if (v > INT_MAX)
    *out = INT_MAX;
  else if (v < INT_MIN)
    *out = INT_MIN;
  else
    *out = static_cast<int>(v);
  return end;
}

// A real into *out; returns where the number ended, or null when there is none or it is not
// finite (later arithmetic on map positions must stay defined). Read as a double: positions
// the program writes with six decimals must read back as written, or every save would move
// them a little.
const char* ScanReal(const char* value, double* out) {
  char* end = nullptr;
  const double d = strtod_l(value, &end, ClassicLocale());
  if (end == value || !std::isfinite(d)) return nullptr;
  *out = d;
  return end;
}

// A plain decimal (spaces, a sign, digits, a point, digits; at most fifteen digits) as a
// clock value, in one pass: users files hold millions of them. Returns where strtod would
// have ended it, or null for any other form ("1e2", "0x1p3", "inf", "12x"), which the
// general reading below takes.
const char* ScanPlainClock(const char* value, double* clock) {
  const char* p = value;
  while (*p == ' ' || (*p >= '\t' && *p <= '\r')) ++p;
  bool negative = false;
  if (*p == '+' || *p == '-') negative = *p++ == '-';
  const char* first = p;
  uint64_t minutes = 0;  // fifteen digits fit exactly, here and in the double
  for (; *p >= '0' && *p <= '9' && p - first < 16; ++p) minutes = minutes * 10 + (*p - '0');
  int digits = static_cast<int>(p - first);
  int hundredths = 0;
  if (*p == '.') {
    const char* decimals = ++p;
    for (; *p >= '0' && *p <= '9' && p - decimals < 16; ++p) {
      if (p - decimals < 2) hundredths = hundredths * 10 + (*p - '0');
    }
    const int place = static_cast<int>(p - decimals);
    if (place == 1) hundredths *= 10;
    if (place > 2 && decimals[2] >= '5') hundredths += 1;
    digits += place;
  }
  if (digits == 0 || digits > 15 || (*p >= '0' && *p <= '9')) return nullptr;
  if ((*p >= 'a' && *p <= 'z') || (*p >= 'A' && *p <= 'Z')) return nullptr;
  const double m = static_cast<double>(minutes);
  const double h = static_cast<double>(hundredths);
  *clock = ClockValue(negative ? -m : m, negative ? -h : h);
  return p;
}

// A clock value into *out; returns where the number ended, or null as ScanReal. Plain
// decimals ("12.07", "-3.5", "4.050000") are taken digit by digit, so no binary rounding of
// the whole value can lose a second; other forms ("1e2") go through the double and are
// rounded to hundredths.
const char* ScanClock(const char* value, double* out) {
  double plain = 0.0;
  if (const char* plainEnd = ScanPlainClock(value, &plain)) {
    if (!CLOCK_RANGE.Holds(plain)) return nullptr;
    *out = plain;
    return plainEnd;
  }
  char* end = nullptr;
  const double whole = strtod_l(value, &end, ClassicLocale());
  if (end == value || !std::isfinite(whole)) return nullptr;
  const char* p = value;
  while (p < end && (*p == ' ' || (*p >= '\t' && *p <= '\r'))) ++p;
  bool negative = false;
  if (p < end && (*p == '+' || *p == '-')) negative = *p++ == '-';
  double minutes = 0.0;
  int digits = 0;
  for (; p < end && *p >= '0' && *p <= '9'; ++p, ++digits) minutes = minutes * 10 + (*p - '0');
  double hundredths = 0.0;
  if (p < end && *p == '.') {
    ++p;
    int place = 0;
    for (; p < end && *p >= '0' && *p <= '9'; ++p, ++place) {
      if (place < 2) hundredths = hundredths * 10 + (*p - '0');
      if (place == 2 && *p >= '5') hundredths += 1.0;
    }
    if (place == 1) hundredths *= 10;
    digits += place;
  }
  double clock = whole;
  // Fifteen digits stay exact in a double; anything else is taken from strtod.
  if (p == end && digits > 0 && digits <= 15) {
    clock = ClockValue(negative ? -minutes : minutes, negative ? -hundredths : hundredths);
  } else {
    const double rounded = std::round(whole * 100.0) / 100.0;
    if (std::isfinite(rounded)) clock = rounded;
  }
  if (!CLOCK_RANGE.Holds(clock)) return nullptr;
  *out = clock;
  return end;
}

}  // namespace

double ClockValue(double minutes, double hundredths) {
  return (minutes * 100.0 + hundredths) / 100.0;
}

bool ReadClock(const char* value, double* out) { return ScanClock(value, out) != nullptr; }

bool ReadInt(const char* value, int* out) { return ScanInt(value, out) != nullptr; }

bool ReadReal(const char* value, double* out) { return ScanReal(value, out) != nullptr; }

bool ReadRealIn(const char* value, ValueRange range, double* out) {
  double d = 0.0;
  if (ScanReal(value, &d) == nullptr || !range.Holds(d)) return false;
  *out = d;
  return true;
}

bool ReadFlag(const char* value) {
  int v = 0;
  return ReadInt(value, &v) && v == 1;
}

bool ReadViewedPair(const char* value, int* id, double* time) {
  const char* rest = ScanInt(value, id);
  if (rest == nullptr) return false;
  *time = 0.0;
  if (rest[0] == '-' && rest[1] == '-') ScanClock(rest + 2, time);
  return true;
}

void CopyText(char* dst, size_t size, const char* src) {
  if (size == 0) return;
  const size_t n = strnlen(src, size - 1);
  memcpy(dst, src, n);
  dst[n] = '\0';
}

CClassicLocaleScope::CClassicLocaleScope() : m_previous(uselocale(ClassicLocale())) {}

CClassicLocaleScope::~CClassicLocaleScope() { uselocale(m_previous); }
