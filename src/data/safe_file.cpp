#include "data/safe_file.h"

#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// The temporary name: the file's own name, cut so that the whole stays within the longest
// name a folder entry may have, then ".tmp", the pid and a counter. The pid and the counter
// make a clash with a file of another run unlikely, and O_EXCL settles it.
std::string TempName(const std::string& name, unsigned counter) {
  const std::string suffix = ".tmp" + std::to_string(getpid()) + "-" + std::to_string(counter);
  const size_t room = NAME_MAX - suffix.size();
  return name.substr(0, room) + suffix;
}

}  // namespace

CSafeFileWriter::~CSafeFileWriter() { Abandon(); }

bool CSafeFileWriter::Open(const char* path) {
  Abandon();
  if (path == nullptr || path[0] == '\0') return false;
  std::string target = path;
  struct stat link {};
  if (lstat(path, &link) == 0 && S_ISLNK(link.st_mode)) {
    char* real = realpath(path, nullptr);
    if (real != nullptr) {
      target = real;
      free(real);
    }
  }
  const size_t slash = target.find_last_of('/');
  const std::string folder =
      slash == std::string::npos ? "." : (slash == 0 ? "/" : target.substr(0, slash));
  const std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
  const int folderFd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folderFd < 0) return false;
  const bool opened = OpenIn(folderFd, name.c_str());
  close(folderFd);
  return opened;
}

bool CSafeFileWriter::OpenIn(int folderFd, const char* name) {
  Abandon();
  if (folderFd < 0 || name == nullptr || name[0] == '\0' || std::strchr(name, '/') != nullptr ||
      std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0)
    return false;
  m_folderFd = fcntl(folderFd, F_DUPFD_CLOEXEC, 0);
  if (m_folderFd < 0) return false;
  m_name = name;
  // The replacement keeps the permissions of the file it replaces, and is never readable by
  // more people than that file on the way: it is made with no more than the owner's part of
  // the old mode and given the whole mode before anything is written. A new file gets the
  // usual mode of new files.
  struct stat old {};
  const bool replaces =
      fstatat(m_folderFd, name, &old, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(old.st_mode);
  const mode_t createMode = replaces ? (old.st_mode & 0600) : 0666;
  static unsigned counter = 0;
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    m_tempName = TempName(m_name, counter++);
    fd = openat(m_folderFd, m_tempName.c_str(),
                O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, createMode);
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0) {
    m_tempName.clear();
    Abandon();
    return false;
  }
  if (replaces) fchmod(fd, old.st_mode & 07777);
  m_file = fdopen(fd, "w");
  if (m_file == nullptr) {
    close(fd);
    Abandon();
    return false;
  }
  return true;
}

bool CSafeFileWriter::Commit() {
  if (m_file == nullptr) return false;
  bool ok = fflush(m_file) == 0 && ferror(m_file) == 0 && fsync(fileno(m_file)) == 0;
  ok = (fclose(m_file) == 0) && ok;
  m_file = nullptr;
  if (ok) ok = renameat(m_folderFd, m_tempName.c_str(), m_folderFd, m_name.c_str()) == 0;
  if (ok) {
    m_tempName.clear();
    // The rename is an entry of the folder: only a sync of the folder makes it last.
    fsync(m_folderFd);
  }
  Abandon();
  return ok;
}

void CSafeFileWriter::Abandon() {
  if (m_file != nullptr) {
    fclose(m_file);
    m_file = nullptr;
  }
  if (!m_tempName.empty()) {
    unlinkat(m_folderFd, m_tempName.c_str(), 0);
    m_tempName.clear();
  }
  if (m_folderFd >= 0) {
    close(m_folderFd);
    m_folderFd = -1;
  }
}
