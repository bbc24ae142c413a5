// Dialogs on the headless backend: the test's queued answers play the user.
#include <deque>

#include "platform/backend_headless/headless.h"
#include "platform/windowing/detail/modal_dialog.h"
#include "platform/windowing/win_api.h"

namespace platform {

namespace {

struct HeadlessDialogs {
  std::deque<headless::DialogAnswer> answers;
  int count = 0;
};

HeadlessDialogs& State() {
  static HeadlessDialogs state;
  return state;
}

}  // namespace

void ResetHeadlessDialogs() { State() = HeadlessDialogs{}; }

bool RunHeadlessDialog(ModalDialog& dialog, LPARAM param) {
  HeadlessDialogs& state = State();
  ++state.count;
  dialog.Initialise(param);
  if (dialog.Ended()) return true;
  if (!state.answers.empty()) {
    headless::DialogAnswer answer = std::move(state.answers.front());
    state.answers.pop_front();
    if (answer) answer(dialog.Handle());
  }
  // An answer that leaves the dialog open is closed like the user would: with the close box.
  dialog.Close();
  // A procedure that will not end even then cannot be run without a user; the caller gets
  // the failure value instead of a hang.
  return dialog.Ended();
}

}  // namespace platform

namespace headless {

void QueueDialogAnswer(DialogAnswer answer) {
  platform::State().answers.push_back(std::move(answer));
}

int DialogCount() { return platform::State().count; }

}  // namespace headless
