// The small dialog in which a point of the map is given its GPS position: typed into two
// fields, or taken from the receiver's current fix when there is one.
#pragma once

#include <optional>
#include <string>

#include "platform/windowing/win_types.h"

struct GpsEntryRequest {
  std::string title;     // window title
  std::string prompt;    // which point the position is for
  std::string latitude;  // what the fields hold when the dialog opens
  std::string longitude;
  bool fixAvailable = false;  // offers "Use the current fix", which fills in these two
  double fixLatitude = 0;
  double fixLongitude = 0;
};

// What the two fields held when OK was pressed; the caller judges whether they are numbers.
struct GpsEntryAnswer {
  std::string latitude;
  std::string longitude;
};

// Blocks until answered. Nothing when cancelled, closed by the window manager, or when the
// program is being ended.
std::optional<GpsEntryAnswer> AskGpsPosition(HWND owner, const GpsEntryRequest& request);
