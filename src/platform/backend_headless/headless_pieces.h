// The headless pieces: windows that exist only as records, a clock the test moves, scripted
// dialogs and a presentation that only counts (platform-internal; headless.h is the tests'
// view of them).
#pragma once

#include <deque>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/backend_headless/headless.h"
#include "platform/pieces.h"

namespace platform {

class HeadlessWindowPiece : public WindowPiece {
 public:
  struct Geometry {
    RECT client{};
    bool visible = false;
    bool everShown = false;
    bool minimized = false;
  };

  bool Create(HWND hwnd, const char* title, int clientWidth, int clientHeight,
              bool resizable) override;
  void Destroy(HWND hwnd) override;
  void SetVisible(HWND hwnd, bool visible) override;
  void Minimize(HWND hwnd) override;
  void Restore(HWND hwnd) override;
  void Focus(HWND) override {}
  void SetIcon(HWND hwnd, int resourceId) override;
  RECT ClientOnScreen(HWND hwnd) override;
  RECT FrameExtents(HWND hwnd) override;
  void PlaceClient(HWND hwnd, int x, int y, int width, int height) override;
  void Pump(std::vector<InputEvent>& out) override;
  bool WaitForEvents(uint32_t ms) override;
  POINT CursorOnScreen() override { return m_cursor; }
  void Capture(bool on) override { m_capture = on; }
  void ShowCursor(bool show) override { m_cursorShown = show; }

  // Input as the window system would report it, for the window that takes input.
  void Inject(InputEvent event);
  void MoveCursorTo(int clientX, int clientY);
  void Reset();

  int IconOf(HWND hwnd) const;
  bool Visible(HWND hwnd) const;

 private:
  void Queue(InputEvent event);  // stamped with the clock, as the window system would

  std::map<HWND, Geometry> m_windows;
  std::map<HWND, int> m_icons;
  std::vector<InputEvent> m_pending;
  POINT m_cursor{0, 0};
  bool m_capture = false;
  bool m_cursorShown = true;
  int m_created = 0;
};

class HeadlessClockPiece : public ClockPiece {
 public:
  uint64_t NowMicros() override { return m_now; }
  void SleepUntilMicros(uint64_t when) override {
    if (when > m_now) m_now = when;
  }
  void Set(uint64_t micros) { m_now = micros; }

 private:
  uint64_t m_now = 0;
};

class HeadlessPresentPiece : public PresentPiece {
 public:
  bool Open(HWND, int, int) override {
    m_open = true;
    return true;
  }
  void Close() override { m_open = false; }
  void Present(const void*, int, int, int) override { ++m_presents; }
  void Refresh() override {}
  int Presents() const { return m_presents; }
  void Reset() { *this = HeadlessPresentPiece(); }

 private:
  bool m_open = false;
  int m_presents = 0;
};

class HeadlessDialogPiece : public DialogPiece {
 public:
  int MessageBox(HWND owner, const std::string& text, const std::string& caption, UINT type,
                 const BoxLabels& labels = {}) override;
  void Beep(UINT) override { ++m_beeps; }
  std::optional<std::string> ChooseFile(const FileDialogRequest& request) override;
  std::optional<GpsEntryAnswer> AskGpsPosition(HWND owner, const GpsEntryRequest& request) override;

  void Reset() { *this = HeadlessDialogPiece(); }

  std::deque<int> boxAnswers;
  std::vector<headless::MessageBoxRecord> boxes;
  std::deque<std::optional<std::string>> fileAnswers;
  std::vector<headless::FileDialogRecord> fileDialogs;
  std::deque<headless::GpsEntryScript> gpsEntryAnswers;
  std::vector<GpsEntryRequest> gpsEntries;
  int Beeps() const { return m_beeps; }

 private:
  int m_beeps = 0;
};

HeadlessWindowPiece& HeadlessWindows();
HeadlessClockPiece& HeadlessClock();
HeadlessPresentPiece& HeadlessPresent();
HeadlessDialogPiece& HeadlessDialogs();

}  // namespace platform
