// Position sources: a GPS receiver through gpsd, or a recorded track replayed, behind one
// interface. Fixes are read without blocking the frame loop and handed to the main thread
// through WM_GPS_NOTIFY; the program takes them with TakePositionFixes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/windowing/win_types.h"

namespace platform {

struct PositionFix {
  double latitude = 0;          // degrees, north positive
  double longitude = 0;         // degrees, east positive
  double horizontalError = -1;  // metres: gpsd's eph, or derived from HDOP; < 0 when unknown
  uint32_t time = 0;            // platform clock (timeGetTime) when the fix reached the source
  uint32_t interval = 0;        // ms until the source's next fix is due; 0 when not known
};

enum class PositionState {
  Off,      // no source opened
  Waiting,  // open and connected (or replaying), no fix yet
  Unreachable,  // the service has not answered yet; retrying
  Fixing,   // fixes arriving
  Lost,     // the service went away; reconnecting with back-off
  Ended,    // a replayed track has played out
};

struct PositionOptions {
  enum class Source { None, Gpsd, Track };
  Source source = Source::None;
  std::string host = "localhost";  // gpsd
  std::string port = "2947";       // gpsd
  std::string trackFile;           // GPX or NMEA 0183 log, told apart by content
  double speed = 1.0;              // replay pace: N times the recorded pace (> 0)
};

enum class PositionOpenResult { Ok, ServiceUnreachable, TrackUnreadable };

// Opens the source for the given window: every new fix posts WM_GPS_NOTIFY (1234) to it.
// gpsd is looked up and connected to in the background (the state tells how that goes), so
// ServiceUnreachable is not returned for it.
PositionOpenResult OpenPositionSource(const PositionOptions& options, HWND window);
// The program is ready for fixes: a replayed walk starts now (the first call only).
void BeginPositionSource();
// The fixes that arrived since the last call, oldest first. Main thread only.
std::vector<PositionFix> TakePositionFixes();
PositionState CurrentPositionState();
// Why the source is Unreachable or Lost, in words (the address and the reason); else empty.
std::string PositionProblem();
// Ends the reader (joins any thread). Safe to call when nothing is open; called at exit.
void ClosePositionSource();

}  // namespace platform
