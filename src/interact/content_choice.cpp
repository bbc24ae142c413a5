// Tapping a content icon: the hit test and the choice that follows it.
#include <cstring>

#include "data/content_item.h"
#include "data/user_context.h"
#include "data/xml_item_list.h"
#include "map/portrait.h"
#include "platform/windowing/win_api.h"

CContentItem* CPortrait::HitTestIconItem(int x, int y) {
  const POINT z = View().ToZoomed(CGeoPoint(x, y));
  return HitTestIconAtScreen(z.x - m_viewRect.left, z.y - m_viewRect.top);
}

CContentItem* CPortrait::HitTestIconAtScreen(int x, int y) {
  if (m_iconMode == 0 || m_contentList == nullptr || m_contentList->IsEmpty()) return nullptr;
  // Tested where the icons are drawn: boxes of fixed size around their zoomed pixels.
  const MapView view = View();
  const POINT pt{x, y};
  for (int i = m_contentList->First(); i != -1; i = m_contentList->Next()) {
    auto* item = static_cast<CContentItem*>(m_contentList->Current());
    // Content that is only related is shown but cannot be played from the map.
    if (!item->m_inActiveRegion && !item->m_relatedPlaced && m_iconMode != 2) continue;
    const CGapiSurface* icon = IconOf(item);
    if (icon == nullptr) continue;  // never drawn, so never tappable
    const int hw = static_cast<int>(icon->GetWidth()) / 2;
    const int hh = static_cast<int>(icon->GetHeight()) / 2;
    const RECT r =
        view.ScreenBox(CGeoPoint(item->m_screenX, item->m_screenY), RECT{-hw, -hh, hw, hh});
    if (PtInRect(&r, pt)) return item;
  }
  return nullptr;
}

int CPortrait::HitTestIcon(int x, int y) {
  const CContentItem* item = HitTestIconItem(x, y);
  return item != nullptr ? item->m_id : -1;
}

void CPortrait::ChooseContent(CContentItem* item) {
  if (item == nullptr) return;
  m_selectedContent = item;
  std::strncpy(m_videoFile, item->m_filename, sizeof m_videoFile - 1);
  m_videoFile[sizeof m_videoFile - 1] = '\0';
  // Without a current user the video still plays, but nothing is recorded or marked.
  if (m_currentUser != nullptr) {
    m_currentUser->AddViewed(item->m_id);
    MarkGuideStale();
    MarkRelatedContent();
  }
  m_pendingAction = ACTION_PLAY_VIDEO;
}
