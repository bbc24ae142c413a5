// `corvane new`: a project folder with the map beside the project file, the waypoints of a
// GPX file as regions, and nothing else, written through the program's own records.
#include "app/new_project.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <system_error>

#include "check/media_inspector.h"
#include "check/project_check.h"
#include "data/region_item.h"
#include "data/system_item.h"
#include "data/xml_item_list.h"
#include "data/xml_values.h"
#include "map/calibration.h"
#include "map/map_proportion.h"
#include "map/portrait.h"
#include "platform/graphics/gapi.h"
#include "platform/position/track_file.h"
#include "platform/text/tr.h"
#include "platform/windowing/win_api.h"

namespace fs = std::filesystem;

namespace {

constexpr double kRegionMetres = 25.0;
constexpr double kMetresPerDegree = 111195.0;  // on a sphere of the earth's mean radius
constexpr double kMapWidth = 800.0;            // every map is drawn at this size
constexpr double kMapHeight = 600.0;
// The reader takes values up to this many characters; longer names would be cut there.
constexpr size_t kLongestValue = 127;
// What the program appends to a project's name to name its users file.
const std::string kUsersSuffix = "Users.xml";

using Bounds = MapBounds;

bool ParseBounds(const std::string& text, Bounds* out, std::string* problem) {
  double values[4];
  size_t start = 0;
  for (int i = 0; i < 4; ++i) {
    const size_t comma = text.find(',', start);
    if ((comma == std::string::npos) != (i == 3)) {
      *problem =
          _("--bounds needs four numbers W,N,E,S (west, north, east, south), not '") + text + "'";
      return false;
    }
    const std::string part = text.substr(start, comma == std::string::npos ? comma : comma - start);
    const double limit = i % 2 == 0 ? 180.0 : 90.0;
    if (!ParseCoordinate(part, limit, &values[i])) {
      *problem = std::string(_("--bounds: the ")) +
                 (i == 0   ? _("west")
                  : i == 1 ? _("north")
                  : i == 2 ? _("east")
                           : _("south")) +
                 _(" edge '") + part + _("' is not a number from ") +
                 (limit == 180.0 ? _("-180 to 180") : _("-90 to 90"));
      return false;
    }
    start = comma + 1;
  }
  *out = Bounds{values[0], values[1], values[2], values[3]};
  if (!(out->west < out->east)) {
    *problem =
        _("--bounds: the west edge must be less than the east edge (longitude grows "
          "eastwards); a map with no width, a reversed one or one across the date line cannot "
          "be used");
    return false;
  }
  if (!(out->north > out->south)) {
    *problem =
        _("--bounds: the north edge must be greater than the south edge (latitude grows "
          "northwards); a map with no height or a reversed one cannot be used");
    return false;
  }
  return true;
}

// Text as it is written between tags: '&', '<' and '>' as entities, so that other XML tools
// read the file too. The program's reader keeps the entities as they stand (the screen shows
// them as the characters), so this is also the value it holds.
std::string Escaped(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '&')
      out += "&amp;";
    else if (c == '<')
      out += "&lt;";
    else if (c == '>')
      out += "&gt;";
    else
      out += c;
  }
  return out;
}

// A waypoint's name as a description the line reader takes back unchanged: one line with
// single spaces, escaped, at most kLongestValue bytes, cut between characters and never
// inside an entity.
std::string Description(const std::string& name, int number) {
  std::string line;
  for (char c : name) {
    const auto u = static_cast<unsigned char>(c);
    if (u <= 0x20 || u == 0x7F) {
      if (!line.empty() && line.back() != ' ') line += ' ';
    } else {
      line += c;
    }
  }
  if (!line.empty() && line.back() == ' ') line.pop_back();
  std::string out;
  for (size_t i = 0; i < line.size();) {
    size_t n = 1;
    while (i + n < line.size() && (static_cast<unsigned char>(line[i + n]) & 0xC0) == 0x80) ++n;
    const std::string piece = Escaped(line.substr(i, n));
    if (out.size() + piece.size() > kLongestValue) break;
    out += piece;
    i += n;
  }
  while (!out.empty() && out.back() == ' ') out.pop_back();
  if (out.empty()) out = "Waypoint " + std::to_string(number);
  return out;
}

// One line without control characters.
bool OneLine(const std::string& text) {
  for (char c : text)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return false;
  return true;
}

// A file name the reader takes as it is written: it does not turn entities back into
// characters, so a name with '&', '<' or '>' cannot be written so that it still names its
// file.
bool PlainFileName(const std::string& name) {
  return OneLine(name) && name.find_first_of("&<>") == std::string::npos;
}

// The errors `corvane check` finds in the project written, one per line; empty when none.
// Its warning that the edges do not fit the map's shape is added to *notes: it is the one
// warning about what the author just gave.
std::string CheckErrors(const fs::path& project, std::vector<std::string>* notes) {
  CCheckReport report;
  CProgramMedia media;
  if (RunProjectCheck(project.c_str(), false, nullptr, nullptr, &media, &report) ==
      CHECK_UNREADABLE)
    return _("\n  the project written cannot be read back");
  std::string errors;
  for (const CheckProblem& p : report.Problems()) {
    if (p.severity != CheckSeverity::Error) {
      if (p.code == "bounds-aspect") notes->push_back(p.message);
      continue;
    }
    errors += "\n  " + p.file + (p.line > 0 ? ":" + std::to_string(p.line) : "") + ": " + p.message;
  }
  return errors;
}

// Undoes what a failed run made.
class CCleanup {
 public:
  ~CCleanup() {
    if (m_keep) return;
    std::error_code ec;
    if (!m_writtenProject.empty()) fs::remove(m_writtenProject, ec);
    if (!m_copiedMap.empty()) fs::remove(m_copiedMap, ec);
    if (!m_madeFolder.empty()) fs::remove(m_madeFolder, ec);  // only when empty
  }
  void Keep() { m_keep = true; }
  fs::path m_writtenProject;
  fs::path m_copiedMap;
  fs::path m_madeFolder;

 private:
  bool m_keep = false;
};

}  // namespace

double RadiusForMetres(double west, double north, double east, double south, double metres) {
  const double middle = (north + south) / 2.0 * M_PI / 180.0;
  const double across = (east - west) * kMetresPerDegree * std::cos(middle) / kMapWidth;
  const double down = (north - south) * kMetresPerDegree / kMapHeight;
  const double perPixel = (across + down) / 2.0;
  if (!(perPixel > 0)) return 1.0;
  return std::max(1.0, std::round(metres / perPixel));
}

NewProjectResult CreateNewProject(const NewProjectRequest& request) {
  NewProjectResult result;
  Bounds bounds{};
  if (!request.bounds.empty() && !request.crs.empty()) {
    result.problem =
        _("--crs names the system of the map's world file; --bounds are always in degrees");
    return result;
  }
  if (!request.bounds.empty() && !ParseBounds(request.bounds, &bounds, &result.problem))
    return result;

  std::error_code ec;
  const fs::path folder = fs::absolute(request.folder, ec);
  std::string base = folder.filename().string();
  if (base.empty() || base == ".") base = folder.parent_path().filename().string();
  if (base.empty() || base == "..") {
    result.problem = _("cannot name a project after the folder '") + request.folder + "'";
    return result;
  }
  // The folder's name also names the users file, "<name>Users.xml".
  if (!PlainFileName(base) || base.size() + kUsersSuffix.size() > kLongestValue) {
    result.problem = _("the folder's name must be at most ") +
                     std::to_string(kLongestValue - kUsersSuffix.size()) +
                     _(" characters, without '&', '<' or '>', since it also names the users file");
    return result;
  }
  const fs::path project = folder / (base + ".xml");
  result.projectFile = project.string();
  const std::string projectName = Escaped(request.name.empty() ? base : request.name);
  if (!OneLine(projectName) || projectName.size() > kLongestValue) {
    result.problem =
        _("--name must be one line of at most 127 characters (each '&' counts 5, '<' and '>' 4)");
    return result;
  }
  if (fs::exists(project, ec)) {
    result.problem = project.string() + _(" already exists; a new project never overwrites one");
    return result;
  }

  // The map must be an image the program can draw.
  const fs::path mapSource(request.map);
  const std::string mapName = mapSource.filename().string();
  if (!fs::is_regular_file(mapSource, ec)) {
    result.problem = _("the map ") + request.map + _(" is not a readable file");
    return result;
  }
  if (!PlainFileName(mapName) || mapName.size() > kLongestValue) {
    result.problem =
        _("the map's file name must be at most 127 characters, without '&', '<' or '>'");
    return result;
  }
  {
    CGapiSurface image;
    const bool decoded = image.CreateSurface(GDSURFACE_SYSTEMMEMORY, request.map.c_str()) == GD_OK;
    const int width = decoded ? static_cast<int>(image.GetWidth()) : 0;
    const int height = decoded ? static_cast<int>(image.GetHeight()) : 0;
    if (decoded && MapOutOfProportion(image.GetWidth(), image.GetHeight())) {
      char note[160];
      std::snprintf(note, sizeof note,
                    _("the map is %u x %u pixels; the program stretches it to 800 x 600, out of "
                      "proportion"),
                    static_cast<unsigned>(image.GetWidth()),
                    static_cast<unsigned>(image.GetHeight()));
      result.notes.push_back(note);
    }
    image.Destroy();
    if (!decoded) {
      result.problem = _("the map ") + request.map + _(" cannot be read as an image");
      return result;
    }
    if (request.bounds.empty()) {
      Georeference placed = BoundsFromWorldFile(request.map, width, height, request.crs);
      if (!placed.ok) {
        result.problem = placed.problem;
        return result;
      }
      bounds = placed.bounds;
      result.boundsFrom = placed.worldFile;
      for (std::string& note : placed.notes) result.notes.push_back(std::move(note));
    }
  }

  platform::TrackFile track;
  if (!request.waypoints.empty()) {
    track = platform::ReadTrackFile(request.waypoints);
    if (!track.error.empty()) {
      result.problem = _("cannot read the waypoints in ") + request.waypoints + ": " + track.error;
      return result;
    }
    if (track.waypoints.empty()) {
      result.problem =
          request.waypoints + _(" holds no waypoints (GPX wpt elements) to make regions of");
      return result;
    }
    if (track.waypoints.size() > static_cast<size_t>(LIST_CAPACITY)) {
      result.problem = request.waypoints + _(" holds ") + std::to_string(track.waypoints.size()) +
                       _(" waypoints; a project takes at most ") + std::to_string(LIST_CAPACITY) +
                       _(" regions");
      return result;
    }
    if (track.skipped > 0)
      result.notes.push_back(std::to_string(track.skipped) +
                             _(" damaged points or waypoints of the GPX file were left out"));
    // The program would draw such a place on the map's edge, far from where it is.
    for (const platform::TrackPoint& w : track.waypoints) {
      if (w.longitude >= bounds.west && w.longitude <= bounds.east && w.latitude >= bounds.south &&
          w.latitude <= bounds.north)
        continue;
      char where[96];
      std::snprintf(where, sizeof where, "%.6f, %.6f", w.latitude, w.longitude);
      result.problem = _("the waypoint '") +
                       (w.name.empty() ? std::string(_("(no name)")) : w.name) + _("' at ") +
                       where + _(" (latitude, longitude) lies outside the bounds");
      return result;
    }
  }

  CCleanup cleanup;
  if (!fs::exists(folder, ec)) {
    if (!fs::create_directories(folder, ec)) {
      result.problem = _("cannot make the folder ") + folder.string() + ": " + ec.message();
      return result;
    }
    cleanup.m_madeFolder = folder;
  }
  const fs::path mapCopy = folder / mapName;
  if (!fs::exists(mapCopy, ec)) {
    if (!fs::copy_file(mapSource, mapCopy, ec)) {
      result.problem = _("cannot copy the map to ") + mapCopy.string() + ": " + ec.message();
      return result;
    }
    cleanup.m_copiedMap = mapCopy;
  } else if (!fs::equivalent(mapSource, mapCopy, ec)) {
    result.problem =
        mapCopy.string() + _(" already exists and is another file; it is not overwritten");
    return result;
  }

  // The program's own model writes the file, so it is byte for byte what a save would give.
  CPortrait model(nullptr, GetModuleHandleA(nullptr), static_cast<int>(kMapWidth),
                  static_cast<int>(kMapHeight));
  for (CXmlItemList** list :
       {&model.m_systemList, &model.m_characterList, &model.m_locationList, &model.m_themeList,
        &model.m_timeList, &model.m_regionList, &model.m_contentList})
    *list = new CXmlItemList;
  CSystemItem system;
  CopyText(system.m_projectName, sizeof system.m_projectName, projectName.c_str());
  CopyText(system.m_mapFilename, sizeof system.m_mapFilename, mapName.c_str());
  // Named as the program names it when it first makes the users file, so that first save
  // leaves the project as it is.
  system.SetUserFilename((base + kUsersSuffix).c_str());
  system.m_left = bounds.west;
  system.m_top = bounds.north;
  system.m_right = bounds.east;
  system.m_bottom = bounds.south;
  system.m_radius =
      RadiusForMetres(bounds.west, bounds.north, bounds.east, bounds.south, kRegionMetres);
  model.m_systemList->Add(system);
  result.radius = system.m_radius;
  result.bounds = bounds;

  int id = 1;  // the region id 0 also stands for "no region" in content records
  for (const platform::TrackPoint& w : track.waypoints) {
    CRegionItem region;
    region.m_id = id;
    const std::string description = Description(w.name, id);
    CopyText(region.m_description, sizeof region.m_description, description.c_str());
    region.m_gpsX = w.longitude;
    region.m_gpsY = w.latitude;
    model.m_regionList->Add(region);
    ++id;
  }
  result.regions = id - 1;

  if (!model.SaveProjectFile(project.string().c_str())) {
    result.problem = _("cannot write ") + project.string();
    return result;
  }
  cleanup.m_writtenProject = project;
  // What check calls an error is never left behind as a new project.
  if (const std::string errors = CheckErrors(project, &result.notes); !errors.empty()) {
    result.problem = _("the project would have errors:") + errors;
    return result;
  }
  cleanup.Keep();
  result.written = true;
  return result;
}
