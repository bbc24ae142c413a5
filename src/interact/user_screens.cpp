// The user screens: centring, and the per-frame and per-tap dispatch between the two.
#include "app/portrait_app.h"
#include "interact/language_bar.h"
#include "interact/user_screen_layout.h"
#include "interact/user_screens.h"
#include "map/portrait.h"
#include "platform/windowing/win_api.h"

namespace user_screen {

POINT Origin(const CGapiSurface* backBuffer, int imageWidth, int imageHeight) {
  int bw = backBuffer ? static_cast<int>(backBuffer->GetWidth()) : 0;
  int bh = backBuffer ? static_cast<int>(backBuffer->GetHeight()) : 0;
  POINT o;
  o.x = bw > imageWidth ? bw / 2 - imageWidth / 2 : 0;
  o.y = bh > imageHeight ? bh / 2 - imageHeight / 2 : 0;
  return o;
}

POINT ImageSize(const CGapiSurface& image, int shippedWidth, int shippedHeight) {
  if (image.IsEmpty()) return POINT{shippedWidth, shippedHeight};
  return POINT{static_cast<LONG>(image.GetWidth()), static_cast<LONG>(image.GetHeight())};
}

RECT Shifted(RECT rc, POINT origin) {
  return RECT{rc.left + origin.x, rc.top + origin.y, rc.right + origin.x, rc.bottom + origin.y};
}

bool Hit(RECT rc, POINT origin, LONG x, LONG y) {
  RECT shifted = Shifted(rc, origin);
  return PtInRect(&shifted, POINT{x, y}) != 0;
}

}  // namespace user_screen

namespace {

// The language buttons just above the screen's backdrop.
LanguageBar ScreenLanguageBar(const CPortraitApp& app, const CGapiSurface* backBuffer) {
  using namespace user_screen;
  const bool newUser = app.m_mode == MODE_NEW_USER;
  const POINT size = newUser ? ImageSize(app.m_nameEntryImage, kNameEntryWidth, kNameEntryHeight)
                             : ImageSize(app.m_userListImage, kUserListWidth, kUserListHeight);
  const POINT o = Origin(backBuffer, size.x, size.y);
  const LONG top = o.y - kLanguageBarHeight - 6;
  return LayoutLanguageBar(app.m_model->m_tourTexts, o.x + size.x / 2, top > 0 ? top : 0);
}

}  // namespace

void CPortraitApp::DrawUserScreen(CGapiSurface* backBuffer) {
  CGapiBitmapFont* font = m_display.GetSystemFontBorder();
  if (!m_model || !m_model->m_userList) {
    // Without a user list there is nobody to choose: back to the map from the next frame.
    m_mode = MODE_MAP;
    return;
  }
  // The next visitor finds a clean screen, not the last visitor's map around the list.
  if (Kiosk()) backBuffer->FillRect(nullptr, 0, 0, nullptr);
  if (m_mode == MODE_NEW_USER)
    DrawNewUserScreen(*this, backBuffer, font);
  else if (m_mode == MODE_USER_LIST)
    DrawUserListScreen(*this, backBuffer, font);
  if (Kiosk()) DrawKioskStart(backBuffer, font);
  DrawLanguageBar(backBuffer, ScreenLanguageBar(*this, backBuffer), m_model->Language());
}

void CPortraitApp::UserScreenTap(LONG x, LONG y) {
  // Without a user list a confirm would write an empty users file over the real one.
  if (!m_model || !m_model->m_userList) return;
  if (Kiosk() && KioskStartTap(x, y)) return;
  const LanguageBar bar = ScreenLanguageBar(*this, &m_backBuffer);
  if (const int hit = LanguageBarHit(bar, x, y); hit >= 0) {
    m_model->SetLanguage(bar.codes[static_cast<size_t>(hit)]);
    m_languageChosen = true;
    return;
  }
  if (m_mode == MODE_NEW_USER)
    NewUserScreenTap(*this, x, y);
  else if (m_mode == MODE_USER_LIST)
    UserListScreenTap(*this, x, y);
}
