// The menu-reveal gesture: press near the top edge, drag to the bottom edge, come back
// to the top edge.
#include "map/portrait.h"
#include "platform/windowing/win_api.h"

namespace {
constexpr int kGestureEdge = 30;  // pixels from the top or bottom edge that count as "at" it
}

void CPortrait::TrackMenuGesture(int phase, int /*x*/, int y) {
  if (m_videoPlaying || m_menuOpen) return;
  const int height = static_cast<int>(m_screenSize.y);
  switch (phase) {
    case 0:
      // Every map tap reaches here, and a tap that hits nothing is silent: the press arms
      // the gesture quietly; only the later steps are heard.
      if (m_gestureState == 0 && y < kGestureEdge) m_gestureState = 1;
      break;
    case 1:
      if (m_gestureState == 2 && y < kGestureEdge) {
        m_menuOpen = true;
        // Spent here: otherwise the release is ignored (the menu is open) and a later drag
        // to the top would reopen the menu without the rest of the gesture.
        m_gestureState = 0;
        MessageBeep(0);
      } else if (m_gestureState == 1 && y > height - kGestureEdge) {
        m_gestureState = 2;
        MessageBeep(0);
      }
      break;
    case 2:
      if (m_gestureState == 2 && y < kGestureEdge) {
        m_menuOpen = true;
        MessageBeep(0);
      }
      m_gestureState = 0;
      break;
    default:
      break;
  }
}
