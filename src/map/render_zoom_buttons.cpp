// The zoom buttons of the map view: zoom in, zoom out and "centre on me", drawn dimmed
// where they can do nothing.
#include "map/portrait.h"
#include "map/render_helpers.h"

namespace {

constexpr DWORD kGlyph = 0xFFFFFF;
constexpr int kArm = 12;   // half the length of a glyph's bar
constexpr int kThick = 2;  // half its thickness

void Bar(CGapiSurface* back, int cx, int cy, int halfW, int halfH) {
  const RECT r{cx - halfW, cy - halfH, cx + halfW, cy + halfH};
  render::Fill(back, &r, kGlyph);
}

}  // namespace

void CPortrait::DrawZoomButtons(CGapiSurface* backBuffer) {
  if (!ZoomButtonsShown()) return;
  for (int button : {ZOOM_IN, ZOOM_OUT, CENTRE_ON_ME}) {
    const RECT r = ZoomButtonRect(button);
    const bool useless = (button == ZOOM_IN && m_zoom >= MaxZoom()) ||
                         (button == ZOOM_OUT && m_zoom <= 1.0) ||
                         (button == CENTRE_ON_ME && m_zoom <= 1.0);
    render::TranslucentFill(backBuffer, r, useless ? render::kGrey : render::kDarkGrey);
    render::Frame(backBuffer, r, render::kBlack);
    const int cx = (r.left + r.right) / 2;
    const int cy = (r.top + r.bottom) / 2;
    if (button == CENTRE_ON_ME) {
      // A cross-hair with an open middle, the user's place.
      Bar(backBuffer, cx - kArm / 2 - 4, cy, kArm / 2, kThick);
      Bar(backBuffer, cx + kArm / 2 + 4, cy, kArm / 2, kThick);
      Bar(backBuffer, cx, cy - kArm / 2 - 4, kThick, kArm / 2);
      Bar(backBuffer, cx, cy + kArm / 2 + 4, kThick, kArm / 2);
      Bar(backBuffer, cx, cy, kThick, kThick);
      continue;
    }
    Bar(backBuffer, cx, cy, kArm, kThick);
    if (button == ZOOM_IN) Bar(backBuffer, cx, cy, kThick, kArm);
  }
}
