// Map edges from a world file: its pixel grid placed on the ground, converted to WGS84 when
// it is in a projected system, and held to the program's north-up, evenly spaced map.
#include "app/new_georeference.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>

#include "map/crs_conversion.h"
#include "map/world_file.h"
#include "platform/text/tr.h"

namespace {

// Rotation terms this small are rounding in the exporter, not a turned map.
constexpr double kNoiseTurn = 0.001;  // pixels across the whole map
// The program draws every map north-up; more than this off it and places are drawn visibly
// away from where they are.
constexpr double kMostTilt = 1.0;  // pixels across the map

std::string Printed(const char* format, double a, double b, double c, double d) {
  char text[512];
  std::snprintf(text, sizeof text, format, a, b, c, d);
  return text;
}

bool Degrees(const std::vector<GroundPoint>& points, std::string* problem) {
  bool longitudes = true, latitudes = true;
  for (const GroundPoint& p : points) {
    longitudes = longitudes && std::fabs(p.x) <= 180;
    latitudes = latitudes && std::fabs(p.y) <= 90;
  }
  if (longitudes && latitudes) return true;
  const double west = points.front().x, east = points.back().x;
  if (latitudes && west > -360 && east < 360 && (west < 180) && (east > -180)) {
    *problem = Printed(
        _("the map runs from longitude %.6f to %.6f, across the date line (180 degrees); the "
          "program's maps must lie on one side of it"),
        west, east, 0, 0);
    return false;
  }
  *problem = Printed(
                 _("the world file places the map at x %.3f to %.3f, y %.3f to %.3f, which are "
                   "not longitudes and latitudes; "),
                 west, east, points.front().y, points.back().y) +
             _("name the system it is in with --crs=EPSG:NNNN (for example EPSG:32633 for UTM "
               "zone 33N, EPSG:3857 for Web Mercator)");
  return false;
}

}  // namespace

Georeference BoundsFromWorldFile(const std::string& imagePath, int width, int height,
                                 const std::string& crs) {
  Georeference result;
  result.worldFile = FindWorldFile(imagePath);
  if (result.worldFile.empty()) {
    const std::string stem = std::filesystem::path(imagePath).stem().string();
    result.problem = _("no --bounds given and no world file beside the map (such as ") + stem +
                     ".pgw, " + stem + ".jgw, " + stem + _(".tfw or ") + stem +
                     _(".wld); give --bounds=W,N,E,S or export the map with a world file");
    return result;
  }
  const WorldFileRead read = ReadWorldFile(result.worldFile);
  if (!read.ok) {
    result.problem = read.problem;
    return result;
  }
  return PlaceWorldFile(read.world, result.worldFile, width, height, crs);
}

Georeference PlaceWorldFile(const WorldFile& w, const std::string& worldFile, int width,
                            int height, const std::string& crs) {
  Georeference result;
  result.worldFile = worldFile;
  // How far the rotation terms move the top edge across the width and the left edge down
  // the height, in pixels.
  const double topTurn = w.rowRotation * width / -w.pixelHeight;
  const double leftTurn = w.columnRotation * height / w.pixelWidth;
  if (std::max(std::fabs(topTurn), std::fabs(leftTurn)) > kNoiseTurn) {
    const double angle = std::atan2(std::fabs(w.rowRotation), w.pixelWidth) * 180.0 / M_PI;
    result.problem =
        result.worldFile +
        Printed(_(" turns the map by %.2f degrees: its rotation terms move the top edge %.1f "
                  "pixels across the width and the left edge %.1f pixels down the height. The "
                  "program draws maps north-up only; export the map without rotation"),
                angle, std::fabs(topTurn), std::fabs(leftTurn), 0);
    return result;
  }

  // The file places the centres of the pixels; the map's edges lie half a pixel outside them.
  const double left = w.originX - w.pixelWidth / 2;
  const double top = w.originY - w.pixelHeight / 2;
  const double right = left + w.pixelWidth * width;
  const double bottom = top + w.pixelHeight * height;
  // Corners, middles of the edges and the centre, row by row from the top left.
  std::vector<GroundPoint> points;
  for (int row = 0; row <= 2; ++row)
    for (int column = 0; column <= 2; ++column)
      points.push_back({left + (right - left) * column / 2, top + (bottom - top) * row / 2});
  for (const GroundPoint& p : points) {
    if (!std::isfinite(p.x) || !std::isfinite(p.y)) {
      result.problem = result.worldFile + _(" places the map beyond any coordinate");
      return result;
    }
  }
  if (crs.empty() ? !Degrees(points, &result.problem)
                  : !ConvertToWgs84(crs, points, &result.problem))
    return result;

  auto at = [&](int row, int column) { return points[row * 3 + column]; };
  // A system wraps or folds points beyond the area it is defined for: Web Mercator wraps
  // longitudes round the globe. A map across the date line comes back with one jump of a
  // whole turn in each row (told below); one placed further out, with its points out of order.
  if (!crs.empty()) {
    bool inOrder = true;
    for (int i = 0; i <= 2; ++i) {
      inOrder = inOrder && at(0, i).y > at(1, i).y && at(1, i).y > at(2, i).y &&
                std::fabs(at(0, i).y) <= 90 && std::fabs(at(2, i).y) <= 90;
      double turns = 0;
      for (int column = 1; column <= 2; ++column) {
        if (at(i, column).x + turns * 360 <= at(i, column - 1).x) ++turns;
      }
      inOrder = inOrder && turns <= 1 && at(i, 2).x + turns * 360 - at(i, 0).x < 360;
    }
    if (!inOrder) {
      result.problem = _("converted from ") + crs +
                       _(", the map's points come out of order or off the globe: the world "
                         "file places it beyond the area that system describes");
      return result;
    }
  }
  MapBounds& b = result.bounds;
  b.west = (at(0, 0).x + at(2, 0).x) / 2;
  b.east = (at(0, 2).x + at(2, 2).x) / 2;
  b.north = (at(0, 0).y + at(0, 2).y) / 2;
  b.south = (at(2, 0).y + at(2, 2).y) / 2;
  if (!crs.empty() && (b.west > b.east || b.west < -180 || b.east > 180)) {
    result.problem = Printed(
        (_("converted from ") + crs +
            _(", the map runs from longitude %.6f east to %.6f, across the date line (180 "
              "degrees); the program's maps must lie on one side of it"))
            .c_str(),
        b.west, b.east, 0, 0);
    return result;
  }
  if (!(b.west < b.east) || !(b.north > b.south)) {
    result.problem = result.worldFile + _(" gives the map no extent on the ground");
    return result;
  }

  // Where each point lies against where the program, spacing longitudes and latitudes evenly
  // between the edges, draws it: the tilt of the edges, and the most any point is off.
  const double perPixelX = (b.east - b.west) / width;
  const double perPixelY = (b.north - b.south) / height;
  const double tilt = std::max({std::fabs(at(0, 0).y - at(0, 2).y) / perPixelY,
                                std::fabs(at(2, 0).y - at(2, 2).y) / perPixelY,
                                std::fabs(at(0, 0).x - at(2, 0).x) / perPixelX * width / height,
                                std::fabs(at(0, 2).x - at(2, 2).x) / perPixelX * width / height});
  if (tilt > kMostTilt) {
    const double angle = std::atan(tilt / width) * 180.0 / M_PI;
    result.problem = Printed(
        (_("converted from ") + crs +
         _(" to WGS84, the map would be %.1f pixels off north-up across its width (north is "
           "turned %.2f degrees there). The program draws maps north-up only; export the map "
           "in a system whose north is up across it, such as EPSG:4326 or EPSG:3857"))
            .c_str(),
        tilt, angle, 0, 0);
    return result;
  }
  double off = 0;
  for (int row = 0; row <= 2; ++row) {
    for (int column = 0; column <= 2; ++column) {
      const double dx = (at(row, column).x - b.west) / perPixelX - width * column / 2.0;
      const double dy = (b.north - at(row, column).y) / perPixelY - height * row / 2.0;
      off = std::max(off, std::hypot(dx, dy));
    }
  }
  if (off > kMostTilt)
    result.notes.push_back(Printed(
        (_("converted from ") + crs +
         _(", places are drawn up to %.1f pixels of the map image from where they lie, since the "
           "program spaces longitudes and latitudes evenly across the map"))
            .c_str(),
        off, 0, 0, 0));
  result.ok = true;
  return result;
}
