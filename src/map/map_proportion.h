// Whether a map image keeps its proportions when it is drawn at the map's fixed size.
#pragma once

#include <cstdint>

// Every map is drawn at 800 x 600. An image whose width-to-height ratio differs from that
// by more than 2 % comes out visibly stretched; closer ones are only scaled.
bool MapOutOfProportion(int64_t width, int64_t height);
