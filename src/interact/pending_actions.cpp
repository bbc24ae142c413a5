// Commands raised by the model that only the application object can carry out.
#include <cstdio>

#include "app/portrait_app.h"
#include "map/portrait.h"
#include "platform/win_api.h"

namespace {

// Saves the project and the users file. When a loaded project cannot be written, the user
// is told and may stay, so the edits are not lost without a word; true means quit.
bool SaveBeforeQuit(CPortrait* model, HWND owner, const char* projectFile) {
  if (model->SaveProjectFile(projectFile) || model->System() == nullptr) return true;
  char text[400];
  std::snprintf(text, sizeof text,
                "The project file could not be saved:\n%.260s\n\nQuit anyway and lose the changes?",
                projectFile);
  return MessageBoxA(owner, text, "Project not saved", MB_YESNO | MB_ICONWARNING) != IDNO;
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
