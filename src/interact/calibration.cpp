// Two-point calibration of the map in the program: two taps on points of known position,
// their GPS positions given in a dialog, new edges shown for confirmation and then set.
#include "map/calibration.h"

#include <cstdio>
#include <string>

#include "data/system_item.h"
#include "map/portrait.h"
#include "platform/text/tr.h"
#include "platform/windowing/gps_entry.h"
#include "platform/windowing/win_api.h"

namespace {

constexpr const char* kCaption = N_("Calibration");
// A quoted entry is cut so that an enormous paste still gives a readable box.
constexpr size_t kQuotedLength = 40;

std::string Quoted(const std::string& text) {
  return "\"" + (text.size() > kQuotedLength ? text.substr(0, kQuotedLength) + "..." : text) + "\"";
}

}  // namespace

void CPortrait::StartCalibration() {
  if (CheckCalibrationTap(CGeoPoint(), nullptr, m_mapSize) == CalibrationError::NoMap ||
      System() == nullptr) {
    MessageBoxA(m_hWnd, CalibrationErrorText(CalibrationError::NoMap), tr::Text(kCaption),
                MB_OK | MB_ICONWARNING);
    return;
  }
  // One tap mode at a time; the menu goes so that the whole map can be tapped.
  m_moveUserMode = false;
  m_showCoordsMode = false;
  m_editSelection = -2;
  m_menuOpen = false;
  m_calibrationStep = 1;
}

void CPortrait::CancelCalibration() { m_calibrationStep = 0; }

bool CPortrait::AskCalibrationGps(CGeoPoint mapPoint, CGeoPoint* gps) {
  GpsEntryRequest request;
  request.title =
      m_calibrationStep == 1 ? _("Calibration: first point") : _("Calibration: second point");
  char prompt[160];
  std::snprintf(prompt, sizeof prompt,
                _("The GPS position of the point you tapped (map pixel %i, %i), in decimal "
                  "degrees:"),
                static_cast<int>(mapPoint.x), static_cast<int>(mapPoint.y));
  request.prompt = prompt;
  request.fixAvailable = HasGpsFix();
  request.fixLatitude = m_gpsLatitude;
  request.fixLongitude = m_gpsLongitude;
  for (;;) {
    const std::optional<GpsEntryAnswer> answer = AskGpsPosition(m_hWnd, request);
    if (!answer) return false;
    double latitude = 0;
    double longitude = 0;
    const bool latitudeOk = ParseCoordinate(answer->latitude, 90.0, &latitude);
    const bool longitudeOk = ParseCoordinate(answer->longitude, 180.0, &longitude);
    if (latitudeOk && longitudeOk) {
      *gps = CGeoPoint(longitude, latitude);
      return true;
    }
    std::string text;
    if (!latitudeOk)
      text += _("The latitude ") + Quoted(answer->latitude) +
              _(" is not a number from -90 to 90 (degrees, north positive).\n");
    if (!longitudeOk)
      text += _("The longitude ") + Quoted(answer->longitude) +
              _(" is not a number from -180 to 180 (degrees, east positive).\n");
    MessageBoxA(m_hWnd, text.c_str(), tr::Text(kCaption), MB_OK | MB_ICONWARNING);
    // Asked again with what was typed, so one slip does not cost the other field.
    request.latitude = answer->latitude;
    request.longitude = answer->longitude;
  }
}

void CPortrait::CalibrationTap(int mapX, int mapY) {
  const CGeoPoint tap(mapX, mapY);
  const bool second = m_calibrationStep == 2;
  CalibrationError error =
      CheckCalibrationTap(tap, second ? &m_calibrationMap : nullptr, m_mapSize);
  if (error != CalibrationError::None) {
    // Waits for a better tap, unless there is nothing to calibrate at all.
    if (error == CalibrationError::NoMap) CancelCalibration();
    MessageBoxA(m_hWnd, CalibrationErrorText(error), tr::Text(kCaption), MB_OK | MB_ICONWARNING);
    return;
  }
  CGeoPoint gps;
  if (!AskCalibrationGps(tap, &gps)) {
    CancelCalibration();
    return;
  }
  if (!second) {
    m_calibrationMap = tap;
    m_calibrationGps = gps;
    m_calibrationStep = 2;
    return;
  }
  CancelCalibration();  // whatever follows, the taps are done

  CalibratedEdges edges;
  error =
      ComputeCalibratedEdges({m_calibrationMap, m_calibrationGps}, {tap, gps}, m_mapSize, &edges);
  if (error != CalibrationError::None) {
    const std::string text = std::string(_("Calibration refused: ")) + CalibrationErrorText(error) +
                             _("\nThe map keeps its edges.");
    MessageBoxA(m_hWnd, text.c_str(), tr::Text(kCaption), MB_OK | MB_ICONWARNING);
    return;
  }
  char text[320];
  std::snprintf(text, sizeof text,
                _("The map's edges become:\n"
                  "left (west): %f\n"
                  "top (north): %f\n"
                  "right (east): %f\n"
                  "bottom (south): %f\n"
                  "Regions and content keep their GPS positions and move on the map.\n"
                  "Set these edges?"),
                edges.left, edges.top, edges.right, edges.bottom);
  if (MessageBoxA(m_hWnd, text, tr::Text(kCaption), MB_OKCANCEL | MB_ICONQUESTION) != IDOK) return;
  SetMapEdges(edges.left, edges.top, edges.right, edges.bottom);
}

void CPortrait::SetMapEdges(double left, double top, double right, double bottom) {
  CSystemItem* system = System();
  if (system == nullptr) return;
  system->m_left = left;
  system->m_top = top;
  system->m_right = right;
  system->m_bottom = bottom;
  m_gpsTopLeft = CGeoPoint(left, top);
  m_gpsBottomRight = CGeoPoint(right, bottom);
  // A calibration is an edit: the quit box must not call it nothing.
  m_projectEdited = true;
  ComputeMapPositions();
  // The visitor stays where they are on the ground, as regions and content do, so a place
  // they stood in keeps them; content placed beside them follows.
  m_userPos = GpsToMap(m_userGps);
  MarkRelatedContent();
  TestAllRegions();
}
