// The pieces of the real backend: SDL windows and presentation, the monotonic clock, GTK
// dialogs (platform-internal).
#pragma once

#include <SDL.h>

#include <map>
#include <vector>

#include "platform/pieces.h"

namespace platform {

class SdlWindowPiece : public WindowPiece {
 public:
  bool Create(HWND hwnd, const char* title, int clientWidth, int clientHeight,
              bool resizable) override;
  void Destroy(HWND hwnd) override;
  void SetVisible(HWND hwnd, bool visible) override;
  void Minimize(HWND hwnd) override;
  void Restore(HWND hwnd) override;
  void Focus(HWND hwnd) override;
  void SetIcon(HWND hwnd, int resourceId) override;
  RECT ClientOnScreen(HWND hwnd) override;
  RECT FrameExtents(HWND hwnd) override;
  void PlaceClient(HWND hwnd, int x, int y, int width, int height) override;
  void Pump(std::vector<InputEvent>& out) override;
  bool WaitForEvents(uint32_t ms) override;
  void Wake() override;
  POINT CursorOnScreen() override;
  void Capture(bool on) override;
  void ShowCursor(bool show) override;

  SDL_Window* Native(HWND hwnd) const;
  void Shutdown();

 private:
  static int Watch(void* self, SDL_Event* event);
  void Take(const SDL_Event& event);
  HWND FromId(Uint32 windowId) const;
  bool EnsureVideo();

  std::map<HWND, SDL_Window*> m_windows;
  std::vector<HWND> m_coverScreen;  // full-screen windows: kept over the whole screen
  std::vector<InputEvent> m_pending;
  bool m_videoUp = false;
  bool m_exposed = false;
};

class SdlPresentPiece : public PresentPiece {
 public:
  bool Open(HWND hwnd, int logicalWidth, int logicalHeight) override;
  void Close() override;
  void Present(const void* pixels, int width, int height, int pitchBytes) override;
  void Refresh() override;

 private:
  void Draw();
  // True when the picture is the one on screen now; otherwise it becomes that one.
  bool SameAsShown(const void* pixels, int width, int height, int pitchBytes);

  SDL_Renderer* m_renderer = nullptr;
  SDL_Texture* m_texture = nullptr;  // logical size: the back buffer
  SDL_Texture* m_other = nullptr;    // any other size: media frames
  int m_otherWidth = 0;
  int m_otherHeight = 0;
  SDL_Texture* m_last = nullptr;
  int m_logicalWidth = 0;
  int m_logicalHeight = 0;
  std::vector<uint8_t> m_shown;  // rows of the picture on screen, packed
  int m_shownWidth = 0;
  int m_shownHeight = 0;
};

class MonotonicClockPiece : public ClockPiece {
 public:
  uint64_t NowMicros() override;
  void SleepUntilMicros(uint64_t when) override;
};

class GtkDialogPiece : public DialogPiece {
 public:
  int MessageBox(HWND owner, const std::string& text, const std::string& caption, UINT type,
                 const BoxLabels& labels = {}) override;
  void Beep(UINT type) override;
  std::optional<std::string> ChooseFile(const FileDialogRequest& request) override;
  std::optional<GpsEntryAnswer> AskGpsPosition(HWND owner,
                                               const GpsEntryRequest& request) override;
};

SdlWindowPiece& SdlWindows();

// GTK is started with the first window, so the locale it sets is in place from the start
// (and numbers put back to "C" at once). False when there is no display for it.
bool EnsureGtk();

}  // namespace platform
