// The application frame: start-up configuration, main window, display, frame loop and the
// virtual handlers that window messages are turned into. The frame knows nothing of maps,
// projects or users; the application object derives from it.
#pragma once

#include <cstdint>

#include "platform/graphics/gapi.h"
#include "platform/windowing/win_types.h"

// Start-up configuration, filled by the entry point (zero first, then its values).
struct AppConfig {
  HINSTANCE m_instance;           // owner of the window class and the icon resource
  const char* m_title;            // window title and stem of the class name
  uint32_t m_frameRate;           // frames per second of the frame timer
  uint32_t m_displayFlags;        // display-open flags; bit value 2 is full-screen presentation
  uint32_t m_displayMode;         // non-zero: SetDisplayMode before the display opens
  int32_t m_hardwarePacing;       // bool: an active frame is paced by the hardware, not the timer
  int32_t m_doubleClicks;         // bool: the window class asks for double clicks
  int32_t m_runWhenInactive;      // bool: frames are processed and timed while suspended
  int32_t m_suspendOnDeactivate;  // bool: losing activation suspends the frame
  uint32_t m_width;               // logical display size
  uint32_t m_height;
  uint32_t m_displayOption1;  // further display-open arguments
  uint32_t m_displayOption2;
  uint32_t m_displayOption3;
  uint32_t m_displayOption4;
  uint32_t m_iconId;       // icon resource (low 16 bits); 0 selects the system's logo icon
  uint32_t m_windowStyle;  // extra windowed style bits; 0 selects a sizing border
  int32_t m_hideCursor;    // bool: no mouse cursor over the client area
};

// Frame flags passed to every ProcessNextFrame: what happened since the previous frame.
constexpr uint32_t kFrameTimerStatus = 1;       // the last wait found the frame already due
constexpr uint32_t kFrameResumed = 2;           // the frame was suspended before this one
constexpr uint32_t kFrameSurfacesRestored = 4;  // lost surfaces were restored

class CAppFrame {
 public:
  explicit CAppFrame(const AppConfig& config);
  CAppFrame(const CAppFrame&) = delete;
  CAppFrame& operator=(const CAppFrame&) = delete;

  // Virtual slots, in this order.
  virtual HRESULT Run();  // the whole life cycle; returns the exit code
  virtual HRESULT Quit();
  virtual HRESULT RequestSuspend();
  virtual HRESULT SkipFrames(uint32_t count);
  virtual HRESULT ChangeDisplayMode(uint32_t mode);
  virtual HRESULT SetError(const char* text, uint32_t code);
  virtual HRESULT OnInit();
  virtual HRESULT OnExit();
  virtual HRESULT OnSuspend();
  virtual HRESULT OnResume();
  virtual HRESULT CreateSurfaces(CGapiDisplay* display, HINSTANCE instance);
  virtual HRESULT RestoreSurfaces(CGapiDisplay* display, HINSTANCE instance);
  virtual HRESULT ProcessNextFrame(CGapiSurface* backBuffer, uint32_t frameFlags);
  virtual HRESULT KeyDown(UINT virtualKey, GDKEYLIST* keys);
  virtual HRESULT KeyUp(UINT virtualKey, GDKEYLIST* keys);
  virtual HRESULT StylusDown(LONG x, LONG y);
  virtual HRESULT StylusUp(LONG x, LONG y);
  virtual HRESULT StylusDoubleClick(LONG x, LONG y);
  virtual HRESULT StylusMove(LONG x, LONG y);
  // The mouse wheel turned by `notches` (away from the user is positive) over (x, y).
  virtual HRESULT StylusWheel(LONG x, LONG y, int notches);
  virtual LRESULT WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  virtual void ToggleDrawing();
  // Called after each frame's picture was presented (a measuring point; does nothing here).
  virtual void FramePresented() {}
  // The window is to close: the close button or Alt+F4 (mayAsk), or the process was asked
  // to end (not mayAsk, and the window closes whatever the answer). False keeps it open.
  virtual bool OnClose(bool mayAsk);
  virtual ~CAppFrame();

  // Non-virtual parts of the life cycle; negative results are failures.
  HRESULT CreateMainWindow();
  HRESULT OpenDisplay();
  HRESULT CloseDisplay();  // always 0
  HRESULT CloseWindow();   // shows the error box, if any, then destroys the window
  HRESULT FrameStep();     // one pass of the loop when no message is waiting
  bool IsFullScreen() const;

  // Fields, in this order.
  HWND m_hWnd;
  int32_t m_active;  // starts 1: the first activation of the window does nothing
  int32_t m_modeChangePending;
  uint32_t m_skipFrames;
  int32_t m_quit;
  int32_t m_suspendRequested;
  int32_t m_wasIdle;
  char m_errorText[260];
  char m_className[260];
  int32_t m_drawing;
  // A position fix ends the wait for the next frame, which is then drawn at once (set by
  // the program while its map view is idle).
  bool m_drawOnFix = false;
  bool m_frameWasEarly = false;  // the last frame was drawn for a fix, before it was due
  AppConfig m_config;
  CGapiDisplay m_display;
  CGapiSurface m_backBuffer;
  CGapiInput m_input;
  CGapiTimer m_timer;

 private:
  // Suspend and resume in their fixed order; a client point packed in lParam to logical.
  void Suspend();
  void Resume();
  POINT ToLogical(LPARAM lParam);
};

// The one frame object of the process (set when its window receives WM_CREATE), and the
// frame flags of the coming frame.
extern CAppFrame* g_app;
extern uint32_t g_frameFlags;
