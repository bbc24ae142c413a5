// Content icons of the map view by state, the deferred icons beside the user, and the
// shadows and badges of each drawn icon.
#include <cstdio>

#include "data/content_item.h"
#include "data/user_context.h"
#include "data/xml_item_list.h"
#include "map/portrait.h"
#include "map/render_helpers.h"

namespace {

constexpr int STATE_HIDDEN = 0;
constexpr int STATE_AVAILABLE = 1;
constexpr int STATE_RELATED = 2;
constexpr int STATE_PLACED = 3;

// Items placed beside the user are drawn last, so they lie on top of every other icon.
// Nine entries, a fixed table rebuilt every frame.
constexpr int DEFERRED_SLOTS = 9;

struct DeferredIcon {
  CContentItem* item;  // the record drawn, not its id: ids may repeat in a project file
  RECT dest;
  RECT src;
  RECT map;
  int state;
};

constexpr int BADGE_ROW_VIEWED = 13;
constexpr int BADGE_ROW_RELATED = 26;

}  // namespace

CGapiSurface* CPortrait::IconOf(const CContentItem* item) const {
  const int index = item->m_iconIndex;
  if (m_iconSurfaces == nullptr || index < 0 || index >= m_iconSurfaceCount) return nullptr;
  return &m_iconSurfaces[index];
}

void CPortrait::DrawContentIcons(CGapiSurface* backBuffer, CGapiBitmapFont* font) {
  if (m_iconMode == 0 || m_contentList == nullptr || m_contentList->IsEmpty()) return;

  DeferredIcon deferred[DEFERRED_SLOTS];
  int deferredCount = 0;
  const MapView view = View();

  for (int i = m_contentList->First(); i != -1; i = m_contentList->Next()) {
    auto* item = static_cast<CContentItem*>(m_contentList->Current());
    CGapiSurface* icon = IconOf(item);
    if (icon == nullptr) continue;

    // Icons keep their size at every zoom: a box around the item's zoomed pixel.
    const int hw = static_cast<int>(icon->GetWidth()) / 2;
    const int hh = static_cast<int>(icon->GetHeight()) / 2;
    const RECT map =
        view.ZoomedBox(CGeoPoint(item->m_screenX, item->m_screenY), RECT{-hw, -hh, hw, hh});
    RECT dest, src;
    if (!ClipToView(m_viewRect, map, &dest, &src)) continue;

    int state = STATE_HIDDEN;
    if (m_iconMode == 2 || item->m_inActiveRegion) {
      state = STATE_AVAILABLE;
    } else if (item->m_related && item->m_relatedPlaced) {
      state = STATE_PLACED;
    } else if (item->m_related) {
      state = STATE_RELATED;
    }

    switch (state) {
      case STATE_AVAILABLE:
        render::KeyedBlit(backBuffer, dest, icon, src);
        DrawIconDecorations(map, dest, item, backBuffer, font, state);
        break;
      case STATE_RELATED:
        render::KeyedBlitAt(backBuffer, dest, icon, src, 128);
        DrawIconDecorations(map, dest, item, backBuffer, font, state);
        break;
      case STATE_PLACED:
        if (deferredCount < DEFERRED_SLOTS) {
          deferred[deferredCount++] = DeferredIcon{item, dest, src, map, state};
        }
        break;
      default:
        break;
    }
  }

  for (int k = 0; k < deferredCount; ++k) {
    const DeferredIcon& d = deferred[k];
    render::KeyedBlit(backBuffer, d.dest, IconOf(d.item), d.src);
    DrawIconDecorations(d.map, d.dest, d.item, backBuffer, font, d.state);
  }
}

// mapRect is the icon's box in zoomed pixels (map pixels while the whole map fits).
void CPortrait::DrawIconDecorations(RECT mapRect, RECT destRect, CContentItem* item,
                                    CGapiSurface* backBuffer, CGapiBitmapFont* font, int state) {
  const int w = static_cast<int>(m_screenSize.x);
  const int h = static_cast<int>(m_screenSize.y);
  const RECT& m = mapRect;
  const RECT& d = destRect;
  const int mapW = m.right - m.left;
  const int mapH = m.bottom - m.top;

  // Right shadow. Where the top of the icon is clipped away the shadow starts higher up, so
  // it still lines up with the part of the icon that shows.
  const int x = (mapW % 2 == 0) ? d.right - 1 : d.right;
  int y0 = d.top + 2;
  int cut = mapH - (d.bottom - d.top);
  if (d.top == 0 && cut > 2) {
    y0 = 0;
  } else if (d.top == 0 && cut > 0) {
    y0 = cut;
  }
  render::ShadowLine(backBuffer, x, y0, x, d.bottom - 1, 192);
  render::ShadowLine(backBuffer, x + 1, y0, x + 1, d.bottom >= h ? d.bottom - 1 : d.bottom, 96);

  // Bottom shadow, likewise for the left edge.
  int x0 = d.left + 2;
  cut = mapW - (d.right - d.left);
  if (d.left == 0 && cut > 2) {
    x0 = 0;
  } else if (d.left == 0 && cut > 0) {
    x0 = cut;
  }
  render::ShadowLine(backBuffer, x0, d.bottom, d.right - 1, d.bottom, 192);
  render::ShadowLine(backBuffer, x0, d.bottom + 1, d.right >= w ? d.right - 1 : d.right,
                     d.bottom + 1, 96);

  if (m_iconMode == 2) {
    char label[128];
    std::snprintf(label, sizeof label, "S%i", item->m_id);
    const POINT at = View().ToScreen(CGeoPoint(item->m_screenX, item->m_screenY));
    render::CentredText(backBuffer, at.x, at.y - 4, label, font);
    return;
  }

  RECT dest, src;
  const RECT stateBadge{m.right - 17, m.top + 2, m.right - 4, m.top + 15};
  if (ClipToView(m_viewRect, stateBadge, &dest, &src)) {
    if (state == STATE_AVAILABLE || state == STATE_PLACED) {
      render::KeyedBlit(backBuffer, dest, &m_badgeStrip, src);
    } else if (state == STATE_RELATED) {
      src.top += BADGE_ROW_RELATED;
      src.bottom += BADGE_ROW_RELATED;
      render::KeyedBlit(backBuffer, dest, &m_badgeStrip, src);
    }
  }

  if (m_currentUser != nullptr && m_currentUser->FindViewed(item->m_id) >= 0) {
    const RECT viewedBadge{m.right - 17, m.top + 17, m.right - 4, m.top + 30};
    if (ClipToView(m_viewRect, viewedBadge, &dest, &src)) {
      src.top += BADGE_ROW_VIEWED;
      src.bottom += BADGE_ROW_VIEWED;
      render::KeyedBlit(backBuffer, dest, &m_badgeStrip, src);
    }
  }
}
