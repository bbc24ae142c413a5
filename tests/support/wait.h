// Waiting for a condition that another thread or process brings about: a poll whose limit
// only bounds a hang, never a fixed sleep standing in for the outcome.
#pragma once

#include <chrono>
#include <functional>
#include <thread>

namespace testsupport {

// Polls done() every `step` until it holds (true) or `limit` has passed (false). Give a
// generous limit: the machine may be loaded, and a healthy run never comes near it.
inline bool WaitUntil(const std::function<bool()>& done,
                      std::chrono::milliseconds limit = std::chrono::seconds(20),
                      std::chrono::milliseconds step = std::chrono::milliseconds(5)) {
  const auto end = std::chrono::steady_clock::now() + limit;
  for (;;) {
    if (done()) return true;
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(step);
  }
}

}  // namespace testsupport
