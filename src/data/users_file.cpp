// Loading and saving the users file, and adding users.
#include <cerrno>
#include <cstring>

#include "data/safe_file.h"
#include "data/system_item.h"
#include "data/user_context.h"
#include "data/xml_item_list.h"
#include "data/xml_values.h"
#include "map/portrait.h"

namespace {

const char DEFAULT_USERS_SUFFIX[] = "Users.xml";

// The project path with its last four characters (the extension and its dot) replaced by
// "Users.xml"; a path shorter than that gets the suffix appended. False when there is no
// project path or the name would not fit.
bool DefaultUsersFilename(const char* projectPath, char* out, size_t size) {
  const size_t length = strlen(projectPath);
  if (length == 0) return false;
  const size_t keep = length >= 4 ? length - 4 : length;
  if (keep + sizeof DEFAULT_USERS_SUFFIX > size) return false;
  memcpy(out, projectPath, keep);
  memcpy(out + keep, DEFAULT_USERS_SUFFIX, sizeof DEFAULT_USERS_SUFFIX);
  return true;
}

// A failed open for reading that says no file of that name is there.
bool NoSuchFile(int error) { return error == ENOENT || error == ENOTDIR; }

// Makes an empty file under name without touching one that already exists.
bool CreateEmpty(const char* name) {
  FILE* file = fopen(name, "wx");
  if (file == nullptr) return false;
  return fclose(file) == 0;
}

}  // namespace

int CPortrait::LoadUsersFile() {
  CSystemItem* system = System();
  if (system == nullptr) {
    m_status = -16;
    return 0;
  }

  FILE* file = fopen(system->m_userFilename, "r");
  if (file == nullptr) {
    m_status = -15;
    // A users file that is there but cannot be read is never replaced by an empty one.
    if (!NoSuchFile(errno)) return 0;
    if (!CreateEmpty(system->m_userFilename)) {
      char defaultName[sizeof system->m_userFilename];
      if (!DefaultUsersFilename(m_projectPath, defaultName, sizeof defaultName)) {
        m_status = -13;
        return 0;
      }
      system->SetUserFilename(defaultName);
      m_status = -14;
      FILE* existing = fopen(defaultName, "r");
      if (existing != nullptr) {
        fclose(existing);  // a default file from an earlier run keeps its users
      } else if (!NoSuchFile(errno) || !CreateEmpty(defaultName)) {
        m_status = -13;
        return 0;
      }
    }
    file = fopen(system->m_userFilename, "r");
    if (file == nullptr) {
      m_status = -15;
      return 0;
    }
  }

  rewind(file);
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
  CSafeFileWriter writer;
  if (!writer.Open(name)) return false;
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
