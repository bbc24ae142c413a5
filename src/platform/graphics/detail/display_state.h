// The one open display, as the rest of the platform layer sees it (platform-internal).
#pragma once

#include "platform/windowing/win_types.h"

class CGapiSurface;

namespace platform {

CGapiSurface* OpenBackBuffer();  // null while no display is open
int FlipCount();
// Logical coordinates of a client point of the open display's window; false when none.
bool LogicalFromClient(POINT client, POINT* logical);
// Forgets the open display without touching it (the test is starting over).
void ForgetOpenDisplay();

}  // namespace platform
