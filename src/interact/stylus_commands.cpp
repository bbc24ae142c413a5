// First stage of a map-view tap: the commands that take a tap before the map does.
#include "data/content_item.h"
#include "map/portrait.h"
#include "platform/windowing/win_api.h"

bool CPortrait::HandleCommandTap(int x, int y) {
  // Every tap during playback ends the video, whatever it touches.
  if (m_videoPlaying) {
    m_pendingAction = ACTION_STOP_VIDEO;
    return true;
  }
  if (m_page >= 1) {
    PageViewTap(x, y);
    return true;  // hit or not, the page view covers the map
  }

  // Calibrating: a point under the exit or users button is a point of the map like any
  // other (Escape ends calibration first). The menu, once opened, still takes its taps, and
  // the zoom buttons answer: a point is placed far more closely on a large map zoomed in.
  if (IsCalibrating() && !m_menuOpen) return ZoomButtonTap(x, y, timeGetTime());

  const POINT pt{x, y};
  if (!m_kiosk && PtInRect(&m_exitButtonRect, pt)) {
    m_pendingAction = ACTION_SAVE_AND_QUIT;
    return true;
  }
  // With the menu open the users button is hidden under the panel.
  if (!m_menuOpen && PtInRect(&m_usersButtonRect, pt)) {
    m_pendingAction = ACTION_USER_LIST;
    return true;
  }
  if (m_menuOpen && MenuLanguageTap(x, y)) return true;
  if (m_menuOpen && y < static_cast<int>(m_menuBackground.GetHeight())) {
    int column = 0;
    int row = 0;
    if (HitTestMenu(x, y, &column, &row)) ExecuteMenuButton(column, row);
    return true;
  }
  // The zoom buttons lie clear of the menu and the exit and users buttons.
  if (ZoomButtonTap(x, y, timeGetTime())) return true;
  // Editing or calibrating: the map stage takes the tap.
  if (m_editSelection != -2 || IsCalibrating()) return false;

  // The record that was hit is the one chosen: ids may repeat in a project file. A negative
  // id is no content at all, so such an icon is not a hit.
  if (CContentItem* item = HitTestIconAtScreen(x, y); item != nullptr && item->m_id >= 0) {
    ChooseContent(item);
    m_pendingAction = ACTION_PLAY_VIDEO;
    return true;
  }
  if (m_showUser) {
    // On the screen, where the marker is drawn at its own size.
    const POINT user = View().ToScreen(m_userPos);
    const int distance = static_cast<int>(Distance(x, y, user.x, user.y));
    if (distance < static_cast<int>(m_userIcon.GetWidth()) / 2) OpenPageView();
  }
  // Not used up: the map stage also moves the user to the tapped point.
  return false;
}
