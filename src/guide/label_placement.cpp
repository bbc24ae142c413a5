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
  return {{a.right + kGap, cy},       {a.left - kGap - w, cy},      {cx, a.top - kGap - h},
          {cx, a.bottom + kGap},      {a.right + kGap, a.top - h},  {a.left - kGap - w, a.top - h},
          {a.right + kGap, a.bottom}, {a.left - kGap - w, a.bottom}};
}

// The boxes taken so far, filed by the 32-pixel cells they cover, so that a free spot is
// found by looking at the few boxes near it rather than at every one.
class Taken {
 public:
  explicit Taken(const RECT& screen) : m_screen(screen) {
    m_columns = std::max(1, (screen.right - screen.left + kCell - 1) / kCell);
    m_rows = std::max(1, (screen.bottom - screen.top + kCell - 1) / kCell);
    m_cells.resize(static_cast<std::size_t>(m_columns) * m_rows);
  }
  void Add(const RECT& box) {
    const int index = static_cast<int>(m_boxes.size());
    m_boxes.push_back(box);
    ForCells(box, [&](std::vector<int>& cell) { cell.push_back(index); });
  }
  bool Free(const RECT& box) {
    bool free = true;
    ForCells(box, [&](std::vector<int>& cell) {
      for (int i : cell) {
        if (free && Overlaps(box, m_boxes[i])) free = false;
      }
    });
    return free;
  }

 private:
  static constexpr int kCell = 32;
  template <typename F>
  void ForCells(const RECT& box, F&& f) {
    // Boxes reaching past the screen are filed at its edge cells.
    const int c0 = std::clamp((box.left - m_screen.left) / kCell, 0, m_columns - 1);
    const int c1 = std::clamp((box.right - 1 - m_screen.left) / kCell, 0, m_columns - 1);
    const int r0 = std::clamp((box.top - m_screen.top) / kCell, 0, m_rows - 1);
    const int r1 = std::clamp((box.bottom - 1 - m_screen.top) / kCell, 0, m_rows - 1);
    for (int r = r0; r <= r1; ++r)
      for (int c = c0; c <= c1; ++c) f(m_cells[static_cast<std::size_t>(r) * m_columns + c]);
  }
  RECT m_screen;
  int m_columns = 1, m_rows = 1;
  std::vector<std::vector<int>> m_cells;
  std::vector<RECT> m_boxes;
};

bool Inside(const RECT& box, const RECT& screen) {
  return box.left >= screen.left && box.top >= screen.top && box.right <= screen.right &&
         box.bottom <= screen.bottom;
}

// The first free spot for a box of w x h, or false.
bool FindSpot(const LabelRequest& r, int w, int h, Taken& taken, const RECT& screen, RECT* out) {
  for (const POINT& p : Spots(r, w, h)) {
    const RECT box{p.x, p.y, p.x + w, p.y + h};
    if (Inside(box, screen) && taken.Free(box)) {
      *out = box;
      return true;
    }
  }
  return false;
}

}  // namespace

bool SameRect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

bool operator==(const LabelRequest& a, const LabelRequest& b) {
  return a.width == b.width && a.height == b.height && a.below == b.below &&
         a.mustShow == b.mustShow && SameRect(a.anchor, b.anchor) && a.text == b.text;
}

bool Overlaps(const RECT& a, const RECT& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

std::vector<PlacedLabel> PlaceLabels(const std::vector<LabelRequest>& requests,
                                     const std::vector<RECT>& obstacles, RECT screen,
                                     const FitText& fit) {
  std::vector<PlacedLabel> placed;
  Taken taken(screen);
  for (const RECT& o : obstacles) taken.Add(o);
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
      const int left =
          std::clamp<int>(p.x, screen.left, std::max<int>(screen.left, screen.right - width));
      const int top =
          std::clamp<int>(p.y, screen.top, std::max<int>(screen.top, screen.bottom - r.height));
      box = RECT{left, top, left + width, top + r.height};
      found = true;
    }
    if (!found) continue;
    taken.Add(box);
    placed.push_back(PlacedLabel{i, text, box});
  }
  return placed;
}

}  // namespace guide
