// Image decoding for surfaces: the header check that refuses absurd sizes before anything is
// allocated, and decoding of PNG, JPEG, BMP and GIF into opaque ARGB8888 surfaces.
#pragma once

#include <SDL.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace platform {

// Larger images than this are refused: a map is scaled to 800 x 600 anyway, and a damaged
// or hostile header must not make us allocate gigabytes.
constexpr int64_t kMaxImageSide = 16384;
constexpr int64_t kMaxImagePixels = int64_t{64} * 1024 * 1024;
constexpr std::size_t kMaxImageFileBytes = std::size_t{256} * 1024 * 1024;

enum class ImageFormat { Png, Jpeg, Bmp, Gif };

struct ImageHeader {
  ImageFormat format;
  int64_t width;
  int64_t height;
};

bool ImageSizeAcceptable(int64_t width, int64_t height);

// Format and size read from the first bytes; nullopt when the data is none of the four
// formats or its header is cut short or damaged.
std::optional<ImageHeader> ReadImageHeader(const unsigned char* data, std::size_t size);

// A new surface, opaque black, or null when the size is unacceptable or memory runs out.
SDL_Surface* CreateBlankSurface(int64_t width, int64_t height);
// The same with its pixels left as they come, for a decoder that writes every one.
SDL_Surface* CreateUnfilledSurface(int64_t width, int64_t height);

// Decodes an image held in memory into a new opaque ARGB8888 surface; null on failure.
SDL_Surface* DecodeImage(const unsigned char* data, std::size_t size);

// Whole file into memory; false when it cannot be read or is unreasonably large.
bool ReadImageFile(const char* fileName, std::vector<unsigned char>& out);

}  // namespace platform
