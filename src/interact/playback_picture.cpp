// The picture shown while a sound file plays, drawn into the back buffer before playback
// starts; the media window shows it with the progress bar (and the cover art) over it.
#include "interact/playback_picture.h"

#include <cstring>
#include <string>
#include <vector>

#include "data/content_item.h"
#include "data/region_item.h"
#include "map/file_resolve.h"
#include "platform/text/tr.h"
#include "platform/windowing/win_api.h"

namespace {

constexpr DWORD kDimOpacity = 170;
constexpr int kMaxDescriptionLines = 3;
constexpr int kTextMargin = 40;
constexpr int kPlaybackTitlePixels = 20;

// Splits `text` into lines no wider than `width`, at spaces where it can.
std::vector<std::string> WrapText(const char* text, CGapiBitmapFont* font, int width) {
  std::vector<std::string> lines;
  std::string line;
  std::string word;
  auto flushWord = [&] {
    if (word.empty()) return;
    const std::string joined = line.empty() ? word : line + " " + word;
    if (!line.empty() && font->TextWidth(joined.c_str()) > width) {
      lines.push_back(line);
      line = word;
    } else {
      line = joined;
    }
    word.clear();
  };
  for (const char* p = text; *p != '\0'; ++p) {
    if (*p == ' ' || *p == '\t' || *p == '\r' || *p == '\n') {
      flushWord();
    } else {
      word += *p;
    }
  }
  flushWord();
  if (!line.empty()) lines.push_back(line);
  return lines;
}

}  // namespace

RECT DrawPlaybackPicture(CGapiSurface* back, CGapiBitmapFont* font, const CContentItem* item,
                         const CRegionItem* region, const std::string& title,
                         const char* placeName) {
  RECT box{0, 0, 0, 0};
  if (back == nullptr || back->IsEmpty()) return box;
  const LONG w = static_cast<LONG>(back->GetWidth());
  const LONG h = static_cast<LONG>(back->GetHeight());
  GDFILLRECTFX dim{kDimOpacity, 0};
  back->FillRect(nullptr, 0x000000, GDFILLRECT_OPACITY, &dim);

  // Three fifths of the screen, its left edge on a 16-pixel boundary so the player can
  // draw straight into it.
  const LONG boxW = w * 3 / 5;
  const LONG boxH = h * 3 / 5;
  const LONG left = ((w - boxW) / 2) & ~15L;
  const LONG top = h / 8;
  SetRect(&box, left, top, left + boxW, top + boxH);

  if (item != nullptr) {
    CGapiSurface thumb;
    const std::string path = ResolveProjectFile(item->m_thumbnail);
    if (!path.empty() && thumb.CreateSurface(GDSURFACE_SYSTEMMEMORY, path.c_str()) == GD_OK &&
        thumb.GetWidth() > 0 && thumb.GetHeight() > 0) {
      const double tw = thumb.GetWidth();
      const double th = thumb.GetHeight();
      const double scale = boxW / tw < boxH / th ? boxW / tw : boxH / th;
      const LONG dw = static_cast<LONG>(tw * scale);
      const LONG dh = static_cast<LONG>(th * scale);
      RECT dest;
      SetRect(&dest, left + (boxW - dw) / 2, top + (boxH - dh) / 2, left + (boxW - dw) / 2 + dw,
              top + (boxH - dh) / 2 + dh);
      back->Blt(&dest, &thumb, nullptr, GDBLT_SMOOTH, nullptr);
    }
  }
  if (font == nullptr) return box;

  LONG y = top - 2 * font->LineHeight();
  if (item != nullptr) {
    const std::string number = _("No. ") + std::to_string(item->m_id);
    back->DrawTextA(w / 2, y, number.c_str(), font, GDDRAWTEXT_CENTER, nullptr, 0, nullptr);
  }
  // The item's title at the top of the picture, in the guide's legible text.
  if (!title.empty()) {
    GDTEXTSTYLE style;
    style.pixels = kPlaybackTitlePixels;
    style.align = GDDRAWTEXT_CENTER;
    const std::string shown = FitLegibleText(title.c_str(), style.pixels, w - 2 * kTextMargin);
    back->DrawLegibleText(w / 2, 8, shown.c_str(), style);
  }
  y = box.bottom + font->LineHeight();
  if (region != nullptr) {
    std::vector<std::string> lines =
        WrapText(placeName != nullptr ? placeName : region->m_description, font, w - 2 * kTextMargin);
    if (lines.size() > kMaxDescriptionLines) lines.resize(kMaxDescriptionLines);
    for (const std::string& line : lines) {
      back->DrawTextA(w / 2, y, line.c_str(), font, GDDRAWTEXT_CENTER, nullptr, 0, nullptr);
      y += font->LineHeight() + 2;
    }
  }
  return box;
}
