// Legible text: UTF-8 lines at a pixel size with a dark halo, measured and shortened with an
// ellipsis, for everything a visitor reads on the map.
#include <SDL.h>
#include <SDL_ttf.h>

#include <algorithm>
#include <cstring>
#include <cstdint>
#include <map>
#include <string>
#include <unordered_map>
#include <utility>

#include "platform/graphics/detail/pixel_rows.h"
#include "platform/graphics/detail/surface_data.h"
#include "platform/graphics/detail/surface_ops.h"
#include "platform/graphics/detail/text_encoding.h"
#include "platform/graphics/detail/text_font.h"
#include "platform/graphics/detail/text_line_cache.h"
#include "platform/graphics/gapi.h"

namespace platform {
namespace {

constexpr int kMinPixels = 6;
constexpr int kMaxPixels = 96;
// Far wider than any window; keeps a runaway text from making a huge surface.
constexpr std::size_t kMaxLineBytes = 1024;
const char kEllipsis[] = "\xE2\x80\xA6";

int HaloOf(int pixels) { return pixels >= 12 ? 2 : 1; }

// The faces of one size: the body and the same face outlined for the halo, and the lines
// drawn with them. A map frame shows a few hundred texts at most.
struct Face {
  TTF_Font* body = nullptr;
  TTF_Font* halo = nullptr;
  int haloWidth = 1;
  TextLineCache lines{1024};
  std::unordered_map<std::string, int> widths;        // measured texts, forgotten when many
  std::unordered_map<std::string, std::string> fits;  // shortened texts by width and text
};

class Faces {
 public:
  ~Faces() {
    for (auto& [size, face] : m_faces) {
      face.lines.Clear();
      if (face.body != nullptr) TTF_CloseFont(face.body);
      if (face.halo != nullptr) TTF_CloseFont(face.halo);
    }
    if (m_started) TTF_Quit();
  }
  // Null when no font can be had; the text is then measured as empty and not drawn.
  Face* Get(int pixels) {
    pixels = std::clamp(pixels, kMinPixels, kMaxPixels);
    auto it = m_faces.find(pixels);
    if (it != m_faces.end()) return it->second.body != nullptr ? &it->second : nullptr;
    Face& face = m_faces[pixels];
    if (!m_started) m_started = TTF_Init() == 0;
    const std::string file = SystemFontFile();
    if (!m_started || file.empty()) return nullptr;
    face.body = TTF_OpenFont(file.c_str(), pixels);
    face.halo = TTF_OpenFont(file.c_str(), pixels);
    face.haloWidth = HaloOf(pixels);
    if (face.halo != nullptr) TTF_SetFontOutline(face.halo, face.haloWidth);
    if (face.body == nullptr || face.halo == nullptr) {
      if (face.body != nullptr) TTF_CloseFont(face.body);
      if (face.halo != nullptr) TTF_CloseFont(face.halo);
      face.body = face.halo = nullptr;
      return nullptr;
    }
    return &face;
  }

 private:
  std::map<int, Face> m_faces;
  bool m_started = false;
};

Faces& AllFaces() {
  static Faces faces;
  return faces;
}

// What is drawn for `utf8`: bad bytes replaced, held to a length, never cut in a character.
std::string Shown(const char* utf8) {
  std::string text = ReplaceInvalidUtf8(utf8 != nullptr ? utf8 : "");
  if (text.size() > kMaxLineBytes) {
    std::size_t end = kMaxLineBytes;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
    text.resize(end);
  }
  // A line of spaces shows nothing.
  if (text.find_first_not_of(' ') == std::string::npos) text.clear();
  return text;
}

SDL_Color ColourOf(DWORD c) {
  return SDL_Color{static_cast<Uint8>((c >> 16) & 0xFF), static_cast<Uint8>((c >> 8) & 0xFF),
                   static_cast<Uint8>(c & 0xFF), 255};
}

SDL_Surface* RenderLine(Face& face, const std::string& text, DWORD color, DWORD halo) {
  SDL_Surface* ring = TTF_RenderUTF8_Blended(face.halo, text.c_str(), ColourOf(halo));
  SDL_Surface* body = TTF_RenderUTF8_Blended(face.body, text.c_str(), ColourOf(color));
  SDL_Surface* line = nullptr;
  if (ring != nullptr && body != nullptr) {
    line = SDL_ConvertSurfaceFormat(ring, SDL_PIXELFORMAT_ARGB8888, 0);
  }
  if (line != nullptr) {
    SDL_SetSurfaceBlendMode(body, SDL_BLENDMODE_BLEND);
    SDL_Rect at{face.haloWidth, face.haloWidth, 0, 0};
    SDL_BlitSurface(body, nullptr, line, &at);
  }
  if (ring != nullptr) SDL_FreeSurface(ring);
  if (body != nullptr) SDL_FreeSurface(body);
  return line;
}

SDL_Surface* LineFor(Face& face, const std::string& text, DWORD color, DWORD halo) {
  // The two colours' bytes, then the text: drawn for every text of every frame.
  std::string key(2 * sizeof(DWORD) + text.size(), '\0');
  std::memcpy(key.data(), &color, sizeof color);
  std::memcpy(key.data() + sizeof color, &halo, sizeof halo);
  std::memcpy(key.data() + 2 * sizeof color, text.data(), text.size());
  SDL_Surface* line = nullptr;
  if (face.lines.Find(key, &line)) return line;
  line = RenderLine(face, text, color, halo);
  face.lines.Store(key, line);
  return line;
}

int WidthOf(Face& face, const std::string& text) {
  if (text.empty()) return 0;
  auto it = face.widths.find(text);
  if (it != face.widths.end()) return it->second;
  int w = 0, h = 0;
  if (TTF_SizeUTF8(face.body, text.c_str(), &w, &h) != 0) w = -2 * face.haloWidth;
  if (face.widths.size() >= 8192) face.widths.clear();
  return face.widths[text] = w + 2 * face.haloWidth;
}

}  // namespace
}  // namespace platform

int LegibleLineHeight(int pixels) {
  platform::Face* face = platform::AllFaces().Get(pixels);
  if (face == nullptr) return pixels + 2 * platform::HaloOf(pixels);
  return TTF_FontHeight(face->body) + 2 * face->haloWidth;
}

int LegibleTextWidth(const char* utf8, int pixels) {
  platform::Face* face = platform::AllFaces().Get(pixels);
  return face != nullptr ? platform::WidthOf(*face, platform::Shown(utf8)) : 0;
}

namespace platform {
namespace {
std::string Fit(Face* face, const std::string& text, int maxWidth);
}
}  // namespace platform

std::string FitLegibleText(const char* utf8, int pixels, int maxWidth) {
  platform::Face* face = platform::AllFaces().Get(pixels);
  const std::string text = platform::Shown(utf8);
  if (face == nullptr || text.empty() || maxWidth <= 0) return {};
  if (platform::WidthOf(*face, text) <= maxWidth) return text;
  // Labels that find no room are shortened again every time they are placed.
  std::string key = std::to_string(maxWidth) + "/" + text;
  auto it = face->fits.find(key);
  if (it != face->fits.end()) return it->second;
  if (face->fits.size() >= 4096) face->fits.clear();
  return face->fits[key] = platform::Fit(face, text, maxWidth);
}

namespace platform {
namespace {
std::string Fit(Face* face, const std::string& text, int maxWidth) {
  // The longest head that fits, found by halving over character boundaries.
  std::size_t lo = 0, hi = text.size();
  auto boundary = [&](std::size_t n) {
    while (n > 0 && n < text.size() && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80) --n;
    return n;
  };
  auto fits = [&](std::size_t n) {
    std::string head = text.substr(0, n);
    while (!head.empty() && head.back() == ' ') head.pop_back();
    return platform::WidthOf(*face, head + platform::kEllipsis) <= maxWidth;
  };
  if (!fits(0)) return {};
  while (hi - lo > 1) {
    const std::size_t mid = boundary(lo + (hi - lo) / 2);
    if (mid <= lo) break;
    if (fits(mid)) {
      lo = mid;
    } else {
      hi = mid;
    }
  }
  std::string head = text.substr(0, boundary(lo));
  while (!head.empty() && head.back() == ' ') head.pop_back();
  return head + platform::kEllipsis;
}
}  // namespace
}  // namespace platform

HRESULT CGapiSurface::DrawLegibleText(LONG x, LONG y, const char* utf8, const GDTEXTSTYLE& style) {
  SDL_Surface* dst = platform::OwnPixels(m_data);
  const std::string text = platform::Shown(utf8);
  platform::Face* face = text.empty() ? nullptr : platform::AllFaces().Get(style.pixels);
  SDL_Surface* line =
      face != nullptr ? platform::LineFor(*face, text, style.color, style.halo) : nullptr;
  const int width = line != nullptr ? line->w : 0;
  const int height = line != nullptr ? line->h : LegibleLineHeight(style.pixels);
  const int64_t left = (style.align & GDDRAWTEXT_CENTER) != 0 ? int64_t{x} - width / 2 : x;

  if (platform::RecordsDraws(m_data)) {
    headless::DrawCall call;
    call.call = "DrawLegibleText";
    call.dst = RECT{platform::Saturate(left), y, platform::Saturate(left + width),
                    platform::Saturate(int64_t{y} + height)};
    call.flags = style.align;
    call.color = style.color;
    call.text = text;
    platform::RecordDraw(std::move(call));
  }

  if (dst == nullptr) return GDERR_INVALID;
  if (line == nullptr) return GD_OK;
  const int64_t atY = y;
  if (left >= dst->w || atY >= dst->h || left + line->w <= 0 || atY + line->h <= 0) return GD_OK;
  const int64_t left0 = std::max<int64_t>(left, 0), top0 = std::max<int64_t>(atY, 0);
  const int64_t right = std::min<int64_t>(left + line->w, dst->w);
  const int64_t bottom = std::min<int64_t>(atY + line->h, dst->h);
  const platform::PixelArea area{
      platform::PixelRow(dst, static_cast<int>(top0)) + left0,
      dst->pitch / 4,
      platform::PixelRow(line, static_cast<int>(top0 - atY)) + (left0 - left),
      line->pitch / 4,
      static_cast<int>(right - left0),
      static_cast<int>(bottom - top0)};
  platform::BlendByAlpha(area);
  return GD_OK;
}
