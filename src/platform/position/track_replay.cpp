// Replay of a recorded track on the platform clock, from the main thread's message pump:
// no thread of its own, and on the headless backend it follows the clock the test moves.
#include <cmath>

#include "platform/position/detail/position_hub.h"

namespace platform {
namespace {

class TrackReplay : public PositionReader {
 public:
  TrackReplay(TrackFile track, double speed, uint64_t startMicros)
      : m_points(std::move(track.points)), m_speed(speed), m_due(double(startMicros)) {}

  void Poll(uint64_t nowMicros) override {
    while (m_next < m_points.size() && m_due <= double(nowMicros)) {
      const TrackPoint& p = m_points[m_next];
      Hub().Push(PositionFix{p.latitude, p.longitude, p.horizontalError,
                             static_cast<uint32_t>(nowMicros / 1000)});
      ++m_next;
      if (m_next < m_points.size()) m_due += StepMicros(p, m_points[m_next]);
    }
    if (m_next == m_points.size() && !m_ended) {
      m_ended = true;
      Hub().SetState(PositionState::Ended);
    }
  }

  uint64_t NextDueMicros() const override {
    return m_next < m_points.size() ? static_cast<uint64_t>(std::ceil(m_due)) : UINT64_MAX;
  }

 private:
  // The recorded interval; a point without a time, or one recorded before its predecessor,
  // comes one second after it so the walk goes on.
  double StepMicros(const TrackPoint& from, const TrackPoint& to) const {
    double seconds = to.time - from.time;
    if (!std::isfinite(seconds) || seconds < 0) seconds = 1.0;
    return seconds * 1e6 / m_speed;
  }

  std::vector<TrackPoint> m_points;
  double m_speed;
  double m_due;  // platform clock, microseconds, of m_points[m_next]
  size_t m_next = 0;
  bool m_ended = false;
};

}  // namespace

std::unique_ptr<PositionReader> StartTrackReplay(TrackFile track, double speed,
                                                 uint64_t startMicros) {
  return std::make_unique<TrackReplay>(std::move(track), speed, startMicros);
}

}  // namespace platform
