#include "data/safe_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

CSafeFileWriter::~CSafeFileWriter() { Abandon(); }

bool CSafeFileWriter::Open(const char* path) {
  Abandon();
  if (path == nullptr || path[0] == '\0') return false;
  m_path = path;
  // A link is followed, so that the file it names is replaced and the link stays a link.
  struct stat link {};
  if (lstat(path, &link) == 0 && S_ISLNK(link.st_mode)) {
    char* target = realpath(path, nullptr);
    if (target != nullptr) {
      m_path = target;
      free(target);
    }
  }
  // The name only has to be unique in the folder; the pid and a counter make a clash
  // with a file of another run unlikely, and O_EXCL settles it.
  static unsigned counter = 0;
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    m_tempPath = m_path + ".tmp" + std::to_string(getpid()) + "-" + std::to_string(counter++);
    fd = open(m_tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0) {
    m_tempPath.clear();
    return false;
  }
  // The replacement keeps the permissions of the file it replaces.
  struct stat old {};
  if (stat(m_path.c_str(), &old) == 0 && S_ISREG(old.st_mode)) fchmod(fd, old.st_mode & 07777);
  m_file = fdopen(fd, "w");
  if (m_file == nullptr) {
    close(fd);
    unlink(m_tempPath.c_str());
    m_tempPath.clear();
    return false;
  }
  return true;
}

bool CSafeFileWriter::Commit() {
  if (m_file == nullptr) return false;
  bool ok = fflush(m_file) == 0 && ferror(m_file) == 0 && fsync(fileno(m_file)) == 0;
  ok = (fclose(m_file) == 0) && ok;
  m_file = nullptr;
  if (ok) ok = rename(m_tempPath.c_str(), m_path.c_str()) == 0;
  if (!ok) unlink(m_tempPath.c_str());
  m_tempPath.clear();
  return ok;
}

void CSafeFileWriter::Abandon() {
  if (m_file != nullptr) {
    fclose(m_file);
    m_file = nullptr;
  }
  if (!m_tempPath.empty()) {
    unlink(m_tempPath.c_str());
    m_tempPath.clear();
  }
}
