// A trace of the presses the program takes from its queue, for checks from outside the
// process: with CORVANE_INPUT_TRACE naming a file, each dispatched WM_LBUTTONDOWN appends
// "down <client x> <client y> <logical x> <logical y>".
#pragma once

#include "platform/windowing/win_types.h"

namespace platform {

void TraceDispatch(const MSG& msg);

}  // namespace platform
