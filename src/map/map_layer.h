// The map picture with its place areas or markers, drawn once and copied each frame while
// nothing it shows has changed.
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/graphics/gapi.h"

class MapLayer {
 public:
  // Everything the layer's pixels depend on is added to the key of each frame, between
  // Begin and Stale; nothing else decides whether it is drawn again.
  void Begin() { m_next.clear(); }
  void Add(std::int64_t value) { m_next.push_back(value); }
  void Add(double value) {
    std::int64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    m_next.push_back(bits);
  }
  void Add(const void* pointer) { m_next.push_back(reinterpret_cast<std::intptr_t>(pointer)); }

  // Whether the key just built is the one built when last asked (each zoomed frame asks). A
  // zoomed view that moves every frame would pay a copy more for the layer and never use it.
  bool Repeated() {
    const bool same = m_next == m_previous;
    m_previous = m_next;
    return same;
  }

  // The layer of width x height pixels for the key just built; *redraw says that it must be
  // drawn anew (the key is then kept for it). Null when no such surface can be made.
  CGapiSurface* For(int width, int height, bool* redraw);

 private:
  CGapiSurface m_surface;
  std::vector<std::int64_t> m_key, m_next, m_previous;
};
