// Map pixels to screen pixels and back: the map enlarged by the view's scale, shown from the
// view rectangle's top-left corner.
#include "map/view_transform.h"

#include "map/render_helpers.h"

POINT MapView::ToZoomed(CGeoPoint map) const {
  return POINT{ToPixel(map.x * scale), ToPixel(map.y * scale)};
}

POINT MapView::ToScreen(CGeoPoint map) const {
  const POINT z = ToZoomed(map);
  return POINT{z.x - viewRect.left, z.y - viewRect.top};
}

RECT MapView::ToScreen(const RECT& zoomed) const {
  return RECT{zoomed.left - viewRect.left, zoomed.top - viewRect.top, zoomed.right - viewRect.left,
              zoomed.bottom - viewRect.top};
}

RECT MapView::ZoomedBox(CGeoPoint map, const RECT& offsets) const {
  const POINT z = ToZoomed(map);
  return RECT{z.x + offsets.left, z.y + offsets.top, z.x + offsets.right, z.y + offsets.bottom};
}

RECT MapView::ScreenBox(CGeoPoint map, const RECT& offsets) const {
  return ToScreen(ZoomedBox(map, offsets));
}

CGeoPoint MapView::ToMap(POINT screen) const {
  return CGeoPoint((screen.x + viewRect.left) / scale, (screen.y + viewRect.top) / scale);
}
