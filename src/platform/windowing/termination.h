// Ending the process on request: SIGTERM (logging out, a service manager), SIGINT and
// SIGHUP (the terminal or the session going) are all taken as one request to save and end.
#pragma once

namespace platform {

class WindowPiece;

// Installs the handler for the three signals; call once, early in main.
void HandleTerminationSignals();

// --- platform-internal ---
// The window system whose wait a signal ends (null: none, while the backend changes).
void SetTerminationWakeTarget(WindowPiece* window);
// True once, the first time the message layer is to be told of a signal.
bool TakeTerminationSignal();
// Forgets a request seen before, as a new process would (the headless backend's reset).
void ForgetTermination();

}  // namespace platform
