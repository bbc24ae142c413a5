// Map pixels to screen pixels and back: the view shows the map unscaled from its top-left.
#include "map/view_transform.h"

#include "map/render_helpers.h"

POINT MapView::ToScreen(CGeoPoint map) const {
  return POINT{ToPixel(map.x) - viewRect.left, ToPixel(map.y) - viewRect.top};
}

RECT MapView::ToScreen(const RECT& map) const {
  return RECT{map.left - viewRect.left, map.top - viewRect.top, map.right - viewRect.left,
              map.bottom - viewRect.top};
}

CGeoPoint MapView::ToMap(POINT screen) const {
  return CGeoPoint(screen.x + viewRect.left, screen.y + viewRect.top);
}
