// Placing texts on the map so that none covers another, the user marker or the controls:
// each text tries a few spots around what it names, highest priority first, and one that
// finds no room is shortened with an ellipsis or left out.
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/windowing/win_types.h"

namespace guide {

struct LabelRequest {
  std::string text;
  int width = 0;  // of the whole text's box
  int height = 0;
  RECT anchor{};          // screen box of what the text names (a marker, an icon)
  bool below = false;     // a title: under its icon (or over it), never beside
  bool mustShow = false;  // shown even where it collides (the entered place's name)
};

bool operator==(const LabelRequest& a, const LabelRequest& b);

struct PlacedLabel {
  int request = 0;   // index into the requests
  std::string text;  // the text, or its shortened form
  RECT box{};
};

// Shortens text to fit maxWidth ("…" at the end); returns its new width via *width, or an
// empty text when nothing fits.
using FitText = std::function<std::string(const std::string& text, int maxWidth, int* width)>;

// What a placement keeps for the next one over the same requests and screen; the caller
// empties it (= {}) when they change.
struct PlacementMemo {
  std::vector<RECT> tried;       // every box the placement tested, for PlacementHolds
  std::vector<int> triedStart;   // where each request's boxes begin in `tried`
  std::vector<RECT> obstacles;   // those of the placement
  RECT screen{};
  std::vector<PlacedLabel> placed;
  // Each request's text shortened to a half and a third of its width (width -1: not yet
  // asked).
  std::vector<std::pair<std::string, int>> shorter;
};

// Requests are placed in the order given (highest priority first). Every box lies inside
// `screen`; no two boxes overlap and none overlaps an obstacle, except that a mustShow text
// that finds no room is put at its first spot, held inside the screen. With a memo of the
// last placement, the choices made before the first request that tested a box an obstacle
// now covers differently are taken from it; the rest are made anew.
std::vector<PlacedLabel> PlaceLabels(const std::vector<LabelRequest>& requests,
                                     const std::vector<RECT>& obstacles, RECT screen,
                                     const FitText& fit, PlacementMemo* memo = nullptr);

// True when a placement made with `before` is also the placement for `after` (same requests
// and screen): no obstacle that changed covers a box the placement tested differently than
// before, so every choice falls the same way. A user marker moving across open map then
// costs no new placement.
bool PlacementHolds(const std::vector<RECT>& tried, const std::vector<RECT>& before,
                    const std::vector<RECT>& after);

// Right and bottom are exclusive: boxes that only touch do not overlap.
bool Overlaps(const RECT& a, const RECT& b);
bool SameRect(const RECT& a, const RECT& b);

}  // namespace guide
