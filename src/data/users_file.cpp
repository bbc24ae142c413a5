// Loading and saving the users file, and adding users.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "data/content_item.h"
#include "data/project_folder.h"
#include "data/safe_file.h"
#include "data/system_item.h"
#include "data/user_context.h"
#include "data/xml_item_list.h"
#include "data/xml_scan.h"
#include "data/xml_values.h"
#include "map/file_resolve.h"
#include "map/portrait.h"
#include "platform/text/tr.h"
#include "platform/windowing/win_api.h"

namespace {

const char DEFAULT_USERS_SUFFIX[] = "Users.xml";

// The project's file name with its last four characters (the extension and its dot)
// replaced by "Users.xml"; a shorter name gets the suffix appended. The name is relative to
// the project's folder, so a copied project keeps to its own users. False when there is no
// project path or the name would not fit.
bool DefaultUsersFilename(const char* projectPath, char* out, size_t size) {
  const char* slash = strrchr(projectPath, '/');
  const char* name = slash != nullptr ? slash + 1 : projectPath;
  const size_t length = strlen(name);
  if (length == 0) return false;
  const size_t keep = length >= 4 ? length - 4 : length;
  if (keep + sizeof DEFAULT_USERS_SUFFIX > size) return false;
  memcpy(out, name, keep);
  memcpy(out + keep, DEFAULT_USERS_SUFFIX, sizeof DEFAULT_USERS_SUFFIX);
  return true;
}

// A failed open or stat that says no file of that name is there.
bool NoSuchFile(int error) { return error == ENOENT || error == ENOTDIR; }

// Nothing stands at path, so a file may be made there. A folder or a link that loops is
// something, and is left alone; so is anything that is not a regular file, since reading a
// pipe would never end.
bool NothingThere(const std::string& path) {
  struct stat st {};
  return stat(path.c_str(), &st) != 0 && NoSuchFile(errno);
}

std::string RealPathOf(const std::string& path) {
  char* real = realpath(path.c_str(), nullptr);
  if (real == nullptr) return {};
  std::string out(real);
  free(real);
  return out;
}

// Where a users file lies below folder, in real parts (no links): the folder that holds it,
// relative to folder, and its name. A link inside the folder is taken to the file it names,
// which is then read and replaced, the link staying a link. False when it is not below.
bool PlaceBelow(const std::string& folder, const FolderFile& file, std::string* sub,
                std::string* name) {
  if (folder.empty() || file.path.empty()) return false;
  std::string real;
  if (file.exists) {
    real = RealPathOf(file.path);
  } else {
    const size_t slash = file.path.find_last_of('/');
    if (slash == std::string::npos) return false;
    const std::string parent = RealPathOf(slash == 0 ? "/" : file.path.substr(0, slash));
    if (parent.empty()) return false;
    real = (parent == "/" ? "" : parent) + "/" + file.path.substr(slash + 1);
  }
  const std::string prefix = folder == "/" ? "/" : folder + "/";
  if (real.size() <= prefix.size() || real.compare(0, prefix.size(), prefix) != 0) return false;
  const std::string relative = real.substr(prefix.size());
  const size_t slash = relative.find_last_of('/');
  *sub = slash == std::string::npos ? std::string() : relative.substr(0, slash);
  *name = slash == std::string::npos ? relative : relative.substr(slash + 1);
  return true;
}

// Opens the users file at its place below the project's folder, every part entered without
// following a link; -1 when it cannot be opened.
int OpenBelow(const CProjectFolder& projectFolder, const std::string& folder,
              const FolderFile& file, int flags) {
  std::string sub;
  std::string name;
  if (!PlaceBelow(folder, file, &sub, &name)) return -1;
  const int holder = projectFolder.OpenBelow(sub);
  if (holder < 0) return -1;
  const int fd = openat(holder, name.c_str(), flags | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC, 0666);
  close(holder);
  return fd;
}

// Makes an empty file without touching one that already exists (a link included, wherever
// it points).
bool CreateEmpty(const CProjectFolder& projectFolder, const std::string& folder,
                 const FolderFile& file) {
  const int fd = OpenBelow(projectFolder, folder, file, O_WRONLY | O_CREAT | O_EXCL);
  return fd >= 0 && close(fd) == 0;
}

TextRead ReadBelow(const CProjectFolder& projectFolder, const std::string& folder,
                   const FolderFile& file, std::string* text) {
  // O_NONBLOCK: a pipe swapped in must not hang the open.
  return ReadFileText(OpenBelow(projectFolder, folder, file, O_RDONLY | O_NONBLOCK), text);
}

// path is the same file as one the tour is made of: the project itself, its lock, the map,
// or a video or picture of a content item. Compared by device and inode, so that no other
// name (a link, letter case, "./") makes it a different file.
bool IsTourFile(const CPortrait& model, const std::string& folder, const std::string& path) {
  struct stat users {};
  if (stat(path.c_str(), &users) != 0) return false;
  auto same = [&users](const std::string& other) {
    struct stat st {};
    return !other.empty() && stat(other.c_str(), &st) == 0 && st.st_dev == users.st_dev &&
           st.st_ino == users.st_ino;
  };
  auto named = [&](const char* name) {
    if (name == nullptr || name[0] == '\0') return false;
    const FolderFile file = ResolveInFolder(folder, name);
    return file.exists && same(file.path);
  };
  if (same(model.m_projectPath) || same(ProjectLockPath(model.m_projectPath))) return true;
  if (const CSystemItem* system = model.System(); system != nullptr && named(system->m_mapFilename))
    return true;
  if (model.m_contentList == nullptr) return false;
  for (int slot = 0; slot < LIST_CAPACITY; ++slot) {
    const auto* content = static_cast<const CContentItem*>(model.m_contentList->At(slot));
    if (content != nullptr && (named(content->m_filename) || named(content->m_thumbnail)))
      return true;
  }
  return false;
}

// Text that holds something, but not a users record nor the users list: another file that
// a users list must not replace.
bool HoldsOtherThanUsers(const std::string& text) {
  if (text.find_first_not_of(" \t\r\n") == std::string::npos) return false;
  char line[XML_LINE_SIZE];
  char name[XML_NAME_SIZE];
  FILE* stream = OpenTextStream(text);
  if (stream == nullptr) return true;
  bool users = false;
  while (!users && fgets(line, sizeof line, stream) != nullptr) {
    ReadTagName(line, name, sizeof name);
    users = strcmp(name, "user_context") == 0 || strcmp(name, "user_list") == 0 ||
            strcmp(name, "user_list/") == 0;
  }
  fclose(stream);
  return !users;
}

// A users file named by the project, judged as the load judges it. A refused name leaves
// file empty; a file that is there has been read into text.
struct UsersChoice {
  FolderFile file;
  UsersRefusal refused = UsersRefusal::None;
  TextRead read = TextRead::Failed;
  std::string text;
};

UsersChoice Judge(const CPortrait& model, const std::string& folder, const char* name) {
  UsersChoice choice;
  choice.file = ResolveInFolder(folder, name);
  if (choice.file.outside) {
    choice.refused = UsersRefusal::Outside;
  } else if (choice.file.exists) {
    if (IsTourFile(model, folder, choice.file.path)) {
      choice.refused = UsersRefusal::TourFile;
    } else {
      choice.read = ReadBelow(model.m_projectFolder, folder, choice.file, &choice.text);
      if (choice.read == TextRead::Read && HoldsOtherThanUsers(choice.text))
        choice.refused = UsersRefusal::NotUsers;
    }
  }
  if (choice.refused != UsersRefusal::None) {
    choice.file = FolderFile{};
    choice.read = TextRead::Failed;
    choice.text.clear();
  }
  return choice;
}

void TellRefused(HWND owner, UsersRefusal why, const char* named, const char* instead) {
  const char* reason =
      why == UsersRefusal::Outside ? _("It lies outside the project's folder")
      : why == UsersRefusal::TourFile
          ? _("It is one of the tour's own files (the project, its map, a picture or a video)")
          : _("It holds something other than users");
  char text[900];
  std::snprintf(text, sizeof text,
                _("The project names this users file:\n%.256s\n\n%s, so it is neither read nor "
                  "written. The users are kept in \"%.256s\" beside the project instead."),
                named, reason, instead);
  MessageBoxA(
      owner, text,
      why == UsersRefusal::Outside ? _("Users file outside the project") : _("Users file not used"),
      MB_OK | MB_ICONWARNING);
}

}  // namespace

std::string CPortrait::UsersFileToRead(UsersRefusal* refused) const {
  // The choice LoadUsersFile makes, without making or showing anything.
  if (refused != nullptr) *refused = UsersRefusal::None;
  const CSystemItem* system = System();
  if (system == nullptr) return {};
  m_projectFolder.OpenFor(m_projectPath);
  const std::string folder = m_projectFolder.RealPath();
  const UsersChoice users = Judge(*this, folder, system->m_userFilename);
  if (refused != nullptr) *refused = users.refused;
  if (users.file.exists) return users.file.path;
  // Something unreadable stands there, or an empty file will be made there.
  if (!users.file.path.empty()) return {};
  char defaultName[sizeof system->m_userFilename];
  if (folder.empty() || !DefaultUsersFilename(m_projectPath, defaultName, sizeof defaultName))
    return {};
  const UsersChoice fallback = Judge(*this, folder, defaultName);
  return fallback.file.exists ? fallback.file.path : std::string();
}

// Only a file in the project's folder or below is read, created or written as the users
// file: a project may come from anyone, and its names must not reach the rest of the disk,
// nor the tour's own files.
int CPortrait::LoadUsersFile() {
  CSystemItem* system = System();
  if (system == nullptr) {
    m_status = -16;
    return 0;
  }
  m_projectFolder.OpenFor(m_projectPath);
  const std::string folder = m_projectFolder.RealPath();
  char defaultName[sizeof system->m_userFilename];
  const bool haveDefault =
      !folder.empty() && DefaultUsersFilename(m_projectPath, defaultName, sizeof defaultName);

  UsersChoice users = Judge(*this, folder, system->m_userFilename);
  if (users.refused != UsersRefusal::None)
    TellRefused(m_hWnd, users.refused, system->m_userFilename, haveDefault ? defaultName : "");
  if (!users.file.exists) {
    m_status = -15;
    // A users file that is there but cannot be read is never replaced by an empty one.
    if (!users.file.path.empty() && !NothingThere(users.file.path)) return 0;
    if (users.file.path.empty() || !CreateEmpty(m_projectFolder, folder, users.file)) {
      if (!haveDefault) {
        m_status = -13;
        return 0;
      }
      system->SetUserFilename(defaultName);
      m_status = -14;
      users = Judge(*this, folder, defaultName);
      // A default file from an earlier run keeps its users.
      if (users.refused != UsersRefusal::None || users.file.path.empty() ||
          (!users.file.exists &&
           (!NothingThere(users.file.path) || !CreateEmpty(m_projectFolder, folder, users.file)))) {
        m_status = -13;
        return 0;
      }
    }
    // A file that was just made but will not open is as good as none.
    if (!users.file.exists) users.read = ReadBelow(m_projectFolder, folder, users.file, &users.text);
  }
  if (users.read != TextRead::Read) {
    m_status = users.read == TextRead::TooLarge ? -21 : users.file.exists ? -15 : -13;
    return 0;
  }
  FILE* file = OpenTextStream(users.text);
  if (file == nullptr) {
    m_status = -15;
    return 0;
  }

  CUserContext scratch;
  // The current user lived in the list being replaced.
  m_currentUser = nullptr;
  delete m_userList;
  m_userList = new CXmlItemList;
  while (scratch.Parse(file) != -1) m_userList->Add(scratch);
  fclose(file);
  m_usersCrowdedLine = FirstCrowdedLine(users.text);

  if (m_userList->Count() == 0) m_status = -12;
  return m_userList->Count();
}

LoadLoss CPortrait::UsersLoss() const {
  if (m_userList != nullptr && m_userList->Rejected() > 0) return LoadLoss::DroppedRecords;
  return m_usersCrowdedLine > 0 ? LoadLoss::CrowdedLine : LoadLoss::None;
}

bool CPortrait::SaveUsersFile() {
  const char* name = GetUserFilename();
  // A list that could not hold the whole file is never written over it.
  if (m_userList == nullptr || name == nullptr || UsersLoss() != LoadLoss::None) return false;
  // Checked again at each save, since the folder may have changed since the load; written
  // relative to the folder held open, so that a link swapped in cannot lead elsewhere.
  m_projectFolder.OpenFor(m_projectPath);
  const std::string folder = m_projectFolder.RealPath();
  const FolderFile users = ResolveInFolder(folder, name);
  if (users.outside || users.path.empty()) return false;
  if (users.exists && IsTourFile(*this, folder, users.path)) return false;
  std::string sub;
  std::string entry;
  if (!PlaceBelow(folder, users, &sub, &entry)) return false;
  const int holder = m_projectFolder.OpenBelow(sub);
  if (holder < 0) return false;
  CSafeFileWriter writer;
  const bool opened = writer.OpenIn(holder, entry.c_str());
  close(holder);
  if (!opened) return false;
  m_userList->Write(writer.Stream());
  return writer.Commit();
}

CUserContext* CPortrait::AddNewUser(const char* name) {
  if (m_userList == nullptr) return nullptr;
  CUserContext user;
  user.Reset();
  user.SetUsername(name != nullptr ? name : "");
  user.SetId(m_userList->LowestFreeId());
  const int slot = m_userList->Add(user);
  return slot < 0 ? nullptr : static_cast<CUserContext*>(m_userList->At(slot));
}
