// The map image at its own resolution with a pyramid of halved copies, and the zoomed
// picture of the view drawn from the level that fits the zoom.
#pragma once

#include <memory>
#include <vector>

#include "platform/graphics/gapi.h"
#include "platform/windowing/win_types.h"

class MapPyramid {
 public:
  // Takes the decoded image, shown over a map space of mapWidth x mapHeight map pixels, and
  // makes the halved copies a zoom of at least 1 can use. False when memory runs out.
  bool Build(std::unique_ptr<CGapiSurface> image, double mapWidth, double mapHeight);

  // The image's own resolution times two, in screen pixels per map pixel; never below 1.
  double MaxZoom() const;
  // The smallest level with at least a pixel for every 1.41 screen pixels at `zoom` on both
  // axes (or the full image, when none has).
  int LevelFor(double zoom) const;
  int LevelCount() const { return static_cast<int>(m_levels.size()); }
  CGapiSurface* Level(int k) const { return m_levels[static_cast<std::size_t>(k)].get(); }

  // Draws the part `view` (zoomed pixels, map pixels times zoom) of the map at `zoom` onto
  // back, from (0, 0). The picture of the last view is kept: a pan samples only the strips
  // that came into view, and an unchanged view costs one copy.
  void Draw(CGapiSurface* back, const RECT& view, double zoom);

 private:
  // Samples the zoomed-pixel rectangle `zoomed` into the ring at its ring position.
  void Sample(const RECT& zoomed, int level, double zoom);

  std::vector<std::unique_ptr<CGapiSurface>> m_levels;
  double m_mapWidth = 0.0;
  double m_mapHeight = 0.0;
  // The zoomed picture around the last view, a margin larger than the screen on every side:
  // zoomed pixel (x, y) lives at (x mod width, y mod height), so a pan leaves what stays in
  // view where it is, and new strips are sampled a margin at a time, not a few pixels every
  // frame (each sampled row of the large image costs a trip to memory).
  CGapiSurface m_ring;
  RECT m_ringView{};  // the zoomed pixels the ring holds
  double m_ringZoom = 0.0;
  int m_ringLevel = -1;
};
