// The frame step and the translation of window messages into the frame's handlers.
#include <cstring>

#include "app/app_frame.h"
#include "platform/text/tr.h"
#include "platform/windowing/win_api.h"

HRESULT CAppFrame::FrameStep() {
  HRESULT hr;
  if (m_modeChangePending) {
    hr = m_display.SetDisplayMode(m_config.m_displayMode);
    if (hr < 0) {
      SetError(_("Could not change display mode."), static_cast<uint32_t>(hr));
      return hr;
    }
    hr = m_display.GetBackBuffer(&m_backBuffer);
    if (hr < 0) {
      SetError(_("Could not retrieve backbuffer."), static_cast<uint32_t>(hr));
      return hr;
    }
    hr = CreateSurfaces(&m_display, m_config.m_instance);
    if (hr < 0) return hr;
    hr = RestoreSurfaces(&m_display, m_config.m_instance);
    if (hr < 0) return hr;
    // The pointer did not move, but what lies under it may have.
    POINT pt{};
    GetCursorPos(&pt);
    if (ScreenToClient(m_hWnd, &pt)) {
      m_display.DeviceToLogical(&pt);
      StylusMove(pt.x, pt.y);
    }
    m_timer.StartTimer(m_config.m_frameRate);
    m_modeChangePending = 0;
  }

  if (m_suspendRequested) {
    PostMessageA(m_hWnd, WM_APP_SUSPEND, 0, 0);
    m_suspendRequested = 0;
  }

  // The first frame after idling is told so; the flag describes what happened before it.
  if (m_wasIdle && m_active) {
    g_frameFlags |= kFrameResumed;
    m_wasIdle = 0;
  }

  if (m_active || m_config.m_runWhenInactive) {
    if (m_skipFrames > 0) {
      --m_skipFrames;
    } else if (m_drawing) {
      hr = ProcessNextFrame(&m_backBuffer, g_frameFlags);
      if (hr < 0) return hr;
    }
  }

  if (m_active && m_drawing) {
    m_display.Flip();
    FramePresented();
  }

  g_frameFlags &= ~kFrameTimerStatus;

  if ((m_active && !m_config.m_hardwarePacing) || (!m_active && m_config.m_runWhenInactive)) {
    // A fix that ends the wait is taken by the loop, and the next step draws it. Once per
    // frame period: fixes that come faster than frames wait for the frame that is due.
    const bool early = m_drawOnFix && m_active && !m_frameWasEarly;
    const HRESULT waited = early ? m_timer.WaitForNextFrameOrFix() : m_timer.WaitForNextFrame();
    m_frameWasEarly = waited == GD_FRAME_FIX;
    if (waited == GD_FRAME_LATE) g_frameFlags |= kFrameTimerStatus;
  }

  g_frameFlags &= ~kFrameResumed;
  if (!m_active && !m_config.m_runWhenInactive) {
    // Suspended: sleep until input arrives instead of spinning.
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 250, 255);
    m_wasIdle = 1;
  } else if (m_wasIdle) {
    g_frameFlags |= kFrameResumed;
    m_wasIdle = 0;
  }

  g_frameFlags &= ~kFrameSurfacesRestored;
  if (!m_active) return 0;

  if (m_display.SurfacesAreLost() == GDERR_SURFACES_LOST) {
    m_display.RestoreAllVideoSurfaces();
    hr = RestoreSurfaces(&m_display, m_config.m_instance);
    if (hr < 0) return hr;
    g_frameFlags |= kFrameSurfacesRestored;
  }
  return 0;
}

void CAppFrame::Suspend() {
  OnSuspend();
  m_active = 0;
  ShowWindow(m_hWnd, SW_MINIMIZE);
  m_input.CloseInput();
  m_display.SuspendDisplay();
}

void CAppFrame::Resume() {
  m_input.OpenInput();
  m_display.ResumeDisplay();
  m_active = 1;
  OnResume();
  m_timer.StartTimer(m_config.m_frameRate);
}

POINT CAppFrame::ToLogical(LPARAM lParam) {
  POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  m_display.DeviceToLogical(&pt);
  return pt;
}

LRESULT CAppFrame::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_CREATE:
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    case WM_ENDSESSION:
      if (wParam) {
        OnClose(false);
        m_quit = 1;
      }
      return 0;
    case WM_SIZE:
      if (wParam == SIZE_MINIMIZED || wParam == SIZE_MAXHIDE)
        PostMessageA(m_hWnd, WM_APP_SUSPEND, 0, 0);
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE) {
        if (m_config.m_suspendOnDeactivate) RequestSuspend();
      } else if (!m_active) {
        Resume();
      }
      return 0;
    case WM_SETCURSOR:
      if (IsFullScreen() ||
          (m_config.m_hideCursor && LOWORD(static_cast<uintptr_t>(lParam)) == HTCLIENT)) {
        SetCursor(nullptr);
        return 1;
      }
      break;
    case WM_NCHITTEST:
      // Full screen: nothing to drag or size.
      if (IsFullScreen()) return HTCLIENT;
      break;
    case WM_KEYDOWN: {
      if (lParam & 0x40000000) return 0;  // auto-repeat of a key already down
      GDKEYLIST keys;
      std::memset(&keys, 0, sizeof keys);
      m_input.GetKeyList(&keys);
      KeyDown(static_cast<UINT>(wParam), &keys);
      return 0;
    }
    case WM_KEYUP: {
      GDKEYLIST keys;
      std::memset(&keys, 0, sizeof keys);
      m_input.GetKeyList(&keys);
      KeyUp(static_cast<UINT>(wParam), &keys);
      return 0;
    }
    case WM_SYSCOMMAND: {
      const WPARAM command = wParam & ~static_cast<WPARAM>(0xF);
      if (command == SC_CLOSE) {
        if (OnClose(true)) m_quit = 1;  // Run closes the window after the loop
        return 0;
      }
      if ((command == SC_SIZE || command == SC_MOVE || command == SC_MAXIMIZE ||
           command == SC_KEYMENU || command == SC_MONITORPOWER) &&
          IsFullScreen())
        return 1;
      break;
    }
    case WM_MOUSEMOVE:
      if (m_active) {
        const POINT pt = ToLogical(lParam);
        StylusMove(pt.x, pt.y);
        return 0;
      }
      break;
    case WM_LBUTTONDOWN: {
      const POINT pt = ToLogical(lParam);
      StylusDown(pt.x, pt.y);
      return 0;
    }
    case WM_LBUTTONUP: {
      const POINT pt = ToLogical(lParam);
      StylusUp(pt.x, pt.y);
      return 0;
    }
    case WM_LBUTTONDBLCLK: {
      const POINT pt = ToLogical(lParam);
      StylusDoubleClick(pt.x, pt.y);
      return 0;
    }
    case WM_APP_SUSPEND:
      if (m_active) Suspend();
      return 0;
    default:
      break;
  }
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}
