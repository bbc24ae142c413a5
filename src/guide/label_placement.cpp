// Greedy label placement over a few candidate spots per text.
#include "guide/label_placement.h"

#include <algorithm>

namespace guide {
namespace {

constexpr int kGap = 2;  // between a text and what it names

// Candidate top-left corners for a box of w x h, in order of preference.
std::vector<POINT> Spots(const LabelRequest& r, int w, int h) {
  const RECT& a = r.anchor;
  const int cx = (a.left + a.right) / 2 - w / 2;
  const int cy = (a.top + a.bottom) / 2 - h / 2;
  // Titles of icons side by side take turns on two lines under them.
  if (r.below) return {{cx, a.bottom + kGap}, {cx, a.bottom + kGap + h}, {cx, a.top - kGap - h}};
  return {{a.right + kGap, cy},         {a.left - kGap - w, cy},
          {cx, a.top - kGap - h},       {cx, a.bottom + kGap},
          {a.right + kGap, a.top - h},  {a.left - kGap - w, a.top - h},
          {a.right + kGap, a.bottom},   {a.left - kGap - w, a.bottom}};
}

bool Inside(const RECT& box, const RECT& screen) {
  return box.left >= screen.left && box.top >= screen.top && box.right <= screen.right &&
         box.bottom <= screen.bottom;
}

bool Free(const RECT& box, const std::vector<RECT>& taken) {
  return std::none_of(taken.begin(), taken.end(), [&](const RECT& t) { return Overlaps(box, t); });
}

// The first free spot for a box of w x h, or false.
bool FindSpot(const LabelRequest& r, int w, int h, const std::vector<RECT>& taken,
              const RECT& screen, RECT* out) {
  for (const POINT& p : Spots(r, w, h)) {
    const RECT box{p.x, p.y, p.x + w, p.y + h};
    if (Inside(box, screen) && Free(box, taken)) {
      *out = box;
      return true;
    }
  }
  return false;
}

}  // namespace

bool Overlaps(const RECT& a, const RECT& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

std::vector<PlacedLabel> PlaceLabels(const std::vector<LabelRequest>& requests,
                                     const std::vector<RECT>& obstacles, RECT screen,
                                     const FitText& fit) {
  std::vector<PlacedLabel> placed;
  std::vector<RECT> taken = obstacles;
  const int screenW = screen.right - screen.left;
  for (int i = 0; i < static_cast<int>(requests.size()); ++i) {
    const LabelRequest& r = requests[i];
    if (r.text.empty() || r.width <= 0 || r.height <= 0) continue;
    RECT box;
    std::string text = r.text;
    int width = std::min(r.width, screenW);
    if (width < r.width) text = fit(r.text, width, &width);
    bool found = !text.empty() && FindSpot(r, width, r.height, taken, screen, &box);
    // No room at full length: try it at half and at a third, with an ellipsis.
    for (int part = 2; !found && part <= 3; ++part) {
      int shortWidth = 0;
      std::string shorter = fit(r.text, r.width / part, &shortWidth);
      if (shorter.empty() || shortWidth <= 0) break;
      if (FindSpot(r, shortWidth, r.height, taken, screen, &box)) {
        text = shorter;
        width = shortWidth;
        found = true;
      }
    }
    if (!found && r.mustShow && !text.empty()) {
      const POINT p = Spots(r, width, r.height).front();
      const int left = std::clamp<int>(p.x, screen.left, std::max<int>(screen.left, screen.right - width));
      const int top =
          std::clamp<int>(p.y, screen.top, std::max<int>(screen.top, screen.bottom - r.height));
      box = RECT{left, top, left + width, top + r.height};
      found = true;
    }
    if (!found) continue;
    taken.push_back(box);
    placed.push_back(PlacedLabel{i, text, box});
  }
  return placed;
}

}  // namespace guide
