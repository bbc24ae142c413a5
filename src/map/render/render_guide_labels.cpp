// Place names beside their markers and item titles under the icons of the entered place,
// placed so that none covers another, the user marker or the controls.
#include <algorithm>

#include "data/content_item.h"
#include "data/region_item.h"
#include "data/xml_item_list.h"
#include "guide/label_placement.h"
#include "map/portrait.h"
#include "map/render_helpers.h"

namespace {

constexpr int kSlots = 128;
constexpr int kMaxTitleWidth = 140;  // a title wider than this is shortened
constexpr DWORD kEnteredColour = 0xFFE070;

}  // namespace

int CPortrait::StatusAreaTop() const {
  const int h = static_cast<int>(m_screenSize.y);
  const int lines = m_showGpsStatus ? 2 : 1;
  return h - 5 - lines * LegibleLineHeight(GD_LEGIBLE_PIXELS) - 2;
}

void CPortrait::GuideObstacles(std::vector<RECT>* out) const {
  const int w = static_cast<int>(m_screenSize.x);
  const int h = static_cast<int>(m_screenSize.y);
  if (m_menuOpen) {
    // The panel and the prompt box under it.
    out->push_back(RECT{0, 0, w, static_cast<int>(m_menuIcons.GetHeight()) + 18});
    MenuLanguageObstacles(out);
  } else {
    out->push_back(RECT{w - 57, 0, w, 31});  // users and exit buttons
  }
  out->push_back(RECT{0, StatusAreaTop(), w - 65, h});
  if (ZoomButtonsShown()) {
    for (int button : {ZOOM_IN, ZOOM_OUT, CENTRE_ON_ME}) out->push_back(ZoomButtonRect(button));
  }
  if (m_showOverview) out->push_back(RECT{w - 66, h - 60, w, h});
  if (m_showUser) out->push_back(View().ToScreen(UserIconRect()));
  const MapView view = View();
  // The markers and the icons that are drawn: a name never hides what can be tapped.
  if (m_regionList != nullptr && m_showRegionMarkers && !m_showRegionAreas) {
    const int half = static_cast<int>(m_regionMarker.GetWidth()) / 2;
    for (int slot = 0; slot < kSlots; ++slot) {
      const auto* region = static_cast<const CRegionItem*>(m_regionList->At(slot));
      if (region == nullptr || region->m_contentCount < 1) continue;
      const CGeoPoint at(region->m_screenX, region->m_screenY);
      out->push_back(view.ScreenBox(at, RECT{-half, -half, half, half}));
    }
  }
  if (m_contentList != nullptr && m_iconMode != 0) {
    for (int k = 0; k < kSlots; ++k) {
      const auto* item = static_cast<const CContentItem*>(m_contentList->At(k));
      if (item == nullptr) continue;
      if (m_iconMode == 1 && !item->m_inActiveRegion && !item->m_related) continue;
      const CGapiSurface* icon = IconOf(item);
      if (icon == nullptr) continue;
      const int hw = static_cast<int>(icon->GetWidth()) / 2;
      const int hh = static_cast<int>(icon->GetHeight()) / 2;
      const CGeoPoint at(item->m_screenX, item->m_screenY);
      out->push_back(view.ScreenBox(at, RECT{-hw, -hh, hw + 2, hh + 2}));
    }
  }
}

void CPortrait::DrawGuideLabels(CGapiSurface* backBuffer) {
  if (!m_guide.showLabels || m_regionList == nullptr) return;
  if (m_guide.placeNames.size() < kSlots || m_guide.titles.size() < kSlots) return;
  const bool markers = m_showRegionAreas || m_showRegionMarkers;
  const int lineH = LegibleLineHeight(GD_LEGIBLE_PIXELS);
  const int half = static_cast<int>(m_regionMarker.GetWidth()) / 2;
  const MapView view = View();

  std::vector<guide::LabelRequest> requests;
  std::vector<DWORD> colours;
  auto placeRequest = [&](int slot, const CRegionItem* region, bool entered) {
    const CGeoPoint at(region->m_screenX, region->m_screenY);
    guide::LabelRequest r;
    r.text = m_guide.placeNames[slot];
    r.width = m_guide.placeNameWidths[slot];
    r.height = lineH;
    r.anchor = view.ScreenBox(at, RECT{-half, -half, half, half});
    r.mustShow = entered;
    requests.push_back(std::move(r));
    colours.push_back(entered ? kEnteredColour : 0xFFFFFF);
  };

  // The place the visitor is in comes first and always shows.
  if (markers) {
    for (int slot = 0; slot < kSlots; ++slot) {
      const auto* region = static_cast<const CRegionItem*>(m_regionList->At(slot));
      if (region != nullptr && region->m_active && !m_guide.placeNames[slot].empty())
        placeRequest(slot, region, true);
    }
  }
  // Then what the visitor can play there, so each icon says what it is before the tap.
  if (m_iconMode == 1 && m_contentList != nullptr) {
    for (int k = 0; k < kSlots; ++k) {
      const auto* item = static_cast<const CContentItem*>(m_contentList->At(k));
      if (item == nullptr || !item->m_inActiveRegion || m_guide.titles[k].empty()) continue;
      const CGapiSurface* icon = IconOf(item);
      if (icon == nullptr) continue;
      const int hw = static_cast<int>(icon->GetWidth()) / 2;
      const int hh = static_cast<int>(icon->GetHeight()) / 2;
      const CGeoPoint at(item->m_screenX, item->m_screenY);
      guide::LabelRequest r;
      r.text = m_guide.titles[k];
      r.width = m_guide.titleWidths[k];
      r.height = lineH;
      // Below the icon's shadow.
      r.anchor = view.ScreenBox(at, RECT{-hw, -hh, hw, hh + 2});
      r.below = true;
      if (r.width > kMaxTitleWidth) {
        int width = 0;
        r.text = FitLegibleText(r.text.c_str(), GD_LEGIBLE_PIXELS, kMaxTitleWidth);
        width = LegibleTextWidth(r.text.c_str(), GD_LEGIBLE_PIXELS);
        r.width = width;
      }
      requests.push_back(std::move(r));
      colours.push_back(0xFFFFFF);
    }
  }
  if (markers) {
    for (int slot = 0; slot < kSlots; ++slot) {
      const auto* region = static_cast<const CRegionItem*>(m_regionList->At(slot));
      if (region != nullptr && !region->m_active && !m_guide.placeNames[slot].empty())
        placeRequest(slot, region, false);
    }
  }
  if (requests.empty()) return;

  std::vector<RECT> obstacles;
  GuideObstacles(&obstacles);
  const RECT screen{0, 0, static_cast<int>(m_screenSize.x), static_cast<int>(m_screenSize.y)};
  const guide::FitText fit = [](const std::string& text, int maxWidth, int* width) {
    std::string shorter = FitLegibleText(text.c_str(), GD_LEGIBLE_PIXELS, maxWidth);
    *width = LegibleTextWidth(shorter.c_str(), GD_LEGIBLE_PIXELS);
    return shorter;
  };
  guide::GuideState& g = m_guide;
  const bool sameRequests = requests == g.lastRequests;
  if (!sameRequests) g.lastMemo = guide::PlacementMemo{};
  if (!sameRequests || !guide::PlacementHolds(g.lastMemo.tried, g.lastObstacles, obstacles)) {
    g.lastPlaced = guide::PlaceLabels(requests, obstacles, screen, fit, &g.lastMemo);
    g.lastRequests = std::move(requests);
    g.lastColours = std::move(colours);
  }
  g.lastObstacles = std::move(obstacles);
  for (const guide::PlacedLabel& p : g.lastPlaced) {
    GDTEXTSTYLE style;
    style.color = g.lastColours[p.request];
    backBuffer->DrawLegibleText(p.box.left, p.box.top, p.text.c_str(), style);
  }
}
