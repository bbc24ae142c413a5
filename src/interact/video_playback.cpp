// Playing the chosen content's video in a media window over the main window. While it
// plays, the frame neither draws nor flips, so nothing paints over the video.
#include <string>

#include "app/portrait_app.h"
#include "map/file_resolve.h"
#include "map/portrait.h"
#include "platform/media/video_window.h"
#include "platform/windowing/win_api.h"

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
    // The name is looked up like every file the project names ('\' separators, letter
    // case); a name that finds no file is passed on as written and fails to play.
    std::string file = ResolveProjectFile(m_model->m_videoFile);
    if (file.empty()) file = m_model->m_videoFile;
    m_videoWindow = MCIWndCreateA(m_hWnd, m_instance, kVideoWindowStyle, file.c_str());
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
