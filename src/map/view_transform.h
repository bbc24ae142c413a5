// The one conversion between map pixels and the screen. Everything the visitor's guide
// draws or hit-tests goes through it, so a zoom or pan of the map changes it in one place.
#pragma once

#include "map/geo_point.h"
#include "platform/windowing/win_types.h"

struct MapView {
  RECT viewRect{};  // the part of the map shown, map pixels

  POINT ToScreen(CGeoPoint map) const;
  RECT ToScreen(const RECT& map) const;
  CGeoPoint ToMap(POINT screen) const;
};
