// The view that follows the walker: while a fix moves the user, the view glides so that the
// marker stays in the middle of the screen; a hand on the view pauses that.
#include <cstdlib>

#include "map/portrait.h"

namespace {

// How far a marker outside the middle band is brought towards it each frame; the rest
// follows in the next frames, so the view glides instead of jumping.
constexpr int kGlideShare = 4;

// The way (screen pixels, signed) from v into [low, high], then a share of it of at least
// one pixel, never more than the whole way.
int Glide(int v, int low, int high) {
  const int way = v < low ? v - low : v > high ? v - high : 0;
  if (way == 0) return 0;
  int step = way / kGlideShare;
  if (step == 0) step = way > 0 ? 1 : -1;
  return step;
}

}  // namespace

void CPortrait::HandMovedView(uint32_t now) {
  m_viewFollowPaused = true;
  m_lastTouch = now;
}

void CPortrait::CentreOnMe() {
  m_viewFollowPaused = false;
  CentreViewOn(m_userPos);
}

bool CPortrait::ViewFollowing(uint32_t now) const {
  const bool rested = !m_viewFollowPaused || now - m_lastTouch >= kViewFollowRest;
  return rested && m_followGps && m_gpsFix && m_userFromGps;
}

void CPortrait::StepView(uint32_t now) {
  // Unsigned difference: right across the clock's wrap.
  if (m_viewFollowPaused && now - m_lastTouch >= kViewFollowRest) m_viewFollowPaused = false;
  if (m_zoom <= 1.0 || !ViewFollowing(now)) return;
  const int w = static_cast<int>(m_screenSize.x);
  const int h = static_cast<int>(m_screenSize.y);
  // The middle band: the middle half of the screen either way.
  const POINT user = View().ToScreen(m_userPos);
  const int dx = Glide(user.x, w / 4, w - w / 4);
  const int dy = Glide(user.y, h / 4, h - h / 4);
  if (dx != 0 || dy != 0) PanView(dx, dy);
}
