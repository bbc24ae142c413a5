// Building the halved copies of the map image, choosing the level for a zoom, and drawing
// the zoomed view through a ring-shaped picture of the last view.
#include "map/map_pyramid.h"

#include <algorithm>
#include <cmath>

namespace {

// Zoomed pixels held beyond each side of the view.
constexpr LONG kRingMargin = 64;

// Floor modulo: ring positions of negative zoomed pixels too.
LONG Wrap(LONG v, LONG n) {
  const LONG m = v % n;
  return m < 0 ? m + n : m;
}

// Calls f(ringRect, zoomedLeft, zoomedTop) for each piece of `zoomed` that lies whole on
// the ring of size w x h (at most four pieces when the rectangle is no larger than it).
template <typename F>
void ForEachRingPiece(const RECT& zoomed, LONG w, LONG h, F f) {
  for (LONG y = zoomed.top; y < zoomed.bottom;) {
    const LONG ry = Wrap(y, h);
    const LONG rows = std::min(zoomed.bottom - y, h - ry);
    for (LONG x = zoomed.left; x < zoomed.right;) {
      const LONG rx = Wrap(x, w);
      const LONG cols = std::min(zoomed.right - x, w - rx);
      f(RECT{rx, ry, rx + cols, ry + rows}, x, y);
      x += cols;
    }
    y += rows;
  }
}

bool Overlaps(const RECT& a, const RECT& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

}  // namespace

bool MapPyramid::Build(std::unique_ptr<CGapiSurface> image, double mapWidth, double mapHeight) {
  m_levels.clear();
  m_ringLevel = -1;
  m_mapWidth = mapWidth;
  m_mapHeight = mapHeight;
  if (image == nullptr || image->IsEmpty() || !(mapWidth > 0.0) || !(mapHeight > 0.0)) return false;
  const double fullW = image->GetWidth();
  const double fullH = image->GetHeight();
  m_levels.push_back(std::move(image));
  // A level narrower than the map space on an axis that has more is never chosen at a zoom
  // of 1 or more, so halving stops there.
  const double needW = std::min(mapWidth, fullW);
  const double needH = std::min(mapHeight, fullH);
  for (;;) {
    const CGapiSurface* last = m_levels.back().get();
    const DWORD w = std::max<DWORD>(1, last->GetWidth() / 2);
    const DWORD h = std::max<DWORD>(1, last->GetHeight() / 2);
    if (w < needW || h < needH || (w == last->GetWidth() && h == last->GetHeight())) break;
    auto half = std::make_unique<CGapiSurface>();
    if (half->CreateSurface(GDSURFACE_SYSTEMMEMORY, w, h) != GD_OK) return false;
    // Each pixel the mean of the four under it: samples midway between source centres.
    GDSAMPLING at;
    at.dx = static_cast<double>(last->GetWidth()) / w;
    at.dy = static_cast<double>(last->GetHeight()) / h;
    at.x0 = 0.5 * at.dx - 0.5;
    at.y0 = 0.5 * at.dy - 0.5;
    half->SampleBilinear(RECT{0, 0, static_cast<LONG>(w), static_cast<LONG>(h)},
                         m_levels.back().get(), at);
    m_levels.push_back(std::move(half));
  }
  return true;
}

double MapPyramid::MaxZoom() const {
  if (m_levels.empty()) return 1.0;
  const double own =
      std::max(m_levels[0]->GetWidth() / m_mapWidth, m_levels[0]->GetHeight() / m_mapHeight);
  return std::max(1.0, 2.0 * own);
}

int MapPyramid::LevelFor(double zoom) const {
  if (m_levels.empty()) return -1;
  const double fullW = m_levels[0]->GetWidth();
  const double fullH = m_levels[0]->GetHeight();
  // The level nearest the wanted size, as mipmaps are chosen: at most 1.41 times too small
  // (enlarged a little, bilinearly) rather than up to twice too large, which would read up
  // to four times the pixels a frame shows from a level that no cache holds.
  constexpr double kNearest = 1.41421356237309515;
  const double wantW = std::min(m_mapWidth * zoom / kNearest, fullW) - 1e-9;
  const double wantH = std::min(m_mapHeight * zoom / kNearest, fullH) - 1e-9;
  for (int k = LevelCount() - 1; k > 0; --k) {
    if (Level(k)->GetWidth() >= wantW && Level(k)->GetHeight() >= wantH) return k;
  }
  return 0;
}

void MapPyramid::Sample(const RECT& zoomed, int level, double zoom) {
  CGapiSurface* src = Level(level);
  // Source pixels per zoomed pixel on each axis; pixel centres line up with the map's edges.
  const double fx = src->GetWidth() / (m_mapWidth * zoom);
  const double fy = src->GetHeight() / (m_mapHeight * zoom);
  const LONG w = static_cast<LONG>(m_ring.GetWidth());
  const LONG h = static_cast<LONG>(m_ring.GetHeight());
  ForEachRingPiece(zoomed, w, h, [&](const RECT& ring, LONG zx, LONG zy) {
    GDSAMPLING at;
    at.dx = fx;
    at.dy = fy;
    at.x0 = (zx + 0.5) * fx - 0.5;
    at.y0 = (zy + 0.5) * fy - 0.5;
    m_ring.SampleBilinear(ring, src, at);
  });
}

void MapPyramid::Draw(CGapiSurface* back, const RECT& view, double zoom) {
  if (m_levels.empty()) return;
  const LONG vw = view.right - view.left;
  const LONG vh = view.bottom - view.top;
  if (vw <= 0 || vh <= 0) return;
  const LONG w = vw + 2 * kRingMargin;
  const LONG h = vh + 2 * kRingMargin;
  if (static_cast<LONG>(m_ring.GetWidth()) != w || static_cast<LONG>(m_ring.GetHeight()) != h) {
    if (m_ring.CreateSurface(GDSURFACE_SYSTEMMEMORY, static_cast<DWORD>(w),
                             static_cast<DWORD>(h)) != GD_OK)
      return;
    m_ringLevel = -1;
  }
  const int level = LevelFor(zoom);
  const RECT& old = m_ringView;
  const RECT wanted{view.left - kRingMargin, view.top - kRingMargin, view.right + kRingMargin,
                    view.bottom + kRingMargin};
  if (level != m_ringLevel || zoom != m_ringZoom || !Overlaps(old, wanted)) {
    Sample(wanted, level, zoom);
    m_ringView = wanted;
  } else if (view.left < old.left || view.top < old.top || view.right > old.right ||
             view.bottom > old.bottom) {
    // Only what came into the ring: the rows above or below what it held, then the columns
    // beside that within its rows.
    const RECT& now = wanted;
    if (now.top < old.top) Sample(RECT{now.left, now.top, now.right, old.top}, level, zoom);
    if (now.bottom > old.bottom)
      Sample(RECT{now.left, old.bottom, now.right, now.bottom}, level, zoom);
    const LONG top = std::max(now.top, old.top);
    const LONG bottom = std::min(now.bottom, old.bottom);
    if (now.left < old.left) Sample(RECT{now.left, top, old.left, bottom}, level, zoom);
    if (now.right > old.right) Sample(RECT{old.right, top, now.right, bottom}, level, zoom);
    m_ringView = now;
  }
  m_ringZoom = zoom;
  m_ringLevel = level;
  ForEachRingPiece(view, w, h, [&](const RECT& ring, LONG zx, LONG zy) {
    back->BltFast(zx - view.left, zy - view.top, &m_ring, &ring, 0, nullptr);
  });
}
