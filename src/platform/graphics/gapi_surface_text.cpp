// CGapiSurface::DrawTextA: a bordered line of text with its top at y, starting at x
// (flags 1) or centred on x (flags 2).
#include <algorithm>
#include <cstdint>
#include <string>
#include <utility>

#include "platform/graphics/gapi.h"
#include "platform/graphics/detail/pixel_rows.h"
#include "platform/graphics/detail/surface_data.h"
#include "platform/graphics/detail/surface_ops.h"
#include "platform/graphics/detail/text_font.h"

HRESULT CGapiSurface::DrawTextA(LONG x, LONG y, const char* text, CGapiBitmapFont* font,
                                DWORD flags, const GDDRAWTEXTFX* /*fx*/, DWORD bltFlags,
                                const GDBLTFASTFX* bltFx) {
  SDL_Surface* dst = platform::OwnPixels(m_data);
  const std::string bytes = text != nullptr ? text : "";
  SDL_Surface* line =
      font != nullptr && !bytes.empty() ? platform::RenderedLine(*font->Data(), bytes) : nullptr;
  // The text's own width, without the border.
  const int width = line != nullptr ? line->w - 2 : 0;
  const int height = line != nullptr ? line->h - 2 : platform::kFontLinePitch;
  const bool opacityGiven = (bltFlags & GDBLTFAST_OPACITY) != 0 && bltFx != nullptr;

  if (platform::RecordsDraws(m_data)) {
    headless::DrawCall call;
    call.call = "DrawTextA";
    call.dst =
        RECT{x, y, platform::Saturate(int64_t{x} + width), platform::Saturate(int64_t{y} + height)};
    call.flags = flags;
    call.opacity = opacityGiven ? bltFx->dwOpacity : 255;
    call.text = bytes;
    platform::RecordDraw(std::move(call));
  }

  if (dst == nullptr || font == nullptr || text == nullptr) return GDERR_INVALID;
  if (line == nullptr) return GD_OK;
  const Uint8 alpha = opacityGiven ? platform::ClampOpacity(bltFx->dwOpacity) : 255;
  if (alpha == 0) return GD_OK;
  const int64_t left = (flags & GDDRAWTEXT_CENTER) != 0 ? int64_t{x} - width / 2 : x;
  // The border reaches one pixel past the text on every side.
  const int64_t atX = left - 1, atY = int64_t{y} - 1;
  if (atX >= dst->w || atY >= dst->h || atX + line->w <= 0 || atY + line->h <= 0) return GD_OK;
  if (alpha == 255) {
    // The usual case, drawn by the row loop: no blitter set-up for every short line.
    const int64_t left0 = std::max<int64_t>(atX, 0), top0 = std::max<int64_t>(atY, 0);
    const int64_t right = std::min<int64_t>(atX + line->w, dst->w);
    const int64_t bottom = std::min<int64_t>(atY + line->h, dst->h);
    const platform::PixelArea area{
        platform::PixelRow(dst, static_cast<int>(top0)) + left0,
        dst->pitch / 4,
        platform::PixelRow(line, static_cast<int>(top0 - atY)) + (left0 - atX),
        line->pitch / 4,
        static_cast<int>(right - left0),
        static_cast<int>(bottom - top0)};
    platform::BlendByAlpha(area);
    return GD_OK;
  }
  SDL_SetSurfaceAlphaMod(line, alpha);
  SDL_Rect at{static_cast<int>(atX), static_cast<int>(atY), 0, 0};
  if (SDL_BlitSurface(line, nullptr, dst, &at) == 0) platform::MakeOpaque(dst, at);
  return GD_OK;
}
