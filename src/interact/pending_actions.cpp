// Commands raised by the model that only the application object can carry out.
#include <cstdio>
#include <string>

#include "app/portrait_app.h"
#include "map/portrait.h"
#include "platform/text/tr.h"
#include "platform/windowing/win_api.h"

namespace {

// Why a file that loaded was left as it is, in plain words; empty when it was not.
// dropped says it for more than 128 records of a kind, crowded (%d: the line) for a line
// holding more than one element.
std::string KeptBecause(LoadLoss loss, const char* dropped, const char* crowded, int line) {
  switch (loss) {
    case LoadLoss::DroppedRecords:
      return std::string(dropped) + "\n";
    case LoadLoss::CrowdedLine: {
      char text[600];
      std::snprintf(text, sizeof text, crowded, line);
      return std::string(text) + "\n";
    }
    case LoadLoss::None:
      break;
  }
  return {};
}

// Saves the project and the users file. When either cannot be written, one box says what
// was not saved and what quitting would lose, and the visitor may stay; true means quit.
bool SaveBeforeQuit(CPortrait* model, HWND owner, const char* projectFile) {
  const bool projectSaved = model->SaveProjectFile(projectFile) || model->System() == nullptr;
  const bool usersSaved = !model->m_usersSaveFailed;
  if (projectSaved && usersSaved) return true;

  std::string text;
  const std::string projectKept = KeptBecause(
      model->ProjectLoss(),
      _("The project file holds more than 128 records of one kind. It is not saved, so that "
        "the records beyond the first 128 stay in it."),
      _("The project file has more than one element on line %d, and the program reads only "
        "the first. It is not saved, so that the rest of that line stays in it."),
      model->m_projectCrowdedLine);
  if (!projectSaved && !projectKept.empty()) {
    text += projectKept;
  } else if (!projectSaved) {
    text += std::string(_("The project file could not be saved:\n")) + projectFile + "\n";
  }
  if (!usersSaved) {
    const std::string usersKept = KeptBecause(
        model->UsersLoss(),
        _("The users file holds more than 128 users. It is not saved, so that the users "
          "beyond the first 128 stay in it."),
        _("The users file has more than one element on line %d, and the program reads only "
          "the first. It is not saved, so that the rest of that line stays in it."),
        model->m_usersCrowdedLine);
    const char* users = model->GetUserFilename();
    text += !usersKept.empty() ? usersKept
                               : std::string(_("The users file could not be saved:\n")) +
                                     (users ? users : "") + "\n";
  }
  const bool losesEdits = !projectSaved && model->m_projectEdited;
  text += "\n";
  if (losesEdits && !usersSaved) {
    text +=
        _("Quitting now loses the changes to the project (placed icons and regions, map edges, "
          "relationship settings) and the users' new histories and times.");
  } else if (losesEdits) {
    text +=
        _("Quitting now loses the changes to the project (placed icons and regions, map edges, "
          "relationship settings).");
  } else if (!usersSaved) {
    text += _("Quitting now loses the users' new histories and times.");
  } else {
    text += _("Nothing was changed, so nothing is lost by quitting.");
  }
  text += _("\n\nQuit anyway?");
  // Enter gives the answer that loses nothing.
  const bool losesSomething = losesEdits || !usersSaved;
  const UINT type = MB_YESNO | MB_ICONWARNING | (losesSomething ? MB_DEFBUTTON2 : MB_DEFBUTTON1);
  return MessageBoxA(owner, text.c_str(),
                     projectSaved ? _("Users not saved") : _("Project not saved"), type) == IDYES;
}

}  // namespace

bool CPortraitApp::SaveForQuit(bool mayAsk) {
  // Closing the visit first puts the running time into the users file written below.
  m_model->SetCurrentUser(nullptr);
  if (mayAsk) return SaveBeforeQuit(m_model, m_hWnd, m_projectFile);
  m_model->SaveProjectFile(m_projectFile);
  return true;
}

bool CPortraitApp::OnClose(bool mayAsk) {
  // Before a project has loaded there is nothing to save.
  if (m_model == nullptr || m_startupPending || m_model->System() == nullptr) return true;
  if (!mayAsk) return SaveForQuit(false);
  switch (MessageBoxLabelledA(m_hWnd,
                              _("Save before closing?\n\nSaving keeps the users' histories and "
                                "times, and any changes to the project."),
                              _("Close Corvane"), MB_YESNOCANCEL | MB_ICONQUESTION | MB_DEFBUTTON1,
                              _("Save"), _("Don't save"), _("Cancel"))) {
    case IDYES:
      return SaveForQuit(true);
    case IDNO:
      return true;
    default:
      return false;
  }
}

void CPortraitApp::PerformPendingAction() {
  if (!m_model) return;
  switch (m_model->TakePendingAction()) {
    case ACTION_SAVE_AND_QUIT:
      if (SaveForQuit(true)) Quit();
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
