// Letterbox arithmetic of the scaled presentation.
#include <cmath>

#include "platform/graphics/detail/presentation.h"

namespace platform {

Viewport LetterboxViewport(int clientWidth, int clientHeight, int logicalWidth,
                           int logicalHeight) {
  Viewport v;
  if (clientWidth <= 0 || clientHeight <= 0 || logicalWidth <= 0 || logicalHeight <= 0) {
    v.width = logicalWidth;
    v.height = logicalHeight;
    return v;
  }
  float want = static_cast<float>(logicalWidth) / static_cast<float>(logicalHeight);
  float real = static_cast<float>(clientWidth) / static_cast<float>(clientHeight);
  if (std::fabs(want - real) < 0.0001f) {
    v.scale = static_cast<float>(clientWidth) / static_cast<float>(logicalWidth);
    v.width = clientWidth;
    v.height = clientHeight;
  } else if (want > real) {  // wider than the window: bars above and below
    v.scale = static_cast<float>(clientWidth) / static_cast<float>(logicalWidth);
    v.width = clientWidth;
    v.height = static_cast<int>(std::floor(static_cast<float>(logicalHeight) * v.scale));
    v.y = (clientHeight - v.height) / 2;
  } else {  // narrower: bars left and right
    v.scale = static_cast<float>(clientHeight) / static_cast<float>(logicalHeight);
    v.height = clientHeight;
    v.width = static_cast<int>(std::floor(static_cast<float>(logicalWidth) * v.scale));
    v.x = (clientWidth - v.width) / 2;
  }
  return v;
}

POINT ClientToLogical(POINT client, int clientWidth, int clientHeight, int logicalWidth,
                      int logicalHeight) {
  Viewport v = LetterboxViewport(clientWidth, clientHeight, logicalWidth, logicalHeight);
  if (v.scale <= 0.0f) return client;
  POINT p;
  p.x = static_cast<LONG>(std::floor(static_cast<float>(client.x - v.x) / v.scale));
  p.y = static_cast<LONG>(std::floor(static_cast<float>(client.y - v.y) / v.scale));
  return p;
}

}  // namespace platform
