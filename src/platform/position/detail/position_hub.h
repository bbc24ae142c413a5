// What every position source shares (platform-internal): the fixes and state handed from
// a reader (on any thread) to the main thread, and the readers' common shape.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/position/position_source.h"
#include "platform/position/track_file.h"

namespace platform {

class ClockPiece;
class WindowPiece;

// Thread-safe: readers push from their thread, the main thread takes.
class PositionHub {
 public:
  void Push(const PositionFix& fix);  // also moves the state to Fixing
  void SetState(PositionState state);
  PositionState State() const;
  std::vector<PositionFix> Take();
  // Fixes pushed since the last call: one WM_GPS_NOTIFY is owed for each.
  int TakeNotices();
  void Clear();

 private:
  mutable std::mutex m_mutex;
  std::vector<PositionFix> m_fixes;
  PositionState m_state = PositionState::Off;
  int m_notices = 0;
};

PositionHub& Hub();

// One open source. Poll runs on the main thread from the message pump; a reader with a
// thread of its own does its work there and leaves Poll empty.
class PositionReader {
 public:
  virtual ~PositionReader() = default;
  virtual void Poll(uint64_t /*nowMicros*/) {}
  // When Poll next has something to do; the message wait ends no later than this.
  virtual uint64_t NextDueMicros() const { return UINT64_MAX; }
};

// Main thread, from the message pump: lets the source catch up with the clock and posts
// WM_GPS_NOTIFY to the source's window for each new fix.
void PumpPositionSource();
uint64_t NextPositionDueMicros();

// gpsd on a worker thread. `reachable` tells whether gpsd answered the first attempt.
std::unique_ptr<PositionReader> StartGpsdReader(const PositionOptions& options, ClockPiece* clock,
                                                WindowPiece* window, bool* reachable);
// A track played on the platform clock from `startMicros`, `speed` times its recorded pace.
std::unique_ptr<PositionReader> StartTrackReplay(TrackFile track, double speed,
                                                 uint64_t startMicros);

}  // namespace platform
