// Commands raised by the model that only the application object can carry out.
#include <cstdio>

#include "app/portrait_app.h"
#include "map/portrait.h"
#include "platform/windowing/win_api.h"

namespace {

bool AskToQuitAnyway(HWND owner, const char* what, const char* file, const char* loss,
                     const char* caption) {
  char text[480];
  std::snprintf(text, sizeof text, "The %s could not be saved:\n%.260s\n\nQuit anyway and lose %s?",
                what, file, loss);
  return MessageBoxA(owner, text, caption, MB_YESNO | MB_ICONWARNING) != IDNO;
}

// Saves the project and the users file. When either cannot be written, the user is told and
// may stay, so edits and histories are not lost without a word; true means quit.
bool SaveBeforeQuit(CPortrait* model, HWND owner, const char* projectFile) {
  const bool projectSaved = model->SaveProjectFile(projectFile) || model->System() == nullptr;
  if (!projectSaved &&
      !AskToQuitAnyway(owner, "project file", projectFile, "the changes", "Project not saved")) {
    return false;
  }
  if (model->m_usersSaveFailed) {
    const char* users = model->GetUserFilename();
    return AskToQuitAnyway(owner, "users file", users ? users : "", "the users' new histories",
                           "Users not saved");
  }
  return true;
}

}  // namespace

void CPortraitApp::PerformPendingAction() {
  if (!m_model) return;
  switch (m_model->TakePendingAction()) {
    case ACTION_SAVE_AND_QUIT:
      // Closing the visit first puts the running time into the users file written below.
      m_model->SetCurrentUser(nullptr);
      if (SaveBeforeQuit(m_model, m_hWnd, m_projectFile)) Quit();
      break;
    case ACTION_PLAY_VIDEO:
    case ACTION_STOP_VIDEO:
      ToggleVideo();
      break;
    case ACTION_USER_LIST:
      m_mode = MODE_USER_LIST;
      break;
    case ACTION_RELATIONSHIPS:
      RunRelationshipsDialog();
      break;
    default:
      break;
  }
}
