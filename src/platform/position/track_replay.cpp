// Replay of a recorded track on the platform clock, from the main thread's message pump:
// no thread of its own, and on the headless backend it follows the clock the test moves.
// The walk starts when the program says so (the map view first shows), not when it opens.
#include <algorithm>
#include <cmath>

#include "platform/position/detail/position_hub.h"

namespace platform {
namespace {

class TrackReplay : public PositionReader {
 public:
  TrackReplay(TrackFile track, double speed)
      : m_points(std::move(track.points)),
        m_speed(std::clamp(std::isfinite(speed) ? speed : 1.0, kSlowestReplay, kFastestReplay)) {}

  void Begin(uint64_t nowMicros) override {
    if (m_started) return;
    m_started = true;
    m_due = double(nowMicros);
  }

  void Poll(uint64_t nowMicros) override {
    if (!m_started) return;
    while (m_next < m_points.size() && m_due <= double(nowMicros)) {
      const TrackPoint& p = m_points[m_next];
      ++m_next;
      const double step = m_next < m_points.size() ? StepMicros(p, m_points[m_next]) : 0.0;
      Hub().Push(PositionFix{p.latitude, p.longitude, p.horizontalError,
                             static_cast<uint32_t>(nowMicros / 1000),
                             static_cast<uint32_t>(step / 1000)});
      m_due += step;
    }
    if (m_next == m_points.size() && !m_ended) {
      m_ended = true;
      Hub().SetState(PositionState::Ended);
    }
  }

  uint64_t NextDueMicros() const override {
    if (!m_started || m_next >= m_points.size()) return UINT64_MAX;
    return static_cast<uint64_t>(std::ceil(m_due));
  }

 private:
  // The recorded interval; a point without a time, or one recorded before its predecessor,
  // comes one second after it so the walk goes on. A pause in the recording (a receiver
  // switched off, two walks in one file) is cut to kLongestGap of walk time.
  double StepMicros(const TrackPoint& from, const TrackPoint& to) const {
    double seconds = to.time - from.time;
    if (!std::isfinite(seconds) || seconds < 0) seconds = 1.0;
    return std::min(seconds, kLongestGap) * 1e6 / m_speed;
  }

  std::vector<TrackPoint> m_points;
  double m_speed;
  bool m_started = false;
  double m_due = 0;  // platform clock, microseconds, of m_points[m_next]
  size_t m_next = 0;
  bool m_ended = false;
};

}  // namespace

std::unique_ptr<PositionReader> StartTrackReplay(TrackFile track, double speed) {
  return std::make_unique<TrackReplay>(std::move(track), speed);
}

}  // namespace platform
