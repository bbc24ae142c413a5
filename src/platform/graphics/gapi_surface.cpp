// CGapiSurface: creation from resources, files and sizes; colour key; sizes; pixel reads.
#include <atomic>
#include <cstring>
#include <map>
#include <mutex>
#include <vector>

#include "platform/graphics/gapi.h"
#include "platform/graphics/detail/resources.h"
#include "platform/graphics/detail/surface_data.h"
#include "platform/graphics/detail/surface_image.h"
#include "platform/graphics/detail/surface_ops.h"

namespace {

HRESULT Adopt(GapiSurfaceData* d, SDL_Surface* s, HRESULT failure) {
  if (s == nullptr) return failure;
  d->surface = s;
  platform::NewVersion(d);
  return GD_OK;
}

// The compiled-in images never change, so each is decoded once per process (keyed by its
// embedded bytes) and its pixels are shared until a surface draws on its own (OwnPixels).
SDL_Surface* SharedResourceImage(const platform::ResourceBytes& bytes) {
  static std::mutex mutex;
  static std::map<const unsigned char*, SDL_Surface*>* decoded =
      new std::map<const unsigned char*, SDL_Surface*>;  // kept for the life of the process
  const std::lock_guard<std::mutex> lock(mutex);
  auto [at, added] = decoded->try_emplace(bytes.data, nullptr);
  if (added) at->second = platform::DecodeImage(bytes.data, bytes.size);
  if (at->second != nullptr) ++at->second->refcount;  // released by SDL_FreeSurface
  return at->second;
}

}  // namespace

namespace platform {

void NewVersion(GapiSurfaceData* data) {
  static std::atomic<std::uint64_t> last{0};
  data->version = last.fetch_add(1, std::memory_order_relaxed) + 1;
}

SDL_Surface* OwnPixels(GapiSurfaceData* data) {
  NewVersion(data);
  SDL_Surface* shared = data->surface;
  if (shared == nullptr || shared->refcount <= 1) return shared;
  SDL_Surface* own = CreateBlankSurface(shared->w, shared->h);
  if (own == nullptr) return nullptr;
  const std::size_t rowBytes = static_cast<std::size_t>(shared->w) * 4;
  for (int y = 0; y < shared->h; ++y) {
    std::memcpy(static_cast<unsigned char*>(own->pixels) + y * own->pitch,
                static_cast<const unsigned char*>(shared->pixels) + y * shared->pitch, rowBytes);
  }
  SDL_FreeSurface(shared);
  data->surface = own;
  return own;
}

}  // namespace platform

CGapiSurface::CGapiSurface() : m_data(new GapiSurfaceData) {}

CGapiSurface::~CGapiSurface() {
  Destroy();
  delete m_data;
}

HRESULT CGapiSurface::CreateSurface(DWORD /*flags*/, HINSTANCE /*instance*/, DWORD resourceId,
                                    const char* resourceType) {
  Destroy();
  platform::ResourceBytes bytes =
      platform::FindResource(resourceId, resourceType != nullptr ? resourceType : "PNG");
  if (!bytes) return GDERR_LOAD_FAILED;
  return Adopt(m_data, SharedResourceImage(bytes), GDERR_LOAD_FAILED);
}

HRESULT CGapiSurface::CreateSurface(DWORD /*flags*/, const char* fileName) {
  Destroy();
  std::vector<unsigned char> bytes;
  if (!platform::ReadImageFile(fileName, bytes)) return GDERR_LOAD_FAILED;
  return Adopt(m_data, platform::DecodeImage(bytes.data(), bytes.size()), GDERR_LOAD_FAILED);
}

HRESULT CGapiSurface::CreateSurface(DWORD /*flags*/, DWORD width, DWORD height) {
  Destroy();
  if (!platform::ImageSizeAcceptable(width, height)) return GDERR_INVALID;
  return Adopt(m_data, platform::CreateBlankSurface(width, height), GDERR_OUT_OF_MEMORY);
}

void CGapiSurface::Destroy() {
  if (m_data->surface != nullptr) SDL_FreeSurface(m_data->surface);
  m_data->surface = nullptr;
  platform::NewVersion(m_data);
  m_data->colorKey = 0;
  m_data->hasColorKey = false;
}

std::uint64_t CGapiSurface::Version() const { return m_data->version; }

bool CGapiSurface::RecordsDraws() const { return platform::RecordsDraws(m_data); }

bool CGapiSurface::IsEmpty() const { return m_data->surface == nullptr; }

HRESULT CGapiSurface::SetColorKey(DWORD color) {
  if (m_data->surface == nullptr) return GDERR_INVALID;
  m_data->colorKey = color & 0x00FFFFFFu;
  m_data->hasColorKey = true;
  platform::NewVersion(m_data);
  return GD_OK;
}

DWORD CGapiSurface::GetWidth() const {
  return m_data->surface != nullptr ? static_cast<DWORD>(m_data->surface->w) : 0;
}

DWORD CGapiSurface::GetHeight() const {
  return m_data->surface != nullptr ? static_cast<DWORD>(m_data->surface->h) : 0;
}

DWORD CGapiSurface::GetPixel(LONG x, LONG y) const {
  SDL_Surface* s = m_data->surface;
  if (s == nullptr || x < 0 || y < 0 || x >= s->w || y >= s->h) return 0;
  return platform::PixelRow(s, y)[x] & 0x00FFFFFFu;
}
