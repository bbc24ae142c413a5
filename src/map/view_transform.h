// The one conversion between map pixels and the screen. Everything the map view draws or
// hit-tests goes through it, so a zoom or pan of the map changes it in one place.
#pragma once

#include "map/geo_point.h"
#include "platform/windowing/win_types.h"

// The map is drawn enlarged by `scale` (screen pixels per map pixel, 1 when the whole map
// fits); "zoomed pixels" are map pixels times the scale, cut to whole pixels, and viewRect
// is the part of the zoomed map on the screen. At scale 1 zoomed pixels are map pixels.
struct MapView {
  RECT viewRect{};     // the part of the map shown, zoomed pixels
  double scale = 1.0;  // screen pixels per map pixel

  // A map point's zoomed pixel (truncated toward zero, like every drawn position).
  POINT ToZoomed(CGeoPoint map) const;
  POINT ToScreen(CGeoPoint map) const;
  // A rectangle of zoomed pixels on the screen.
  RECT ToScreen(const RECT& zoomed) const;
  // Something of fixed screen size (a marker, an icon, a badge) placed by its offsets from a
  // map point: in zoomed pixels, and on the screen.
  RECT ZoomedBox(CGeoPoint map, const RECT& offsets) const;
  RECT ScreenBox(CGeoPoint map, const RECT& offsets) const;
  // A length on the ground (map pixels) in screen pixels.
  double ToScreenLength(double mapLength) const { return mapLength * scale; }
  // The map point under a screen pixel; the inverse of ToScreen up to its truncation.
  CGeoPoint ToMap(POINT screen) const;
};
