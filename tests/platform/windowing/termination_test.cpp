// Requests to end the process: each termination signal, alone or back to back, leaves the
// process running and tells the message loop exactly once.
#include "platform/windowing/termination.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <vector>

#include "platform/backend_headless/headless.h"
#include "platform/windowing/win_api.h"

namespace {

// Runs in a child process, which an unhandled signal would end: 0 when the loop was told
// to end once, 10 plus the number of times otherwise.
int ChildOutcome(const std::vector<int>& signals) {
  headless::Reset();  // what earlier tests in this process left: a closed window, a quit
  platform::HandleTerminationSignals();
  for (int sig : signals) raise(sig);
  int quits = 0;
  MSG msg;
  for (int pass = 0; pass < 3; ++pass) {
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
      if (msg.message == WM_QUIT) ++quits;
  }
  return quits == 1 ? 0 : 10 + quits;
}

TEST(TerminationSignals, EachAloneOrBackToBackEndsTheLoopOnce) {
  const std::vector<std::vector<int>> cases = {
      {SIGHUP}, {SIGTERM}, {SIGINT}, {SIGTERM, SIGHUP}, {SIGHUP, SIGINT, SIGHUP},
  };
  for (const std::vector<int>& signals : cases) {
    SCOPED_TRACE(::testing::PrintToString(signals));
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) _exit(ChildOutcome(signals));
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 0);
  }
}

}  // namespace
