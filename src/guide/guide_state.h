// What the guide knows for the current visitor, decided when the position, the history or
// the visitor changes and only shown by the renderer: which places are done, the progress,
// the next place, and the arrival cue.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "guide/label_placement.h"

class CUserContext;

namespace guide {

enum class PlaceState { NeverEntered, Entered, Visited };

struct NextPlace {
  int slot = -1;  // region list slot, -1 when there is none to go to
  std::string name;
  double metres = 0;
  double bearing = 0;  // degrees clockwise from north
};

struct GuideState {
  // By region list slot (128 slots).
  std::vector<PlaceState> places;
  std::vector<std::string> placeNames;  // decoded descriptions, by slot
  std::vector<int> placeNameWidths;     // their legible widths
  std::vector<std::string> titles;      // content titles as shown, by content slot
  std::vector<int> titleWidths;
  int placesVisited = 0;
  int placeCount = 0;
  int itemsViewed = 0;
  int itemCount = 0;
  NextPlace next;
  bool allVisited = false;  // every named place is visited
  // Places entered during this run, by visitor (region ids).
  std::map<const CUserContext*, std::set<int>> entered;

  // Set when the user moved; an entry found by the next region test is an arrival.
  bool userMoved = false;
  bool changed = false;  // a region test entered or left a place
  int arrivalSlot = -1;  // an arrival waiting for its cue (playback defers it)
  std::string banner;    // shown from bannerStart for kBannerMs
  uint32_t bannerStart = 0;
  bool bannerOn = false;
  uint32_t now = 0;  // platform clock of the frame being drawn
  bool showLabels = true;
  // The last placement and what it was made from: a frame like the one before reuses it.
  std::vector<LabelRequest> lastRequests;
  std::vector<RECT> lastObstacles;
  std::vector<DWORD> lastColours;
  std::vector<PlacedLabel> lastPlaced;
  PlacementMemo lastMemo;
};

constexpr uint32_t kBannerMs = 3000;

}  // namespace guide
