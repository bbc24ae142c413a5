// GPX through expat: track and route points (lat, lon, time, hdop) and waypoints (with names).
// A point with a missing or impossible position is skipped and counted; a time that does
// not parse leaves the point without one.
#include <expat.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "platform/position/detail/track_parsing.h"
#include "platform/position/track_file.h"
#include "platform/text/tr.h"

namespace platform {
namespace {

constexpr size_t kLongestText = 1024;  // of a time, hdop or name; the rest is ignored

struct GpxState {
  TrackFile* out = nullptr;
  int depth = 0;
  bool sawRoot = false;
  bool rootIsGpx = false;
  enum class Point { None, Track, Way } point = Point::None;
  int pointDepth = 0;
  bool pointValid = false;
  TrackPoint current{};
  std::string field;  // "time", "hdop", "name" while inside one of them, else empty
  std::string text;
};

// The local part of a possibly prefixed element name.
const char* LocalName(const char* name) {
  const char* colon = std::strrchr(name, ':');
  return colon != nullptr ? colon + 1 : name;
}

bool ValidPosition(double lat, double lon) {
  return std::isfinite(lat) && std::isfinite(lon) && std::fabs(lat) <= 90 && std::fabs(lon) <= 180;
}

void XMLCALL Start(void* data, const XML_Char* name, const XML_Char** attrs) {
  auto* s = static_cast<GpxState*>(data);
  const char* local = LocalName(name);
  ++s->depth;
  if (!s->sawRoot) {
    s->sawRoot = true;
    s->rootIsGpx = std::strcmp(local, "gpx") == 0;
  }
  if (s->point == GpxState::Point::None) {
    // A route is walked like a track: its points join the walk in file order.
    bool trk = std::strcmp(local, "trkpt") == 0 || std::strcmp(local, "rtept") == 0;
    if (!trk && std::strcmp(local, "wpt") != 0) return;
    s->point = trk ? GpxState::Point::Track : GpxState::Point::Way;
    s->pointDepth = s->depth;
    double lat = std::numeric_limits<double>::quiet_NaN();
    double lon = lat;
    for (int i = 0; attrs[i] != nullptr && attrs[i + 1] != nullptr; i += 2) {
      if (std::strcmp(attrs[i], "lat") == 0) lat = StrictNumber(attrs[i + 1]);
      if (std::strcmp(attrs[i], "lon") == 0) lon = StrictNumber(attrs[i + 1]);
    }
    s->pointValid = ValidPosition(lat, lon);
    s->current = TrackPoint{lat, lon, std::numeric_limits<double>::quiet_NaN(), -1, {}};
    return;
  }
  if (s->depth == s->pointDepth + 1 &&
      (std::strcmp(local, "time") == 0 || std::strcmp(local, "hdop") == 0 ||
       std::strcmp(local, "name") == 0)) {
    s->field = local;
    s->text.clear();
  }
}

void XMLCALL End(void* data, const XML_Char* /*name*/) {
  auto* s = static_cast<GpxState*>(data);
  if (s->point != GpxState::Point::None && s->depth == s->pointDepth + 1 && !s->field.empty()) {
    if (s->field == "time") s->current.time = ParseIsoTime(s->text);
    if (s->field == "hdop") s->current.horizontalError = ErrorFromHdop(StrictNumber(s->text));
    if (s->field == "name") s->current.name = s->text;
    s->field.clear();
  } else if (s->point != GpxState::Point::None && s->depth == s->pointDepth) {
    if (!s->pointValid) {
      ++s->out->skipped;
    } else if (s->point == GpxState::Point::Track) {
      s->out->points.push_back(std::move(s->current));
    } else {
      s->out->waypoints.push_back(std::move(s->current));
    }
    s->point = GpxState::Point::None;
  }
  --s->depth;
}

void XMLCALL Text(void* data, const XML_Char* text, int length) {
  auto* s = static_cast<GpxState*>(data);
  if (s->field.empty() || length <= 0) return;
  size_t room = kLongestText - std::min(kLongestText, s->text.size());
  s->text.append(text, std::min(room, static_cast<size_t>(length)));
}

}  // namespace

TrackFile ParseGpx(const char* data, size_t size) {
  TrackFile out;
  GpxState state;
  state.out = &out;
  XML_Parser parser = XML_ParserCreate(nullptr);
  if (parser == nullptr) {
    out.error = _("out of memory");
    return out;
  }
  XML_SetUserData(parser, &state);
  XML_SetElementHandler(parser, Start, End);
  XML_SetCharacterDataHandler(parser, Text);
  // Fed in slices: XML_Parse takes an int length.
  constexpr size_t kSlice = 1 << 20;
  bool ok = true;
  size_t offset = 0;
  do {
    size_t n = std::min(kSlice, size - offset);
    bool last = offset + n == size;
    ok = XML_Parse(parser, data + offset, static_cast<int>(n), last) == XML_STATUS_OK;
    offset += n;
    if (ok && !state.rootIsGpx && state.sawRoot) break;
  } while (ok && offset < size);
  std::string xmlError;
  if (!ok) {
    xmlError = std::string(XML_ErrorString(XML_GetErrorCode(parser))) + " at line " +
               std::to_string(XML_GetCurrentLineNumber(parser));
  }
  XML_ParserFree(parser);

  if (state.sawRoot && !state.rootIsGpx) {
    out = TrackFile{};
    out.error = _("not a GPX file");
  } else if (out.points.empty() && out.waypoints.empty()) {
    out.error =
        !xmlError.empty() ? _("not readable as GPX: ") + xmlError : _("no points in the file");
  } else if (!xmlError.empty()) {
    ++out.skipped;  // a damaged or truncated rest, after the points kept
  }
  return out;
}

}  // namespace platform
