// Whether a map image keeps its proportions when it is drawn at the map's fixed size.
#pragma once

#include <cstdint>

// Every map is drawn at 800 x 600. An image whose width-to-height ratio differs from that
// by more than 2 % comes out visibly stretched; closer ones are only scaled.
bool MapOutOfProportion(int64_t width, int64_t height);

// Width over height of the ground inside the edges (decimal degrees), an east-west degree
// shortened by the cosine of the middle latitude; 0 for edges with no extent.
double GroundAspect(double west, double north, double east, double south);

// Whether two width-to-height ratios differ by more than the 2 % that the eye lets pass.
bool AspectsDiffer(double a, double b);
