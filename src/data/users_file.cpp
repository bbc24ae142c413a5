// Loading and saving the users file, and adding users.
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "data/safe_file.h"
#include "data/system_item.h"
#include "data/user_context.h"
#include "data/xml_item_list.h"
#include "data/xml_values.h"
#include "map/file_resolve.h"
#include "map/portrait.h"
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

// Makes an empty file under name without touching one that already exists (a link
// included, wherever it points).
bool CreateEmpty(const std::string& name) {
  FILE* file = fopen(name.c_str(), "wx");
  if (file == nullptr) return false;
  return fclose(file) == 0;
}

void TellRefused(HWND owner, const char* named, const char* instead) {
  char text[800];
  std::snprintf(text, sizeof text,
                "The project names this users file:\n%.256s\n\nIt lies outside the project's "
                "folder, so it is neither read nor written. The users are kept in \"%.256s\" "
                "beside the project instead.",
                named, instead);
  MessageBoxA(owner, text, "Users file outside the project", MB_OK | MB_ICONWARNING);
}

}  // namespace

std::string CPortrait::UsersFileToRead(bool* refusedOutside) const {
  // The choice LoadUsersFile makes, without making or showing anything.
  if (refusedOutside != nullptr) *refusedOutside = false;
  const CSystemItem* system = System();
  if (system == nullptr) return {};
  const std::string folder = RealFolderOf(m_projectPath);
  const FolderFile users = ResolveInFolder(folder, system->m_userFilename);
  if (users.outside && refusedOutside != nullptr) *refusedOutside = true;
  if (!users.outside) {
    if (users.exists) return users.path;
    // Something unreadable stands there, or an empty file will be made there.
    if (!users.path.empty()) return {};
  }
  char defaultName[sizeof system->m_userFilename];
  if (folder.empty() || !DefaultUsersFilename(m_projectPath, defaultName, sizeof defaultName))
    return {};
  const FolderFile fallback = ResolveInFolder(folder, defaultName);
  return !fallback.outside && fallback.exists ? fallback.path : std::string();
}

// Only a file in the project's folder or below is read, created or written as the users
// file: a project may come from anyone, and its names must not reach the rest of the disk.
int CPortrait::LoadUsersFile() {
  CSystemItem* system = System();
  if (system == nullptr) {
    m_status = -16;
    return 0;
  }
  const std::string folder = RealFolderOf(m_projectPath);
  char defaultName[sizeof system->m_userFilename];
  const bool haveDefault =
      !folder.empty() && DefaultUsersFilename(m_projectPath, defaultName, sizeof defaultName);

  FolderFile users = ResolveInFolder(folder, system->m_userFilename);
  if (users.outside) {
    TellRefused(m_hWnd, system->m_userFilename, haveDefault ? defaultName : "");
    users = FolderFile{};
  }
  if (!users.exists) {
    m_status = -15;
    // A users file that is there but cannot be read is never replaced by an empty one.
    if (!users.path.empty() && !NothingThere(users.path)) return 0;
    if (users.path.empty() || !CreateEmpty(users.path)) {
      if (!haveDefault) {
        m_status = -13;
        return 0;
      }
      system->SetUserFilename(defaultName);
      m_status = -14;
      users = ResolveInFolder(folder, defaultName);
      // A default file from an earlier run keeps its users.
      if (users.outside || users.path.empty() ||
          (!users.exists && (!NothingThere(users.path) || !CreateEmpty(users.path)))) {
        m_status = -13;
        return 0;
      }
    }
  }
  FILE* file = fopen(users.path.c_str(), "r");
  if (file == nullptr) {
    // A file that was just made but will not open is as good as none.
    m_status = users.exists ? -15 : -13;
    return 0;
  }

  CUserContext scratch;
  // The current user lived in the list being replaced.
  m_currentUser = nullptr;
  delete m_userList;
  m_userList = new CXmlItemList;
  while (scratch.Parse(file) != -1) m_userList->Add(scratch);
  fclose(file);

  if (m_userList->Count() == 0) m_status = -12;
  return m_userList->Count();
}

bool CPortrait::SaveUsersFile() {
  const char* name = GetUserFilename();
  if (m_userList == nullptr || name == nullptr) return false;
  // Checked again at each save, since the folder may have changed since the load.
  const FolderFile users = ResolveInFolder(RealFolderOf(m_projectPath), name);
  if (users.outside || users.path.empty()) return false;
  CSafeFileWriter writer;
  if (!writer.Open(users.path.c_str())) return false;
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
