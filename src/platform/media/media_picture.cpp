// The picture a media window shows, composed once per new frame, changed progress bar or
// changed subtitle.
#include "platform/media/detail/media_picture.h"

#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "platform/graphics/detail/display_state.h"
#include "platform/graphics/detail/surface_data.h"
#include "platform/graphics/detail/text_encoding.h"
#include "platform/media/detail/video_player.h"
#include "platform/text/tr.h"
#include "platform/windowing/win_api.h"

namespace platform {
namespace {

constexpr int kBarHeight = 20;  // the strip along the bottom, drawn over the frames
constexpr int kTrackMargin = 8;
constexpr DWORD kTrackColour = 0x606060;
constexpr DWORD kPlayedColour = 0xF0F0F0;
constexpr DWORD kPausedColour = 0xF0B030;
constexpr size_t kSubtitleBytes = 600;  // a cue longer than a screenful is cut
constexpr size_t kSubtitleLines = 6;
constexpr int kSubtitleGap = 6;
constexpr uint32_t kLevelShownMs = 2000;

void FormatTime(char* out, size_t size, uint32_t seconds) {
  std::snprintf(out, size, "%02u:%02u", seconds / 60, seconds % 60);
}

}  // namespace

MediaPicture::MediaPicture(int width, int height, bool progressBar) : m_progressBar(progressBar) {
  m_picture.CreateSurface(GDSURFACE_SYSTEMMEMORY, static_cast<DWORD>(width),
                          static_cast<DWORD>(height));
}

MediaPicture::Bar MediaPicture::Measure(VideoPlayer& player) const {
  Bar bar;
  const int64_t end = player.EndMs();
  const uint32_t position = player.PositionMs();
  // Until the length is known (while opening, or never for a live recording) the total
  // reads "--:--" and the track stays empty; the elapsed time is real all the same.
  bar.totalKnown = end > 0;
  bar.totalS = end > 0 ? static_cast<uint32_t>(end / 1000) : 0;
  bar.elapsedS = position / 1000;
  const int track = static_cast<int>(m_picture.GetWidth()) - 2 * kTrackMargin;
  if (end > 0 && track > 0) {
    bar.fill = static_cast<uint32_t>(static_cast<uint64_t>(track) *
                                     (position < end ? position : static_cast<uint64_t>(end)) /
                                     static_cast<uint64_t>(end));
  }
  bar.paused = player.Paused();
  // Signed, so that the moment also ends across the clock's wrap.
  if (static_cast<int32_t>(m_levelUntil - timeGetTime()) > 0) bar.level = m_level;
  return bar;
}

void MediaPicture::ShowVolume(int permille, bool muted, uint32_t now) {
  m_level = muted ? kMutedLevel : (std::clamp(permille, 0, 1000) + 5) / 10;
  m_levelUntil = now + kLevelShownMs;
}

void MediaPicture::DrawBar(const Bar& bar, bool overProgramPicture) {
  const LONG w = static_cast<LONG>(m_picture.GetWidth());
  const LONG h = static_cast<LONG>(m_picture.GetHeight());
  RECT strip{0, h - kBarHeight, w, h};
  // Over a film the strip is shaded; over the program's own picture it is solid, or the
  // lines the program keeps at the bottom of the screen (the GPS status) would show
  // through the bar's text.
  if (overProgramPicture) {
    m_picture.FillRect(&strip, 0x000000, 0, nullptr);
  } else {
    GDFILLRECTFX shade{150, 0};
    m_picture.FillRect(&strip, 0x000000, GDFILLRECT_OPACITY, &shade);
  }
  RECT track{kTrackMargin, h - 6, w - kTrackMargin, h - 3};
  m_picture.FillRect(&track, kTrackColour, 0, nullptr);
  RECT played{kTrackMargin, h - 6, kTrackMargin + static_cast<LONG>(bar.fill), h - 3};
  if (bar.fill > 0)
    m_picture.FillRect(&played, bar.paused ? kPausedColour : kPlayedColour, 0, nullptr);
  char elapsed[16];
  char total[16];
  FormatTime(elapsed, sizeof elapsed, bar.elapsedS);
  if (bar.totalKnown) {
    FormatTime(total, sizeof total, bar.totalS);
  } else {
    std::snprintf(total, sizeof total, "--:--");
  }
  char level[32] = "";
  if (bar.level == kMutedLevel) {
    std::snprintf(level, sizeof level, "   %s", _("MUTED"));
  } else if (bar.level >= 0) {
    char volume[24];
    std::snprintf(volume, sizeof volume, _("VOLUME %d%%"), bar.level);
    std::snprintf(level, sizeof level, "   %s", volume);
  }
  char text[96];
  std::snprintf(text, sizeof text, "%s%s%s / %s%s", bar.paused ? _("PAUSED") : "",
                bar.paused ? "   " : "", elapsed, total, level);
  m_picture.DrawTextA(kTrackMargin, h - kBarHeight + 2, text, &m_font, GDDRAWTEXT_LEFT, nullptr, 0,
                      nullptr);
}

void MediaPicture::DrawSubtitle(const std::string& text, bool aboveBar) {
  const LONG w = static_cast<LONG>(m_picture.GetWidth());
  const LONG h = static_cast<LONG>(m_picture.GetHeight());
  const int room = static_cast<int>(w) - 4 * kTrackMargin;
  // Each of the cue's own lines, broken further between words where it is too wide. A word
  // wider than the picture stands alone and is cut at the edges.
  std::vector<std::string> lines;
  // Cut on a character's first byte, so that the cut leaves valid UTF-8.
  size_t cut = std::min(text.size(), kSubtitleBytes);
  while (cut < text.size() && cut > 0 && (static_cast<uint8_t>(text[cut]) & 0xC0) == 0x80) --cut;
  const std::string_view cue = std::string_view(text).substr(0, cut);
  size_t start = 0;
  while (start <= cue.size() && lines.size() < kSubtitleLines) {
    size_t end = cue.find('\n', start);
    if (end == std::string_view::npos) end = cue.size();
    // Control characters and stray bytes of the line made printable.
    const std::string own = DisplayText(cue.substr(start, end - start));
    start = end + 1;
    std::string line;
    size_t at = 0;
    while (at < own.size() && lines.size() < kSubtitleLines) {
      size_t space = own.find(' ', at);
      if (space == std::string::npos) space = own.size();
      const std::string word = own.substr(at, space - at);
      const std::string longer = line.empty() ? word : line + " " + word;
      if (!line.empty() && m_font.TextWidth(longer.c_str()) > room) {
        lines.push_back(line);
        line = word;
      } else {
        line = longer;
      }
      at = space + 1;
    }
    if (!line.empty() && lines.size() < kSubtitleLines) lines.push_back(line);
  }
  const int pitch = m_font.LineHeight() + 2;
  LONG top =
      h - (aboveBar ? kBarHeight : 0) - kSubtitleGap - static_cast<LONG>(lines.size()) * pitch;
  GDFILLRECTFX shade{150, 0};
  for (const std::string& line : lines) {
    const LONG half = m_font.TextWidth(line.c_str()) / 2 + kTrackMargin / 2;
    RECT box{w / 2 - half, top - 1, w / 2 + half, top + pitch - 1};
    m_picture.FillRect(&box, 0x000000, GDFILLRECT_OPACITY, &shade);
    m_picture.DrawTextA(w / 2, top, line.c_str(), &m_font, GDDRAWTEXT_CENTER, nullptr, 0, nullptr);
    top += pitch;
  }
}

SDL_Surface* MediaPicture::Compose(VideoPlayer& player) {
  GapiSurfaceData* data = m_picture.Data();
  if (data == nullptr || data->surface == nullptr) return nullptr;
  SDL_Surface* target = data->surface;
  const MediaKind kind = player.Kind();
  if (kind == MediaKind::Unknown) return nullptr;

  const bool due = player.FrameDue();
  // The bar waits for the second picture, so that it never holds up the first.
  const bool withBar = m_progressBar && m_shown > 0;
  Bar bar;
  if (withBar) bar = Measure(player);
  const bool barChanged = withBar && (!m_barShown || !(bar == m_lastBar));
  std::string subtitle;

  if (kind == MediaKind::Video) {
    if (!due && !barChanged) return nullptr;
    if (!player.RenderTo(target->pixels, target->w, target->h,
                         static_cast<size_t>(target->pitch))) {
      return nullptr;
    }
    if (!m_title.empty()) {
      GDTEXTSTYLE style;
      style.pixels = 20;
      style.align = GDDRAWTEXT_CENTER;
      const std::string shown = FitLegibleText(m_title.c_str(), style.pixels, target->w - 80);
      m_picture.DrawLegibleText(target->w / 2, 8, shown.c_str(), style);
    }
  } else {
    subtitle = player.SubtitleText();
    const bool subtitleChanged = subtitle != m_lastSubtitle;
    if (m_shown > 0 && !due && !barChanged && !subtitleChanged) return nullptr;
    CGapiSurface* back = OpenBackBuffer();
    if (back != nullptr && back->GetWidth() == m_picture.GetWidth() &&
        back->GetHeight() == m_picture.GetHeight()) {
      m_picture.BltFast(0, 0, back, nullptr, 0, nullptr);
    } else {
      m_picture.FillRect(nullptr, 0x000000, 0, nullptr);
    }
    const RECT& b = m_artBox;
    if (kind == MediaKind::AudioWithArt && b.left >= 0 && b.top >= 0 && b.right > b.left &&
        b.bottom > b.top && b.right <= target->w && b.bottom <= target->h) {
      // The art is scaled once, when it arrives (it may be a huge picture); the bar's
      // updates reuse it.
      if (due && (m_art.IsEmpty() || static_cast<LONG>(m_art.GetWidth()) != b.right - b.left ||
                  static_cast<LONG>(m_art.GetHeight()) != b.bottom - b.top)) {
        m_art.CreateSurface(GDSURFACE_SYSTEMMEMORY, static_cast<DWORD>(b.right - b.left),
                            static_cast<DWORD>(b.bottom - b.top));
      }
      SDL_Surface* art = m_art.Data() != nullptr ? m_art.Data()->surface : nullptr;
      if (due && art != nullptr &&
          player.RenderTo(art->pixels, art->w, art->h, static_cast<size_t>(art->pitch))) {
        m_hasArt = true;
      }
      if (m_hasArt) m_picture.BltFast(b.left, b.top, &m_art, nullptr, 0, nullptr);
    }
    if (!subtitle.empty()) DrawSubtitle(subtitle, withBar);
    m_lastSubtitle = subtitle;
  }
  if (withBar) {
    DrawBar(bar, kind != MediaKind::Video);
    m_lastBar = bar;
    m_barShown = true;
  }
  ++m_shown;
  return target;
}

}  // namespace platform
