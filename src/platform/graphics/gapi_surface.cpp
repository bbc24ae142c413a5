// CGapiSurface: creation from resources, files and sizes; colour key; sizes; pixel reads.
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
  return GD_OK;
}

}  // namespace

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
  return Adopt(m_data, platform::DecodeImage(bytes.data, bytes.size), GDERR_LOAD_FAILED);
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
  m_data->colorKey = 0;
  m_data->hasColorKey = false;
}

bool CGapiSurface::IsEmpty() const { return m_data->surface == nullptr; }

HRESULT CGapiSurface::SetColorKey(DWORD color) {
  if (m_data->surface == nullptr) return GDERR_INVALID;
  m_data->colorKey = color & 0x00FFFFFFu;
  m_data->hasColorKey = true;
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
