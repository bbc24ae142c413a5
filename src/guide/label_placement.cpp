// Greedy label placement over a few candidate spots per text.
#include "guide/label_placement.h"

#include <algorithm>
#include <array>

namespace guide {
namespace {

constexpr int kGap = 2;  // between a text and what it names

// Candidate top-left corners for a box of w x h, in order of preference.
struct SpotList {
  std::array<POINT, 8> at{};
  int count = 0;
};

SpotList Spots(const LabelRequest& r, int w, int h) {
  const RECT& a = r.anchor;
  const int cx = (a.left + a.right) / 2 - w / 2;
  const int cy = (a.top + a.bottom) / 2 - h / 2;
  // Titles of icons side by side take turns on two lines under them.
  if (r.below) return {{{{cx, a.bottom + kGap}, {cx, a.bottom + kGap + h}, {cx, a.top - kGap - h}}}, 3};
  return {{{{a.right + kGap, cy},
            {a.left - kGap - w, cy},
            {cx, a.top - kGap - h},
            {cx, a.bottom + kGap},
            {a.right + kGap, a.top - h},
            {a.left - kGap - w, a.top - h},
            {a.right + kGap, a.bottom},
            {a.left - kGap - w, a.bottom}}},
          8};
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
  bool Free(const RECT& box) const {
    const Span s = CellsOf(box);
    for (int r = s.r0; r <= s.r1; ++r) {
      for (int c = s.c0; c <= s.c1; ++c) {
        for (int i : m_cells[static_cast<std::size_t>(r) * m_columns + c]) {
          if (Overlaps(box, m_boxes[i])) return false;
        }
      }
    }
    return true;
  }

 private:
  static constexpr int kCell = 32;
  struct Span {
    int c0, c1, r0, r1;
  };
  // Boxes reaching past the screen are filed at its edge cells.
  Span CellsOf(const RECT& box) const {
    return Span{std::clamp((box.left - m_screen.left) / kCell, 0, m_columns - 1),
                std::clamp((box.right - 1 - m_screen.left) / kCell, 0, m_columns - 1),
                std::clamp((box.top - m_screen.top) / kCell, 0, m_rows - 1),
                std::clamp((box.bottom - 1 - m_screen.top) / kCell, 0, m_rows - 1)};
  }
  template <typename F>
  void ForCells(const RECT& box, F&& f) {
    const Span s = CellsOf(box);
    for (int r = s.r0; r <= s.r1; ++r)
      for (int c = s.c0; c <= s.c1; ++c) f(m_cells[static_cast<std::size_t>(r) * m_columns + c]);
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
bool FindSpot(const LabelRequest& r, int w, int h, const Taken& taken, const RECT& screen, RECT* out,
              std::vector<RECT>* tried) {
  const SpotList spots = Spots(r, w, h);
  for (int k = 0; k < spots.count; ++k) {
    const POINT& p = spots.at[k];
    const RECT box{p.x, p.y, p.x + w, p.y + h};
    if (!Inside(box, screen)) continue;
    if (tried != nullptr) tried->push_back(box);
    if (taken.Free(box)) {
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

namespace {

// Where in `tried` the first box lies that one of the obstacles that changed covers
// differently than before; tried.size() when there is none (or the obstacles are not
// comparable: then 0).
std::size_t FirstTouched(const std::vector<RECT>& tried, const std::vector<RECT>& before,
                         const std::vector<RECT>& after) {
  if (before.size() != after.size()) return 0;
  std::size_t first = tried.size();
  for (std::size_t i = 0; i < before.size(); ++i) {
    if (SameRect(before[i], after[i])) continue;
    for (std::size_t k = 0; k < first; ++k) {
      if (Overlaps(tried[k], before[i]) != Overlaps(tried[k], after[i])) {
        first = k;
        break;
      }
    }
  }
  return first;
}

}  // namespace

std::vector<PlacedLabel> PlaceLabels(const std::vector<LabelRequest>& requests,
                                     const std::vector<RECT>& obstacles, RECT screen,
                                     const FitText& fit, PlacementMemo* memo) {
  std::vector<RECT>* tried = memo != nullptr ? &memo->tried : nullptr;
  const int count = static_cast<int>(requests.size());
  // The requests before `first` are decided as last time.
  int first = 0;
  std::vector<PlacedLabel> placed;
  if (memo != nullptr && static_cast<int>(memo->triedStart.size()) == count &&
      SameRect(memo->screen, screen)) {
    const std::size_t touched = FirstTouched(memo->tried, memo->obstacles, obstacles);
    // Kept: every request whose tested boxes all come before the touched one.
    auto end = [&](int i) {
      return i + 1 < count ? static_cast<std::size_t>(memo->triedStart[i + 1]) : memo->tried.size();
    };
    while (first < count && end(first) <= touched) ++first;
    for (const PlacedLabel& p : memo->placed) {
      if (p.request < first) placed.push_back(p);
    }
    if (first < count) {
      memo->tried.resize(static_cast<std::size_t>(memo->triedStart[first]));
      memo->triedStart.resize(static_cast<std::size_t>(first));
    }
  } else if (memo != nullptr) {
    memo->tried.clear();
    memo->triedStart.clear();
  }
  if (memo != nullptr && memo->shorter.size() != 2 * requests.size())
    memo->shorter.assign(2 * requests.size(), {std::string(), -1});
  auto shortened = [&](int request, int part, int* width) {
    if (memo == nullptr) return fit(requests[request].text, requests[request].width / part, width);
    auto& [text, w] = memo->shorter[2 * static_cast<std::size_t>(request) + (part - 2)];
    if (w < 0) text = fit(requests[request].text, requests[request].width / part, &w);
    *width = w;
    return text;
  };
  Taken taken(screen);
  for (const RECT& o : obstacles) taken.Add(o);
  for (const PlacedLabel& p : placed) taken.Add(p.box);
  const int screenW = screen.right - screen.left;
  for (int i = first; i < count; ++i) {
    if (memo != nullptr) memo->triedStart.push_back(static_cast<int>(memo->tried.size()));
    const LabelRequest& r = requests[i];
    if (r.text.empty() || r.width <= 0 || r.height <= 0) continue;
    RECT box;
    std::string text = r.text;
    int width = std::min(r.width, screenW);
    if (width < r.width) text = fit(r.text, width, &width);
    bool found = !text.empty() && FindSpot(r, width, r.height, taken, screen, &box, tried);
    // No room at full length: try it at half and at a third, with an ellipsis.
    for (int part = 2; !found && part <= 3; ++part) {
      int shortWidth = 0;
      std::string shorter = shortened(i, part, &shortWidth);
      if (shorter.empty() || shortWidth <= 0) break;
      if (FindSpot(r, shortWidth, r.height, taken, screen, &box, tried)) {
        text = shorter;
        width = shortWidth;
        found = true;
      }
    }
    if (!found && r.mustShow && !text.empty()) {
      const POINT p = Spots(r, width, r.height).at[0];
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
  if (memo != nullptr) {
    memo->obstacles = obstacles;
    memo->screen = screen;
    memo->placed = placed;
  }
  return placed;
}

bool PlacementHolds(const std::vector<RECT>& tried, const std::vector<RECT>& before,
                    const std::vector<RECT>& after) {
  return FirstTouched(tried, before, after) == tried.size() && before.size() == after.size();
}

}  // namespace guide
