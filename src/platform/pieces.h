// The replaceable pieces behind the platform calls: window system, presentation, clock and
// dialogs. Each has a real implementation (SDL, GTK) and a headless one; the Win32-style
// calls and the display reach the host only through these interfaces.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/windowing/gps_entry.h"
#include "platform/windowing/win_types.h"

namespace platform {

// What a window system reports, already in the terms of the message layer. Both backends
// feed these to the same translator, so injected input becomes exactly the messages that
// real input does.
struct InputEvent {
  enum class Kind {
    KeyDown,    // vk, repeat
    KeyUp,      // vk
    MouseDown,  // left button; x, y in client coordinates
    MouseUp,
    MouseMove,
    Activate,
    Deactivate,
    Minimize,
    Restore,
    Resize,     // x, y: the new client size
    Close,      // close button
    Terminate,  // the process was asked to end (SIGTERM); never discarded
    Wheel,      // x, y: the pointer; wheel: notches, away from the user positive
  };
  Kind kind = Kind::MouseMove;
  HWND hwnd = nullptr;
  UINT vk = 0;
  bool repeat = false;
  int x = 0;
  int y = 0;
  int wheel = 0;
  uint32_t time = 0;  // platform clock (timeGetTime) when it happened
};

class WindowPiece {
 public:
  virtual ~WindowPiece() = default;
  // A top-level window with the given client size, not yet shown.
  virtual bool Create(HWND hwnd, const char* title, int clientWidth, int clientHeight,
                      bool resizable) = 0;
  virtual void Destroy(HWND hwnd) = 0;
  virtual void SetVisible(HWND hwnd, bool visible) = 0;
  virtual void Minimize(HWND hwnd) = 0;
  virtual void Restore(HWND hwnd) = 0;
  virtual void Focus(HWND hwnd) = 0;
  virtual void SetIcon(HWND hwnd, int resourceId) = 0;
  // Geometry: the client area's screen position and size, and the frame around it.
  virtual RECT ClientOnScreen(HWND hwnd) = 0;
  virtual RECT FrameExtents(HWND hwnd) = 0;  // thickness of each side, 0 when unknown
  virtual void PlaceClient(HWND hwnd, int x, int y, int width, int height) = 0;
  // Moves the events that arrived since the last call into `out`.
  virtual void Pump(std::vector<InputEvent>& out) = 0;
  // Waits up to `ms` for anything from the window system; true when something arrived.
  virtual bool WaitForEvents(uint32_t ms) = 0;
  // Any thread: ends a WaitForEvents in progress, so the main thread looks at what another
  // thread (a position reader) handed over.
  virtual void Wake() {}
  virtual POINT CursorOnScreen() = 0;
  virtual void Capture(bool on) = 0;
  virtual void ShowCursor(bool show) = 0;
};

class PresentPiece {
 public:
  virtual ~PresentPiece() = default;
  // Presentation of a logical-size picture in the window, scaled with its aspect kept.
  virtual bool Open(HWND hwnd, int logicalWidth, int logicalHeight) = 0;
  virtual void Close() = 0;
  // 32-bit pixels 0x??RRGGBB of the logical size (or any size: scaled to the logical area).
  virtual void Present(const void* pixels, int width, int height, int pitchBytes) = 0;
  // Shows the last picture again (the window was uncovered).
  virtual void Refresh() = 0;
};

class ClockPiece {
 public:
  virtual ~ClockPiece() = default;
  virtual uint64_t NowMicros() = 0;
  virtual void SleepUntilMicros(uint64_t when) = 0;
};

struct FileDialogRequest {
  std::string title;
  std::vector<std::pair<std::string, std::string>> filters;  // label, patterns ("*.a;*.b")
  DWORD filterIndex = 1;                                     // 1-based, as given
  std::string initialDir;
  std::string defaultExt;
  DWORD flags = 0;
};

// Names that replace a box's Yes, No and Cancel labels; an empty one keeps the usual label.
struct BoxLabels {
  std::string yes;
  std::string no;
  std::string cancel;
};

class DialogPiece {
 public:
  virtual ~DialogPiece() = default;
  // Blocks until answered; returns IDOK, IDCANCEL, IDYES or IDNO.
  virtual int MessageBox(HWND owner, const std::string& text, const std::string& caption, UINT type,
                         const BoxLabels& labels = {}) = 0;
  virtual void Beep(UINT type) = 0;
  // The chosen path, or nothing when cancelled.
  virtual std::optional<std::string> ChooseFile(const FileDialogRequest& request) = 0;
  // The texts of the two fields on OK, or nothing when cancelled or closed.
  virtual std::optional<GpsEntryAnswer> AskGpsPosition(HWND owner,
                                                       const GpsEntryRequest& request) = 0;
  // The modal template dialog (DialogBoxParamA) is run by modal_dialog.cpp on each backend.
};

struct Pieces {
  WindowPiece* window = nullptr;
  PresentPiece* present = nullptr;
  ClockPiece* clock = nullptr;
  DialogPiece* dialogs = nullptr;
  void (*shutdown)() = nullptr;  // releases what the pieces opened (SDL, GTK)
};

// The pieces of the active backend (chosen from the environment if nobody chose yet).
Pieces& Active();

// Real pieces (real_*.cpp) and headless pieces (headless_*.cpp).
Pieces RealPieces();
Pieces HeadlessPieces();

}  // namespace platform
