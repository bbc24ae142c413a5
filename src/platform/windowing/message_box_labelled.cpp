// Message boxes whose buttons are named for what they do ("Save", "Don't save", "Cancel").
#include "platform/pieces.h"
#include "platform/windowing/detail/modal_scope.h"
#include "platform/windowing/win_api.h"

using namespace platform;

int MessageBoxLabelledA(HWND owner, const char* text, const char* caption, UINT type,
                        const char* yes, const char* no, const char* cancel) {
  ModalScope modal;
  return Active().dialogs->MessageBox(
      owner, text ? text : "", caption ? caption : "Error", type,
      BoxLabels{yes ? yes : "", no ? no : "", cancel ? cancel : ""});
}
