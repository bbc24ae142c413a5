// The words drawn into the artwork, in the reader's language: where a catalogue translates
// one, its place in the picture is painted over and the translation written there.
#pragma once

#include <cstddef>

#include "platform/graphics/gapi.h"
#include "platform/windowing/win_types.h"

namespace render {

// A word of a picture: its English text as drawn (marked with N_), the box it sits in (in the
// picture's pixels), the colour under it, and the colours and size of its replacement.
struct ArtworkWord {
  const char* english;
  RECT area;
  DWORD ground;
  DWORD color;
  DWORD halo;
  int pixels;
};

// Writes every word whose translation differs from the English over the picture drawn with
// its top-left corner at origin; English leaves the picture as it is.
void DrawArtworkWords(CGapiSurface* backBuffer, POINT origin, const ArtworkWord* words,
                      std::size_t count);

template <std::size_t N>
void DrawArtworkWords(CGapiSurface* backBuffer, POINT origin, const ArtworkWord (&words)[N]) {
  DrawArtworkWords(backBuffer, origin, words, N);
}

// One line of text centred in area (shortened with an ellipsis when it does not fit).
void DrawCentredLabel(CGapiSurface* backBuffer, RECT area, const char* utf8, DWORD color,
                      DWORD halo, int pixels);

}  // namespace render
