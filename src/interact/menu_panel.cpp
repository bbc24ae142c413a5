// The menu panel's keyboard cursor, its opening and closing, and the tap hit test.
#include "map/portrait.h"

namespace {

constexpr int kMenuColumns = 8;
constexpr int kMenuButtons = 16;
constexpr int kMenuPitch = 30;   // 25 pixels of button and 5 of gap
constexpr int kMenuButtonSpan = 25;
constexpr int kMenuLeft = 2;

}  // namespace

void CPortrait::ToggleMenu() { m_menuOpen = !m_menuOpen; }

bool CPortrait::MenuKey(UINT virtualKey) {
  if (!m_menuOpen) return false;
  // The cursor is kept in range even if something outside set it wrong, so the
  // arithmetic below can never walk off the panel.
  if (m_menuCursor < 0 || m_menuCursor >= kMenuButtons) m_menuCursor = 0;
  switch (virtualKey) {
    case VK_LEFT:
      if (m_menuCursor % kMenuColumns == 0)
        m_menuCursor += kMenuColumns - 1;
      else
        --m_menuCursor;
      return false;
    case VK_RIGHT:
      if (m_menuCursor % kMenuColumns == kMenuColumns - 1)
        m_menuCursor -= kMenuColumns - 1;
      else
        ++m_menuCursor;
      return false;
    case VK_UP:
    case VK_DOWN:
      m_menuCursor += m_menuCursor >= kMenuColumns ? -kMenuColumns : kMenuColumns;
      return false;
    case VK_LWIN:
      ExecuteMenuButton(m_menuCursor % kMenuColumns, m_menuCursor / kMenuColumns);
      return true;
    default:
      return false;
  }
}

bool CPortrait::HitTestMenu(int x, int y, int* column, int* row) {
  int r;
  if (y > 3 && y < 28)
    r = 0;
  else if (y > 33 && y < 58)
    r = 1;
  else
    return false;
  const int u = x - kMenuLeft;
  if (u < 0) return false;
  const int c = u / kMenuPitch;
  if (u % kMenuPitch > kMenuButtonSpan || c >= kMenuColumns) return false;
  if (column) *column = c;
  if (row) *row = r;
  return true;
}
