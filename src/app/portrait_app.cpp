// The application object: project choice, per-frame dispatch and routing of input to the model.
#include "app/portrait_app.h"

#include <sys/stat.h>

#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <new>
#include <string>

#include "map/portrait.h"
#include "platform/audio/chime.h"
#include "platform/position/position_source.h"
#include "platform/text/tr.h"
#include "platform/windowing/win_api.h"

CPortraitApp::CPortraitApp(const AppConfig& config)
    : CAppFrame(config),
      m_model(nullptr),
      m_instance(nullptr),
      m_startupPending(false),
      m_mode(MODE_MAP),
      m_newUserName{},
      m_userCount(0),
      m_userListTop(0),
      m_selectedUser(0),
      m_projectFile{},
      m_videoWindow(nullptr) {}

// The model lives for the whole run; it goes with the application object so that nothing
// is left behind for leak checkers (the screen images follow as members).
CPortraitApp::~CPortraitApp() { delete m_model; }

CPortrait* CPortraitApp::NewModel(HWND hwnd, HINSTANCE instance, int width, int height) {
  return new (std::nothrow) CPortrait(hwnd, instance, width, height);
}

HRESULT CPortraitApp::OnInit() {
  m_model = nullptr;
  return 0;
}

HRESULT CPortraitApp::OnExit() {
  // The reader must not post to a window that is about to go.
  platform::ClosePositionSource();
  return 0;
}
HRESULT CPortraitApp::OnSuspend() { return 0; }
HRESULT CPortraitApp::OnResume() { return 0; }
HRESULT CPortraitApp::RestoreSurfaces(CGapiDisplay*, HINSTANCE) { return 0; }
HRESULT CPortraitApp::KeyUp(UINT, GDKEYLIST*) { return 0; }
HRESULT CPortraitApp::StylusDoubleClick(LONG, LONG) { return 0; }

bool CPortraitApp::AskForProjectFile(char* path, DWORD size) {
  // Pairs of a name and a pattern, each ended by a NUL, and one more NUL at the end.
  std::string filters;
  for (const char* part :
       std::initializer_list<const char*>{_("TXT files (*.txt)"), "*.txt", _("XML files (*.xml)"),
                                          "*.xml", _("All (*.*)"), "*.*"}) {
    filters += part;
    filters += '\0';
  }
  path[0] = '\0';
  OPENFILENAMEA ofn;
  std::memset(&ofn, 0, sizeof ofn);
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = m_hWnd;
  ofn.lpstrFilter = filters.c_str();
  // Projects are XML files: with the first filter chosen a project's folder looks empty.
  ofn.nFilterIndex = 2;
  ofn.lpstrFile = path;
  ofn.nMaxFile = size;
  ofn.lpstrInitialDir = "C:\\";
  ofn.lpstrTitle = _("Select project");
  ofn.Flags = OFN_EXPLORER | OFN_PATHMUSTEXIST;
  ofn.lpstrDefExt = "xml";  // a name typed without extension names a project
  return GetOpenFileNameA(&ofn) != FALSE;
}

void CPortraitApp::QuitWithoutProject() {
  m_exitStatus = EXIT_NO_PROJECT;
  Quit();
}

bool CPortraitApp::LockProject(const char* path) {
  // A file that is not there is not opened either, so there is nothing to guard.
  struct stat st {};
  if (stat(path, &st) != 0 || !S_ISREG(st.st_mode)) {
    m_projectLock.Release();
    return true;
  }
  // Where no lock file can be made (a read-only folder), the project cannot be saved
  // either, so a second window could not overwrite it: the program runs unlocked.
  if (m_projectLock.Acquire(path) != CProjectLock::Result::HeldElsewhere) return true;
  char text[600];
  std::snprintf(text, sizeof text,
                _("The project\n%.260s\nis already open in another Corvane window. Only one "
                  "window at a time may have a project open, so that neither writes over the "
                  "other's changes."),
                path);
  MessageBoxA(m_hWnd, text, _("Project already open"), MB_OK | MB_ICONWARNING);
  return false;
}

HRESULT CPortraitApp::CreateSurfaces(CGapiDisplay*, HINSTANCE instance) {
  // The lock is taken once the file has loaded as a project (startup_sequence.cpp), so that
  // no lock file is left beside a file that is not one.
  if (!AskForProjectFile(m_projectFile, sizeof m_projectFile)) {
    MessageBoxA(m_hWnd, _("No file chosen, quiting"), _("Info"), MB_OK);
    Quit();  // the loop never starts; the set-up below is harmless
  }

  m_instance = instance;
  m_startupPending = true;
  m_mode = MODE_MAP;
  m_userCount = 0;
  m_userListTop = 0;
  m_selectedUser = 0;
  m_newUserName[0] = '\0';
  // A missing backdrop only leaves its screen blank.
  m_nameEntryImage.CreateSurface(GDSURFACE_SYSTEMMEMORY, instance, 111, "PNG");
  m_userListImage.CreateSurface(GDSURFACE_SYSTEMMEMORY, instance, 112, "PNG");
  return 0;
}

HRESULT CPortraitApp::ProcessNextFrame(CGapiSurface* backBuffer, uint32_t) {
  CGapiBitmapFont* font = m_display.GetSystemFontBorder();
  if (m_startupPending) RunStartupSequence(backBuffer);
  if (m_model != nullptr) m_model->AgeGpsFix(timeGetTime());
  ReportPositionProblem();
  // A replayed walk starts when the map view first shows, not while a user is chosen.
  const bool mapView = m_model != nullptr && !m_startupPending && m_mode == MODE_MAP;
  if (mapView) platform::BeginPositionSource();
  m_drawOnFix = mapView && m_model->m_page == 0 && !m_model->IsVideoPlaying();
  // An arrival is announced where the map can be seen; frames are not drawn during playback,
  // so one made meanwhile waits for its end. The chime follows the playback volume.
  if (m_model != nullptr && m_mode == MODE_MAP && m_model->m_page < 1 &&
      m_model->StepGuide(timeGetTime()) && !m_muted)
    platform::PlayChime(m_volume);
  if (m_mode >= MODE_NEW_USER)
    DrawUserScreen(backBuffer);
  else if (m_model != nullptr)
    m_model->Render(backBuffer, font);
  return 0;
}

void CPortraitApp::ReportPositionProblem() {
  // Each new problem once, on standard error too: the status line is small and brief.
  const std::string problem = platform::PositionProblem();
  if (problem == m_positionProblem) return;
  m_positionProblem = problem;
  if (!problem.empty()) std::fprintf(stderr, "corvane: %s\n", problem.c_str());
}

HRESULT CPortraitApp::KeyDown(UINT virtualKey, GDKEYLIST*) {
  if (m_model == nullptr) return 0;  // keys during the file choice or a failed start
  if (m_model->IsVideoPlaying()) {
    PlaybackKey(virtualKey);
    return 0;
  }
  // The menu answers keys only where it can be seen: a menu opened or worked behind a user
  // screen or the page view would wait, unseen, under the finger when the map comes back.
  if (m_mode != MODE_MAP || m_model->m_page >= 1) return 0;
  if (virtualKey == VK_ESCAPE && m_model->IsCalibrating()) {
    m_model->CancelCalibration();
    return 0;
  }
  if (virtualKey == VK_ESCAPE) m_model->ToggleMenu();
  if (virtualKey == 'L') m_model->ToggleLabels();  // place names and titles
  if (m_model->MenuKey(virtualKey)) PerformPendingAction();
  return 0;
}

HRESULT CPortraitApp::StylusDown(LONG x, LONG y) {
  if (m_model == nullptr) return 0;
  if (m_mode == MODE_USER_LIST || m_mode == MODE_NEW_USER) {
    // The menu's keys can open a user screen while a video plays over it; the video hides
    // that screen, so the tap ends the video as it would over the map.
    if (m_model->IsVideoPlaying()) {
      ToggleVideo();
    } else {
      UserScreenTap(x, y);
    }
  } else if (m_model->HandleCommandTap(x, y)) {
    PerformPendingAction();
  } else {
    m_model->HandleMapTap(x, y);
  }
  return 0;
}

HRESULT CPortraitApp::StylusUp(LONG x, LONG y) {
  if (m_model != nullptr && m_mode == MODE_MAP) m_model->StylusRelease(x, y);
  return 0;
}

HRESULT CPortraitApp::StylusMove(LONG x, LONG y) {
  if (m_model != nullptr) m_model->DragView(x, y);
  return 0;
}

LRESULT CPortraitApp::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_TIMER && wParam == VIDEO_TIMER_ID) PollVideo();
  if (msg == WM_GPS_NOTIFY && m_model != nullptr) m_model->OnGpsMessage();
  // A held seek or volume key goes on seeking or turning while media plays, as players do;
  // the frame passes on only the first press of every other key.
  if (msg == WM_KEYDOWN && (lParam & 0x40000000) != 0 && m_model != nullptr &&
      m_model->IsVideoPlaying() &&
      (wParam == VK_LEFT || wParam == VK_RIGHT || wParam == VK_UP || wParam == VK_DOWN)) {
    PlaybackKey(static_cast<UINT>(wParam));
    return 0;
  }
  return CAppFrame::WindowProc(hwnd, msg, wParam, lParam);
}
