// Requests to end the process: SIGTERM, SIGINT and SIGHUP alike set one flag and wake the
// waiting loop; the loops then close what is open and the program saves and ends.
#include "platform/windowing/termination.h"

#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <mutex>
#include <thread>

#include "platform/pieces.h"
#include "platform/windowing/detail/modal_scope.h"

namespace platform {
namespace {

// Set by the handler, so it must be a lock-free atomic.
std::atomic<bool> g_signalled{false};
static_assert(std::atomic<bool>::is_always_lock_free);
// Written by the handler (write is async-signal-safe), read by the wake thread.
std::atomic<int> g_wakeWrite{-1};

bool g_noted = false;      // main thread: a termination was seen, by signal or window system
bool g_delivered = false;  // main thread: the message layer has been told

std::mutex g_wakeMutex;
WindowPiece* g_wakeTarget = nullptr;  // the window system to wake; guarded by g_wakeMutex

void OnTerminationSignal(int) {
  const int saved = errno;
  g_signalled.store(true);
  const int fd = g_wakeWrite.load();
  if (fd >= 0) {
    const char byte = 1;
    // A full pipe already holds a wake-up; nothing else can be done here anyway.
    [[maybe_unused]] const ssize_t written = write(fd, &byte, 1);
  }
  errno = saved;
}

// Outside the handler, where waking the window system's wait (which takes locks) is allowed.
void WakeLoop(int readFd) {
  for (;;) {
    char bytes[16];
    const ssize_t n = read(readFd, bytes, sizeof bytes);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;
    std::lock_guard<std::mutex> hold(g_wakeMutex);
    if (g_wakeTarget != nullptr) g_wakeTarget->Wake();
  }
}

}  // namespace

void HandleTerminationSignals() {
  static bool installed = false;
  if (installed) return;
  installed = true;
  int fds[2];
  if (pipe2(fds, O_CLOEXEC) == 0) {
    // The handler must never block on a full pipe.
    fcntl(fds[1], F_SETFL, fcntl(fds[1], F_GETFL) | O_NONBLOCK);
    g_wakeWrite.store(fds[1]);
    std::thread(WakeLoop, fds[0]).detach();
  }
  struct sigaction action {};
  action.sa_handler = OnTerminationSignal;
  sigemptyset(&action.sa_mask);
  // Any of the three while the handler runs for another waits until it is done.
  for (int sig : {SIGTERM, SIGINT, SIGHUP}) sigaddset(&action.sa_mask, sig);
  action.sa_flags = SA_RESTART;
  for (int sig : {SIGTERM, SIGINT, SIGHUP}) sigaction(sig, &action, nullptr);
}

void SetTerminationWakeTarget(WindowPiece* window) {
  std::lock_guard<std::mutex> hold(g_wakeMutex);
  g_wakeTarget = window;
}

bool TakeTerminationSignal() {
  if (g_delivered || !g_signalled.load()) return false;
  g_delivered = true;
  g_noted = true;
  return true;
}

void ForgetTermination() {
  g_signalled.store(false);
  g_noted = false;
  g_delivered = false;
}

bool TerminationRequested() { return g_noted || g_signalled.load(); }

void NoteTermination() {
  g_noted = true;
  // The window system's request is the one delivered; a signal after it adds nothing.
  g_delivered = true;
}

}  // namespace platform
