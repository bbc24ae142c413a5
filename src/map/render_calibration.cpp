// The hint bar of a running calibration and the mark on its first point.
#include "map/portrait.h"
#include "map/render_helpers.h"
#include "platform/text/tr.h"

namespace {
constexpr int kMarkArm = 8;  // pixels from the centre of the first point's cross
}

void CPortrait::DrawCalibrationHint(CGapiSurface* backBuffer, CGapiBitmapFont* font) {
  const int w = static_cast<int>(m_screenSize.x);
  if (m_calibrationStep == 2) {
    const int x = static_cast<int>(m_calibrationMap.x) - m_viewRect.left;
    const int y = static_cast<int>(m_calibrationMap.y) - m_viewRect.top;
    render::Line(backBuffer, x - kMarkArm, y, x + kMarkArm + 1, y, render::kRed);
    render::Line(backBuffer, x, y - kMarkArm, x, y + kMarkArm + 1, render::kRed);
  }
  // Left of the exit and users buttons, which stay usable.
  const RECT box{5, 5, w - 62, 17};
  render::TranslucentFill(backBuffer, box, render::kDarkGrey);
  render::Frame(backBuffer, box, render::kBlack);
  render::CentredText(backBuffer, (box.left + box.right) / 2, 8,
                      m_calibrationStep == 1
                          ? _("Calibration: tap a point whose GPS position you know (Esc cancels)")
                          : _("Calibration: tap a second point, away from the first across and "
                              "down (Esc cancels)"),
                      font);
}
