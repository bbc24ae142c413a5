// Presentation through an SDL renderer: the picture is streamed into a texture and drawn at
// the logical size, which SDL scales into the window with the aspect kept (bars fill the
// rest).
#include <algorithm>
#include <cstring>

#include "platform/backend_real/real_pieces.h"

namespace platform {

bool SdlPresentPiece::Open(HWND hwnd, int logicalWidth, int logicalHeight) {
  Close();
  SDL_Window* window = SdlWindows().Native(hwnd);
  if (window == nullptr) return false;
  SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "linear");
  // Every picture is made in memory, so the renderer only copies it to the window. SDL's
  // own software renderer does that through the window system's shared-memory images; a GL
  // renderer on a machine without a graphics card (and SDL's window surface by default)
  // goes through a software rasteriser, which cost more than twice as much CPU for a
  // playing video and 35 MB more memory.
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  m_renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
  if (m_renderer == nullptr) m_renderer = SDL_CreateRenderer(window, -1, 0);
  if (m_renderer == nullptr) {
    SDL_Log("Cannot present in the window: %s", SDL_GetError());
    return false;
  }
  SDL_RenderSetLogicalSize(m_renderer, logicalWidth, logicalHeight);
  m_texture = SDL_CreateTexture(m_renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING,
                                logicalWidth, logicalHeight);
  if (m_texture == nullptr) {
    Close();
    return false;
  }
  // The alpha byte of the pictures means nothing: copy, never blend.
  SDL_SetTextureBlendMode(m_texture, SDL_BLENDMODE_NONE);
  m_logicalWidth = logicalWidth;
  m_logicalHeight = logicalHeight;
  SDL_SetRenderDrawColor(m_renderer, 0, 0, 0, 255);
  SDL_RenderClear(m_renderer);
  SDL_RenderPresent(m_renderer);
  return true;
}

void SdlPresentPiece::Close() {
  if (m_other) SDL_DestroyTexture(m_other);
  if (m_texture) SDL_DestroyTexture(m_texture);
  if (m_renderer) SDL_DestroyRenderer(m_renderer);
  *this = SdlPresentPiece();
}

void SdlPresentPiece::Present(const void* pixels, int width, int height, int pitchBytes) {
  if (m_renderer == nullptr || pixels == nullptr || width <= 0 || height <= 0) return;
  // An unchanged picture is not uploaded and drawn again: an idle map view would otherwise
  // keep the renderer busy thirty times a second for nothing. Uncovering the window redraws
  // through Refresh.
  if (SameAsShown(pixels, width, height, pitchBytes)) return;
  SDL_Texture* target = m_texture;
  if (width != m_logicalWidth || height != m_logicalHeight) {
    if (m_other == nullptr || m_otherWidth != width || m_otherHeight != height) {
      if (m_other) SDL_DestroyTexture(m_other);
      m_other = SDL_CreateTexture(m_renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING,
                                  width, height);
      if (m_other == nullptr) return;
      SDL_SetTextureBlendMode(m_other, SDL_BLENDMODE_NONE);
      m_otherWidth = width;
      m_otherHeight = height;
    }
    target = m_other;
  }
  SDL_UpdateTexture(target, nullptr, pixels, pitchBytes);
  m_last = target;
  Draw();
}

bool SdlPresentPiece::SameAsShown(const void* pixels, int width, int height, int pitchBytes) {
  const size_t row = static_cast<size_t>(width) * 4;
  const auto* src = static_cast<const uint8_t*>(pixels);
  bool same = width == m_shownWidth && height == m_shownHeight;
  for (int y = 0; same && y < height; ++y) {
    same =
        std::memcmp(m_shown.data() + row * y, src + static_cast<size_t>(pitchBytes) * y, row) == 0;
  }
  if (same) return true;
  m_shown.resize(row * height);
  for (int y = 0; y < height; ++y) {
    std::memcpy(m_shown.data() + row * y, src + static_cast<size_t>(pitchBytes) * y, row);
  }
  m_shownWidth = width;
  m_shownHeight = height;
  return false;
}

void SdlPresentPiece::Refresh() {
  if (m_renderer != nullptr && m_last != nullptr) Draw();
}

void SdlPresentPiece::Draw() {
  SDL_SetRenderDrawColor(m_renderer, 0, 0, 0, 255);
  SDL_RenderClear(m_renderer);
  if (m_last == m_texture) {
    SDL_RenderCopy(m_renderer, m_texture, nullptr, nullptr);
  } else {
    // A picture of another size (a media frame) is fitted into the logical area whole.
    double scale = std::min(static_cast<double>(m_logicalWidth) / m_otherWidth,
                            static_cast<double>(m_logicalHeight) / m_otherHeight);
    SDL_Rect dst;
    dst.w = static_cast<int>(m_otherWidth * scale);
    dst.h = static_cast<int>(m_otherHeight * scale);
    dst.x = (m_logicalWidth - dst.w) / 2;
    dst.y = (m_logicalHeight - dst.h) / 2;
    SDL_RenderCopy(m_renderer, m_last, nullptr, &dst);
  }
  SDL_RenderPresent(m_renderer);
}

}  // namespace platform
