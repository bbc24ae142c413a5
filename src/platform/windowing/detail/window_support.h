// Mouse capture, cursors and icons as the window layer keeps them (platform-internal).
#pragma once

#include "platform/windowing/win_types.h"

namespace platform {

HWND CapturedWindow();
// The PNG resource of an icon from LoadIconA, or 0 for a system icon.
int IconResourceId(HICON icon);
void ResetMouseState();

}  // namespace platform
