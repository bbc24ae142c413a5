// Playing the chosen content's video in a media window over the main window. While it
// plays, the frame neither draws nor flips, so nothing paints over the video.
#include "app/portrait_app.h"
#include "map/portrait.h"
#include "platform/video_window.h"
#include "platform/win_api.h"

namespace {
constexpr DWORD kVideoWindowStyle = WS_CHILD | WS_VISIBLE | MCIWNDF_NOPLAYBAR;  // 0x50000002
constexpr UINT kVideoPollMs = 500;
}  // namespace

void CPortraitApp::InitVideo(HINSTANCE, HWND) {}

void CPortraitApp::ToggleVideo() {
  if (!m_model) return;
  if (m_model->IsVideoPlaying()) {
    ReleaseCapture();
    SendMessageA(m_videoWindow, MCI_CLOSE, 0, 0);
  } else {
    m_videoWindow = MCIWndCreateA(m_hWnd, m_instance, kVideoWindowStyle, m_model->m_videoFile);
    RECT outer{};
    GetWindowRect(m_hWnd, &outer);
    SetWindowPos(m_videoWindow, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                 0);
    SendMessageA(m_videoWindow, MCI_PLAY, 0, 0);
    SetTimer(m_hWnd, VIDEO_TIMER_ID, kVideoPollMs, nullptr);
    // Every tap must reach the main window, even over the video.
    SetCapture(m_hWnd);
  }
  m_model->ToggleVideoPlaying();
  ToggleDrawing();
}

void CPortraitApp::PollVideo() {
  if (!m_model || !m_model->IsVideoPlaying()) return;
  LRESULT end = SendMessageA(m_videoWindow, MCIWNDM_GETEND, 0, 0);
  LRESULT position = SendMessageA(m_videoWindow, MCIWNDM_GETPOSITIONA, 0, 0);
  if (end == position) {
    ToggleVideo();
    KillTimer(m_hWnd, VIDEO_TIMER_ID);
  }
}
