// The arrival chime: a short sound shipped with the program (resource 116, "WAV"), played
// through the machine's sound output.
#pragma once

#include <cstddef>

namespace platform {

constexpr unsigned kChimeResource = 116;

// Starts the chime at volume 0 (silent) to 1000 (as recorded) and returns at once. False
// when it cannot sound (no sound output, no or broken sound), which is not worth a word.
bool PlayChime(int volume);

// Whether bytes hold a sound the chime can play (a WAV file SDL reads).
bool ChimeSoundReadable(const unsigned char* data, std::size_t size);

}  // namespace platform
