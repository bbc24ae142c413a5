// The display: a logical-size back buffer in a window, presented scaled with its aspect kept.
#include <SDL.h>

#include "platform/backend_select.h"
#include "platform/graphics/detail/display_state.h"
#include "platform/graphics/gapi.h"
#include "platform/pieces.h"
#include "platform/graphics/detail/presentation.h"
#include "platform/graphics/detail/surface_data.h"
#include "platform/media/detail/video_windows.h"
#include "platform/windowing/detail/window_object.h"

namespace platform {
namespace {

// The library drives one display per process.
CGapiDisplay* g_open = nullptr;
CGapiSurface* g_backBuffer = nullptr;
HWND g_window = nullptr;
int g_logicalWidth = 0;
int g_logicalHeight = 0;
int g_flips = 0;

// Largest logical size accepted; far beyond any screen, small enough that a surface of it
// can be allocated.
constexpr DWORD kMaxLogicalSide = 8192;

void PresentSurface(SDL_Surface* s) {
  if (s == nullptr || s->format->BytesPerPixel != 4) return;
  bool locked = SDL_MUSTLOCK(s) && SDL_LockSurface(s) == 0;
  Active().present->Present(s->pixels, s->w, s->h, s->pitch);
  if (locked) SDL_UnlockSurface(s);
}

}  // namespace

CGapiSurface* OpenBackBuffer() { return g_open ? g_backBuffer : nullptr; }

int FlipCount() { return g_flips; }

bool LogicalFromClient(POINT client, POINT* logical) {
  if (g_open == nullptr || !IsLiveWindow(g_window)) return false;
  int w = 0;
  int h = 0;
  ClientSize(g_window, &w, &h);
  *logical = ClientToLogical(client, w, h, g_logicalWidth, g_logicalHeight);
  return true;
}

void ForgetOpenDisplay() {
  g_open = nullptr;
  g_backBuffer = nullptr;
  g_window = nullptr;
  g_flips = 0;
}

void PresentVideoFrame() {
  if (g_open == nullptr) return;
  PresentSurface(PumpVideoWindows());
}

}  // namespace platform

using namespace platform;

CGapiDisplay::CGapiDisplay() = default;

CGapiDisplay::~CGapiDisplay() {
  CloseDisplay();
  delete m_font;
}

HRESULT CGapiDisplay::OpenDisplay(DWORD, HWND hwnd, DWORD width, DWORD height, DWORD, DWORD,
                                  DWORD, DWORD) {
  if (m_open) CloseDisplay();
  if (g_open != nullptr || !IsLiveWindow(hwnd) || !hwnd->native || width == 0 || height == 0 ||
      width > kMaxLogicalSide || height > kMaxLogicalSide) {
    return GDERR_INVALID;
  }
  // The window was created without a size; the display gives it the logical one.
  SetClientAreaSize(hwnd, static_cast<int>(width), static_cast<int>(height));
  if (!Active().present->Open(hwnd, static_cast<int>(width), static_cast<int>(height))) {
    return GDERR_INVALID;
  }
  m_hwnd = hwnd;
  m_width = width;
  m_height = height;
  m_open = true;
  m_suspended = false;
  g_open = this;
  g_window = hwnd;
  g_logicalWidth = static_cast<int>(width);
  g_logicalHeight = static_cast<int>(height);
  return GD_OK;
}

HRESULT CGapiDisplay::SetDisplayMode(DWORD) { return GD_OK; }

HRESULT CGapiDisplay::GetHWStatus(DWORD* status) {
  if (status == nullptr) return GDERR_INVALID;
  *status = 0;  // no hardware frame pacing: the frame timer paces
  return GD_OK;
}

HRESULT CGapiDisplay::GetBackBuffer(CGapiSurface* surface) {
  if (!m_open || surface == nullptr) return GDERR_INVALID;
  if (surface->CreateSurface(GDSURFACE_SYSTEMMEMORY, m_width, m_height) != GD_OK ||
      surface->Data() == nullptr) {
    return GDERR_OUT_OF_MEMORY;
  }
  surface->Data()->recordDraws = ActiveBackend() == BackendKind::Headless;
  m_backBuffer = surface;
  if (g_open == this) g_backBuffer = surface;
  return GD_OK;
}

HRESULT CGapiDisplay::Flip() {
  if (!m_open || m_backBuffer == nullptr || m_backBuffer->Data() == nullptr) return GDERR_INVALID;
  if (m_suspended) return GD_OK;
  // The back buffer keeps its content: drawing goes on from what was shown.
  PresentSurface(m_backBuffer->Data()->surface);
  ++g_flips;
  return GD_OK;
}

HRESULT CGapiDisplay::SuspendDisplay() {
  m_suspended = true;
  return GD_OK;
}

HRESULT CGapiDisplay::ResumeDisplay() {
  m_suspended = false;
  if (m_open) Active().present->Refresh();
  return GD_OK;
}

HRESULT CGapiDisplay::CloseDisplay() {
  if (!m_open) return GD_OK;
  Active().present->Close();
  m_open = false;
  m_backBuffer = nullptr;
  if (g_open == this) {
    g_open = nullptr;
    g_backBuffer = nullptr;
    g_window = nullptr;
  }
  return GD_OK;
}

// Surfaces live in system memory here and are never lost.
HRESULT CGapiDisplay::SurfacesAreLost() { return GD_OK; }

HRESULT CGapiDisplay::RestoreAllVideoSurfaces() { return GD_OK; }

HRESULT CGapiDisplay::DeviceToLogical(POINT* pt) {
  if (pt == nullptr || !m_open) return GDERR_INVALID;
  int w = 0;
  int h = 0;
  ClientSize(m_hwnd, &w, &h);
  *pt = ClientToLogical(*pt, w, h, static_cast<int>(m_width), static_cast<int>(m_height));
  return GD_OK;
}

CGapiBitmapFont* CGapiDisplay::GetSystemFontBorder() {
  if (m_font == nullptr) m_font = new CGapiBitmapFont();
  return m_font;
}
