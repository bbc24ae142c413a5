// What the guide shows beside the labels: the visited and entered marks on the markers, the
// arrow to the next place, the status area with the progress, and the arrival banner.
#include <cmath>
#include <cstdio>
#include <string>

#include "data/region_item.h"
#include "data/xml_item_list.h"
#include "map/portrait.h"
#include "map/render_helpers.h"
#include "platform/text/tr.h"

namespace {

constexpr int kSlots = 128;
constexpr int kBannerPixels = 22;
constexpr DWORD kArrowColour = 0xFFD000;
constexpr DWORD kEnteredMark = 0xFFB020;
constexpr double kPi = 3.14159265358979323846;

// "140 m", "1.2 km".
std::string DistanceText(double metres) {
  char text[32];
  if (metres < 1000.0) {
    std::snprintf(text, sizeof text, "%.0f m", std::round(metres));
  } else {
    std::snprintf(text, sizeof text, "%.1f km", metres / 1000.0);
  }
  return text;
}

}  // namespace

void CPortrait::DrawPlaceMarks(CGapiSurface* backBuffer) {
  if (!m_showRegionMarkers || m_showRegionAreas || m_regionList == nullptr) return;
  if (m_guide.places.size() < kSlots) return;
  const int half = static_cast<int>(m_regionMarker.GetWidth()) / 2;
  const MapView view = View();
  for (int slot = 0; slot < kSlots; ++slot) {
    const auto* region = static_cast<const CRegionItem*>(m_regionList->At(slot));
    if (region == nullptr || region->m_contentCount < 1) continue;  // no marker drawn
    const guide::PlaceState state = m_guide.places[slot];
    if (state == guide::PlaceState::NeverEntered) continue;
    const int x = ToPixel(region->m_screenX), y = ToPixel(region->m_screenY);
    // On the marker's top-right corner: the viewed tick when done, a small amber square
    // while some of it is still to see.
    if (state == guide::PlaceState::Visited) {
      const RECT badge =
          view.ToScreen(RECT{x + half - 9, y - half - 4, x + half + 4, y - half + 9});
      render::KeyedBlit(backBuffer, badge, &m_badgeStrip, RECT{0, 13, 13, 26});
    } else {
      const RECT mark = view.ToScreen(RECT{x + half - 6, y - half - 2, x + half + 2, y - half + 6});
      render::Fill(backBuffer, &mark, kEnteredMark);
      render::Frame(backBuffer, mark, render::kBlack);
    }
  }
}

void CPortrait::DrawNextPlaceArrow(CGapiSurface* backBuffer) {
  if (!m_showUser || m_guide.next.slot < 0) return;
  const POINT centre = View().ToScreen(m_userPos);
  const double b = m_guide.next.bearing * kPi / 180.0;
  // North is up on the map.
  const double dx = std::sin(b), dy = -std::cos(b);
  auto at = [&](double along, double across) {
    return POINT{centre.x + static_cast<int>(std::lround(dx * along - dy * across)),
                 centre.y + static_cast<int>(std::lround(dy * along + dx * across))};
  };
  const POINT tip = at(44, 0);
  const POINT tail = at(24, 0);
  const POINT left = at(34, -7), right = at(34, 7);
  for (int pass = 0; pass < 2; ++pass) {
    // A dark copy one pixel down and right keeps the arrow clear over a light map.
    const int o = pass == 0 ? 1 : 0;
    const DWORD c = pass == 0 ? render::kBlack : kArrowColour;
    for (int t = -1; t <= 1; ++t) {
      render::Line(backBuffer, tail.x + o + t, tail.y + o, tip.x + o + t, tip.y + o, c);
      render::Line(backBuffer, tail.x + o, tail.y + o + t, tip.x + o, tip.y + o + t, c);
      render::Line(backBuffer, left.x + o + t, left.y + o, tip.x + o + t, tip.y + o, c);
      render::Line(backBuffer, right.x + o + t, right.y + o, tip.x + o + t, tip.y + o, c);
    }
  }
}

void CPortrait::DrawStatusArea(CGapiSurface* backBuffer) {
  const int w = static_cast<int>(m_screenSize.x);
  const int h = static_cast<int>(m_screenSize.y);
  const int lineH = LegibleLineHeight(GD_LEGIBLE_PIXELS);
  // Lines of haloed text read over any map without a box; they end clear of the overview
  // in the bottom-right corner.
  if (m_showGpsStatus) DrawGpsStatus(backBuffer, nullptr);

  char progress[96];
  std::snprintf(progress, sizeof progress, _("%d of %d places \xC2\xB7 %d of %d items"),
                m_guide.placesVisited, m_guide.placeCount, m_guide.itemsViewed, m_guide.itemCount);
  const int y = h - 5 - lineH - 1;
  GDTEXTSTYLE style;
  backBuffer->DrawLegibleText(10, y, progress, style);

  std::string next;
  if (m_guide.next.slot >= 0) {
    next = m_guide.next.name + ", " + DistanceText(m_guide.next.metres);
  } else if (m_guide.allVisited) {
    next = _("Every place visited");
  }
  if (next.empty()) return;
  // The next place at the right of the same line, shortened to the room left.
  const int room = (w - 75) - (10 + LegibleTextWidth(progress, GD_LEGIBLE_PIXELS) + 24);
  const std::string shown = FitLegibleText(next.c_str(), GD_LEGIBLE_PIXELS, room);
  if (shown.empty()) return;
  style.color = 0xFFE070;
  backBuffer->DrawLegibleText(w - 75 - LegibleTextWidth(shown.c_str(), GD_LEGIBLE_PIXELS), y,
                              shown.c_str(), style);
}

void CPortrait::DrawArrivalBanner(CGapiSurface* backBuffer) {
  if (!m_guide.bannerOn || m_guide.now - m_guide.bannerStart >= guide::kBannerMs) return;
  const int w = static_cast<int>(m_screenSize.x);
  const std::string shown = FitLegibleText(m_guide.banner.c_str(), kBannerPixels, w - 140);
  if (shown.empty()) return;
  const int textW = LegibleTextWidth(shown.c_str(), kBannerPixels);
  const int lineH = LegibleLineHeight(kBannerPixels);
  const int top = m_menuOpen ? static_cast<int>(m_menuIcons.GetHeight()) + 24 : 36;
  const RECT box{w / 2 - textW / 2 - 12, top, w / 2 + textW / 2 + 12, top + lineH + 8};
  render::TranslucentFill(backBuffer, box, render::kDarkGrey);
  render::Frame(backBuffer, box, render::kBlack);
  GDTEXTSTYLE style;
  style.pixels = kBannerPixels;
  style.color = 0xFFE070;
  style.align = GDDRAWTEXT_CENTER;
  backBuffer->DrawLegibleText(w / 2, top + 4, shown.c_str(), style);
}
