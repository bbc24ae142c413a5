// Reading for the statistics: the project through the program's loader, each users file
// through the user record's own reader, nothing created and nothing written.
#include "app/stats_reading.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <set>
#include <utility>

#include "data/system_item.h"
#include "data/user_context.h"
#include "data/xml_item_list.h"
#include "map/portrait.h"
#include "platform/backend_select.h"
#include "platform/text/tr.h"

namespace {

struct FileCloser {
  void operator()(FILE* file) const { fclose(file); }
};
using FilePtr = std::unique_ptr<FILE, FileCloser>;

// Opens a regular file for reading; a pipe or a device would never end, a folder reads as
// nothing. *error holds the reason when the result is null.
FilePtr OpenRegular(const std::string& path, std::string* error, dev_t* device, ino_t* inode) {
  const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    *error = strerror(errno);
    return nullptr;
  }
  struct stat st {};
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    *error = _("not a file");
    close(fd);
    return nullptr;
  }
  *device = st.st_dev;
  *inode = st.st_ino;
  FILE* file = fdopen(fd, "r");
  if (file == nullptr) {
    *error = strerror(errno);
    close(fd);
  }
  return FilePtr(file);
}

enum class Sniffed { Empty, Users, Project, Other };

// What the start of a file says it is. The program writes a users file as "<user_list>" and
// its records, or as nothing at all when it has no users.
Sniffed SniffStart(FILE* file) {
  char head[4097];
  const size_t n = fread(head, 1, sizeof head - 1, file);
  head[n] = '\0';
  rewind(file);
  const bool blank = strspn(head, " \t\r\n") == n;
  if (blank) return Sniffed::Empty;
  // memmem, not strstr: a NUL in the bytes must not hide what follows.
  const auto has = [&](const char* text) { return memmem(head, n, text, strlen(text)) != nullptr; };
  if (has("<user_list") || has("<user_context")) return Sniffed::Users;
  if (has("<media_portrait")) return Sniffed::Project;
  return Sniffed::Other;
}

// The last bytes of a file the program wrote whole hold the list's closing tag.
bool EndsWithCloseTag(FILE* file) {
  char tail[65];
  if (fseek(file, -static_cast<long>(sizeof tail - 1), SEEK_END) != 0) rewind(file);
  const size_t n = fread(tail, 1, sizeof tail - 1, file);
  rewind(file);
  return memmem(tail, n, "</user_list>", 12) != nullptr;
}

// A record the reader began but that the end of the file cut off.
bool HalfRead(const CUserContext& user) {
  return user.m_id != -1 || user.Username()[0] != '\0' || user.ViewedCount() > 0 ||
         user.Duration() != 0.0;
}

using FileIds = std::set<std::pair<dev_t, ino_t>>;

// Counts the user records of one users file into tally, noting in *file how it went; a file
// already in *seen (named twice, or under two names) is not counted again.
void CountUsersFile(const std::string& path, FileIds* seen, CStatsTally* tally, StatsFile* file) {
  file->name = path;
  std::string error;
  dev_t device = 0;
  ino_t inode = 0;
  const FilePtr stream = OpenRegular(path, &error, &device, &inode);
  if (stream == nullptr) {
    file->problem = _("cannot be read: ") + error;
    return;
  }
  if (!seen->insert({device, inode}).second) {
    file->skipped = true;
    file->problem = _("named more than once: counted once");
    return;
  }
  switch (SniffStart(stream.get())) {
    case Sniffed::Empty:
      return;
    case Sniffed::Project:
      file->problem = _("is a project file, not a users file");
      return;
    case Sniffed::Other:
      file->problem = _("is not a users file (no <user_list> at its start)");
      return;
    case Sniffed::Users:
      break;
  }
  const bool whole = EndsWithCloseTag(stream.get());
  CUserContext scratch;
  while (scratch.Parse(stream.get()) != -1) {
    ++file->visitors;
    file->unknownViewings += tally->Add(scratch);
  }
  if (ferror(stream.get())) {
    file->problem = _("could not be read to its end: ") + std::string(strerror(errno));
  } else if (HalfRead(scratch) || !whole) {
    file->problem = _("ends early (cut short?): the records before the cut are counted");
  }
}

}  // namespace

bool CollectStats(const std::string& project, const std::vector<std::string>& usersFiles,
                  StatsReport* report, std::string* problem) {
  // The loader sounds a beep for an element it does not know; the statistics stay quiet.
  platform::UseBackend(platform::BackendKind::Headless);
  CPortrait model(nullptr, nullptr, 800, 600);
  if (!model.LoadProjectFile(project.c_str())) {
    *problem = model.m_status == -7   ? _("cannot be read")
               : model.m_status == -8 ? _("has no complete <system> record")
               : model.m_status == -9 ? _("has more than one <system> record")
                                      : _("cannot be read");
    return false;
  }
  report->projectFile = project;
  if (const CSystemItem* system = model.System()) report->projectName = system->ProjectName();

  CStatsTally tally(model.m_regionList, model.m_contentList, report);
  std::vector<std::string> names = usersFiles;
  if (names.empty()) {
    const std::string own = model.UsersFileToRead();
    if (!own.empty()) names.push_back(own);
  }
  FileIds seen;
  report->files.reserve(names.size());
  for (const std::string& name : names) {
    report->files.emplace_back();
    CountUsersFile(name, &seen, &tally, &report->files.back());
  }
  tally.Finish();
  return true;
}
