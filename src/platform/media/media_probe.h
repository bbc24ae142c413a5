// Opening video and sound files without a window to learn whether they play and for how long, for
// the project checker. Local files only: no network, no configuration, no scripts.
#pragma once

#include <memory>
#include <string>

namespace platform {

struct MediaProbeResult {
  bool playable = false;
  bool picture = false;  // it plays a moving picture, not only sound
  double seconds = 0;    // duration when playable (0 when the file does not say)
  std::string reason;    // why it is not playable, as a plain phrase ("is empty")
};

// One player, reused for file after file: setting a player up costs far more than loading a
// file into it. Single thread.
class MediaProber {
 public:
  MediaProber();
  ~MediaProber();
  MediaProber(const MediaProber&) = delete;
  MediaProber& operator=(const MediaProber&) = delete;

  // path must name a regular local file; anything that looks like a network address or
  // another protocol is refused without being opened.
  MediaProbeResult Probe(const std::string& path);

 private:
  struct State;
  std::unique_ptr<State> m_state;
};

}  // namespace platform
