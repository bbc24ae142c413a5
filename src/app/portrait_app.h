// The application object: project choice, startup sequence with its progress screen, screen
// modes, status messages, and the routing of input to the model. Its operations are spread
// over several files, one group each, named in the sections below.
#pragma once

#include <cstdint>
#include <functional>
#include <set>
#include <string>

#include "app/app_frame.h"
#include "app/command_line.h"
#include "app/kiosk_rules.h"
#include "app/project_lock.h"
#include "platform/graphics/gapi.h"
#include "platform/windowing/win_types.h"

class CPortrait;

// Screen modes: 1 and above draw the user screens, 0 and below the map view.
constexpr int32_t MODE_MAP = 0;
constexpr int32_t MODE_NEW_USER = 1;
constexpr int32_t MODE_USER_LIST = 2;

// Window timer of the video end poll.
constexpr UINT_PTR VIDEO_TIMER_ID = 9876;

// Buffer size that holds any status message with its terminator.
constexpr int STATUS_MESSAGE_SIZE = 64;

// Exit status of a run that opened no project: another program has it open, or the chosen
// file is not a project and no other was chosen.
constexpr int EXIT_NO_PROJECT = 1;

// Longest name typed on the new-user screen.
constexpr int NEW_USER_NAME_MAX = 24;

class CPortraitApp : public CAppFrame {
 public:
  explicit CPortraitApp(const AppConfig& config);
  ~CPortraitApp() override;
  // What the command line asked for (position source, kiosk); set before Run.
  void SetRunOptions(const RunOptions& options);

  // --- application object (app/portrait_app.cpp, app/startup_sequence.cpp) ---
  // Copies the code's message into buffer (at least STATUS_MESSAGE_SIZE) and returns it.
  static char* StatusMessage(int32_t code, char* buffer);

  HRESULT OnInit() override;
  HRESULT OnExit() override;
  HRESULT OnSuspend() override;
  HRESULT OnResume() override;
  HRESULT CreateSurfaces(CGapiDisplay* display, HINSTANCE instance) override;
  HRESULT RestoreSurfaces(CGapiDisplay* display, HINSTANCE instance) override;
  HRESULT ProcessNextFrame(CGapiSurface* backBuffer, uint32_t frameFlags) override;
  HRESULT KeyDown(UINT virtualKey, GDKEYLIST* keys) override;
  HRESULT KeyUp(UINT virtualKey, GDKEYLIST* keys) override;
  HRESULT StylusDown(LONG x, LONG y) override;
  HRESULT StylusUp(LONG x, LONG y) override;
  HRESULT StylusDoubleClick(LONG x, LONG y) override;
  HRESULT StylusMove(LONG x, LONG y) override;
  HRESULT StylusWheel(LONG x, LONG y, int notches) override;
  LRESULT WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) override;

  // Prints a new problem of the position source (gpsd not reachable, lost) on standard error.
  void ReportPositionProblem();
  // Loads everything step by step on the first processed frame, drawing the progress screen.
  void RunStartupSequence(CGapiSurface* backBuffer);
  // The file-open dialog for a project; the chosen path goes to path (size bytes).
  bool AskForProjectFile(char* path, DWORD size);
  // Locks the chosen project; when another program has it open, says so and returns false.
  bool LockProject(const char* path);
  // Ends the run before any project was opened; the process then exits non-zero.
  void QuitWithoutProject();
  // The process's exit status once Run has returned 0.
  int ExitStatus() const { return m_exitStatus; }
  // After a project that would not load (-7, -8, -9): names the file and what was wrong, and
  // offers to choose another, whose startup then runs on the next frame.
  void OfferAnotherProject(int32_t status);
  // Creates the model object; null when it cannot be allocated.
  virtual CPortrait* NewModel(HWND hwnd, HINSTANCE instance, int width, int height);

  // --- pending actions of the model, quitting and closing (interact/pending_actions.cpp) ---
  void PerformPendingAction();
  // Saves as the exit button does; with mayAsk, a failed save asks whether to quit anyway.
  // True when the program may end.
  bool SaveForQuit(bool mayAsk);
  // The close button asks whether to save first; the end of the process saves unasked.
  bool OnClose(bool mayAsk) override;

  // --- user screens and relationships dialog (interact/user_screens*.cpp,
  //     interact/relationships_dialog.cpp) ---
  void DrawUserScreen(CGapiSurface* backBuffer);
  void UserScreenTap(LONG x, LONG y);
  void RunRelationshipsDialog();

  // --- kiosk of a shared device (app/kiosk_mode.cpp, interact/kiosk_start.cpp) ---
  bool Kiosk() const { return m_runOptions.kiosk; }
  // Any touch or key: the visit goes on.
  void KioskTouch();
  // Every frame and playback poll: ends a visit left alone for the idle time, or whose box
  // was left open that long.
  void KioskStep();
  // The visit is saved and the next visitor starts on the user list.
  void EndVisit();
  // Writes the users file; a failure is kept on screen until a save succeeds.
  void SaveVisits();
  // Ctrl+Shift+Q: the operator's way out, which asks first and then saves. The modifiers
  // are followed key by key, as their messages come, not read from the keyboard's state now
  // (which may already be past the release).
  bool IsOperatorGesture(UINT virtualKey);
  void OperatorQuit();
  // "Start": a numbered guest becomes the visitor, on a new users file when the old is full.
  void StartGuest();
  // Archives the full users file and starts an empty one; false (and said on screen) when
  // that cannot be done, everything then staying in the full file.
  bool RotateUsersFile();
  // The Start button and any notice under a user screen; true when a tap hit Start.
  void DrawKioskStart(CGapiSurface* backBuffer, CGapiBitmapFont* font);
  bool KioskStartTap(LONG x, LONG y);

  // --- video playback (interact/video_playback.cpp) ---
  void ToggleVideo();
  void InitVideo(HINSTANCE instance, HWND mainWindow);
  // WM_TIMER of the main window with VIDEO_TIMER_ID: ends a playback that reached its end.
  void PollVideo();
  // A key while media plays: pause, seek, volume, mute, or Escape to end it.
  void PlaybackKey(UINT virtualKey);

  // Fields, in this order.
  CPortrait* m_model;  // created by the startup sequence, kept for the whole run
  HINSTANCE m_instance;
  bool m_startupPending;
  int32_t m_mode;
  // UTF-8: NEW_USER_NAME_MAX characters of up to four bytes each.
  char m_newUserName[NEW_USER_NAME_MAX * 4 + 1];
  int m_keyboardPage = 0;  // the new-user keyboard's page: letters, capitals with accents and
                           // digits, small letters with accents and digits
  CGapiSurface m_nameEntryImage;  // PNG resource 111
  CGapiSurface m_userListImage;   // PNG resource 112
  int32_t m_userCount;
  int32_t m_userListTop;
  int32_t m_selectedUser;
  char m_projectFile[260];
  HWND m_videoWindow;
  RunOptions m_runOptions;
  // Loudness (0 to 1000) and mute of every playback of the run; pause of the current one.
  int32_t m_volume = 1000;
  bool m_muted = false;
  bool m_videoPaused = false;
  CProjectLock m_projectLock;  // held while the project is open
  // Why the new-user screen refused a name, shown on it until the next key; null for none.
  const char* m_newUserNotice = nullptr;
  int m_exitStatus = 0;
  // A language was tapped on the user screens: the next visitor confirmed keeps it.
  bool m_languageChosen = false;
  std::string m_positionProblem;  // the last one printed
  CKioskIdle m_kioskIdle{5.0};
  std::set<UINT> m_heldModifiers;  // Ctrl and Shift, while down
  std::string m_kioskNotice;  // what went wrong with the users file, shown under user screens
  // Moves a full users file aside (a seam for tests of a disk that refuses).
  std::function<bool(const std::string&, std::time_t, std::string*, std::string*)>
      m_archiveUsersFile = ArchiveUsersFile;
};
