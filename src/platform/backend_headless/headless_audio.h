// The headless record of sounds: the chime is counted instead of played.
#pragma once

namespace headless {

int ChimeCount();
int LastChimeVolume();  // -1 before the first chime
void ForgetChimes();

}  // namespace headless
