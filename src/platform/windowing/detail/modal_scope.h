// Around anything that runs its own event loop while the main window waits: message boxes,
// the file dialog, the template dialog. Input that reaches the main window meanwhile is
// discarded; when the scope ends the rest of it is flushed, a press the program saw gets its
// release (the box took the real one) and the keyboard focus goes back to the main window.
#pragma once

namespace platform {

class ModalScope {
 public:
  ModalScope();
  ~ModalScope();
  ModalScope(const ModalScope&) = delete;
  ModalScope& operator=(const ModalScope&) = delete;
};

bool InModalLoop();
// True once the process was asked to end (SIGTERM): modal loops give up, and later boxes
// are not shown, so the program can close.
bool TerminationRequested();
void NoteTermination();

}  // namespace platform
