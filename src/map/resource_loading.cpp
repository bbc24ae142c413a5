// Loading what the map view needs after the project file: the map image, the map
// positions of regions and content, the video check and the content icons.
#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <string>

#include "data/content_item.h"
#include "data/region_item.h"
#include "data/system_item.h"
#include "data/xml_item_list.h"
#include "map/file_resolve.h"
#include "map/portrait.h"
#include "platform/text/tr.h"
#include "platform/windowing/win_api.h"

namespace {

constexpr DWORD COLOR_KEY = 0xFF00FF;
constexpr DWORD MAP_WIDTH = 800;
constexpr DWORD MAP_HEIGHT = 600;
// Thumbnails larger than this either way are scaled down to fit when they are decoded: a
// bigger icon would cover the map, and a project may name a huge picture for every item.
constexpr DWORD ICON_SIDE = 64;

// Lists that project loading never created count as empty.
bool IsEmptyList(CXmlItemList* list) { return list == nullptr || list->IsEmpty(); }

// Opens an image named by the project; a name that resolves to no file fails without
// reaching the image loader.
HRESULT CreateFromProjectFile(CGapiSurface* surface, const char* storedName) {
  const std::string path = ResolveProjectFile(storedName);
  if (path.empty()) return GDERR_LOAD_FAILED;
  return surface->CreateSurface(GDSURFACE_SYSTEMMEMORY, path.c_str());
}

// Halves `image` (smoothly, so each pixel is the mean of four) until it is within twice the
// wanted size, then scales it to that size: one smooth step from far larger would skip most
// of the picture's pixels.
void ScaleDown(CGapiSurface* image, DWORD width, DWORD height) {
  while (image->GetWidth() / 2 >= width && image->GetHeight() / 2 >= height) {
    CGapiSurface half;
    if (half.CreateSurface(GDSURFACE_SYSTEMMEMORY, image->GetWidth() / 2, image->GetHeight() / 2) !=
        GD_OK)
      break;
    half.Blt(nullptr, image, nullptr, GDBLT_SMOOTH, nullptr);
    // Taking the half's place frees the larger picture.
    if (image->CreateSurface(GDSURFACE_SYSTEMMEMORY, half.GetWidth(), half.GetHeight()) != GD_OK)
      return;
    image->BltFast(0, 0, &half, nullptr, 0, nullptr);
  }
  CGapiSurface scaled;
  if (scaled.CreateSurface(GDSURFACE_SYSTEMMEMORY, width, height) != GD_OK) return;
  scaled.Blt(nullptr, image, nullptr, GDBLT_SMOOTH, nullptr);
  if (image->CreateSurface(GDSURFACE_SYSTEMMEMORY, width, height) != GD_OK) return;
  image->BltFast(0, 0, &scaled, nullptr, 0, nullptr);
}

// A thumbnail as an icon's picture: decoded, and scaled to fit ICON_SIDE with its
// proportions kept when it is larger, so that only the small picture is kept.
HRESULT LoadThumbnail(CGapiSurface* thumb, const std::string& path) {
  const HRESULT result = thumb->CreateSurface(GDSURFACE_SYSTEMMEMORY, path.c_str());
  if (result != GD_OK) return result;
  const DWORD w = thumb->GetWidth();
  const DWORD h = thumb->GetHeight();
  if (w <= ICON_SIDE && h <= ICON_SIDE) return GD_OK;
  const double scale =
      std::min(static_cast<double>(ICON_SIDE) / w, static_cast<double>(ICON_SIDE) / h);
  ScaleDown(thumb, std::max<DWORD>(1, static_cast<DWORD>(std::lround(w * scale))),
            std::max<DWORD>(1, static_cast<DWORD>(std::lround(h * scale))));
  return thumb->IsEmpty() ? GDERR_OUT_OF_MEMORY : GD_OK;
}

// One key per file, however it is named, so that a file named by many items is read once.
std::string FileKey(const std::string& path) {
  struct stat st {};
  if (stat(path.c_str(), &st) != 0) return "name:" + path;
  return std::to_string(st.st_dev) + ":" + std::to_string(st.st_ino);
}

}  // namespace

bool CPortrait::LoadMap() {
  m_mapSize.Set(0.0, 0.0);
  m_viewCentre.Set(0.0, 0.0);
  SetRect(&m_viewRect, 0, 0, static_cast<int>(m_screenSize.x), static_cast<int>(m_screenSize.y));
  delete m_mapSurface;
  m_mapSurface = nullptr;

  if (IsEmptyList(m_systemList)) return false;
  const auto* system = static_cast<CSystemItem*>(m_systemList->Current());

  CGapiSurface image;
  if (CreateFromProjectFile(&image, system->m_mapFilename) != GD_OK) {
    image.Destroy();
    const std::string text = std::string(_("Cannot open :")) + system->m_mapFilename;
    MessageBoxA(m_hWnd, text.c_str(), _("Error"), MB_OK);
    return false;
  }

  // Every map is stretched to one size, so map positions mean the same on every project.
  auto* map = new CGapiSurface;
  if (map->CreateSurface(GDSURFACE_SYSTEMMEMORY, MAP_WIDTH, MAP_HEIGHT) != GD_OK) {
    delete map;
    return false;
  }
  map->Blt(nullptr, &image, nullptr, 0, nullptr);
  image.Destroy();
  m_mapSurface = map;
  m_mapSize.Set(m_mapSurface->GetWidth(), m_mapSurface->GetHeight());

  m_viewCentre = m_mapSize / 2;
  m_viewRect = ComputeViewRect();
  m_userPos = m_mapSize / 2;
  m_userGps = MapToGps(m_userPos);
  return true;
}

int CPortrait::ComputeMapPositions() {
  if (!IsEmptyList(m_regionList)) {
    for (int i = m_regionList->First(); i != -1; i = m_regionList->Next()) {
      auto* region = static_cast<CRegionItem*>(m_regionList->Current());
      const CGeoPoint p = GpsToMap(CGeoPoint(region->m_gpsX, region->m_gpsY));
      region->m_screenX = p.x;
      region->m_screenY = p.y;
    }
  }
  if (!IsEmptyList(m_contentList)) {
    for (int i = m_contentList->First(); i != -1; i = m_contentList->Next()) {
      auto* content = static_cast<CContentItem*>(m_contentList->Current());
      const CGeoPoint p = GpsToMap(CGeoPoint(content->m_gpsX, content->m_gpsY));
      content->m_screenX = p.x;
      content->m_screenY = p.y;
    }
  }
  return 1;
}

int CPortrait::ValidateVideos() {
  if (IsEmptyList(m_contentList)) return 0;
  int items = 0;
  int present = 0;
  for (int i = m_contentList->First(); i != -1; i = m_contentList->Next()) {
    const auto* content = static_cast<CContentItem*>(m_contentList->Current());
    ++items;
    const std::string path = ResolveProjectFile(content->m_filename);
    if (path.empty()) continue;
    if (FILE* f = std::fopen(path.c_str(), "rb")) {
      std::fclose(f);
      ++present;
    }
  }
  return items - present;
}

int CPortrait::LoadIcons() {
  if (IsEmptyList(m_contentList)) return 0;
  if (m_iconSurfaces != nullptr) {
    // A second load replaces the icons; indices into the old array would name the wrong
    // images, so every item starts again without one.
    delete[] m_iconSurfaces;
    m_iconSurfaces = nullptr;
    m_iconSurfaceCount = 0;
    for (int i = m_contentList->First(); i != -1; i = m_contentList->Next()) {
      static_cast<CContentItem*>(m_contentList->Current())->m_iconIndex = -1;
    }
  }

  const int n = m_contentList->Count();
  m_iconSurfaces = new CGapiSurface[n];
  m_iconSurfaceCount = n;
  int loaded = 0;
  // The slot of the first icon built from each file, for the other items that name it.
  std::map<std::string, int> built;
  for (int i = m_contentList->First(); i != -1 && loaded < n; i = m_contentList->Next()) {
    auto* content = static_cast<CContentItem*>(m_contentList->Current());
    const std::string path = ResolveProjectFile(content->m_thumbnail);
    if (path.empty()) continue;
    const std::string key = FileKey(path);
    if (const auto same = built.find(key); same != built.end()) {
      const CGapiSurface& first = m_iconSurfaces[same->second];
      CGapiSurface& icon = m_iconSurfaces[loaded];
      if (icon.CreateSurface(GDSURFACE_SYSTEMMEMORY, first.GetWidth(), first.GetHeight()) ==
          GD_OK) {
        icon.SetColorKey(COLOR_KEY);
        icon.BltFast(0, 0, &m_iconSurfaces[same->second], nullptr, 0, nullptr);
        content->m_iconIndex = loaded;
        ++loaded;
      }
      continue;
    }
    CGapiSurface thumb;
    if (LoadThumbnail(&thumb, path) == GD_OK) {
      const LONG w = static_cast<LONG>(thumb.GetWidth());
      const LONG h = static_cast<LONG>(thumb.GetHeight());
      CGapiSurface& icon = m_iconSurfaces[loaded];
      if (icon.CreateSurface(GDSURFACE_SYSTEMMEMORY, w + 3, h + 2) == GD_OK) {
        icon.SetColorKey(COLOR_KEY);
        icon.FillRect(nullptr, COLOR_KEY, 0, nullptr);
        icon.BltFast(0, 0, &thumb, nullptr, 0, nullptr);
        // Drop shadow two pixels down and right; the last column stays transparent.
        RECT right;
        SetRect(&right, w, 2, w + 2, h + 2);
        icon.FillRect(&right, 0x000000, 0, nullptr);
        RECT bottom;
        SetRect(&bottom, 2, h, w + 2, h + 2);
        icon.FillRect(&bottom, 0x000000, 0, nullptr);
        content->m_iconIndex = loaded;
        built.emplace(key, loaded);
        ++loaded;
      }
    }
    thumb.Destroy();
  }
  return n - loaded;
}
