// The media inspector of a real check: names resolved as the program resolves them, images
// decoded by the graphics library, videos probed by the player.
#include "check/media_inspector.h"

#include <filesystem>

#include "map/file_resolve.h"
#include "platform/graphics/gapi.h"

std::string CProgramMedia::Resolve(const char* storedName) {
  return ResolveProjectFile(storedName);
}

CMediaInspector::Image CProgramMedia::InspectImage(const std::string& path) {
  Image image;
  // An empty file is no image; files that say they are empty (under /proc) may also never
  // end when read.
  std::error_code ec;
  if (std::filesystem::file_size(path, ec) == 0 || ec) return image;
  CGapiSurface surface;
  if (surface.CreateSurface(GDSURFACE_SYSTEMMEMORY, path.c_str()) == GD_OK) {
    image.decoded = true;
    image.width = static_cast<int>(surface.GetWidth());
    image.height = static_cast<int>(surface.GetHeight());
  }
  surface.Destroy();
  return image;
}

CMediaInspector::Video CProgramMedia::ProbeVideo(const std::string& path) {
  if (!m_prober) m_prober = std::make_unique<platform::MediaProber>();
  const platform::MediaProbeResult r = m_prober->Probe(path);
  return {r.playable, r.picture, r.seconds, r.reason};
}
