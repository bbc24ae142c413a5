// The hand-over of fixes from readers to the main thread.
#include "platform/position/detail/position_hub.h"

namespace platform {

void PositionHub::Push(const PositionFix& fix) {
  std::lock_guard lock(m_mutex);
  m_fixes.push_back(fix);
  m_state = PositionState::Fixing;
  ++m_notices;
}

void PositionHub::SetState(PositionState state, const std::string& problem) {
  std::lock_guard lock(m_mutex);
  m_state = state;
  m_problem = problem;
}

std::string PositionHub::Problem() const {
  std::lock_guard lock(m_mutex);
  return m_problem;
}

PositionState PositionHub::State() const {
  std::lock_guard lock(m_mutex);
  return m_state;
}

std::vector<PositionFix> PositionHub::Take() {
  std::lock_guard lock(m_mutex);
  std::vector<PositionFix> out;
  out.swap(m_fixes);
  return out;
}

int PositionHub::TakeNotices() {
  std::lock_guard lock(m_mutex);
  int n = m_notices;
  m_notices = 0;
  return n;
}

void PositionHub::Clear() {
  std::lock_guard lock(m_mutex);
  m_fixes.clear();
  m_state = PositionState::Off;
  m_problem.clear();
  m_notices = 0;
}

PositionHub& Hub() {
  static PositionHub hub;
  return hub;
}

}  // namespace platform
