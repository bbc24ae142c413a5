// Coordinate conversion through PROJ, kept local: network access is switched off before any
// system is looked up, so only the grids installed on this system are ever used.
#include "map/crs_conversion.h"

#include <proj.h>

#include <cctype>
#include <cmath>
#include <cstdio>
#include <memory>

#include "platform/text/tr.h"

namespace {

struct ContextDeleter {
  void operator()(PJ_CONTEXT* context) const { proj_context_destroy(context); }
};
struct ObjectDeleter {
  void operator()(PJ* object) const { proj_destroy(object); }
};
using Context = std::unique_ptr<PJ_CONTEXT, ContextDeleter>;
using Object = std::unique_ptr<PJ, ObjectDeleter>;

// "EPSG:" and digits only: other forms PROJ takes (file names, pipelines, URLs) are not
// coordinate system codes and are not handed to it.
bool IsEpsgCode(const std::string& crs) {
  if (crs.size() < 6 || crs.size() > 15) return false;
  for (size_t i = 0; i < 5; ++i)
    if (std::toupper(static_cast<unsigned char>(crs[i])) != "EPSG:"[i]) return false;
  for (size_t i = 5; i < crs.size(); ++i)
    if (!std::isdigit(static_cast<unsigned char>(crs[i]))) return false;
  return true;
}

}  // namespace

bool ConvertToWgs84(const std::string& crs, std::vector<GroundPoint>& points,
                    std::string* problem) {
  if (!IsEpsgCode(crs)) {
    *problem = _("--crs takes a code such as EPSG:32633, not '") + crs.substr(0, 40) + "'";
    return false;
  }
  const Context context(proj_context_create());
  if (!context) {
    *problem = _("the coordinate library could not start");
    return false;
  }
  proj_context_set_enable_network(context.get(), 0);
  proj_log_level(context.get(), PJ_LOG_NONE);  // its reasons are given in our own message
  const Object source(proj_create(context.get(), crs.c_str()));
  const PJ_TYPE type = source ? proj_get_type(source.get()) : PJ_TYPE_UNKNOWN;
  if (type != PJ_TYPE_PROJECTED_CRS && type != PJ_TYPE_GEOGRAPHIC_2D_CRS) {
    *problem = crs + (source ? _(" is not a horizontal coordinate system of the kind a map uses")
                             : _(" is not a coordinate system the coordinate library knows"));
    return false;
  }
  const Object target(proj_create(context.get(), "EPSG:4326"));
  const Object operation(
      target ? proj_create_crs_to_crs_from_pj(context.get(), source.get(), target.get(), nullptr,
                                              nullptr)
             : nullptr);
  // Easting before northing, longitude before latitude, whatever order the systems define.
  const Object ordered(operation ? proj_normalize_for_visualization(context.get(), operation.get())
                                 : nullptr);
  if (!ordered) {
    *problem = _("no conversion from ") + crs + _(" to WGS84 longitude and latitude is available");
    return false;
  }
  for (GroundPoint& point : points) {
    const PJ_COORD out =
        proj_trans(ordered.get(), PJ_FWD, proj_coord(point.x, point.y, 0, 0));
    if (!std::isfinite(out.v[0]) || !std::isfinite(out.v[1]) || out.v[0] == HUGE_VAL ||
        std::fabs(out.v[0]) > 360 || std::fabs(out.v[1]) > 90) {
      char where[80];
      std::snprintf(where, sizeof where, "%.3f, %.3f", point.x, point.y);
      *problem = std::string(_("the point ")) + where + _(" of ") + crs +
                 _(" cannot be converted to longitude and latitude");
      return false;
    }
    point = GroundPoint{out.v[0], out.v[1]};
  }
  return true;
}
