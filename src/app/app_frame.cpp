// Construction, the virtual defaults, the error text and the life cycle of the frame.
#include "app/app_frame.h"

#include <cstdio>
#include <cstring>

#include "platform/text/tr.h"
#include "platform/windowing/win_api.h"

CAppFrame* g_app = nullptr;
uint32_t g_frameFlags = 0;

namespace {

// One per process: the frame object arrives as the creation parameter of its window.
LRESULT FrameWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_CREATE) g_app = static_cast<CAppFrame*>(reinterpret_cast<void*>(lParam));
  if (g_app != nullptr) return g_app->WindowProc(hwnd, msg, wParam, lParam);
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

}  // namespace

CAppFrame::CAppFrame(const AppConfig& config)
    : m_hWnd(nullptr),
      m_active(1),
      m_modeChangePending(0),
      m_skipFrames(0),
      m_quit(0),
      m_suspendRequested(0),
      m_wasIdle(0),
      m_errorText{},
      m_className{},
      m_drawing(1),
      m_config(config) {
  if (m_config.m_title != nullptr)
    std::snprintf(m_className, sizeof m_className, "%s WndCls", m_config.m_title);
}

// The window procedure must not reach a frame that is gone.
CAppFrame::~CAppFrame() {
  if (g_app == this) g_app = nullptr;
}

HRESULT CAppFrame::Quit() {
  m_quit = 1;
  return 0;
}

HRESULT CAppFrame::RequestSuspend() {
  m_suspendRequested = 1;
  return 0;
}

HRESULT CAppFrame::SkipFrames(uint32_t count) {
  if (count == 0) return E_FAIL;
  m_skipFrames = count;
  return 0;
}

HRESULT CAppFrame::ChangeDisplayMode(uint32_t mode) {
  m_config.m_displayMode = mode;
  m_modeChangePending = 1;
  return 0;
}

HRESULT CAppFrame::SetError(const char* text, uint32_t code) {
  if (text == nullptr) {
    std::snprintf(m_errorText, sizeof m_errorText, "%s", _("Invalid error code description."));
    return E_FAIL;
  }
  if (code == static_cast<uint32_t>(GDERR_MISSING_DRIVER)) {
    // The driver message replaces whatever the caller said: it is the only useful advice.
    std::snprintf(m_errorText, sizeof m_errorText, "%s",
                  _("Missing or incorrect file: \"gx.dll\". Please copy this file to the "
                    "\\windows folder on this device."));
    return 0;
  }
  if (code != 0)
    std::snprintf(m_errorText, sizeof m_errorText, _("%s\nError code=0x%x."), text, code);
  else
    std::snprintf(m_errorText, sizeof m_errorText, "%s", text);
  return 0;
}

HRESULT CAppFrame::OnInit() { return 0; }
HRESULT CAppFrame::OnExit() { return 0; }
HRESULT CAppFrame::OnSuspend() { return 0; }
HRESULT CAppFrame::OnResume() { return 0; }
HRESULT CAppFrame::CreateSurfaces(CGapiDisplay*, HINSTANCE) { return 0; }
HRESULT CAppFrame::RestoreSurfaces(CGapiDisplay*, HINSTANCE) { return 0; }
HRESULT CAppFrame::ProcessNextFrame(CGapiSurface*, uint32_t) { return 0; }
HRESULT CAppFrame::KeyDown(UINT, GDKEYLIST*) { return 0; }
HRESULT CAppFrame::KeyUp(UINT, GDKEYLIST*) { return 0; }
HRESULT CAppFrame::StylusDown(LONG, LONG) { return 0; }
HRESULT CAppFrame::StylusUp(LONG, LONG) { return 0; }
HRESULT CAppFrame::StylusDoubleClick(LONG, LONG) { return 0; }
HRESULT CAppFrame::StylusMove(LONG, LONG) { return 0; }

void CAppFrame::ToggleDrawing() { m_drawing = !m_drawing; }

bool CAppFrame::OnClose(bool) { return true; }

bool CAppFrame::IsFullScreen() const { return (m_config.m_displayFlags & 2) != 0; }

HRESULT CAppFrame::Run() {
  if (m_config.m_instance == nullptr || m_config.m_title == nullptr || m_config.m_frameRate == 0) {
    SetError(_("Invalid configuration."), 0);
    return E_FAIL;
  }
  HRESULT hr = CreateMainWindow();
  if (hr < 0) return hr;  // no window, so no box either
  hr = OpenDisplay();
  if (hr < 0) {
    CloseWindow();
    return hr;
  }
  SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_ABOVE_NORMAL);
  Sleep(100);

  // A handler may also end the start through Quit.
  m_quit = 0;
  if (OnInit() < 0) m_quit = 1;
  if (!m_quit && CreateSurfaces(&m_display, m_config.m_instance) < 0) m_quit = 1;
  if (!m_quit && RestoreSurfaces(&m_display, m_config.m_instance) < 0) m_quit = 1;

  m_timer.StartTimer(m_config.m_frameRate);

  // One message or one frame step per pass: frames run only on an empty queue.
  while (!m_quit) {
    MSG msg;
    if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) break;
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    } else if (FrameStep() < 0) {
      m_quit = 1;
    }
  }

  OnExit();
  CloseDisplay();
  CloseWindow();
  return 0;
}

HRESULT CAppFrame::CreateMainWindow() {
  WNDCLASSA wc{};
  wc.style = CS_HREDRAW | CS_VREDRAW | (m_config.m_doubleClicks ? CS_DBLCLKS : 0);
  wc.lpfnWndProc = FrameWindowProc;
  wc.cbClsExtra = 0;
  wc.cbWndExtra = 0;
  wc.hInstance = m_config.m_instance;
  wc.hIcon = m_config.m_iconId != 0
                 ? LoadIconA(m_config.m_instance, MAKEINTRESOURCEA(m_config.m_iconId))
                 : LoadIconA(nullptr, MAKEINTRESOURCEA(IDI_WINLOGO));
  wc.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(IDC_ARROW));
  wc.hbrBackground = nullptr;
  wc.lpszMenuName = nullptr;
  wc.lpszClassName = m_className;
  if (RegisterClassA(&wc) == 0) {
    SetError(_("Could not register main window class."), 0);
    return E_FAIL;
  }

  DWORD style;
  DWORD exStyle;
  if (IsFullScreen()) {
    style = WS_POPUP | WS_VISIBLE;
    exStyle = WS_EX_TOPMOST;
  } else {
    style = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX |
            (m_config.m_windowStyle != 0 ? m_config.m_windowStyle : WS_THICKFRAME);
    exStyle = 0;
  }
  m_hWnd =
      CreateWindowExA(exStyle, m_className, m_config.m_title, style, CW_USEDEFAULT, CW_USEDEFAULT,
                      CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, m_config.m_instance, this);
  if (m_hWnd == nullptr) {
    SetError(_("Could not create main window."), 0);
    return E_FAIL;
  }
  if (!IsFullScreen()) {
    // Opening the display gives the window its client size.
    RECT rc{};
    GetWindowRect(m_hWnd, &rc);
    MoveWindow(m_hWnd, rc.left, rc.top, 0, 0, TRUE);
  }
  SetFocus(m_hWnd);
  ShowWindow(m_hWnd, SW_SHOW);
  UpdateWindow(m_hWnd);
  return 0;
}

HRESULT CAppFrame::OpenDisplay() {
  HRESULT hr;
  if (m_config.m_displayMode != 0) {
    hr = m_display.SetDisplayMode(m_config.m_displayMode);
    if (hr < 0) {
      SetError(_("Could not change display mode."), static_cast<uint32_t>(hr));
      return hr;
    }
  }
  hr = m_display.OpenDisplay(m_config.m_displayFlags, m_hWnd, m_config.m_width, m_config.m_height,
                             m_config.m_displayOption1, m_config.m_displayOption2,
                             m_config.m_displayOption3, m_config.m_displayOption4);
  if (hr < 0) {
    SetError(_("Could not open display."), static_cast<uint32_t>(hr));
    return hr;
  }
  hr = m_display.GetBackBuffer(&m_backBuffer);
  if (hr < 0) {
    SetError(_("Could not retrieve backbuffer."), static_cast<uint32_t>(hr));
    return hr;
  }
  if (m_config.m_hardwarePacing) {
    DWORD status = 0;
    m_display.GetHWStatus(&status);
    if ((status & 0x10) == 0) m_config.m_hardwarePacing = 0;
  }
  return 0;
}

HRESULT CAppFrame::CloseDisplay() {
  m_display.CloseDisplay();
  return 0;
}

HRESULT CAppFrame::CloseWindow() {
  // The box comes before the window goes, so it still has its owner.
  if (m_errorText[0] != '\0')
    MessageBoxA(m_hWnd, m_errorText, _("Error"), MB_ICONERROR | MB_SETFOREGROUND);
  if (m_hWnd != nullptr) {
    DestroyWindow(m_hWnd);
    m_hWnd = nullptr;
  }
  return 0;
}
