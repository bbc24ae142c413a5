// The kiosk's idle timer, guest numbering and users-file archiving.
#include "app/kiosk_rules.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "data/user_context.h"
#include "data/xml_item_list.h"
#include "platform/text/tr.h"

namespace {

const char kGuestPrefix[] = "GUEST ";

bool Exists(const std::string& path) {
  struct stat st {};
  return lstat(path.c_str(), &st) == 0 || errno != ENOENT;
}

}  // namespace

bool CKioskIdle::VisitEnds(uint32_t nowMs, bool held) {
  if (held) {
    m_lastTouchMs = nowMs;
    return false;
  }
  // Unsigned difference: right across the clock's wrap.
  return nowMs - m_lastTouchMs >= m_limitMs;
}

std::string NextGuestName(CXmlItemList& users) {
  long highest = 0;
  for (int slot = users.First(); slot >= 0; slot = users.Next()) {
    const char* name = static_cast<const CUserContext*>(users.Current())->Username();
    if (strncmp(name, kGuestPrefix, sizeof kGuestPrefix - 1) != 0) continue;
    const char* digits = name + sizeof kGuestPrefix - 1;
    char* end = nullptr;
    const long n = strtol(digits, &end, 10);
    if (end != digits && *end == '\0' && n > highest && n < 1000000) highest = n;
  }
  return kGuestPrefix + std::to_string(highest + 1);
}

std::string ArchiveName(const std::string& usersFile, std::time_t now) {
  const size_t slash = usersFile.rfind('/');
  const size_t dot = usersFile.rfind('.');
  const bool hasExtension =
      dot != std::string::npos && (slash == std::string::npos || dot > slash + 1);
  const std::string stem = hasExtension ? usersFile.substr(0, dot) : usersFile;
  const std::string extension = hasExtension ? usersFile.substr(dot) : std::string();
  std::tm local{};
  localtime_r(&now, &local);
  char date[16];
  std::strftime(date, sizeof date, "%Y-%m-%d", &local);
  for (int n = 1;; ++n) {
    std::string name = stem + "-" + date + "-" + std::to_string(n) + extension;
    if (!Exists(name)) return name;
  }
}

bool ArchiveUsersFile(const std::string& usersFile, std::time_t now, std::string* archive,
                      std::string* problem) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    *archive = ArchiveName(usersFile, now);
    // A rename that refuses to replace: another kiosk on the same folder may archive at the
    // same moment, and an archive is never overwritten.
    if (renameat2(AT_FDCWD, usersFile.c_str(), AT_FDCWD, archive->c_str(), RENAME_NOREPLACE) == 0)
      return true;
    if (errno == EEXIST) continue;
    if (errno == EINVAL || errno == ENOSYS) {
      // A file system without that rename: a hard link cannot replace either.
      if (link(usersFile.c_str(), archive->c_str()) == 0) {
        if (unlink(usersFile.c_str()) == 0) return true;
        const int error = errno;
        unlink(archive->c_str());
        errno = error;
      } else if (errno == EEXIST) {
        continue;
      }
    }
    *problem = strerror(errno);
    return false;
  }
  *problem = _("no free archive name");
  return false;
}
