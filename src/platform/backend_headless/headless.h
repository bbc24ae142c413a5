// Control of the headless backend for tests: a clock the test moves, injected input,
// scripted answers for message boxes and dialogs, a scripted position receiver, and a record
// of what was shown and drawn.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/position/position_source.h"
#include "platform/windowing/gps_entry.h"
#include "platform/windowing/win_types.h"

class CGapiSurface;

namespace headless {

// Selects the headless backend and forgets all state: no windows, clock at 0, empty
// queues, scripts and records.
void Reset();

// Clock (timeGetTime). Sleep and WaitForNextFrame advance it instead of blocking.
void SetClock(uint32_t ms);
void AdvanceClock(uint32_t ms);
uint32_t Clock();

// Input, in client coordinates of the main window, queued as the real window would.
void InjectMouseDown(int x, int y);
void InjectMouseUp(int x, int y);
void InjectMouseMove(int x, int y);
void InjectKeyDown(UINT vk, bool autoRepeat = false);
void InjectKeyUp(UINT vk);
void InjectClose();      // close button / Alt+F4
void InjectTerminate();  // the process is asked to end (SIGTERM)
void InjectMinimize();   // WM_SIZE minimised
void InjectRestore();    // window activated again
// Size of the window's client area; DeviceToLogical scales from it to the logical size.
void SetClientSize(int width, int height);

// Message boxes: answered in order from the queue; with the queue empty, by the box's
// default button (MB_DEFBUTTONn of its type).
struct MessageBoxRecord {
  std::string text;
  std::string caption;
  UINT type;
  int answer;
  std::vector<std::string> labels;  // names given for Yes, No, Cancel; empty when usual
};
void QueueMessageBoxAnswer(int answer);
const std::vector<MessageBoxRecord>& MessageBoxes();
int BeepCount();
// Forgets the boxes, beeps and file dialogs shown so far and the answers still queued, so a
// long run on one window (a fuzzer) does not keep a record of everything.
void ForgetShown();

// File-open dialog: answered in order; nullopt is a cancel. Cancel when empty.
struct FileDialogRecord {
  std::string title;
  std::vector<std::pair<std::string, std::string>> filters;  // label, pattern
  std::string initialDir;
  std::string defaultExt;
  DWORD flags;
  DWORD filterIndex;
};
void QueueFileDialogAnswer(std::optional<std::string> path);
const std::vector<FileDialogRecord>& FileDialogs();

// GPS position dialog: answered in order, Cancel when the queue is empty. UseFix presses
// "Use the current fix" (when the dialog offers it) and then OK.
struct GpsEntryScript {
  enum class Action { Ok, UseFix, Cancel };
  Action action = Action::Ok;
  std::string latitude;  // typed, for Ok
  std::string longitude;
};
void QueueGpsEntryAnswer(GpsEntryScript answer);
const std::vector<GpsEntryRequest>& GpsEntryDialogs();

// Modal dialogs: each answer is called with the dialog after WM_INITDIALOG; it works the
// dialog with SendDlgItemMessageA and ends it with SendMessageA(WM_COMMAND, IDOK/IDCANCEL).
// With no answer queued the dialog is cancelled.
using DialogAnswer = std::function<void(HWND dialog)>;
void QueueDialogAnswer(DialogAnswer answer);
int DialogCount();

// Position: the scripted receiver opened by OpenPositionSource with Source::Gpsd.
// Queues a fix exactly as a receiver would deliver it: stamps time with the headless clock
// and posts WM_GPS_NOTIFY to the window given to OpenPositionSource.
void FeedPositionFix(double latitude, double longitude, double horizontalError = -1);
// problem: what the source says went wrong (PositionProblem), as a reader would set it.
void SetPositionState(platform::PositionState state, const std::string& problem = {});

// Drawing record of the display's back buffer.
struct DrawCall {
  std::string call;  // "Blt", "BltFast", "FillRect", "DrawRect", "DrawLine", "DrawTextA"
  RECT dst{};        // destination (BltFast: x, y, x + width, y + height; lines: x1, y1, x2, y2)
  RECT src{};        // source rectangle when given, else the whole source
  DWORD flags = 0;
  DWORD opacity = 255;  // from the effect record when the flags use it
  DWORD color = 0;
  std::string text;
  const CGapiSurface* source = nullptr;
};
void SetDrawRecording(bool on);
const std::vector<DrawCall>& DrawCalls();
void ClearDrawCalls();
int FlipCount();
// The back buffer of the open display, or null.
CGapiSurface* BackBuffer();

}  // namespace headless
