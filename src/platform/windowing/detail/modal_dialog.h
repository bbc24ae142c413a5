// A modal dialog built from a template: its window, its controls' windows and check states,
// and the caller's dialog procedure. The backends (GTK, headless) show it and feed it input;
// everything that follows the procedure protocol lives here so that both behave alike.
#pragma once

#include <functional>
#include <vector>

#include "platform/windowing/detail/dialog_template.h"
#include "platform/windowing/win_types.h"

namespace platform {

class ModalDialog {
 public:
  struct Control {
    const DialogControlTemplate* tmpl = nullptr;
    HWND hwnd = nullptr;
    bool checked = false;
  };

  ModalDialog(DialogTemplate tmpl, DLGPROC proc, HWND owner);
  ~ModalDialog();
  ModalDialog(const ModalDialog&) = delete;
  ModalDialog& operator=(const ModalDialog&) = delete;

  // Makes the windows of the dialog and its controls; false when that fails.
  bool Create();

  HWND Handle() const { return m_hwnd; }
  HWND Owner() const { return m_owner; }
  const DialogTemplate& Template() const { return m_template; }
  std::vector<Control>& Controls() { return m_controls; }
  Control* FindControl(int id);
  Control* FindControl(HWND hwnd);

  // WM_INITDIALOG with the caller's parameter; returns what the procedure returned.
  intptr_t Initialise(LPARAM param);
  // A click on a control as the user makes it: an automatic check box flips first, then
  // the procedure gets WM_COMMAND with the id and BN_CLICKED.
  void Click(int id);
  // The close box, Escape: WM_CLOSE, which the procedure may handle; unhandled it becomes
  // WM_COMMAND IDCANCEL.
  void Close();

  void End(intptr_t result);
  bool Ended() const { return m_ended; }
  intptr_t Result() const { return m_result; }

  // The first control with WS_TABSTOP, or null; WM_INITDIALOG offers it for the focus.
  Control* FirstTabStop();
  // The default push button, or null.
  Control* DefaultButton();

  // Called whenever a check state changes by a message (BM_SETCHECK), so the view can follow.
  std::function<void(int id, bool checked)> onCheckChanged;

  static ModalDialog* FromHandle(HWND hwnd);  // the dialog itself or one of its controls

 private:
  static LRESULT DialogWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  static LRESULT ControlWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT DialogMessage(UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT ControlMessage(Control& control, UINT msg, WPARAM wParam, LPARAM lParam);

  DialogTemplate m_template;
  DLGPROC m_proc;
  HWND m_owner;
  HWND m_hwnd = nullptr;
  std::vector<Control> m_controls;
  bool m_ended = false;
  intptr_t m_result = 0;
};

// The backends' ways of showing a dialog. Each returns false when it cannot show one.
bool RunGtkDialog(ModalDialog& dialog, LPARAM param);
bool RunHeadlessDialog(ModalDialog& dialog, LPARAM param);
// Forgets the queued answers and the count; part of headless::Reset.
void ResetHeadlessDialogs();

}  // namespace platform
