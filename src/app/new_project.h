// A new project from a map image and surveyed waypoints, written exactly as the program
// writes projects, ready to open and to check.
#pragma once

#include <string>
#include <vector>

#include "app/new_georeference.h"

struct NewProjectRequest {
  std::string folder;     // made when missing; the project file is <folder name>.xml in it
  std::string map;        // image file, copied beside the project
  std::string bounds;     // "W,N,E,S": the map's edges in decimal degrees; empty: read them
                          // from the world file beside the map
  std::string waypoints;  // GPX file whose waypoints become regions; empty for none
  std::string name;       // project name; empty: the folder's name
  std::string crs;        // the world file's system ("EPSG:32633"); empty: degrees
};

struct NewProjectResult {
  bool written = false;
  std::string projectFile;  // what was written
  int regions = 0;
  double radius = 0;               // map pixels
  MapBounds bounds;                // the map's edges written
  std::string boundsFrom;          // the world file they were read from, if any
  std::vector<std::string> notes;  // warnings that did not stop the project
  std::string problem;             // why nothing was written
};

// Metres of ground per map pixel are worked out from the edges on the 800 x 600 map the
// program always draws; the radius is the whole number of pixels nearest 25 metres.
double RadiusForMetres(double west, double north, double east, double south, double metres);

// Writes the project, or nothing at all (anything copied or made is removed again).
NewProjectResult CreateNewProject(const NewProjectRequest& request);
