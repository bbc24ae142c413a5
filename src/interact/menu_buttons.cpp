// What each of the sixteen menu buttons does.
#include "map/portrait.h"
#include "platform/windowing/win_api.h"

void CPortrait::ExecuteMenuButton(int column, int row) {
  if (column < 0 || column > 7 || row < 0 || row > 1) return;
  if (m_kiosk && MenuButtonLocked(column, row)) return;
  switch (column + 8 * row) {
    case 0:
      CancelCalibration();
      m_followGps = false;
      m_moveUserMode = true;
      break;
    case 1:
      CancelCalibration();
      m_editSelection = -1;
      break;
    case 2:
      m_pendingAction = ACTION_RELATIONSHIPS;
      break;
    case 3:
      StartCalibration();
      break;
    case 4:
      CancelCalibration();
      m_showCoordsMode = true;
      break;
    case 5:
      m_followGps = !m_followGps;
      break;
    case 6:
      m_pendingAction = ACTION_USER_LIST;
      break;
    case 7:
      m_pendingAction = ACTION_SAVE_AND_QUIT;
      break;
    case 8:
      m_showMap = !m_showMap;
      break;
    case 9:
      m_showOverview = !m_showOverview;
      break;
    case 10:
      m_showUser = !m_showUser;
      break;
    case 11:
      m_showRegionAreas = !m_showRegionAreas;
      break;
    case 12:
      // Markers with names, then none, then markers without names.
      if (!m_showRegionMarkers) {
        m_showRegionMarkers = true;
        m_guide.showLabels = false;
      } else if (!m_guide.showLabels) {
        m_guide.showLabels = true;
      } else {
        m_showRegionMarkers = false;
      }
      break;
    case 13:
      m_iconMode = m_iconMode + 1 > 2 ? 0 : m_iconMode + 1;
      break;
    case 14:
      m_showGpsStatus = !m_showGpsStatus;
      break;
    case 15:
      m_menuOpen = false;
      break;
    default:
      break;
  }
}

bool CPortrait::MenuButtonLocked(int column, int row) {
  // Editing, relationships, calibration, coordinates and quit: the operator's, not a visitor's.
  return row == 0 && (column == 1 || column == 2 || column == 3 || column == 4 || column == 7);
}
