#include "platform/windowing/detail/input_trace.h"

#include <cstdio>
#include <cstdlib>

#include "platform/graphics/detail/display_state.h"

namespace platform {

void TraceDispatch(const MSG& msg) {
  if (msg.message != WM_LBUTTONDOWN) return;
  static const char* path = std::getenv("CORVANE_INPUT_TRACE");
  if (path == nullptr || path[0] == '\0') return;
  POINT client{GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam)};
  POINT logical = client;
  if (!LogicalFromClient(client, &logical)) return;
  if (std::FILE* f = std::fopen(path, "a")) {
    std::fprintf(f, "down %d %d %d %d\n", client.x, client.y, logical.x, logical.y);
    std::fclose(f);
  }
}

}  // namespace platform
