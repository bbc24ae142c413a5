// Reads a gpsd through the platform's position source, as the program does, and prints one
// line per event for the gpsfake check: "FIX lat lon error", "STATE name" (with the problem
// the source gives for it, if any), and on SIGTERM
// "END fixes notices" after the reader has been closed.
//   position_probe HOST PORT
#include <csignal>
#include <cstdio>

#include "platform/backend_select.h"
#include "platform/position/position_source.h"
#include "platform/windowing/win_api.h"

namespace {

volatile std::sig_atomic_t g_stop = 0;

void Stop(int) { g_stop = 1; }

const char* Name(platform::PositionState s) {
  switch (s) {
    case platform::PositionState::Off:
      return "Off";
    case platform::PositionState::Waiting:
      return "Waiting";
    case platform::PositionState::Unreachable:
      return "Unreachable";
    case platform::PositionState::Fixing:
      return "Fixing";
    case platform::PositionState::Lost:
      return "Lost";
    case platform::PositionState::Ended:
      return "Ended";
  }
  return "?";
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: position_probe HOST PORT\n");
    return 2;
  }
  std::signal(SIGTERM, Stop);
  std::signal(SIGINT, Stop);
  platform::UseBackend(platform::BackendKind::Real);
  platform::PositionOptions o;
  o.source = platform::PositionOptions::Source::Gpsd;
  o.host = argv[1];
  o.port = argv[2];
  auto opened = platform::OpenPositionSource(o, nullptr);
  std::printf("OPEN %s\n", opened == platform::PositionOpenResult::Ok ? "Ok" : "Unreachable");
  long fixes = 0;
  long notices = 0;
  auto shown = platform::PositionState::Off;
  while (!g_stop) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, 0);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_GPS_NOTIFY) ++notices;
    }
    for (const auto& f : platform::TakePositionFixes()) {
      std::printf("FIX %.9f %.9f %.3f\n", f.latitude, f.longitude, f.horizontalError);
      ++fixes;
    }
    auto state = platform::CurrentPositionState();
    if (state != shown) {
      std::printf("STATE %s %s\n", Name(shown = state), platform::PositionProblem().c_str());
    }
    std::fflush(stdout);
  }
  platform::ClosePositionSource();
  platform::ShutdownBackend();
  std::printf("END %ld %ld\n", fixes, notices);
  return 0;
}
