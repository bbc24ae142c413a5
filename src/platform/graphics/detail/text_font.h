// Inside of a CGapiBitmapFont: the TrueType faces for the white body and the dark border,
// and the rendered lines kept for reuse.
#pragma once

#include <SDL.h>
#include <SDL_ttf.h>

#include <string>

#include "platform/graphics/detail/text_line_cache.h"

struct GapiFontData {
  TTF_Font* body = nullptr;     // white glyphs
  TTF_Font* outline = nullptr;  // the same face with a one-pixel outline, drawn dark
  bool ttfStarted = false;
  platform::TextLineCache lines;
};

namespace platform {

constexpr int kFontPointSize = 8;
constexpr int kFontLinePitch = 10;  // what callers step by between lines
constexpr Uint32 kTextColor = 0xFFFFFF;
constexpr Uint32 kTextBorderColor = 0x000000;

// The font file of DejaVu Sans as fontconfig finds it; empty when there is none.
std::string SystemFontFile();

// The line rendered with its border (one pixel wider on every side than the text), from
// the cache when it was drawn before; null for an empty text or when no font is loaded.
SDL_Surface* RenderedLine(GapiFontData& font, const std::string& bytes);

}  // namespace platform
