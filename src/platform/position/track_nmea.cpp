// NMEA 0183 logs: GGA and RMC sentences with valid checksums make the fixes. The sentences
// of one epoch (same time of day) are combined: the position and HDOP of GGA, the date of
// RMC. Other sentences are ignored; damaged ones are skipped and counted.
#include <cmath>
#include <cstdint>
#include <limits>
#include <string_view>
#include <vector>

#include "platform/position/detail/track_parsing.h"
#include "platform/position/track_file.h"
#include "platform/text/tr.h"

namespace platform {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
// The standard allows 82 characters; some receivers write a little more.
constexpr size_t kLongestSentence = 120;
constexpr int64_t kUnknownDay = INT64_MIN;

std::vector<std::string_view> Fields(std::string_view body) {
  std::vector<std::string_view> out;
  size_t start = 0;
  for (size_t i = 0; i <= body.size(); ++i) {
    if (i == body.size() || body[i] == ',') {
      out.push_back(body.substr(start, i - start));
      start = i + 1;
    }
  }
  return out;
}

int Hex(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// The text between '$' and '*' when the checksum after '*' matches; empty otherwise.
bool CheckedBody(std::string_view line, std::string_view* body) {
  if (line.empty() || line[0] != '$') return false;
  size_t star = line.find('*');
  if (star == std::string_view::npos || star + 3 != line.size()) return false;
  int hi = Hex(line[star + 1]);
  int lo = Hex(line[star + 2]);
  if (hi < 0 || lo < 0) return false;
  unsigned sum = 0;
  for (size_t i = 1; i < star; ++i) sum ^= static_cast<unsigned char>(line[i]);
  if (sum != static_cast<unsigned>(hi * 16 + lo)) return false;
  *body = line.substr(1, star - 1);
  return true;
}

// "ddmm.mmmm" (degreeDigits 2) or "dddmm.mmmm" (3) with its hemisphere letter.
double Coordinate(std::string_view value, std::string_view hemisphere, int degreeDigits,
                  char positive, char negative) {
  if (value.size() < size_t(degreeDigits) + 2 || hemisphere.size() != 1) return kNaN;
  for (char c : value) {
    if ((c < '0' || c > '9') && c != '.') return kNaN;
  }
  double degrees = StrictNumber(value.substr(0, degreeDigits));
  double minutes = StrictNumber(value.substr(degreeDigits));
  if (!std::isfinite(degrees) || !std::isfinite(minutes) || minutes >= 60) return kNaN;
  double v = degrees + minutes / 60;
  if (hemisphere[0] == negative) return -v;
  return hemisphere[0] == positive ? v : kNaN;
}

// "hhmmss[.ss]" as seconds of the day; NaN when empty or malformed.
double TimeOfDay(std::string_view t) {
  if (t.size() < 6) return kNaN;
  double h = StrictNumber(t.substr(0, 2));
  double m = StrictNumber(t.substr(2, 2));
  double s = StrictNumber(t.substr(4));
  if (!(h >= 0 && h < 24 && m >= 0 && m < 60 && s >= 0 && s < 61)) return kNaN;
  if (t[0] == '-' || t[2] == '-' || t[4] == '-' || t[4] == '+') return kNaN;
  return h * 3600 + m * 60 + s;
}

// "ddmmyy" as days since the epoch (years 1980-2079); kUnknownDay when malformed.
int64_t Date(std::string_view d) {
  if (d.size() != 6) return kUnknownDay;
  for (char c : d) {
    if (c < '0' || c > '9') return kUnknownDay;
  }
  int day = (d[0] - '0') * 10 + (d[1] - '0');
  int month = (d[2] - '0') * 10 + (d[3] - '0');
  int year = (d[4] - '0') * 10 + (d[5] - '0');
  if (day < 1 || day > 31 || month < 1 || month > 12) return kUnknownDay;
  year += year < 80 ? 2000 : 1900;
  return DaysFromCivil(year, unsigned(month), unsigned(day));
}

struct Epoch {
  std::string_view timeField;  // sentences with the same field belong together
  double timeOfDay = kNaN;
  int64_t day = kUnknownDay;
  bool hasPosition = false;
  bool fromGga = false;
  double latitude = 0;
  double longitude = 0;
  double error = -1;
};

struct Reader {
  TrackFile out;
  std::vector<int64_t> days;  // per point, before unknown dates are filled in
  std::vector<double> times;  // per point, time of day
  Epoch epoch;
  bool open = false;

  void Flush() {
    if (open && epoch.hasPosition) {
      out.points.push_back(TrackPoint{epoch.latitude, epoch.longitude, kNaN, epoch.error, {}});
      days.push_back(epoch.day);
      times.push_back(epoch.timeOfDay);
    }
    open = false;
    epoch = Epoch{};
  }

  // Starts a new epoch unless the sentence's time matches the open one.
  void Join(std::string_view timeField) {
    if (open && !timeField.empty() && timeField == epoch.timeField) return;
    Flush();
    open = true;
    epoch.timeField = timeField;
    epoch.timeOfDay = TimeOfDay(timeField);
  }

  void Sentence(std::string_view body) {
    std::vector<std::string_view> f = Fields(body);
    if (f[0].size() != 5) return;
    std::string_view type = f[0].substr(2);
    if (type == "GGA") {
      if (f.size() < 9) return Skip();
      // Quality 0 is "no fix": nothing wrong with the sentence, but no position either.
      double quality = StrictNumber(f[6]);
      if (!std::isfinite(quality)) return Skip();
      Join(f[1]);
      if (quality < 1) return;
      double lat = Coordinate(f[2], f[3], 2, 'N', 'S');
      double lon = Coordinate(f[4], f[5], 3, 'E', 'W');
      if (!Valid(lat, lon)) return Skip();
      epoch.hasPosition = true;
      epoch.fromGga = true;
      epoch.latitude = lat;
      epoch.longitude = lon;
      epoch.error = ErrorFromHdop(StrictNumber(f[8]), quality == 2);
    } else if (type == "RMC") {
      if (f.size() < 10) return Skip();
      Join(f[1]);
      int64_t day = Date(f[9]);
      if (day != kUnknownDay) epoch.day = day;
      if (f[2] != "A") return;  // "V": the receiver has no fix
      double lat = Coordinate(f[3], f[4], 2, 'N', 'S');
      double lon = Coordinate(f[5], f[6], 3, 'E', 'W');
      if (!Valid(lat, lon)) return Skip();
      if (!epoch.fromGga) {
        epoch.hasPosition = true;
        epoch.latitude = lat;
        epoch.longitude = lon;
      }
    }
  }

  bool Valid(double lat, double lon) const {
    return std::isfinite(lat) && std::isfinite(lon) && std::fabs(lat) <= 90 &&
           std::fabs(lon) <= 180;
  }
  void Skip() { ++out.skipped; }

  // Each point takes the date of its own epoch; one without counts on from the nearest
  // dated point before it (else after it), a day further at each midnight passed, which a
  // time of day that falls back by more than half a day marks. A log without dates keeps
  // times of day, still counted on across midnight.
  void AssignTimes() {
    const size_t n = out.points.size();
    std::vector<int64_t> rollovers(n, 0);  // midnights passed since the first point
    double last = kNaN;
    for (size_t i = 0; i < n; ++i) {
      rollovers[i] = i > 0 ? rollovers[i - 1] : 0;
      if (!std::isfinite(times[i])) continue;
      if (std::isfinite(last) && times[i] < last - 43200) ++rollovers[i];
      last = times[i];
    }
    size_t anchor = n;  // the dated point the others count from
    for (size_t i = 0; i < n && anchor == n; ++i) {
      if (days[i] != kUnknownDay) anchor = i;
    }
    for (size_t i = 0; i < n; ++i) {
      if (days[i] != kUnknownDay) anchor = i;
      if (!std::isfinite(times[i])) continue;
      const int64_t day = anchor == n ? rollovers[i]
                                      : days[anchor] + rollovers[i] - rollovers[anchor];
      out.points[i].time = double(day) * 86400.0 + times[i];
    }
  }
};

}  // namespace

TrackFile ParseNmea(const char* data, size_t size) {
  Reader r;
  size_t start = 0;
  bool any = false;
  while (start < size) {
    size_t end = start;
    while (end < size && data[end] != '\n') ++end;
    std::string_view line(data + start, end - start);
    start = end + 1;
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t')) {
      line.remove_suffix(1);
    }
    if (line.empty() || line[0] == '#') continue;  // blank lines and log comments
    any = true;
    std::string_view body;
    if (line.size() > kLongestSentence || !CheckedBody(line, &body)) {
      r.Skip();
      continue;
    }
    r.Sentence(body);
  }
  r.Flush();
  r.AssignTimes();
  if (r.out.points.empty()) {
    r.out.error = !any ? _("empty file")
                       : _("no positions in the file (") + std::to_string(r.out.skipped) +
                             _(" damaged lines)");
  }
  return std::move(r.out);
}

}  // namespace platform
