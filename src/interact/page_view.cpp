// The content page view: its layout, paging and replaying from the viewing history.
#include <algorithm>
#include <cstring>

#include "data/content_item.h"
#include "data/user_context.h"
#include "data/xml_item_list.h"
#include "map/portrait.h"
#include "platform/windowing/win_api.h"

namespace {

// The cell area inside the 240 x 320 panel; cells are icon size plus 6 on each axis.
constexpr int kCellAreaLeft = 11;
constexpr int kCellAreaTop = 46;
constexpr int kCellAreaRight = 229;
constexpr int kCellAreaBottom = 266;
constexpr int kCellPadding = 6;
constexpr int kPageTitleColumn = 64;  // narrowest column that shows a few words of a title

// Cells along one axis and the extra gap between them. An icon larger than the whole area
// still gets one cell with no gap (it overflows the area) rather than none, so the history
// stays reachable and nothing divides by zero.
void LayoutAxis(int span, int iconSize, int* cells, int* gap) {
  const int pitch = iconSize + kCellPadding;
  *cells = span / pitch;
  if (*cells < 1) {
    *cells = 1;
    *gap = 0;
    return;
  }
  *gap = (span - pitch * *cells) / *cells;
}

}  // namespace

void CPortrait::OpenPageView() {
  // Without a current user there is no history to page through: the view stays closed
  // (the tap that asked for it still moves the user).
  if (m_currentUser == nullptr) return;

  int n = m_contentList != nullptr ? m_contentList->Count() : 0;
  if (m_iconSurfaces == nullptr) n = 0;
  n = std::min(n, m_iconSurfaceCount);
  int width = 0;
  int height = 0;
  for (int i = 0; i < n; ++i) {
    width = std::max(width, static_cast<int>(m_iconSurfaces[i].GetWidth()));
    height = std::max(height, static_cast<int>(m_iconSurfaces[i].GetHeight()));
  }
  m_pageIconWidth = width;
  m_pageIconHeight = height;

  // Titles need wider columns than small icons do; the icons keep their size and their
  // tap boxes, with more room between them.
  bool titled = false;
  if (m_contentList != nullptr) {
    for (int k = 0; k < 128 && !titled; ++k)
      titled = !TitleOf(static_cast<const CContentItem*>(m_contentList->At(k))).empty();
  }
  const int columnWidth = titled ? std::max(width, kPageTitleColumn) : width;
  LayoutAxis(kCellAreaRight - kCellAreaLeft, columnWidth, &m_pageColumns, &m_pageGapX);
  m_pageMarginX = m_pageGapX / 2 + kCellAreaLeft + (columnWidth - width) / 2;
  m_pageGapX += columnWidth - width;
  // Titles go under the icons; rows make room for them when any item has one.
  const int titleRoom = titled ? LegibleLineHeight(kPageTitlePixels) : 0;
  LayoutAxis(kCellAreaBottom - kCellAreaTop, height + titleRoom, &m_pageRows, &m_pageGapY);
  m_pageMarginY = m_pageGapY / 2 + kCellAreaTop;
  m_pageGapY += titleRoom;

  const int perPage = m_pageColumns * m_pageRows;
  const int viewed = m_currentUser->m_viewedCount;
  m_page = 1;
  m_pageCount = viewed / perPage + (viewed % perPage != 0 ? 1 : 0);
}

void CPortrait::PageViewOrigin(int* offsetX, int* offsetY) const {
  const int w = static_cast<int>(m_screenSize.x);
  const int h = static_cast<int>(m_screenSize.y);
  const int panelW = static_cast<int>(m_pageBackground.GetWidth());
  const int panelH = static_cast<int>(m_pageBackground.GetHeight());
  *offsetX = panelW < w ? w / 2 - panelW / 2 : 0;
  *offsetY = panelH < h ? h / 2 - panelH / 2 : 0;
}

void CPortrait::PageViewTap(int x, int y) {
  int ox = 0;
  int oy = 0;
  PageViewOrigin(&ox, &oy);
  const POINT pt{x, y};
  RECT part;

  SetRect(&part, ox + 71, oy + 291, ox + 164, oy + 305);
  if (PtInRect(&part, pt)) {
    m_page = 0;
    return;
  }
  SetRect(&part, ox + 43, oy + 288, ox + 63, oy + 308);
  if (PtInRect(&part, pt)) {
    m_page = m_page <= 1 ? m_pageCount : m_page - 1;
    return;
  }
  SetRect(&part, ox + 178, oy + 288, ox + 198, oy + 308);
  if (PtInRect(&part, pt)) {
    m_page = m_page >= m_pageCount ? 1 : m_page + 1;
    return;
  }
  SetRect(&part, ox + kCellAreaLeft, oy + kCellAreaTop, ox + kCellAreaRight, oy + kCellAreaBottom);
  if (PtInRect(&part, pt) && HitTestPageCell(x, y, ox, oy)) m_pendingAction = ACTION_PLAY_VIDEO;
}

bool CPortrait::HitTestPageCell(int x, int y, int offsetX, int offsetY) {
  if (m_currentUser == nullptr || m_contentList == nullptr) return false;
  const int viewed = std::min(m_currentUser->m_viewedCount, USER_MAX_VIEWED);
  const int first = m_pageColumns * m_pageRows * (m_page - 1);
  const POINT pt{x, y};
  for (int i = 0; i < m_pageRows; ++i) {
    for (int j = 0; j < m_pageColumns; ++j) {
      const int index = i * m_pageColumns + j + first;
      if (index < 0 || index >= viewed) continue;
      RECT cell;
      cell.left = offsetX + m_pageMarginX + j * (m_pageIconWidth + kCellPadding) + j * m_pageGapX + 3;
      cell.right = cell.left + m_pageIconWidth;
      cell.top = offsetY + m_pageMarginY + i * (m_pageIconHeight + kCellPadding) + i * m_pageGapY + 3;
      cell.bottom = cell.top + m_pageIconHeight;
      if (!PtInRect(&cell, pt)) continue;
      const auto* item =
          static_cast<const CContentItem*>(m_contentList->FindById(m_currentUser->m_viewedIds[index]));
      if (item == nullptr) continue;
      // Replaying from the history records nothing new in it.
      std::strncpy(m_videoFile, item->m_filename, sizeof m_videoFile - 1);
      m_videoFile[sizeof m_videoFile - 1] = '\0';
      return true;
    }
  }
  return false;
}
