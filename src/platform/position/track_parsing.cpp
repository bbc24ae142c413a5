// Numbers, times and error estimates for the track readers.
#include "platform/position/detail/track_parsing.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace platform {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

std::string_view Trim(std::string_view s) {
  while (!s.empty() &&
         (s.front() == ' ' || s.front() == '\t' || s.front() == '\r' || s.front() == '\n')) {
    s.remove_prefix(1);
  }
  while (!s.empty() &&
         (s.back() == ' ' || s.back() == '\t' || s.back() == '\r' || s.back() == '\n')) {
    s.remove_suffix(1);
  }
  return s;
}

// Exactly `n` digits at `pos`, else -1.
int Digits(std::string_view s, size_t pos, size_t n) {
  if (pos + n > s.size()) return -1;
  int v = 0;
  for (size_t i = pos; i < pos + n; ++i) {
    if (s[i] < '0' || s[i] > '9') return -1;
    v = v * 10 + (s[i] - '0');
  }
  return v;
}

}  // namespace

double ErrorFromHdop(double hdop, bool differential) {
  if (!std::isfinite(hdop) || hdop <= 0) return -1;
  return hdop * (differential ? kHorizontalUereDgps : kHorizontalUere);
}

double StrictNumber(std::string_view text) {
  text = Trim(text);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  double v = kNaN;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
  if (text.empty() || ec != std::errc() || end != text.data() + text.size() || !std::isfinite(v)) {
    return kNaN;
  }
  return v;
}

int64_t DaysFromCivil(int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

double ParseIsoTime(std::string_view s) {
  s = Trim(s);
  int year = Digits(s, 0, 4), month = Digits(s, 5, 2), day = Digits(s, 8, 2);
  int hour = Digits(s, 11, 2), minute = Digits(s, 14, 2), second = Digits(s, 17, 2);
  if (year < 0 || month < 1 || month > 12 || day < 1 || day > 31 || hour < 0 || hour > 23 ||
      minute < 0 || minute > 59 || second < 0 || second > 60 || s[4] != '-' || s[7] != '-' ||
      (s[10] != 'T' && s[10] != 't' && s[10] != ' ') || s[13] != ':' || s[16] != ':') {
    return kNaN;
  }
  double t = double(DaysFromCivil(year, unsigned(month), unsigned(day))) * 86400.0 + hour * 3600.0 +
             minute * 60.0 + second;
  size_t pos = 19;
  if (pos < s.size() && (s[pos] == '.' || s[pos] == ',')) {
    double scale = 0.1;
    size_t start = ++pos;
    for (; pos < s.size() && s[pos] >= '0' && s[pos] <= '9'; ++pos, scale /= 10) {
      t += (s[pos] - '0') * scale;
    }
    if (pos == start) return kNaN;
  }
  if (pos == s.size()) return t;  // no zone: taken as UTC, as recorders write it
  if ((s[pos] == 'Z' || s[pos] == 'z') && pos + 1 == s.size()) return t;
  if (s[pos] == '+' || s[pos] == '-') {
    std::string_view zone = s.substr(pos + 1);  // hh, hhmm or hh:mm
    int zh = Digits(zone, 0, 2);
    int zm = zone.size() == 2                     ? 0
             : zone.size() == 4                   ? Digits(zone, 2, 2)
             : zone.size() == 5 && zone[2] == ':' ? Digits(zone, 3, 2)
                                                  : -1;
    if (zh < 0 || zh > 23 || zm < 0 || zm > 59) return kNaN;
    double offset = zh * 3600.0 + zm * 60.0;
    return s[pos] == '+' ? t - offset : t + offset;
  }
  return kNaN;
}

}  // namespace platform
