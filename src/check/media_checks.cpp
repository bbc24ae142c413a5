// Media: the map image, the thumbnails and the videos, each opened as the program opens it.
#include <algorithm>
#include <map>

#include "check/project_checks.h"
#include "data/content_item.h"
#include "data/system_item.h"
#include "data/xml_item_list.h"
#include "map/map_proportion.h"
#include "platform/text/tr.h"

namespace {

constexpr int kMapWidth = 800;
constexpr int kMapHeight = 600;
// Larger thumbnails cover much of the 800 x 600 map and leave few icons to a history page.
constexpr int kIconLimit = 64;

bool LooksLikeAddress(const std::string& name) { return name.find("://") != std::string::npos; }

// Looks each file up once: many items may share a thumbnail.
class CCachedMedia {
 public:
  explicit CCachedMedia(CMediaInspector& media) : m_media(media) {}
  const CMediaInspector::Image& Image(const std::string& path) {
    auto it = m_images.find(path);
    if (it == m_images.end()) it = m_images.emplace(path, m_media.InspectImage(path)).first;
    return it->second;
  }
  const CMediaInspector::Video& Video(const std::string& path) {
    auto it = m_videos.find(path);
    if (it == m_videos.end()) it = m_videos.emplace(path, m_media.ProbeVideo(path)).first;
    return it->second;
  }

 private:
  CMediaInspector& m_media;
  std::map<std::string, CMediaInspector::Image> m_images;
  std::map<std::string, CMediaInspector::Video> m_videos;
};

// A map's picture and its edges on the ground should have one shape; when they do not, the
// bounds or the image are wrong, and places are drawn stretched apart one way.
void CheckGroundShape(const std::string& file, const CSystemItem& system, int width, int height,
                      int line, CCheckReport& report) {
  const double ground = GroundAspect(system.m_left, system.m_top, system.m_right, system.m_bottom);
  if (!(ground > 0)) return;  // the edges themselves are reported
  const double picture = static_cast<double>(width) / height;
  if (!AspectsDiffer(picture, ground)) return;
  constexpr double kMetresPerDegree = 111195.0;
  const double tall = (system.m_top - system.m_bottom) * kMetresPerDegree;
  report.Warning("bounds-aspect", file, line,
                 Format(_("The map is %d x %d pixels (%.3f wide to 1 high), but its edges enclose "
                          "%.0f x %.0f metres of ground (%.3f to 1): distances %s are drawn %.0f%% "
                          "too long."),
                        width, height, picture, tall * ground, tall, ground,
                        picture > ground ? _("east-west") : _("north-south"),
                        (std::max(picture, ground) / std::min(picture, ground) - 1.0) * 100.0));
}

void CheckMap(const CheckedProject& project, const CSystemItem& system, CMediaInspector& media,
              int line, int boundsLine, CCheckReport& report) {
  const std::string& file = project.name;
  const std::string name = system.m_mapFilename;
  if (name.empty()) {
    report.Error("map-missing", file, line, _("No map file is named."));
    return;
  }
  const std::string path = media.Resolve(name.c_str());
  if (path.empty()) {
    report.Error("map-missing", file, line,
                 Format(_("The map %s is not found beside the project."), Quote(name).c_str()));
    return;
  }
  const CMediaInspector::Image image = media.InspectImage(path);
  if (!image.decoded) {
    report.Error("map-undecodable", file, line,
                 Format(_("The map %s cannot be read as an image."), Quote(name).c_str()));
    return;
  }
  CheckGroundShape(file, system, image.width, image.height, boundsLine, report);
  // A map of the drawn proportions is only scaled; one that differs by more than this is
  // drawn out of proportion.
  if (!MapOutOfProportion(image.width, image.height)) return;
  report.Warning("map-stretched", file, line,
                 Format(_("The map is %d x %d pixels; the program stretches it to %d x %d, out of "
                          "proportion."),
                        image.width, image.height, kMapWidth, kMapHeight));
}

}  // namespace

void CheckMedia(const CheckedProject& project, CMediaInspector& media, CCheckReport& report) {
  if (project.scan == nullptr || project.system == nullptr) return;
  const auto* system = static_cast<const CSystemItem*>(project.system->At(0));
  if (system == nullptr) return;
  const std::string& file = project.name;
  const ScanResult& systems = project.scan->Records("system");
  const int systemLine = systems.records.empty() ? 0 : systems.records[0].LineOf("map_filename");
  const int boundsLine = systems.records.empty() ? 0 : systems.records[0].LineOf("right");
  CheckMap(project, *system, media, systemLine, boundsLine, report);
  if (project.contents == nullptr) return;

  CCachedMedia cache(media);
  const ScanResult& contents = project.scan->Records("content");
  for (int slot = 0; slot < LIST_CAPACITY; ++slot) {
    const auto* c = static_cast<const CContentItem*>(project.contents->At(slot));
    if (c == nullptr) continue;
    const ScanRecord* record =
        slot < static_cast<int>(contents.records.size()) ? &contents.records[slot] : nullptr;
    const int thumbLine = record != nullptr ? record->LineOf("thumbnail") : 0;
    const int videoLine = record != nullptr ? record->LineOf("filename") : 0;

    const std::string thumb = c->m_thumbnail;
    const std::string thumbPath = thumb.empty() ? std::string() : media.Resolve(thumb.c_str());
    if (thumb.empty()) {
      report.Error("thumbnail-missing", file, thumbLine,
                   Format(_("Content %d names no thumbnail, so it has no icon."), c->m_id));
    } else if (thumbPath.empty()) {
      report.Error(
          "thumbnail-missing", file, thumbLine,
          Format(_("The thumbnail %s of content %d is not found."), Quote(thumb).c_str(), c->m_id));
    } else {
      const CMediaInspector::Image& image = cache.Image(thumbPath);
      if (!image.decoded)
        report.Error("thumbnail-undecodable", file, thumbLine,
                     Format(_("The thumbnail %s of content %d cannot be read as an image."),
                            Quote(thumb).c_str(), c->m_id));
      else if (image.width > kIconLimit || image.height > kIconLimit)
        report.Warning(
            "thumbnail-too-big", file, thumbLine,
            Format(_("The thumbnail %s is %d x %d pixels; an icon of more than %d x %d "
                     "covers much of the map."),
                   Quote(thumb).c_str(), image.width, image.height, kIconLimit, kIconLimit));
    }

    const std::string video = c->m_filename;
    if (video.empty()) {
      report.Error("video-missing", file, videoLine,
                   Format(_("Content %d names no video."), c->m_id));
      continue;
    }
    if (LooksLikeAddress(video)) {
      report.Error("video-remote", file, videoLine,
                   Format(_("The video %s of content %d is a network address; only local files "
                            "are played."),
                          Quote(video).c_str(), c->m_id));
      continue;
    }
    const std::string videoPath = media.Resolve(video.c_str());
    if (videoPath.empty()) {
      report.Error(
          "video-missing", file, videoLine,
          Format(_("The video %s of content %d is not found."), Quote(video).c_str(), c->m_id));
      continue;
    }
    const CMediaInspector::Video& probed = cache.Video(videoPath);
    if (!probed.playable) {
      report.Error("video-unplayable", file, videoLine,
                   Format(_("The video %s of content %d %s."), Quote(video).c_str(), c->m_id,
                          probed.reason.c_str()));
      continue;
    }
    report.AddVideo({file, videoLine, video, probed.seconds, probed.picture});
  }
}
