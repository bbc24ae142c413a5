// Commands raised by the model that only the application object can carry out.
#include "app/portrait_app.h"
#include "map/portrait.h"

void CPortraitApp::PerformPendingAction() {
  if (!m_model) return;
  switch (m_model->TakePendingAction()) {
    case ACTION_SAVE_AND_QUIT:
      // Closing the visit first puts the running time into the users file written below.
      m_model->SetCurrentUser(nullptr);
      m_model->SaveProjectFile(m_projectFile);
      Quit();
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
