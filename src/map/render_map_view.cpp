// One frame of the main view: the page view, or the map view in its drawing order.
#include <cstdio>

#include "data/system_item.h"
#include "map/map_pyramid.h"
#include "map/portrait.h"
#include "map/render_helpers.h"
#include "platform/text/tr.h"

void CPortrait::Render(CGapiSurface* backBuffer, CGapiBitmapFont* font) {
  if (m_page >= 1) {
    DrawPageView(backBuffer, font);
    return;
  }

  DrawMapAndRegions(backBuffer, font);
  EnsureGuide();
  DrawPlaceMarks(backBuffer);

  RECT userRect{};
  if (m_showUser || m_showOverview) {
    userRect = UserIconRect();
    RECT dest, src;
    if (m_showUser && ClipToView(m_viewRect, userRect, &dest, &src)) {
      render::KeyedBlitAt(backBuffer, dest, &m_userIcon, src, 128);
    }
    if (m_showUser) DrawGpsErrorRing(backBuffer);
  }

  DrawContentIcons(backBuffer, font);
  DrawNextPlaceArrow(backBuffer);
  DrawGuideLabels(backBuffer);
  // The overview shows the marker as it is on the whole map.
  if (m_showOverview) DrawOverview(backBuffer, UserIconRectAt(1.0));
  if (m_menuOpen) {
    DrawMenuPanel(backBuffer, font);
  } else {
    DrawButtons(backBuffer);
  }
  DrawZoomButtons(backBuffer);
  if (IsCalibrating()) DrawCalibrationHint(backBuffer, font);
  DrawStatusArea(backBuffer);
  DrawArrivalBanner(backBuffer);
}

void CPortrait::DrawMapBackground(CGapiSurface* backBuffer) {
  // Without a map image the view looks as it does with the map switched off.
  if (m_showMap && m_mapSurface != nullptr) {
    // Zoomed in, from the full-resolution map; the whole map is the fitted picture.
    if (m_zoom > 1.0 && m_mapPyramid != nullptr) {
      m_mapPyramid->Draw(backBuffer, m_viewRect, m_zoom);
    } else {
      backBuffer->BltFast(0, 0, m_mapSurface, &m_viewRect, 0, nullptr);
    }
  } else {
    render::Fill(backBuffer, nullptr, render::kGreyBackground);
  }
}

RECT CPortrait::UserIconRect() const { return UserIconRectAt(m_zoom); }

RECT CPortrait::UserIconRectAt(double zoom) const {
  const int iconW = static_cast<int>(m_userIcon.GetWidth());
  const int iconH = static_cast<int>(m_userIcon.GetHeight());
  const int hw = iconW / 2;
  const int hh = iconH / 2;
  const POINT at = MapView{m_viewRect, zoom}.ToZoomed(m_userPos);
  const int x = at.x;
  const int y = at.y;

  // An odd width puts the centre pixel in the middle; the width alone decides for both axes.
  const int extra = (iconW % 2 != 0) ? 1 : 0;
  RECT r{x - hw, y - hh, x + hw + extra, y + hh + extra};

  if (r.left < 0) {
    r.left = 0;
    r.right = iconW;
  }
  if (r.top < 0) {
    r.top = 0;
    r.bottom = iconH;
  }
  if (r.right > m_mapSize.x * zoom) {
    r.right = static_cast<int>(m_mapSize.x * zoom);
    r.left = r.right - iconW;
  }
  if (r.bottom > m_mapSize.y * zoom) {
    r.bottom = static_cast<int>(m_mapSize.y * zoom);
    r.top = r.bottom - iconH;
  }
  return r;
}

void CPortrait::DrawOverview(CGapiSurface* backBuffer, const RECT& userRect) {
  // The scale divides by the map width: with no map there is nothing to show.
  if (m_mapSize.x <= 0.0) return;
  const int w = static_cast<int>(m_screenSize.x);
  const int h = static_cast<int>(m_screenSize.y);
  const double s = 60.0 / m_mapSize.x;
  const int oh = static_cast<int>(s * m_mapSize.y);
  const int ox = w - 65;
  const int oy = h - 5 - oh;
  // The view is in zoomed pixels, the user's rectangle in map pixels.
  auto scaled = [&](const RECT& r, double k) {
    return RECT{ox + static_cast<int>(k * r.left), oy + static_cast<int>(k * r.top),
                ox + static_cast<int>(k * r.right), oy + static_cast<int>(k * r.bottom)};
  };

  const RECT frame{ox, oy, w - 5, h - 5};
  render::TranslucentFill(backBuffer, frame, render::kGrey);
  render::Frame(backBuffer, frame, render::kBlack);

  const RECT view = scaled(m_viewRect, s / m_zoom);
  render::TranslucentFill(backBuffer, view, render::kDarkGrey);
  render::Frame(backBuffer, view, render::kDarkGrey);

  const RECT user = scaled(userRect, s);
  render::Fill(backBuffer, &user, render::kBlue);
}

// The upper line of the status area (DrawStatusArea draws its box), in legible text.
void CPortrait::DrawGpsStatus(CGapiSurface* backBuffer, CGapiBitmapFont* /*font*/) {
  char text[128];
  const platform::PositionState state = platform::CurrentPositionState();
  if (state == platform::PositionState::Lost) {
    // The last fix may still be held for a moment; the loss is the news.
    std::snprintf(text, sizeof text, "%s", _("GPS SERVICE LOST - RECONNECTING"));
  } else if (state == platform::PositionState::Unreachable) {
    std::snprintf(text, sizeof text, "%s", _("NOT REACHABLE - RETRYING"));
  } else if (state == platform::PositionState::Off) {
    std::snprintf(text, sizeof text, "%s", _("NO POSITION SOURCE"));
  } else if (HasGpsFix() && m_userFromGps && m_userOffMap) {
    std::snprintf(text, sizeof text, _("OFF THE MAP - Lat: %f, Long: %f"), m_gpsLatitude,
                  m_gpsLongitude);
  } else if (HasGpsFix()) {
    std::snprintf(text, sizeof text, _("Lat: %f, Long: %f"), m_gpsLatitude, m_gpsLongitude);
  } else if (state == platform::PositionState::Ended) {
    std::snprintf(text, sizeof text, "%s", _("END OF RECORDED WALK"));
  } else {
    std::snprintf(text, sizeof text, "%s", _("WAITING FOR GPS FIX"));
  }
  GDTEXTSTYLE style;
  backBuffer->DrawLegibleText(10, StatusAreaTop() + 1, text, style);
}
