// Which backend the platform layer runs on. The program uses the real one unless the
// environment variable CORVANE_HEADLESS is "1"; tests choose the headless one.
#pragma once

namespace platform {

enum class BackendKind { Real, Headless };

// Must be called before the first window, surface with text, or dialog is made.
void UseBackend(BackendKind kind);
BackendKind ActiveBackend();
// Real unless CORVANE_HEADLESS=1.
BackendKind BackendFromEnvironment();

// Command-line project: the next GetOpenFileNameA returns this path without showing a
// dialog, and changes the current folder to the file's folder exactly as a real choice does.
void PresetFileChoice(const char* path);

// Releases everything the backend opened (windows, GTK, SDL). Safe to call twice.
void ShutdownBackend();

}  // namespace platform
