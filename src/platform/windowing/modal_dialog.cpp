// The dialog procedure protocol, shared by the GTK and headless dialogs.
#include "platform/windowing/detail/modal_dialog.h"
#include "platform/windowing/detail/modal_scope.h"

#include <algorithm>

#include "platform/backend_select.h"
#include "platform/windowing/win_api.h"
#include "platform/windowing/detail/window_object.h"

namespace platform {

namespace {

// Dialogs can nest (a procedure may open another), so more than one can be alive.
std::vector<ModalDialog*>& LiveDialogs() {
  static std::vector<ModalDialog*> dialogs;
  return dialogs;
}

bool IsCheckBox(DialogControlKind kind) {
  return kind == DialogControlKind::CheckBox || kind == DialogControlKind::AutoCheckBox;
}

WPARAM CommandWParam(int id, WORD code) {
  return static_cast<WPARAM>((static_cast<uint32_t>(id) & 0xFFFF) |
                             (static_cast<uint32_t>(code) << 16));
}

constexpr const char* kDialogClass = "Corvane DialogWindow";
constexpr const char* kControlClass = "Corvane DialogControl";

// The dialog and its controls get window handles of their own so that the procedure can
// reach them with SendMessageA; what the user sees is drawn by the backend, so they are
// made as plain child windows with nothing to show. A dialog without a live owner hangs
// under any live top-level window, or, with none at all, is an empty top-level window that
// is never shown.
HWND CreateInternalWindow(const char* className, WNDPROC proc, HWND parent) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = proc;
  wc.lpszClassName = className;
  RegisterClassA(&wc);  // fails harmlessly once registered
  if (!IsLiveWindow(parent)) {
    parent = nullptr;
    for (HWND w : LiveWindows()) {
      if (w->native) {
        parent = w;
        break;
      }
    }
  }
  DWORD style = parent ? WS_CHILD : WS_POPUP;
  return CreateWindowExA(0, className, "", style, 0, 0, 0, 0, parent, nullptr, nullptr, nullptr);
}

}  // namespace

ModalDialog::ModalDialog(DialogTemplate tmpl, DLGPROC proc, HWND owner)
    : m_template(std::move(tmpl)), m_proc(proc), m_owner(owner) {
  LiveDialogs().push_back(this);
}

ModalDialog::~ModalDialog() {
  auto& live = LiveDialogs();
  live.erase(std::remove(live.begin(), live.end(), this), live.end());
  for (Control& c : m_controls)
    if (c.hwnd) DestroyWindow(c.hwnd);
  if (m_hwnd) DestroyWindow(m_hwnd);
}

bool ModalDialog::Create() {
  m_hwnd = CreateInternalWindow(kDialogClass, &ModalDialog::DialogWindowProc, m_owner);
  if (!m_hwnd) return false;
  m_controls.reserve(m_template.controls.size());
  for (const DialogControlTemplate& t : m_template.controls) {
    Control c;
    c.tmpl = &t;
    c.hwnd = CreateInternalWindow(kControlClass, &ModalDialog::ControlWindowProc, m_hwnd);
    if (!c.hwnd) return false;
    m_controls.push_back(c);
  }
  return true;
}

ModalDialog::Control* ModalDialog::FindControl(int id) {
  for (Control& c : m_controls)
    if (c.tmpl->id == id) return &c;
  return nullptr;
}

ModalDialog::Control* ModalDialog::FindControl(HWND hwnd) {
  for (Control& c : m_controls)
    if (c.hwnd == hwnd) return &c;
  return nullptr;
}

ModalDialog::Control* ModalDialog::FirstTabStop() {
  for (Control& c : m_controls)
    if (c.tmpl->style & WS_TABSTOP) return &c;
  return nullptr;
}

ModalDialog::Control* ModalDialog::DefaultButton() {
  for (Control& c : m_controls)
    if (c.tmpl->Kind() == DialogControlKind::DefaultPushButton) return &c;
  return nullptr;
}

ModalDialog* ModalDialog::FromHandle(HWND hwnd) {
  if (!hwnd) return nullptr;
  for (ModalDialog* d : LiveDialogs()) {
    if (d->m_hwnd == hwnd || d->FindControl(hwnd)) return d;
  }
  return nullptr;
}

intptr_t ModalDialog::Initialise(LPARAM param) {
  Control* focus = FirstTabStop();
  return m_proc(m_hwnd, WM_INITDIALOG, reinterpret_cast<WPARAM>(focus ? focus->hwnd : nullptr),
                param);
}

void ModalDialog::Click(int id) {
  Control* c = FindControl(id);
  if (!c || m_ended) return;
  if (c->tmpl->Kind() == DialogControlKind::AutoCheckBox) c->checked = !c->checked;
  SendMessageA(m_hwnd, WM_COMMAND, CommandWParam(id, BN_CLICKED),
               reinterpret_cast<LPARAM>(c->hwnd));
}

void ModalDialog::Close() {
  if (!m_ended) SendMessageA(m_hwnd, WM_CLOSE, 0, 0);
}

void ModalDialog::End(intptr_t result) {
  if (m_ended) return;
  m_ended = true;
  m_result = result;
}

LRESULT ModalDialog::DialogWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  ModalDialog* d = FromHandle(hwnd);
  if (!d || d->m_hwnd != hwnd) return DefWindowProcA(hwnd, msg, wParam, lParam);
  return d->DialogMessage(msg, wParam, lParam);
}

LRESULT ModalDialog::ControlWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  ModalDialog* d = FromHandle(hwnd);
  Control* c = d ? d->FindControl(hwnd) : nullptr;
  if (!c) return DefWindowProcA(hwnd, msg, wParam, lParam);
  return d->ControlMessage(*c, msg, wParam, lParam);
}

LRESULT ModalDialog::DialogMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  intptr_t handled = m_proc(m_hwnd, msg, wParam, lParam);
  // What a procedure leaves unhandled gets the default treatment: closing means Cancel.
  if (!handled && msg == WM_CLOSE && !m_ended) {
    Control* cancel = FindControl(IDCANCEL);
    SendMessageA(m_hwnd, WM_COMMAND, CommandWParam(IDCANCEL, BN_CLICKED),
                 reinterpret_cast<LPARAM>(cancel ? cancel->hwnd : nullptr));
  }
  return handled;
}

LRESULT ModalDialog::ControlMessage(Control& control, UINT msg, WPARAM wParam, LPARAM) {
  if (!IsCheckBox(control.tmpl->Kind())) return 0;
  switch (msg) {
    case BM_GETCHECK:
      return control.checked ? BST_CHECKED : BST_UNCHECKED;
    case BM_SETCHECK: {
      bool on = wParam == BST_CHECKED;
      if (on != control.checked) {
        control.checked = on;
        if (onCheckChanged) onCheckChanged(control.tmpl->id, on);
      }
      return 0;
    }
    default:
      return 0;
  }
}

}  // namespace platform

// --- the calls of the windowing layer ---

intptr_t DialogBoxParamA(HINSTANCE instance, const char* templateName, HWND parent,
                         DLGPROC proc, LPARAM param) {
  using namespace platform;
  if (!proc) return -1;
  std::optional<DialogTemplate> tmpl = LoadDialogTemplate(instance, templateName);
  if (!tmpl) return -1;
  ModalDialog dialog(std::move(*tmpl), proc, parent);
  if (!dialog.Create()) return -1;
  bool shown = false;
  {
    ModalScope modal;
    shown = ActiveBackend() == BackendKind::Headless ? RunHeadlessDialog(dialog, param)
                                                     : RunGtkDialog(dialog, param);
  }
  if (!shown || !dialog.Ended()) return -1;
  return dialog.Result();
}

BOOL EndDialog(HWND dialog, intptr_t result) {
  platform::ModalDialog* d = platform::ModalDialog::FromHandle(dialog);
  if (!d || d->Handle() != dialog) return FALSE;
  d->End(result);
  return TRUE;
}

HWND GetDlgItem(HWND dialog, int id) {
  platform::ModalDialog* d = platform::ModalDialog::FromHandle(dialog);
  if (!d || d->Handle() != dialog) return nullptr;
  platform::ModalDialog::Control* c = d->FindControl(id);
  return c ? c->hwnd : nullptr;
}

LRESULT SendDlgItemMessageA(HWND dialog, int id, UINT msg, WPARAM wParam, LPARAM lParam) {
  HWND item = GetDlgItem(dialog, id);
  if (!item) return 0;
  return SendMessageA(item, msg, wParam, lParam);
}
