// Ground coordinates of a projected or geographic system converted to WGS84 degrees.
#pragma once

#include <string>
#include <vector>

struct GroundPoint {
  double x = 0;  // easting, or longitude in degrees
  double y = 0;  // northing, or latitude in degrees
};

// Converts points in the system named by crs ("EPSG:NNNN") to WGS84 longitude (x) and
// latitude (y) in place, with the coordinate library's local data only: it never reaches the
// network for a datum grid. False, with the reason, for a system it does not know or a
// point it cannot convert.
bool ConvertToWgs84(const std::string& crs, std::vector<GroundPoint>& points,
                    std::string* problem);
