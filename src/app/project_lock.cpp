// The project lock: flock on ".<project file name>.lock" beside the real project file. The
// kernel drops a flock when its holder ends, so a crashed run never blocks the next start,
// and the file itself is left in place (removing it would race with a program opening it).
#include "app/project_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "map/file_resolve.h"

CProjectLock::~CProjectLock() { Release(); }

void CProjectLock::Release() {
  if (m_fd >= 0) close(m_fd);
  m_fd = -1;
}

CProjectLock::Result CProjectLock::Acquire(const char* projectPath) {
  Release();
  // Keyed by the real file: a project opened through a link and through its own name is one
  // project with one lock.
  const std::string lockPath = ProjectLockPath(projectPath);
  if (lockPath.empty()) return Result::Unavailable;

  // The folder may come from anyone: a link planted under the lock's name is not followed
  // (nothing outside the folder is created), and anything but a plain file is not used (a
  // pipe would block). Read access is all flock needs, so an existing lock file works in a
  // read-only folder too.
  const int fd = open(lockPath.c_str(),
                      O_RDONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0644);
  if (fd < 0) return Result::Unavailable;
  struct stat st {};
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    close(fd);
    return Result::Unavailable;
  }
  if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const bool busy = errno == EWOULDBLOCK;
    close(fd);
    return busy ? Result::HeldElsewhere : Result::Unavailable;
  }
  m_fd = fd;
  return Result::Held;
}
