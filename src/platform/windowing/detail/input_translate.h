// Turns window-system events into the messages of the message layer, the same way for the
// real and the headless backend (platform-internal).
#pragma once

#include "platform/pieces.h"
#include "platform/windowing/win_types.h"

namespace platform {

void TranslateInput(const InputEvent& event);
// While a modal box or dialog runs, input meant for the main window is thrown away rather
// than queued; window state (size, activation) and termination still get through.
void DiscardOrTranslate(const InputEvent& event, bool discard);
// When the last modal loop ends: a press the program was given has its release, even when
// the box took the real one, so no drag outlives the box; the mouse capture is let go.
void ReleaseStylusAfterModal();

// Keys down right now, indexed by virtual-key code.
const BYTE* KeyStates();
void ResetInputState();

// Double clicks: the second press within this time and distance of the first.
constexpr uint32_t kDoubleClickMs = 500;
constexpr int kDoubleClickDistance = 4;

}  // namespace platform
