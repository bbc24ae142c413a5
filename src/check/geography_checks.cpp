// Geography: the map's GPS edges, positions outside them, icons far from their region, and
// a radius that no one can ever be inside.
#include <algorithm>
#include <cmath>

#include "check/project_checks.h"
#include "data/content_item.h"
#include "data/region_item.h"
#include "data/system_item.h"
#include "data/xml_item_list.h"
#include "map/geo_point.h"
#include "platform/text/tr.h"

namespace {

// Every map is stretched to this size, so map pixels mean the same in every project.
constexpr double kMapWidth = 800;
constexpr double kMapHeight = 600;
// Authors move icons aside to keep the map clear, so an icon counts as far from its region
// only beyond this many radii: then it shows up well away from where the visitor stands.
constexpr double kFarRadii = 8.0;

struct Edges {
  double left, top, right, bottom;
  bool Inside(double x, double y) const {
    return x >= std::min(left, right) && x <= std::max(left, right) && y >= std::min(top, bottom) &&
           y <= std::max(top, bottom);
  }
  double MapX(double x) const { return MapRange(x, left, right, 0.0, kMapWidth); }
  double MapY(double y) const { return MapRange(y, top, bottom, 0.0, kMapHeight); }
};

const ScanRecord* ScannedAt(const ScanResult& scanned, int slot) {
  return slot < static_cast<int>(scanned.records.size()) ? &scanned.records[slot] : nullptr;
}

int LineOf(const ScanResult& scanned, int slot, const char* field) {
  const ScanRecord* r = ScannedAt(scanned, slot);
  return r != nullptr ? r->LineOf(field) : 0;
}

}  // namespace

void CheckGeography(const CheckedProject& project, CCheckReport& report) {
  if (project.scan == nullptr || project.system == nullptr) return;
  const auto* system = static_cast<const CSystemItem*>(project.system->At(0));
  if (system == nullptr) return;
  const std::string& file = project.name;
  const ScanResult& systems = project.scan->Records("system");
  const ScanRecord* systemLines = ScannedAt(systems, 0);
  auto systemLine = [&](const char* field) {
    return systemLines != nullptr ? systemLines->LineOf(field) : 0;
  };

  const Edges edges{system->m_left, system->m_top, system->m_right, system->m_bottom};
  bool usable = true;
  if (edges.left == edges.right) {
    report.Error("axis-zero", file, systemLine("right"),
                 Format(_("<left> and <right> are both %.6f: the map has no width in GPS terms "
                          "and every position falls on one edge."),
                        edges.left));
    usable = false;
  } else if (edges.left > edges.right) {
    report.Error("axis-reversed", file, systemLine("right"),
                 Format(_("<left> %.6f lies east of <right> %.6f: the map's east-west axis is "
                          "reversed."),
                        edges.left, edges.right));
    usable = false;
  }
  if (edges.top == edges.bottom) {
    report.Error("axis-zero", file, systemLine("bottom"),
                 Format(_("<top> and <bottom> are both %.6f: the map has no height in GPS terms "
                          "and every position falls on one edge."),
                        edges.top));
    usable = false;
  } else if (edges.top < edges.bottom) {
    report.Error("axis-reversed", file, systemLine("bottom"),
                 Format(_("<top> %.6f lies south of <bottom> %.6f: the map's north-south axis is "
                          "reversed."),
                        edges.top, edges.bottom));
    usable = false;
  }
  const double radius = system->m_radius;
  if (!(radius > 0))
    report.Error("radius-zero", file, systemLine("radius"),
                 Format(_("The radius is %.6f: no one can ever be inside a region."), radius));
  if (!usable) return;

  const ScanResult& regions = project.scan->Records("region");
  const ScanResult& contents = project.scan->Records("content");
  auto outside = [&](const char* what, int id, double x, double y, int line) {
    report.Error("outside-map", file, line,
                 Format(_("%s %d lies at %.6f, %.6f, outside the map (%.6f to %.6f east, %.6f to "
                          "%.6f north); it is drawn on the map's edge."),
                        what, id, x, y, edges.left, edges.right, edges.bottom, edges.top));
  };
  if (project.regions != nullptr) {
    for (int slot = 0; slot < LIST_CAPACITY; ++slot) {
      const auto* r = static_cast<const CRegionItem*>(project.regions->At(slot));
      if (r != nullptr && !edges.Inside(r->m_gpsX, r->m_gpsY))
        outside(_("Region"), r->m_id, r->m_gpsX, r->m_gpsY, LineOf(regions, slot, "gps_x"));
    }
  }
  if (project.contents == nullptr) return;
  for (int slot = 0; slot < LIST_CAPACITY; ++slot) {
    const auto* c = static_cast<const CContentItem*>(project.contents->At(slot));
    if (c == nullptr) continue;
    // Only content that belongs to a region is drawn at its own position; the rest (region 0
    // when there is no such region) is placed beside the user when related.
    const auto* region =
        project.regions != nullptr
            ? static_cast<const CRegionItem*>(project.regions->FindById(c->m_regionId))
            : nullptr;
    if (region == nullptr) continue;
    if (!edges.Inside(c->m_gpsX, c->m_gpsY)) {
      outside(_("Content"), c->m_id, c->m_gpsX, c->m_gpsY, LineOf(contents, slot, "gps_x"));
      continue;
    }
    if (!(radius > 0) || !edges.Inside(region->m_gpsX, region->m_gpsY)) continue;
    const double d = Distance(edges.MapX(c->m_gpsX), edges.MapY(c->m_gpsY),
                              edges.MapX(region->m_gpsX), edges.MapY(region->m_gpsY));
    if (d > kFarRadii * radius)
      report.Warning("icon-far", file, LineOf(contents, slot, "gps_x"),
                     Format(_("The icon of content %d is %.0f pixels from the centre of region %d, "
                              "more than %.0f times the radius of %.0f."),
                            c->m_id, d, region->m_id, kFarRadii, radius));
  }
}
