// PNG decoding straight into an opaque ARGB8888 surface.
#pragma once

#include <SDL.h>

#include <cstddef>
#include <cstdint>

namespace platform {

// The PNG held in memory, whose header gave width x height (already found acceptable), as a
// new opaque ARGB8888 surface with the colours the image stores; null when it is damaged,
// cut short or memory runs out.
SDL_Surface* DecodePng(const unsigned char* data, std::size_t size, int64_t width, int64_t height);

}  // namespace platform
