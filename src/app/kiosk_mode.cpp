// The kiosk of a shared device, wired into the application: the idle end of a visit, the
// operator's way out, numbered guests, and a new users file when the old one is full.
#include <cctype>
#include <cstdio>
#include <ctime>
#include <string>

#include "app/portrait_app.h"
#include "data/user_context.h"
#include "data/xml_item_list.h"
#include "map/portrait.h"
#include "platform/text/tr.h"
#include "platform/windowing/modal_limit.h"
#include "platform/windowing/win_api.h"

void CPortraitApp::SetRunOptions(const RunOptions& options) {
  m_runOptions = options;
  m_kioskIdle = CKioskIdle(options.idleMinutes);
  // A box nobody answers must not hold the device: it closes after the idle time, and the
  // visit then ends as after any idle spell.
  if (options.kiosk)
    platform::SetModalTimeLimit(static_cast<uint32_t>(options.idleMinutes * 60000.0));
}

void CPortraitApp::KioskTouch() {
  if (Kiosk()) m_kioskIdle.Touch(timeGetTime());
}

void CPortraitApp::KioskStep() {
  if (!Kiosk() || m_model == nullptr || m_startupPending) return;
  const uint32_t now = timeGetTime();
  // A film being watched is not idleness; a paused one left behind is.
  const bool held = m_model->IsVideoPlaying() && !m_videoPaused;
  const bool boxTimedOut = platform::TakeModalTimeout();
  if (boxTimedOut || m_kioskIdle.VisitEnds(now, held)) {
    EndVisit();
    m_kioskIdle.Touch(now);
  }
}

void CPortraitApp::EndVisit() {
  CPortrait* model = m_model;
  if (model->IsVideoPlaying()) ToggleVideo();
  // The map as the next visitor should find it: no menu, page, or armed tap mode.
  model->m_menuOpen = false;
  model->m_page = 0;
  model->CancelCalibration();
  model->m_moveUserMode = false;
  model->m_showCoordsMode = false;
  model->m_editSelection = -2;
  model->m_gestureState = 0;
  if (model->m_currentUser != nullptr) {
    // Closing the visit puts its time into the users file written here; then nobody is
    // current, so no later visit counts in it.
    model->SetCurrentUser(nullptr);
    model->m_currentUser = nullptr;
    model->MarkGuideStale();
    model->ClearRelatedMarks();
    SaveVisits();
  }
  if (model->m_userList != nullptr) m_mode = MODE_USER_LIST;
  m_heldModifiers.clear();  // a release lost to a box or another window is forgotten
  m_newUserName[0] = '\0';
  m_newUserNotice = nullptr;
  m_userListTop = 0;
  m_selectedUser = 0;
}

void CPortraitApp::SaveVisits() {
  if (m_model->SaveUsersFile()) {
    m_kioskNotice.clear();
    return;
  }
  // Kept in memory: the next save that succeeds writes it too.
  m_kioskNotice =
      _("THE VISITS CANNOT BE SAVED: THE USERS FILE CANNOT BE WRITTEN (DISK FULL OR READ-ONLY?). "
        "THEY ARE KEPT AND SAVED ONCE IT CAN BE.");
  std::fprintf(stderr,
               _("corvane: the users file %s cannot be written; visits are kept in memory\n"),
               m_model->GetUserFilename() ? m_model->GetUserFilename() : "");
}

bool CPortraitApp::IsOperatorGesture(UINT virtualKey) {
  if (virtualKey == VK_CONTROL || virtualKey == VK_SHIFT) m_heldModifiers.insert(virtualKey);
  return virtualKey == 'Q' && m_heldModifiers.size() == 2;
}

void CPortraitApp::OperatorQuit() {
  if (m_model != nullptr && m_model->IsVideoPlaying()) ToggleVideo();
  // The releases go to the box, not here.
  m_heldModifiers.clear();
  const int answer = MessageBoxLabelledA(
      m_hWnd,
      _("End the kiosk?\n\nThe visit is saved and Corvane quits. Run it without --kiosk to edit "
        "the project."),
      _("Operator"), MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2, _("Save and quit"),
      _("Keep running"), nullptr);
  if (answer != IDYES) return;
  if (m_model == nullptr || m_startupPending || m_model->System() == nullptr || SaveForQuit(true))
    Quit();
}

bool CPortraitApp::RotateUsersFile() {
  // The file is written whole first, so that the archive holds every visit so far.
  std::string problem;
  if (!m_model->SaveUsersFile()) {
    problem = _("it cannot be written");
  } else {
    const std::string path = m_model->UsersFileToRead();
    std::string archive;
    if (path.empty()) {
      problem = _("it cannot be found");
    } else if (m_archiveUsersFile(path, std::time(nullptr), &archive, &problem)) {
      std::fprintf(stderr, _("corvane: the users file was full; it is kept as %s\n"),
                   archive.c_str());
      m_model->StartNewUserList();
      m_userListTop = 0;
      m_selectedUser = 0;
      m_userCount = 0;
      m_kioskNotice.clear();
      return true;
    }
  }
  // Everything stays in the full file; this visitor goes in unrecorded.
  std::fprintf(stderr, _("corvane: the full users file cannot be archived: %s\n"), problem.c_str());
  // In capitals, as the user screens write.
  for (char& c : problem) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  m_kioskNotice = _("THE USERS FILE IS FULL AND CANNOT BE ARCHIVED (") + problem +
                  _("). IT KEEPS EVERY VISIT SO FAR; NEW VISITS ARE NOT RECORDED UNTIL IT CAN BE.");
  return false;
}

void CPortraitApp::StartGuest() {
  CPortrait* model = m_model;
  // Whoever chose last on this device has gone: their time is closed first.
  model->SetCurrentUser(nullptr);
  model->m_currentUser = nullptr;
  m_mode = MODE_MAP;
  if (model->m_userList->Count() >= LIST_CAPACITY && !RotateUsersFile()) {
    model->ClearRelatedMarks();
    return;
  }
  CUserContext* guest = model->AddNewUser(NextGuestName(*model->m_userList).c_str());
  if (guest == nullptr) return;
  model->SetCurrentUser(guest);
  model->ClearRelatedMarks();
  SaveVisits();
}
