// Message boxes, the beep and the file-open dialog over the active backend's dialog piece.
#include <string>

#include "platform/windowing/detail/file_choice.h"
#include "platform/windowing/detail/input_translate.h"
#include "platform/windowing/detail/locale_setup.h"
#include "platform/windowing/detail/message_queue.h"
#include "platform/windowing/detail/modal_scope.h"
#include "platform/pieces.h"
#include "platform/windowing/win_api.h"
#include "platform/windowing/detail/window_object.h"
#include "platform/windowing/gps_entry.h"
#include "platform/windowing/modal_limit.h"

namespace platform {
namespace {

int g_modalDepth = 0;
uint32_t g_modalLimitMs = 0;
uint32_t g_modalOpenedAt = 0;  // platform clock when the outermost one opened
bool g_modalTimedOut = false;

}  // namespace

ModalScope::ModalScope() {
  // What reached the main window before the box opened is still meant for it.
  PumpWindowSystem();
  if (g_modalDepth++ == 0) g_modalOpenedAt = timeGetTime();
}

ModalScope::~ModalScope() {
  // Anything given to the main window while the box was up is thrown away here.
  PumpWindowSystem();
  --g_modalDepth;
  if (g_modalDepth == 0) {
    ReleaseStylusAfterModal();
    if (HWND main = InputWindow(); main != nullptr && main->native) Active().window->Focus(main);
  }
  KeepNumericLocale();
}

bool InModalLoop() { return g_modalDepth > 0; }

void SetModalTimeLimit(uint32_t ms) { g_modalLimitMs = ms; }

bool ModalExpired() {
  if (g_modalLimitMs == 0 || g_modalDepth == 0) return false;
  if (timeGetTime() - g_modalOpenedAt < g_modalLimitMs) return false;
  g_modalTimedOut = true;
  return true;
}

bool TakeModalTimeout() {
  const bool timedOut = g_modalTimedOut;
  g_modalTimedOut = false;
  return timedOut;
}

}  // namespace platform

using namespace platform;

int MessageBoxA(HWND owner, const char* text, const char* caption, UINT type) {
  ModalScope modal;
  return Active().dialogs->MessageBox(owner, text ? text : "", caption ? caption : "Error",
                                      type);
}

BOOL MessageBeep(UINT type) {
  Active().dialogs->Beep(type);
  return TRUE;
}

BOOL GetOpenFileNameA(OPENFILENAMEA* ofn) {
  if (ofn == nullptr || ofn->lpstrFile == nullptr || ofn->nMaxFile == 0) return FALSE;
  if (std::optional<std::string> preset = TakePresetFile()) {
    return AcceptChosenFile(ofn, *preset) ? TRUE : FALSE;
  }
  std::optional<std::string> chosen;
  {
    ModalScope modal;
    chosen = Active().dialogs->ChooseFile(RequestFromRecord(*ofn));
  }
  if (!chosen) return FALSE;
  return AcceptChosenFile(ofn, *chosen) ? TRUE : FALSE;
}

std::optional<GpsEntryAnswer> AskGpsPosition(HWND owner, const GpsEntryRequest& request) {
  if (TerminationRequested()) return std::nullopt;
  ModalScope modal;
  return Active().dialogs->AskGpsPosition(owner, request);
}
