// PNG decoding straight into the program's opaque ARGB8888 surface, with no picture of the
// decoder's own in between: the colours the image stores, without gamma, as 8 bits.
#include "platform/graphics/detail/png_decode.h"

#include <png.h>

#include <csetjmp>
#include <cstring>
#include <new>

#include "platform/graphics/detail/surface_image.h"

namespace platform {
namespace {

struct Source {
  const unsigned char* data;
  std::size_t size;
  std::size_t at;
};

void ReadFromMemory(png_structp png, png_bytep out, png_size_t count) {
  auto* source = static_cast<Source*>(png_get_io_ptr(png));
  if (count > source->size - source->at) png_error(png, "the image data ends early");
  std::memcpy(out, source->data + source->at, count);
  source->at += count;
}

[[noreturn]] void Fail(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void Ignore(png_structp, png_const_charp) {}

// Fills `rows` (one pointer per row of a width x height surface) from the PNG. Holds no
// object with a destructor: a damaged image leaves through longjmp from inside libpng.
bool ReadInto(png_structp png, png_infop info, png_bytepp rows, png_uint_32 width,
              png_uint_32 height) {
  if (setjmp(png_jmpbuf(png)) != 0) return false;
  png_read_info(png, info);
  if (png_get_image_width(png, info) != width || png_get_image_height(png, info) != height)
    return false;
  const int type = png_get_color_type(png, info);
  // Eight bits of blue, green, red and an opaque byte per pixel, as the surface holds them.
  // Transparency is not taken: an image's colours count, never its alpha.
  png_set_strip_16(png);
  png_set_packing(png);
  if (type == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
  if (type == PNG_COLOR_TYPE_GRAY) png_set_expand_gray_1_2_4_to_8(png);
  if ((type & PNG_COLOR_MASK_COLOR) == 0) png_set_gray_to_rgb(png);
  png_set_strip_alpha(png);  // also what a palette's or a colour's transparency would add
  png_set_bgr(png);
  png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  if (png_get_rowbytes(png, info) != static_cast<png_size_t>(width) * 4) return false;
  png_read_image(png, rows);
  return true;
}

}  // namespace

SDL_Surface* DecodePng(const unsigned char* data, std::size_t size, int64_t width, int64_t height) {
  SDL_Surface* surface = CreateUnfilledSurface(width, height);
  if (surface == nullptr) return nullptr;
  auto* rows = new (std::nothrow) png_bytep[static_cast<std::size_t>(height)];
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, Fail, Ignore);
  png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
  bool ok = rows != nullptr && info != nullptr;
  if (ok) {
    for (int64_t y = 0; y < height; ++y)
      rows[y] = static_cast<png_bytep>(surface->pixels) + y * surface->pitch;
    Source source{data, size, 0};
    png_set_read_fn(png, &source, ReadFromMemory);
    ok = ReadInto(png, info, rows, static_cast<png_uint_32>(width),
                  static_cast<png_uint_32>(height));
  }
  png_destroy_read_struct(png != nullptr ? &png : nullptr, info != nullptr ? &info : nullptr,
                          nullptr);
  delete[] rows;
  if (!ok) {
    SDL_FreeSurface(surface);
    return nullptr;
  }
  return surface;
}

}  // namespace platform
