// The process locale: taken from the environment like the toolkit takes it, except that
// numbers always use a '.' decimal point (the files are written that way, and libmpv
// refuses to start otherwise).
#pragma once

namespace platform {

void SetProcessLocale();
// Puts LC_NUMERIC back to "C" after anything (a toolkit's start-up) may have changed it.
void KeepNumericLocale();

}  // namespace platform
