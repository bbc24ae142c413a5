// Recorded tracks: GPX (through expat) and NMEA 0183 logs (GGA and RMC), read into points
// with times and horizontal error estimates. Damaged parts are skipped and counted.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace platform {

struct TrackPoint {
  double latitude;
  double longitude;
  double time;             // s since epoch, NaN if none
  double horizontalError;  // metres, < 0 unknown
  std::string name;
};

struct TrackFile {
  std::vector<TrackPoint> points;     // GPX trkpt and rtept, or NMEA fixes, in file order
  std::vector<TrackPoint> waypoints;  // GPX wpt elements (name kept), empty for NMEA
  int skipped = 0;                    // sentences/points dropped: bad checksum, NaN, |lat|>90...
  std::string error;                  // non-empty when the file is unreadable as a whole
};

TrackFile ReadTrackFile(const std::string& path);  // GPX via expat, or NMEA (GGA, RMC)
TrackFile ParseGpx(const char* data, size_t size);
TrackFile ParseNmea(const char* data, size_t size);

}  // namespace platform
