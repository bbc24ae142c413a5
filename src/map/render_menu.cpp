// The exit and users buttons, or the menu panel with its key cursor, toggle states, tap
// modes and prompt box.
#include <cstdio>

#include "map/portrait.h"
#include "map/render_helpers.h"
#include "platform/text/tr.h"

namespace {

// The users button shows the glyph of menu cell (6, 0).
constexpr RECT USERS_GLYPH{182, 3, 207, 28};

void StrikeCell(CGapiSurface* back, int column, int row) {
  RECT cell;
  GetMenuCellRect(column, row, &cell);
  render::Line(back, cell.left, cell.top, cell.right, cell.bottom, render::kBlue);
}

void FrameCell(CGapiSurface* back, int column, int row) {
  RECT cell;
  GetMenuCellRect(column, row, &cell);
  render::Frame(back, cell, render::kRed);
}

}  // namespace

void CPortrait::DrawButtons(CGapiSurface* backBuffer) {
  const int w = static_cast<int>(m_screenSize.x);
  const int buttonW = static_cast<int>(m_buttonBackground.GetWidth());
  const int buttonH = static_cast<int>(m_buttonBackground.GetHeight());
  const int glyphW = static_cast<int>(m_exitGlyph.GetWidth());
  const int glyphH = static_cast<int>(m_exitGlyph.GetHeight());

  if (!m_kiosk) {
    render::KeyedCopyAt(backBuffer, w - 28, 3, &m_buttonBackground, 128);
    render::KeyedCopy(backBuffer, w - 28 + (buttonW - glyphW) / 2, 3 + (buttonH - glyphH) / 2,
                      &m_exitGlyph);
  }

  render::KeyedCopyAt(backBuffer, w - 56, 3, &m_buttonBackground, 128);
  render::KeyedBlit(backBuffer, m_usersButtonRect, &m_menuIcons, USERS_GLYPH);
}

void CPortrait::DrawMenuPanel(CGapiSurface* backBuffer, CGapiBitmapFont* font) {
  const int w = static_cast<int>(m_screenSize.x);
  render::KeyedCopyAt(backBuffer, 0, 0, &m_menuBackground, 196);
  RECT cell;
  if (!m_kiosk) {
    render::KeyedCopy(backBuffer, 0, 0, &m_menuIcons);
  } else {
    // Only the buttons a visitor may use are drawn; the panel shows through the others.
    for (int i = 0; i < 16; ++i) {
      if (!MenuButtonLocked(i % 8, i / 8) && GetMenuCellRect(i % 8, i / 8, &cell))
        render::KeyedBlit(backBuffer, cell, &m_menuIcons, cell);
    }
  }

  if (GetMenuCellRect(m_menuCursor % 8, m_menuCursor / 8, &cell)) {
    const int d = (cell.right - cell.left) / 6;
    const RECT bar{cell.left + d, cell.bottom - 1, cell.right - d, cell.bottom + 1};
    render::Fill(backBuffer, &bar, render::kRed);
  }

  if (!m_showMap) StrikeCell(backBuffer, 0, 1);
  if (!m_showOverview) StrikeCell(backBuffer, 1, 1);
  if (!m_showUser) StrikeCell(backBuffer, 2, 1);
  if (!m_showRegionAreas) StrikeCell(backBuffer, 3, 1);
  if (!m_showRegionMarkers) StrikeCell(backBuffer, 4, 1);
  if (!m_guide.showLabels && GetMenuCellRect(4, 1, &cell)) {
    // Names off: a bar across the middle of the markers button.
    const int mid = (cell.top + cell.bottom) / 2;
    render::Line(backBuffer, cell.left, mid, cell.right, mid, render::kBlue);
  }
  if (m_iconMode == 0) {
    StrikeCell(backBuffer, 5, 1);
  } else if (m_iconMode == 2) {
    FrameCell(backBuffer, 5, 1);
  }
  if (!m_showGpsStatus) StrikeCell(backBuffer, 6, 1);
  if (!m_followGps) StrikeCell(backBuffer, 5, 0);

  // Several armed modes share one box position; the last drawn shows.
  const int mh = static_cast<int>(m_menuIcons.GetHeight());
  auto prompt = [&](const char* text) {
    const RECT box{5, mh + 5, w - 5, mh + 17};
    render::TranslucentFill(backBuffer, box, render::kDarkGrey);
    render::Frame(backBuffer, box, render::kBlack);
    render::CentredText(backBuffer, w / 2, mh + 8, text, font);
  };

  if (m_moveUserMode) {
    FrameCell(backBuffer, 0, 0);
    prompt(_("Tap screen to move user position"));
  }
  if (m_showCoordsMode) {
    FrameCell(backBuffer, 4, 0);
    prompt(_("Tap screen to display coordinates"));
  }
  if (m_editSelection >= -1) {
    FrameCell(backBuffer, 1, 0);
    char text[128];
    if (m_editSelection == -1) {
      std::snprintf(text, sizeof text, "%s", _("Select icon or region to edit"));
    } else if (m_editSelection > 9999) {
      std::snprintf(text, sizeof text, _("Select new position for region %i"),
                    m_editSelection - 10000);
    } else {
      std::snprintf(text, sizeof text, "%s", _("Select new position for icon"));
    }
    prompt(text);
  }
  DrawMenuLanguages(backBuffer);
}
