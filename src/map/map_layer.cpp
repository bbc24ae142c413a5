// The kept map layer: drawn again only when its key changes.
#include "map/map_layer.h"

CGapiSurface* MapLayer::For(int width, int height, bool* redraw) {
  *redraw = false;
  if (static_cast<int>(m_surface.GetWidth()) != width ||
      static_cast<int>(m_surface.GetHeight()) != height || m_surface.IsEmpty()) {
    m_key.clear();
    if (width <= 0 || height <= 0 ||
        m_surface.CreateSurface(GDSURFACE_SYSTEMMEMORY, static_cast<DWORD>(width),
                                static_cast<DWORD>(height)) != GD_OK) {
      return nullptr;
    }
  }
  if (m_key.empty() || m_key != m_next) {
    m_key.swap(m_next);
    *redraw = true;
  }
  return &m_surface;
}
