#include "platform/graphics/detail/surface_image.h"

#include <SDL_image.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "platform/graphics/detail/png_decode.h"

namespace platform {
namespace {

uint32_t BigEndian32(const unsigned char* p) {
  return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3];
}
uint32_t BigEndian16(const unsigned char* p) { return (uint32_t{p[0]} << 8) | p[1]; }
uint32_t LittleEndian16(const unsigned char* p) { return uint32_t{p[0]} | (uint32_t{p[1]} << 8); }
int32_t LittleEndian32(const unsigned char* p) {
  return static_cast<int32_t>(uint32_t{p[0]} | (uint32_t{p[1]} << 8) | (uint32_t{p[2]} << 16) |
                              (uint32_t{p[3]} << 24));
}

std::optional<ImageHeader> PngHeader(const unsigned char* d, std::size_t n) {
  static const unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (n < 24 || std::memcmp(d, kSignature, 8) != 0 || std::memcmp(d + 12, "IHDR", 4) != 0) {
    return std::nullopt;
  }
  return ImageHeader{ImageFormat::Png, BigEndian32(d + 16), BigEndian32(d + 20)};
}

std::optional<ImageHeader> JpegHeader(const unsigned char* d, std::size_t n) {
  if (n < 4 || d[0] != 0xFF || d[1] != 0xD8) return std::nullopt;
  std::size_t i = 2;
  while (i + 1 < n) {
    if (d[i] != 0xFF) return std::nullopt;
    unsigned char marker = d[i + 1];
    if (marker == 0xFF) {  // fill byte
      ++i;
      continue;
    }
    i += 2;
    if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) continue;      // no length field
    if (marker == 0xD9 || marker == 0xDA || i + 2 > n) return std::nullopt;  // no frame header
    std::size_t length = BigEndian16(d + i);
    if (length < 2) return std::nullopt;
    bool frame =
        marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
    if (frame) {
      if (i + 7 > n) return std::nullopt;
      return ImageHeader{ImageFormat::Jpeg, BigEndian16(d + i + 5), BigEndian16(d + i + 3)};
    }
    i += length;
  }
  return std::nullopt;
}

std::optional<ImageHeader> BmpHeader(const unsigned char* d, std::size_t n) {
  if (n < 26 || d[0] != 'B' || d[1] != 'M') return std::nullopt;
  int32_t infoSize = LittleEndian32(d + 14);
  if (infoSize == 12) {  // the old core header has 16-bit sizes
    return ImageHeader{ImageFormat::Bmp, LittleEndian16(d + 18), LittleEndian16(d + 20)};
  }
  int64_t width = LittleEndian32(d + 18);
  int64_t height = LittleEndian32(d + 22);
  if (height < 0) height = -height;  // top-down rows
  return ImageHeader{ImageFormat::Bmp, width, height};
}

// The decoder allocates each frame at its own size, which may exceed the logical screen,
// so the first frame's descriptor is checked as well.
std::optional<ImageHeader> GifHeader(const unsigned char* d, std::size_t n) {
  if (n < 13 || (std::memcmp(d, "GIF87a", 6) != 0 && std::memcmp(d, "GIF89a", 6) != 0)) {
    return std::nullopt;
  }
  int64_t width = LittleEndian16(d + 6);
  int64_t height = LittleEndian16(d + 8);
  std::size_t i = 13;
  if (d[10] & 0x80) i += 3u * (1u << ((d[10] & 7) + 1));
  while (i < n) {
    if (d[i] == 0x2C) {
      if (i + 9 > n) return std::nullopt;
      width = std::max<int64_t>(width, LittleEndian16(d + i + 5));
      height = std::max<int64_t>(height, LittleEndian16(d + i + 7));
      return ImageHeader{ImageFormat::Gif, width, height};
    }
    if (d[i] != 0x21 || i + 2 > n) return std::nullopt;
    i += 2;  // introducer and label, then data sub-blocks up to an empty one
    while (i < n && d[i] != 0) i += d[i] + 1u;
    ++i;
  }
  return std::nullopt;
}

}  // namespace

bool ImageSizeAcceptable(int64_t width, int64_t height) {
  return width > 0 && height > 0 && width <= kMaxImageSide && height <= kMaxImageSide &&
         width * height <= kMaxImagePixels;
}

std::optional<ImageHeader> ReadImageHeader(const unsigned char* data, std::size_t size) {
  if (data == nullptr) return std::nullopt;
  if (auto h = PngHeader(data, size)) return h;
  if (auto h = JpegHeader(data, size)) return h;
  if (auto h = BmpHeader(data, size)) return h;
  return GifHeader(data, size);
}

SDL_Surface* CreateUnfilledSurface(int64_t width, int64_t height) {
  if (!ImageSizeAcceptable(width, height)) return nullptr;
  SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(
      0, static_cast<int>(width), static_cast<int>(height), 32, SDL_PIXELFORMAT_ARGB8888);
  if (s != nullptr) SDL_SetSurfaceBlendMode(s, SDL_BLENDMODE_NONE);
  return s;
}

SDL_Surface* CreateBlankSurface(int64_t width, int64_t height) {
  SDL_Surface* s = CreateUnfilledSurface(width, height);
  // Every pixel stays opaque: blending scales with the source alpha, so opacity comes from
  // the alpha modulation alone.
  if (s != nullptr) SDL_FillRect(s, nullptr, 0xFF000000u);
  return s;
}

SDL_Surface* DecodeImage(const unsigned char* data, std::size_t size) {
  auto header = ReadImageHeader(data, size);
  if (!header || !ImageSizeAcceptable(header->width, header->height)) return nullptr;
  // Straight into the surface kept: no second picture of a large map, even for a moment.
  if (header->format == ImageFormat::Png)
    return DecodePng(data, size, header->width, header->height);
  SDL_RWops* rw = SDL_RWFromConstMem(data, static_cast<int>(size));
  if (rw == nullptr) return nullptr;
  // The decoder of the format whose header was checked, never the library's own detection:
  // a file whose header it rejects would go on to other readers (an SVG one among them)
  // and be drawn at whatever size they find.
  SDL_Surface* decoded = nullptr;
  switch (header->format) {
    case ImageFormat::Png:
      break;  // decoded above
    case ImageFormat::Jpeg:
      decoded = IMG_LoadJPG_RW(rw);
      break;
    case ImageFormat::Bmp:
      decoded = IMG_LoadBMP_RW(rw);
      break;
    case ImageFormat::Gif:
      decoded = IMG_LoadGIF_RW(rw);
      break;
  }
  SDL_RWclose(rw);
  if (decoded == nullptr) return nullptr;
  // Nothing larger than the header promised.
  if (!ImageSizeAcceptable(decoded->w, decoded->h) || decoded->w > header->width ||
      decoded->h > header->height) {
    SDL_FreeSurface(decoded);
    return nullptr;
  }
  SDL_Surface* s = CreateBlankSurface(decoded->w, decoded->h);
  if (s != nullptr) {
    // Copy the colour values only; an image's own transparency is not part of this
    // library's model (transparency is the colour key).
    SDL_SetSurfaceBlendMode(decoded, SDL_BLENDMODE_NONE);
    SDL_SetColorKey(decoded, SDL_FALSE, 0);
    if (SDL_BlitSurface(decoded, nullptr, s, nullptr) != 0) {
      SDL_FreeSurface(s);
      s = nullptr;
    }
  }
  SDL_FreeSurface(decoded);
  if (s != nullptr && SDL_MUSTLOCK(s) == 0) {
    for (int y = 0; y < s->h; ++y) {
      auto* row = reinterpret_cast<Uint32*>(static_cast<unsigned char*>(s->pixels) + y * s->pitch);
      for (int x = 0; x < s->w; ++x) row[x] |= 0xFF000000u;
    }
  }
  return s;
}

bool ReadImageFile(const char* fileName, std::vector<unsigned char>& out) {
  out.clear();
  if (fileName == nullptr || *fileName == '\0') return false;
  // Only plain files: a project may name a pipe or a device, whose open or read would wait
  // for ever and freeze the start. Opened without waiting, then checked before any read.
  const int fd = ::open(fileName, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(fd);
    return false;
  }
  std::FILE* f = ::fdopen(fd, "rb");
  if (f == nullptr) {
    ::close(fd);
    return false;
  }
  bool ok = true;
  unsigned char buffer[65536];
  std::size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, f)) > 0) {
    if (out.size() + got > kMaxImageFileBytes) {
      ok = false;
      break;
    }
    out.insert(out.end(), buffer, buffer + got);
  }
  if (std::ferror(f)) ok = false;
  std::fclose(f);
  if (!ok) out.clear();
  return ok && !out.empty();
}

}  // namespace platform
