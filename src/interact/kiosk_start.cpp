// The kiosk's Start button under the user screens, with what went wrong with the users
// file written below it.
#include <string>

#include "app/portrait_app.h"
#include "interact/user_screen_layout.h"
#include "map/portrait.h"
#include "platform/text/tr.h"
#include "platform/windowing/win_api.h"

using namespace user_screen;

namespace {

constexpr LONG kStartGap = 12;  // between the screen's backdrop and the button
constexpr LONG kStartHalfWidth = 90;
constexpr LONG kStartHeight = 32;
constexpr DWORD kStartColour = 0x2E9E4F;  // the backdrops' green buttons
constexpr DWORD kStartEdge = 0xFFFFFF;
constexpr size_t kNoticeLine = 100;  // characters of the system font across the screen
constexpr LONG kLinePitch = 12;

// Under whichever backdrop is shown, centred with it.
RECT StartRect(const CPortraitApp& app, const CGapiSurface* backBuffer) {
  const POINT size = app.m_mode == MODE_NEW_USER
                         ? ImageSize(app.m_nameEntryImage, kNameEntryWidth, kNameEntryHeight)
                         : ImageSize(app.m_userListImage, kUserListWidth, kUserListHeight);
  const POINT o = Origin(backBuffer, size.x, size.y);
  const LONG middle = o.x + size.x / 2;
  const LONG top = o.y + size.y + kStartGap;
  return RECT{middle - kStartHalfWidth, top, middle + kStartHalfWidth, top + kStartHeight};
}

}  // namespace

void CPortraitApp::DrawKioskStart(CGapiSurface* backBuffer, CGapiBitmapFont* font) {
  RECT start = StartRect(*this, backBuffer);
  backBuffer->FillRect(&start, kStartColour, 0, nullptr);
  backBuffer->DrawRect(&start, kStartEdge, 0, nullptr);
  const LONG middle = (start.left + start.right) / 2;
  backBuffer->DrawTextA(middle, start.top + 6, _("START"), font, GDDRAWTEXT_CENTER, nullptr, 0,
                        nullptr);
  backBuffer->DrawTextA(middle, start.top + 18, _("NO NAME NEEDED"), font, GDDRAWTEXT_CENTER,
                        nullptr, 0, nullptr);
  // The notice, broken at spaces into lines that fit across the screen.
  LONG y = start.bottom + kLinePitch;
  std::string rest = m_kioskNotice;
  while (!rest.empty()) {
    size_t cut = rest.size();
    if (cut > kNoticeLine) {
      cut = rest.rfind(' ', kNoticeLine);
      if (cut == std::string::npos || cut == 0) cut = kNoticeLine;
    }
    backBuffer->DrawTextA(middle, y, rest.substr(0, cut).c_str(), font, GDDRAWTEXT_CENTER, nullptr,
                          0, nullptr);
    rest.erase(0, cut < rest.size() && rest[cut] == ' ' ? cut + 1 : cut);
    y += kLinePitch;
  }
}

bool CPortraitApp::KioskStartTap(LONG x, LONG y) {
  RECT start = StartRect(*this, &m_backBuffer);
  if (!PtInRect(&start, POINT{x, y})) return false;
  StartGuest();
  return true;
}
