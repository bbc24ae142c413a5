// CGapiBitmapFont: DejaVu Sans at 8 points, white with a one-pixel dark border, found
// through fontconfig. Usable on its own: it starts SDL_ttf itself, so tests can draw text
// without a display.
#include <fontconfig/fontconfig.h>

#include <string>

#include "platform/graphics/gapi.h"
#include "platform/graphics/detail/text_encoding.h"
#include "platform/graphics/detail/text_font.h"

namespace platform {
namespace {

// Far wider than any window; keeps a runaway text from making a huge surface.
constexpr std::size_t kMaxLineBytes = 1024;

std::string FindFontFile() {
  FcConfig* config = FcInitLoadConfigAndFonts();
  if (config == nullptr) return {};
  std::string file;
  FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>("DejaVu Sans"));
  if (pattern != nullptr) {
    FcConfigSubstitute(config, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(config, pattern, &result);
    FcChar8* path = nullptr;
    if (match != nullptr && FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch) {
      file = reinterpret_cast<const char*>(path);
    }
    if (match != nullptr) FcPatternDestroy(match);
    FcPatternDestroy(pattern);
  }
  FcConfigDestroy(config);
  return file;
}

// Cuts at a character boundary of the UTF-8 text.
void LimitLength(std::string& text) {
  if (text.size() <= kMaxLineBytes) return;
  std::size_t end = kMaxLineBytes;
  while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
  text.resize(end);
}

SDL_Surface* RenderBordered(GapiFontData& font, const std::string& bytes) {
  std::string text = DisplayText(bytes);
  LimitLength(text);
  if (text.empty()) return nullptr;
  const SDL_Color white{(kTextColor >> 16) & 0xFF, (kTextColor >> 8) & 0xFF, kTextColor & 0xFF,
                        255};
  const SDL_Color dark{(kTextBorderColor >> 16) & 0xFF, (kTextBorderColor >> 8) & 0xFF,
                       kTextBorderColor & 0xFF, 255};
  SDL_Surface* border = TTF_RenderUTF8_Blended(font.outline, text.c_str(), dark);
  SDL_Surface* body = TTF_RenderUTF8_Blended(font.body, text.c_str(), white);
  SDL_Surface* line = nullptr;
  if (border != nullptr && body != nullptr) {
    line = SDL_ConvertSurfaceFormat(border, SDL_PIXELFORMAT_ARGB8888, 0);
  }
  if (line != nullptr) {
    SDL_SetSurfaceBlendMode(body, SDL_BLENDMODE_BLEND);
    SDL_Rect at{1, 1, 0, 0};
    SDL_BlitSurface(body, nullptr, line, &at);
    SDL_SetSurfaceBlendMode(line, SDL_BLENDMODE_BLEND);
  }
  if (border != nullptr) SDL_FreeSurface(border);
  if (body != nullptr) SDL_FreeSurface(body);
  return line;
}

}  // namespace

std::string SystemFontFile() {
  static const std::string file = FindFontFile();
  return file;
}

SDL_Surface* RenderedLine(GapiFontData& font, const std::string& bytes) {
  if (font.body == nullptr || font.outline == nullptr) return nullptr;
  SDL_Surface* line = nullptr;
  if (font.lines.Find(bytes, &line)) return line;
  line = RenderBordered(font, bytes);
  font.lines.Store(bytes, line);
  return line;
}

}  // namespace platform

CGapiBitmapFont::CGapiBitmapFont() : m_data(new GapiFontData) {
  if (TTF_Init() != 0) return;
  m_data->ttfStarted = true;
  const std::string file = platform::SystemFontFile();
  if (file.empty()) return;
  m_data->body = TTF_OpenFont(file.c_str(), platform::kFontPointSize);
  m_data->outline = TTF_OpenFont(file.c_str(), platform::kFontPointSize);
  // At 8 points the monochrome hinter snaps stems to whole pixels; the other modes blur
  // into the border and the text gets hard to read.
  for (TTF_Font* f : {m_data->body, m_data->outline}) {
    if (f != nullptr) TTF_SetFontHinting(f, TTF_HINTING_MONO);
  }
  if (m_data->outline != nullptr) TTF_SetFontOutline(m_data->outline, 1);
}

CGapiBitmapFont::~CGapiBitmapFont() {
  m_data->lines.Clear();
  if (m_data->body != nullptr) TTF_CloseFont(m_data->body);
  if (m_data->outline != nullptr) TTF_CloseFont(m_data->outline);
  if (m_data->ttfStarted) TTF_Quit();
  delete m_data;
}

int CGapiBitmapFont::LineHeight() const { return platform::kFontLinePitch; }

int CGapiBitmapFont::TextWidth(const char* text) const {
  if (text == nullptr) return 0;
  SDL_Surface* line = platform::RenderedLine(*m_data, text);
  return line != nullptr ? line->w - 2 : 0;
}
