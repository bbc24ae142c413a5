// The tests' control of the headless backend.
#include "platform/backend_headless/headless.h"

#include "platform/backend_headless/headless_pieces.h"
#include "platform/backend_select.h"
#include "platform/position/detail/position_hub.h"
#include "platform/graphics/detail/display_state.h"
#include "platform/windowing/detail/file_choice.h"
#include "platform/windowing/detail/input_translate.h"
#include "platform/windowing/detail/locale_setup.h"
#include "platform/windowing/detail/message_queue.h"
#include "platform/windowing/termination.h"
#include "platform/windowing/detail/modal_dialog.h"
#include "platform/windowing/detail/window_object.h"
#include "platform/windowing/detail/window_support.h"

namespace headless {

using platform::HeadlessWindows;
using platform::InputEvent;

void Reset() {
  platform::ClosePositionSource();
  platform::UseBackend(platform::BackendKind::Headless);
  platform::ForgetOpenDisplay();
  platform::ResetWindows();
  platform::ResetTimers();
  platform::ResetMessageQueue();
  platform::ForgetTermination();
  platform::ResetInputState();
  platform::ResetMouseState();
  platform::SetPresetFile("");
  platform::ResetHeadlessDialogs();
  platform::HeadlessWindows().Reset();
  platform::HeadlessClock().Set(0);
  platform::HeadlessPresent().Reset();
  platform::HeadlessDialogs().Reset();
  SetDrawRecording(false);
  ClearDrawCalls();
  platform::SetProcessLocale();
}

void ForgetShown() { platform::HeadlessDialogs().Reset(); }

void SetClock(uint32_t ms) { platform::HeadlessClock().Set(uint64_t{ms} * 1000); }

void AdvanceClock(uint32_t ms) {
  platform::HeadlessClock().Set(platform::HeadlessClock().NowMicros() + uint64_t{ms} * 1000);
}

uint32_t Clock() { return static_cast<uint32_t>(platform::HeadlessClock().NowMicros() / 1000); }

namespace {

void InjectMouse(InputEvent::Kind kind, int x, int y) {
  HeadlessWindows().MoveCursorTo(x, y);
  InputEvent e{kind};
  e.x = x;
  e.y = y;
  HeadlessWindows().Inject(e);
}

}  // namespace

void InjectMouseDown(int x, int y) { InjectMouse(InputEvent::Kind::MouseDown, x, y); }
void InjectMouseUp(int x, int y) { InjectMouse(InputEvent::Kind::MouseUp, x, y); }
void InjectMouseMove(int x, int y) { InjectMouse(InputEvent::Kind::MouseMove, x, y); }

void InjectKeyDown(UINT vk, bool autoRepeat) {
  InputEvent e{InputEvent::Kind::KeyDown};
  e.vk = vk;
  e.repeat = autoRepeat;
  HeadlessWindows().Inject(e);
}

void InjectKeyUp(UINT vk) {
  InputEvent e{InputEvent::Kind::KeyUp};
  e.vk = vk;
  HeadlessWindows().Inject(e);
}

void InjectClose() { HeadlessWindows().Inject(InputEvent{InputEvent::Kind::Close}); }
void InjectTerminate() { HeadlessWindows().Inject(InputEvent{InputEvent::Kind::Terminate}); }

void InjectMinimize() {
  HWND main = platform::InputWindow();
  if (main != nullptr) HeadlessWindows().Minimize(main);
}

void InjectRestore() {
  HWND main = platform::InputWindow();
  if (main != nullptr) HeadlessWindows().Restore(main);
}

void SetClientSize(int width, int height) {
  HWND main = platform::InputWindow();
  if (main == nullptr) return;
  RECT c = HeadlessWindows().ClientOnScreen(main);
  HeadlessWindows().PlaceClient(main, c.left, c.top, width, height);
}

void QueueMessageBoxAnswer(int answer) { platform::HeadlessDialogs().boxAnswers.push_back(answer); }

const std::vector<MessageBoxRecord>& MessageBoxes() { return platform::HeadlessDialogs().boxes; }

int BeepCount() { return platform::HeadlessDialogs().Beeps(); }

void QueueFileDialogAnswer(std::optional<std::string> path) {
  platform::HeadlessDialogs().fileAnswers.push_back(std::move(path));
}

const std::vector<FileDialogRecord>& FileDialogs() {
  return platform::HeadlessDialogs().fileDialogs;
}

void FeedPositionFix(double latitude, double longitude, double horizontalError) {
  platform::Hub().Push(platform::PositionFix{latitude, longitude, horizontalError, Clock()});
  platform::PumpPositionSource();
}

void SetPositionState(platform::PositionState state, const std::string& problem) {
  platform::Hub().SetState(state, problem);
}

void QueueGpsEntryAnswer(GpsEntryScript answer) {
  platform::HeadlessDialogs().gpsEntryAnswers.push_back(std::move(answer));
}

const std::vector<GpsEntryRequest>& GpsEntryDialogs() {
  return platform::HeadlessDialogs().gpsEntries;
}

int FlipCount() { return platform::FlipCount(); }

CGapiSurface* BackBuffer() { return platform::OpenBackBuffer(); }

}  // namespace headless
