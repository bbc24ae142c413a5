// A time limit on boxes and dialogs, for a device nobody attends: one left open that long
// closes as if cancelled, so the program goes on instead of waiting for ever.
#pragma once

#include <cstdint>

namespace platform {

// Boxes and dialogs opened from now on close unanswered after ms (0: never).
void SetModalTimeLimit(uint32_t ms);
// True once after a box or dialog was closed by the limit.
bool TakeModalTimeout();

// --- platform-internal ---
// True while the outermost box or dialog has been open for the limit; the loops that wait
// for an answer check it as they check for a request to end.
bool ModalExpired();

}  // namespace platform
