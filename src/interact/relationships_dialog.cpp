// The Set Relationships dialog and its running from the menu.
#include "interact/relationships_dialog.h"

#include "app/portrait_app.h"
#include "map/portrait.h"
#include "platform/windowing/win_api.h"

namespace {

struct BoxBit {
  int control;
  int bit;
};
// In the order the boxes are set when the dialog opens.
constexpr BoxBit kBoxes[] = {
    {IDC_THEMES, REL_THEMES},
    {IDC_CHARACTERS, REL_CHARACTERS},
    {IDC_LOCATION, REL_LOCATIONS},
    {IDC_TIMES, REL_TIMES},
};

}  // namespace

intptr_t RelationshipsDialogProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_INITDIALOG) {
    for (const BoxBit& b : kBoxes)
      if (lParam & b.bit) SendDlgItemMessageA(dialog, b.control, BM_SETCHECK, BST_CHECKED, 0);
    return TRUE;
  }
  if (msg != WM_COMMAND) return FALSE;
  switch (LOWORD(wParam)) {
    case IDOK: {
      int mask = 0;
      for (const BoxBit& b : kBoxes)
        if (SendDlgItemMessageA(dialog, b.control, BM_GETCHECK, 0, 0) == BST_CHECKED)
          mask += b.bit;
      // Plus one keeps "all kinds off" apart from Cancel's 0.
      EndDialog(dialog, mask + 1);
      return FALSE;
    }
    case IDCANCEL:
      EndDialog(dialog, 0);
      return FALSE;
    default:
      return FALSE;
  }
}

void CPortraitApp::RunRelationshipsDialog() {
  if (!m_model) return;
  int mask = m_model->GetRelationshipFlags();
  intptr_t result = DialogBoxParamA(m_instance, MAKEINTRESOURCEA(IDD_RELATIONSHIPS), m_hWnd,
                                    RelationshipsDialogProc, mask);
  // 0 is Cancel; a dialog that could not be shown (-1) changes nothing either.
  if (result < 1 || result > 16) return;
  m_model->SetRelationshipFlags(static_cast<int>(result - 1));
  // The marks follow the new switches at once, not only after the next content choice.
  m_model->MarkRelatedContent();
}
