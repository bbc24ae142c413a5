// Presentation helpers shared by the display and the message pump (platform-internal).
#pragma once

#include "platform/windowing/win_types.h"

namespace platform {

// Where a logical picture lands in a client area when scaled with its aspect kept: the same
// arithmetic as SDL_RenderSetLogicalSize, so mapping back agrees with what is on screen.
struct Viewport {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  float scale = 1.0f;
};
Viewport LetterboxViewport(int clientWidth, int clientHeight, int logicalWidth,
                           int logicalHeight);
// Client (device) coordinates to logical ones; points outside the picture map outside the
// logical area rather than being clamped, so a captured drag keeps its direction.
POINT ClientToLogical(POINT client, int clientWidth, int clientHeight, int logicalWidth,
                      int logicalHeight);

// Shows the newest frame of a playing media window, when there is one.
void PresentVideoFrame();

}  // namespace platform
