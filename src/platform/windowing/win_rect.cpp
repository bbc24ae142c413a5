// Rectangle helpers.
#include "platform/windowing/win_api.h"

BOOL SetRect(RECT* rc, int left, int top, int right, int bottom) {
  if (rc == nullptr) return FALSE;
  *rc = RECT{left, top, right, bottom};
  return TRUE;
}

BOOL PtInRect(const RECT* rc, POINT pt) {
  if (rc == nullptr) return FALSE;
  return pt.x >= rc->left && pt.x < rc->right && pt.y >= rc->top && pt.y < rc->bottom;
}
