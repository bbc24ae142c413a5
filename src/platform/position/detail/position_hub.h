// What every position source shares (platform-internal): the fixes and state handed from
// a reader (on any thread) to the main thread, and the readers' common shape.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
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
  // problem: what went wrong, in words, for the log (empty when nothing did).
  void SetState(PositionState state, const std::string& problem = {});
  PositionState State() const;
  std::string Problem() const;
  std::vector<PositionFix> Take();
  // Fixes pushed since the last call: one WM_GPS_NOTIFY is owed for each.
  int TakeNotices();
  void Clear();

 private:
  mutable std::mutex m_mutex;
  std::vector<PositionFix> m_fixes;
  PositionState m_state = PositionState::Off;
  std::string m_problem;
  int m_notices = 0;
};

PositionHub& Hub();

// One open source. Poll runs on the main thread from the message pump; a reader with a
// thread of its own does its work there and leaves Poll empty.
class PositionReader {
 public:
  virtual ~PositionReader() = default;
  virtual void Poll(uint64_t /*nowMicros*/) {}
  // The program is ready for fixes (a replay starts its walk here); later calls do nothing.
  virtual void Begin(uint64_t /*nowMicros*/) {}
  // When Poll next has something to do; the message wait ends no later than this.
  virtual uint64_t NextDueMicros() const { return UINT64_MAX; }
};

// Main thread, from the message pump: lets the source catch up with the clock and posts
// WM_GPS_NOTIFY to the source's window for each new fix.
void PumpPositionSource();
uint64_t NextPositionDueMicros();

// How long the gpsd reader gives the network: a name lookup, a connection, and the silence
// after which a watched gpsd that sent reports counts as lost (it reports every second
// while a receiver is attached; the followed receiver is also given up after this long
// without a fix, when another has one).
struct GpsdLimits {
  std::chrono::milliseconds lookup{5000};
  std::chrono::milliseconds connect{2000};
  std::chrono::milliseconds silence{5000};
};

// gpsd on a worker thread, which also finds and connects to it: this returns at once.
std::unique_ptr<PositionReader> StartGpsdReader(const PositionOptions& options, ClockPiece* clock,
                                                WindowPiece* window,
                                                const GpsdLimits& limits = GpsdLimits{});
// A track played on the platform clock from its Begin, `speed` times its recorded pace
// (kept within kSlowestReplay to kFastestReplay), pauses cut to kLongestGap seconds.
constexpr double kSlowestReplay = 0.01;
constexpr double kFastestReplay = 1000;
constexpr double kLongestGap = 10;
std::unique_ptr<PositionReader> StartTrackReplay(TrackFile track, double speed);

}  // namespace platform
