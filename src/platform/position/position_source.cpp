// Opening, reading and closing the one position source; the main thread's side of the
// hand-over (WM_GPS_NOTIFY is posted here, never from a reader's thread).
#include "platform/position/position_source.h"

#include <cmath>

#include "platform/backend_select.h"
#include "platform/pieces.h"
#include "platform/position/detail/position_hub.h"
#include "platform/windowing/detail/clock.h"
#include "platform/windowing/detail/message_queue.h"
#include "platform/windowing/detail/window_object.h"

namespace platform {
namespace {

struct OpenSource {
  std::unique_ptr<PositionReader> reader;
  HWND window = nullptr;
};

OpenSource& S() {
  static OpenSource source;
  return source;
}

}  // namespace

PositionOpenResult OpenPositionSource(const PositionOptions& options, HWND window) {
  ClosePositionSource();
  OpenSource& s = S();
  s.window = window;
  switch (options.source) {
    case PositionOptions::Source::None:
      return PositionOpenResult::Ok;
    case PositionOptions::Source::Track: {
      TrackFile track = ReadTrackFile(options.trackFile);
      if (track.points.empty()) return PositionOpenResult::TrackUnreadable;
      double speed = std::isfinite(options.speed) && options.speed > 0 ? options.speed : 1.0;
      Hub().SetState(PositionState::Waiting);
      s.reader = StartTrackReplay(std::move(track), speed);
      return PositionOpenResult::Ok;
    }
    case PositionOptions::Source::Gpsd:
      Hub().SetState(PositionState::Waiting);
      if (ActiveBackend() == BackendKind::Headless) {
        // The tests' scripted receiver: fixes come from headless::FeedPositionFix.
        s.reader = std::make_unique<PositionReader>();
        return PositionOpenResult::Ok;
      }
      // The name lookup and the first connection happen on the reader's thread: the
      // state says Unreachable if they fail.
      s.reader = StartGpsdReader(options, Active().clock, Active().window);
      return PositionOpenResult::Ok;
  }
  return PositionOpenResult::Ok;
}

void BeginPositionSource() {
  if (S().reader) S().reader->Begin(ClockMicros());
}

std::vector<PositionFix> TakePositionFixes() { return Hub().Take(); }

PositionState CurrentPositionState() { return Hub().State(); }

std::string PositionProblem() { return Hub().Problem(); }

void ClosePositionSource() {
  OpenSource& s = S();
  s.reader.reset();  // joins a reader's thread
  s.window = nullptr;
  Hub().Clear();
}

void PumpPositionSource() {
  OpenSource& s = S();
  if (s.reader) s.reader->Poll(ClockMicros());
  for (int n = Hub().TakeNotices(); n > 0; --n) {
    if (s.window == nullptr || IsLiveWindow(s.window)) {
      PostToQueue(s.window, WM_GPS_NOTIFY, 0, 0);
    }
  }
}

uint64_t NextPositionDueMicros() { return S().reader ? S().reader->NextDueMicros() : UINT64_MAX; }

}  // namespace platform
