// Choice of backend, the command-line project, and shutting the backend down.
#include "platform/backend_select.h"

#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/windowing/detail/file_choice.h"
#include "platform/windowing/detail/input_translate.h"
#include "platform/windowing/detail/locale_setup.h"
#include "platform/windowing/detail/message_queue.h"
#include "platform/pieces.h"
#include "platform/position/position_source.h"
#include "platform/windowing/detail/window_object.h"
#include "platform/windowing/detail/window_support.h"
#include "platform/windowing/termination.h"

namespace platform {
namespace {

struct BackendState {
  bool chosen = false;
  BackendKind kind = BackendKind::Real;
  Pieces pieces;
};

BackendState& B() {
  static BackendState state;
  return state;
}

}  // namespace

void UseBackend(BackendKind kind) {
  BackendState& b = B();
  if (b.chosen && b.kind == kind) return;
  if (b.chosen) ShutdownBackend();
  b.kind = kind;
  b.pieces = kind == BackendKind::Real ? RealPieces() : HeadlessPieces();
  b.chosen = true;
  SetTerminationWakeTarget(b.pieces.window);
  // The locale comes from the environment, as a toolkit would set it, except for numbers.
  SetProcessLocale();
}

BackendKind ActiveBackend() {
  if (!B().chosen) UseBackend(BackendFromEnvironment());
  return B().kind;
}

BackendKind BackendFromEnvironment() {
  const char* value = std::getenv("CORVANE_HEADLESS");
  return value != nullptr && std::strcmp(value, "1") == 0 ? BackendKind::Headless
                                                          : BackendKind::Real;
}

Pieces& Active() {
  if (!B().chosen) UseBackend(BackendFromEnvironment());
  return B().pieces;
}

void PresetFileChoice(const char* path) { SetPresetFile(path ? path : ""); }

void ShutdownBackend() {
  BackendState& b = B();
  if (!b.chosen) return;
  // A signal from now on is only noted: the window system it would wake is going.
  SetTerminationWakeTarget(nullptr);
  // The position reader's thread wakes the window system; it ends before that goes.
  ClosePositionSource();
  if (b.pieces.present) b.pieces.present->Close();
  ResetWindows();
  ResetTimers();
  ResetMessageQueue();
  ResetInputState();
  ResetMouseState();
  if (b.pieces.shutdown) b.pieces.shutdown();
  b.chosen = false;
  b.pieces = Pieces{};
}

}  // namespace platform
