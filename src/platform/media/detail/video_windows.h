// Platform-side view of the open media windows, for the presentation loop and tests.
#pragma once

struct SDL_Surface;

namespace platform {

// Renders the newest frame of the playing media window, if any. Returns the frame to show
// when it changed since the last call, else null.
SDL_Surface* PumpVideoWindows();
// True while some media window holds open media.
bool AnyVideoOpen();
// Number of players alive (released ones are gone), for leak checks.
int LiveVideoPlayers();

}  // namespace platform
