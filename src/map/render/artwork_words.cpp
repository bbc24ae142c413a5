// Translated words over the artwork's English ones.
#include "map/render/artwork_words.h"

#include <cstring>
#include <string>

#include "platform/text/tr.h"

namespace render {

void DrawCentredLabel(CGapiSurface* backBuffer, RECT area, const char* utf8, DWORD color,
                      DWORD halo, int pixels) {
  const int width = static_cast<int>(area.right - area.left);
  const int height = static_cast<int>(area.bottom - area.top);
  const std::string shown = FitLegibleText(utf8, pixels, width);
  if (shown.empty()) return;
  GDTEXTSTYLE style;
  style.pixels = pixels;
  style.color = color;
  style.halo = halo;
  style.align = GDDRAWTEXT_CENTER;
  const int top = static_cast<int>(area.top) + (height - LegibleLineHeight(pixels)) / 2;
  backBuffer->DrawLegibleText(area.left + width / 2, top, shown.c_str(), style);
}

void DrawArtworkWords(CGapiSurface* backBuffer, POINT origin, const ArtworkWord* words,
                      std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) {
    const ArtworkWord& word = words[i];
    const char* shown = tr::Text(word.english);
    if (std::strcmp(shown, word.english) == 0) continue;
    const RECT area{word.area.left + origin.x, word.area.top + origin.y, word.area.right + origin.x,
                    word.area.bottom + origin.y};
    backBuffer->FillRect(&area, word.ground, 0, nullptr);
    DrawCentredLabel(backBuffer, area, shown, word.color, word.halo, word.pixels);
  }
}

}  // namespace render
