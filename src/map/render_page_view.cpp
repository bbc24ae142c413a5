// The content page view: the current user's viewing history as pages of icons.
#include <cstdio>
#include <cstring>
#include <string>

#include "data/content_item.h"
#include "data/user_context.h"
#include "data/xml_item_list.h"
#include "map/portrait.h"
#include "map/render/artwork_words.h"
#include "map/render_helpers.h"
#include "platform/text/tr.h"

namespace {

constexpr int VIEWED_CAPACITY = 512;

// "%s (%.2f)" in a 128-character buffer. A long name is shortened so the clock still shows.
void ComposeTitle(char (&out)[128], const char* name, double clock) {
  char clockPart[64];
  const int clockLen = std::snprintf(clockPart, sizeof clockPart, " (%.2f)", clock);
  const int room = static_cast<int>(sizeof out) - 1 - (clockLen > 0 ? clockLen : 0);
  const int nameLen = static_cast<int>(strnlen(name, 256));
  std::snprintf(out, sizeof out, "%.*s%s", nameLen < room ? nameLen : room, name, clockPart);
}

}  // namespace

namespace {

// The picture's words; the rest of it has none.
const render::ArtworkWord kPageWords[] = {
    {N_("VIEWED"), {8, 6, 232, 22}, 0x37495C, 0xF4AC28, 0x121820, 16},
    {N_("CLOSE"), {74, 293, 161, 303}, 0xCE3E32, 0xF6F8FA, 0x781C16, 9},
    {N_("TAP AN ICON TO PLAY IT AGAIN"), {4, 309, 236, 319}, 0x222E3C, 0xC8D2DA, 0x222E3C, 9},
};

}  // namespace

void CPortrait::DrawPageView(CGapiSurface* backBuffer, CGapiBitmapFont* font) {
  const int w = static_cast<int>(m_screenSize.x);
  const int h = static_cast<int>(m_screenSize.y);
  const int panelW = static_cast<int>(m_pageBackground.GetWidth());
  const int panelH = static_cast<int>(m_pageBackground.GetHeight());
  const int px = panelW < w ? w / 2 - panelW / 2 : 0;
  const int py = panelH < h ? h / 2 - panelH / 2 : 0;

  render::Copy(backBuffer, px, py, &m_pageBackground);
  render::DrawArtworkWords(backBuffer, POINT{px, py}, kPageWords);

  char text[128];
  if (m_currentUser != nullptr) {
    ComposeTitle(text, m_currentUser->m_username, m_currentUser->ClockNow());
    render::CentredText(backBuffer, w / 2, py + 30, text, font);
  }
  std::snprintf(text, sizeof text, _("Page %i of %i"), m_page, m_pageCount);
  render::CentredText(backBuffer, w / 2, py + 275, text, font);

  if (m_currentUser == nullptr || m_contentList == nullptr) return;
  int n = m_currentUser->m_viewedCount;
  if (n > VIEWED_CAPACITY) n = VIEWED_CAPACITY;
  const int first = m_pageColumns * m_pageRows * (m_page - 1);
  for (int i = 0; i < m_pageRows; ++i) {
    for (int j = 0; j < m_pageColumns; ++j) {
      const int k = i * m_pageColumns + j + first;
      if (k < 0 || k >= n) continue;
      const int id = m_currentUser->m_viewedIds[k];
      if (id <= 0) continue;
      const auto* item = static_cast<const CContentItem*>(m_contentList->FindById(id));
      if (item == nullptr) continue;
      CGapiSurface* icon = IconOf(item);
      if (icon == nullptr) continue;
      const int x = px + m_pageMarginX + j * (m_pageIconWidth + 6) + j * m_pageGapX + 3;
      const int y = py + m_pageMarginY + i * (m_pageIconHeight + 6) + i * m_pageGapY + 3;
      render::KeyedCopy(backBuffer, x, y, icon);
      const std::string title = TitleOf(item);
      if (title.empty()) continue;
      GDTEXTSTYLE style;
      style.pixels = kPageTitlePixels;
      style.align = GDDRAWTEXT_CENTER;
      const std::string shown =
          FitLegibleText(title.c_str(), kPageTitlePixels, m_pageIconWidth + m_pageGapX + 4);
      backBuffer->DrawLegibleText(x + m_pageIconWidth / 2, y + m_pageIconHeight + 1, shown.c_str(),
                                  style);
    }
  }
}
