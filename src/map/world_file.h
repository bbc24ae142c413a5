// The world file that GIS tools write beside an exported image: six numbers placing its
// pixels on the ground.
#pragma once

#include <string>

struct WorldFile {
  // Ground units per pixel across (x) and down (y, negative when north is at the top), the
  // two rotation terms, and the ground position of the centre of the top-left pixel.
  double pixelWidth = 0;     // line 1
  double rowRotation = 0;    // line 2: y change per column
  double columnRotation = 0; // line 3: x change per row
  double pixelHeight = 0;    // line 4
  double originX = 0;        // line 5
  double originY = 0;        // line 6
};

struct WorldFileRead {
  bool ok = false;
  WorldFile world;
  std::string problem;  // why it could not be read, naming the line
};

// The world file beside an image, tried in the order exporters write them: the extension's
// first and last letters plus "w" (map.png: map.pgw; map.jpeg: map.jgw; map.tif: map.tfw),
// the extension plus "w" (map.pngw), then map.wld; each also in upper case. Empty when there
// is none.
std::string FindWorldFile(const std::string& imagePath);

// Six finite numbers, one a line (blank lines and surrounding spaces are allowed), with a
// positive pixel width and a negative pixel height. Anything else is refused with the line.
WorldFileRead ReadWorldFile(const std::string& path);
// The same for the text of a world file; name says which file in messages.
WorldFileRead ParseWorldFile(const std::string& text, const std::string& name);
