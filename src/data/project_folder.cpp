#include "data/project_folder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

TextRead ReadFileText(int fd, std::string* text) {
  text->clear();
  if (fd < 0) return TextRead::Failed;
  struct stat st {};
  TextRead result = TextRead::Read;
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    result = TextRead::Failed;
  } else if (st.st_size > DATA_FILE_MAX_BYTES) {
    result = TextRead::TooLarge;
  } else {
    char buffer[65536];
    ssize_t n;
    while ((n = read(fd, buffer, sizeof buffer)) > 0) {
      text->append(buffer, static_cast<size_t>(n));
      // A file that grows while it is read is held to the limit all the same.
      if (text->size() > static_cast<size_t>(DATA_FILE_MAX_BYTES)) {
        result = TextRead::TooLarge;
        break;
      }
    }
    if (n < 0) result = TextRead::Failed;
  }
  close(fd);
  if (result != TextRead::Read) text->clear();
  return result;
}

TextRead ReadFileText(const char* path, std::string* text) {
  // O_NONBLOCK: a pipe put where a file was expected must not hang the open.
  const int fd = path != nullptr ? open(path, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC) : -1;
  return ReadFileText(fd, text);
}

FILE* OpenTextStream(const std::string& text) {
  return fmemopen(const_cast<char*>(text.data()), text.size(), "r");
}

bool CProjectFolder::OpenFor(const char* filePath) {
  if (filePath == nullptr || filePath[0] == '\0') {
    Close();
    return false;
  }
  const std::string path(filePath);
  const size_t slash = path.find_last_of('/');
  const std::string folder =
      slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
  if (m_fd >= 0 && folder == m_openedFor) return true;
  Close();
  m_fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (m_fd < 0) return false;
  m_openedFor = folder;
  return true;
}

void CProjectFolder::Close() {
  if (m_fd >= 0) close(m_fd);
  m_fd = -1;
  m_openedFor.clear();
}

std::string CProjectFolder::RealPath() const {
  if (m_fd < 0) return {};
  const std::string self = "/proc/self/fd/" + std::to_string(m_fd);
  char* real = realpath(self.c_str(), nullptr);
  if (real == nullptr) return {};
  std::string out(real);
  free(real);
  return out;
}

int CProjectFolder::OpenBelow(const std::string& relative) const {
  if (m_fd < 0) return -1;
  int fd = fcntl(m_fd, F_DUPFD_CLOEXEC, 0);
  size_t start = 0;
  while (fd >= 0 && start < relative.size()) {
    size_t end = relative.find('/', start);
    if (end == std::string::npos) end = relative.size();
    const std::string part = relative.substr(start, end - start);
    start = end + 1;
    if (part.empty()) continue;
    const int next =
        part == ".." ? -1
                     : openat(fd, part.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    close(fd);
    fd = next;
  }
  return fd;
}
