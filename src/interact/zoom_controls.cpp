// The hand controls of the zoom: the on-screen buttons, the + and - keys and the wheel.
// Each counts as a hand on the view, which stops it following the walker for a while.
#include <cmath>

#include "map/portrait.h"
#include "platform/windowing/win_api.h"

namespace {

constexpr int kButtonSide = 44;  // a fingertip
constexpr int kButtonGap = 8;
constexpr int kEdgeGap = 8;
constexpr double kStep = 1.41421356237309515;  // a button or key press: half the area
constexpr double kWheelStep = 1.25;            // one notch of the wheel

}  // namespace

bool CPortrait::ZoomButtonsShown() const { return CanZoom() && m_page < 1; }

RECT CPortrait::ZoomButtonRect(int button) const {
  // A column on the right edge, in the middle of its height: away from the exit and users
  // buttons and the menu panel at the top and from the overview and status at the bottom.
  const int w = static_cast<int>(m_screenSize.x);
  const int h = static_cast<int>(m_screenSize.y);
  const int left = w - kEdgeGap - kButtonSide;
  const int top = h / 2 - kButtonSide / 2 + (button - 1) * (kButtonSide + kButtonGap);
  return RECT{left, top, left + kButtonSide, top + kButtonSide};
}

bool CPortrait::ZoomButtonTap(int x, int y, uint32_t now) {
  if (!ZoomButtonsShown()) return false;
  const POINT pt{x, y};
  for (int button : {ZOOM_IN, ZOOM_OUT, CENTRE_ON_ME}) {
    const RECT r = ZoomButtonRect(button);
    if (!PtInRect(&r, pt)) continue;
    NoteTouch(now);
    if (button == CENTRE_ON_ME) {
      CentreOnMe();
    } else {
      const int cx = static_cast<int>(m_screenSize.x) / 2;
      const int cy = static_cast<int>(m_screenSize.y) / 2;
      ZoomAbout(cx, cy, button == ZOOM_IN ? kStep : 1.0 / kStep);
      HandMovedView(now);
    }
    return true;
  }
  return false;
}

bool CPortrait::ZoomKey(UINT virtualKey, uint32_t now) {
  double factor = 0.0;
  if (virtualKey == VK_ADD || virtualKey == VK_OEM_PLUS) factor = kStep;
  if (virtualKey == VK_SUBTRACT || virtualKey == VK_OEM_MINUS) factor = 1.0 / kStep;
  if (factor == 0.0 || !CanZoom()) return false;
  NoteTouch(now);
  ZoomAbout(static_cast<int>(m_screenSize.x) / 2, static_cast<int>(m_screenSize.y) / 2, factor);
  HandMovedView(now);
  return true;
}

void CPortrait::WheelZoom(int x, int y, int notches, uint32_t now) {
  if (notches == 0 || !CanZoom()) return;
  NoteTouch(now);
  ZoomAbout(x, y, std::pow(kWheelStep, notches));
  HandMovedView(now);
}
