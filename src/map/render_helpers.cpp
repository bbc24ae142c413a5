// Rectangle helpers of the main view and its drawing calls.
#include "map/render_helpers.h"

#include <algorithm>
#include <cmath>

bool ClipToView(RECT view, RECT mapRect, RECT* dest, RECT* src) {
  const RECT& v = view;
  const RECT& x = mapRect;
  *src = RECT{0, 0, x.right - x.left, x.bottom - x.top};

  if (x.left < v.left) {
    src->left = v.left - x.left;
    dest->left = 0;
  } else if (x.left > v.right) {
    return false;
  } else {
    dest->left = x.left - v.left;
  }
  if (x.right < v.left) return false;
  if (x.right > v.right) {
    src->right -= x.right - v.right;
    dest->right = v.right - v.left;
  } else {
    dest->right = (v.right - v.left) - (v.right - x.right);
  }

  if (x.top < v.top) {
    src->top = v.top - x.top;
    dest->top = 0;
  } else if (x.top > v.bottom) {
    return false;
  } else {
    dest->top = x.top - v.top;
  }
  if (x.bottom < v.top) return false;
  if (x.bottom > v.bottom) {
    src->bottom -= x.bottom - v.bottom;
    dest->bottom = v.bottom - v.top;
  } else {
    dest->bottom = (v.bottom - v.top) - (v.bottom - x.bottom);
  }
  return true;
}

int ToPixel(double value) {
  constexpr double kFar = 16777216.0;
  if (std::isnan(value)) return 0;
  return static_cast<int>(std::clamp(value, -kFar, kFar));
}

bool GetMenuCellRect(int column, int row, RECT* out) {
  if (column < 0 || column > 7 || row < 0 || row > 1) return false;
  out->left = 30 * column + 2;
  out->top = 30 * row + 3;
  out->right = 30 * column + 27;
  out->bottom = 30 * row + 28;
  return true;
}

namespace render {

void Copy(CGapiSurface* back, int x, int y, CGapiSurface* src) {
  back->BltFast(x, y, src, nullptr, 0, nullptr);
}

void KeyedCopy(CGapiSurface* back, int x, int y, CGapiSurface* src) {
  back->BltFast(x, y, src, nullptr, GDBLTFAST_KEYSRC, nullptr);
}

void KeyedCopyAt(CGapiSurface* back, int x, int y, CGapiSurface* src, DWORD opacity) {
  GDBLTFASTFX fx{};
  fx.dwOpacity = opacity;
  back->BltFast(x, y, src, nullptr, GDBLTFAST_KEYSRC | GDBLTFAST_OPACITY, &fx);
}

void KeyedBlit(CGapiSurface* back, const RECT& dest, CGapiSurface* src, const RECT& srcRect) {
  back->Blt(&dest, src, &srcRect, GDBLT_KEYSRC, nullptr);
}

void KeyedBlitAt(CGapiSurface* back, const RECT& dest, CGapiSurface* src, const RECT& srcRect,
                 DWORD opacity) {
  GDBLTFX fx{};
  fx.dwOpacity = opacity;
  back->Blt(&dest, src, &srcRect, GDBLT_KEYSRC | GDBLT_OPACITY, &fx);
}

void Fill(CGapiSurface* back, const RECT* rect, DWORD color) {
  back->FillRect(rect, color, 0, nullptr);
}

void TranslucentFill(CGapiSurface* back, const RECT& rect, DWORD color) {
  GDFILLRECTFX fx{};
  fx.dwOpacity = 128;
  back->FillRect(&rect, color, GDFILLRECT_OPACITY, &fx);
}

void Frame(CGapiSurface* back, const RECT& rect, DWORD color) {
  back->DrawRect(&rect, color, 0, nullptr);
}

void Line(CGapiSurface* back, int x1, int y1, int x2, int y2, DWORD color) {
  back->DrawLine(x1, y1, x2, y2, color, 0, nullptr);
}

void ShadowLine(CGapiSurface* back, int x1, int y1, int x2, int y2, DWORD opacity) {
  GDLINEFX fx{};
  fx.dwOpacity = opacity;
  back->DrawLine(x1, y1, x2, y2, kBlack, GDLINE_OPACITY, &fx);
}

void FaintLine(CGapiSurface* back, int x1, int y1, int x2, int y2, DWORD color, DWORD opacity) {
  GDLINEFX fx{};
  fx.dwOpacity = opacity;
  back->DrawLine(x1, y1, x2, y2, color, GDLINE_OPACITY, &fx);
}

void CentredText(CGapiSurface* back, int x, int y, const char* text, CGapiBitmapFont* font) {
  back->DrawTextA(x, y, text, font, GDDRAWTEXT_CENTER, nullptr, 0, nullptr);
}

}  // namespace render
