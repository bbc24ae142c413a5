// libFuzzer target for the track readers: each input is read as NMEA 0183 and as GPX, and
// whatever they keep must be a possible position with a sensible error estimate.
// Built by fuzz/build_track_fuzzer.sh with clang, ASan and UBSan.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "platform/position/track_file.h"

namespace {

void Check(const platform::TrackFile& t) {
  for (const auto* list : {&t.points, &t.waypoints}) {
    for (const platform::TrackPoint& p : *list) {
      if (!std::isfinite(p.latitude) || !std::isfinite(p.longitude) ||
          std::fabs(p.latitude) > 90 || std::fabs(p.longitude) > 180 ||
          std::isinf(p.time) || std::isnan(p.horizontalError) || std::isinf(p.horizontalError)) {
        std::abort();
      }
    }
  }
  if (t.skipped < 0 || (t.points.empty() && t.waypoints.empty() && t.error.empty())) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const char* text = reinterpret_cast<const char*>(data);
  Check(platform::ParseNmea(text, size));
  Check(platform::ParseGpx(text, size));
  return 0;
}
