// A new project's map edges from the world file that GIS tools export beside the image.
#pragma once

#include <string>
#include <vector>

struct MapBounds {
  double west = 0, north = 0, east = 0, south = 0;  // decimal degrees
};

struct Georeference {
  bool ok = false;
  MapBounds bounds;
  std::string worldFile;           // the file the bounds were read from
  std::vector<std::string> notes;  // warnings that do not stop the project
  std::string problem;             // why there are no bounds
};

// The edges of an image of width x height pixels from the world file beside it. crs names
// the system the world file is in ("EPSG:32633"); empty, it holds longitudes and latitudes.
// A map that the program could not draw north-up within a pixel, or that crosses the date
// line, is refused.
Georeference BoundsFromWorldFile(const std::string& imagePath, int width, int height,
                                 const std::string& crs);

struct WorldFile;
// The same for a world file already read; worldFile names it in messages.
Georeference PlaceWorldFile(const WorldFile& world, const std::string& worldFile, int width,
                            int height, const std::string& crs);
