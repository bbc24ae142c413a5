// Loading and saving the project file.
#include <sys/stat.h>

#include <cstring>
#include <string>
#include <iterator>

#include "data/character_item.h"
#include "data/content_item.h"
#include "data/location_item.h"
#include "data/project_folder.h"
#include "data/region_item.h"
#include "data/safe_file.h"
#include "data/system_item.h"
#include "data/theme_item.h"
#include "data/time_item.h"
#include "data/xml_item_list.h"
#include "data/xml_scan.h"
#include "data/xml_values.h"
#include "map/portrait.h"
#include "platform/windowing/win_api.h"

namespace {

const char PROJECT_HEADER[] = "<?xml version='1.0' encoding='UTF-8' ?>\n\n<media_portrait>";
const char PROJECT_FOOTER[] = "\n\n</media_portrait>";

// One pass over the whole file for one kind: every complete record of the scratch record's
// kind, wherever it stands. onAdded sees each stored copy.
template <typename OnAdded>
CXmlItemList* ReadSection(FILE* file, CXmlItem& scratch, OnAdded onAdded) {
  rewind(file);
  CXmlItemList* list = new CXmlItemList;
  while (scratch.Parse(file) != -1) {
    const int slot = list->Add(scratch);
    if (slot >= 0) onAdded(list->At(slot));
  }
  return list;
}

CXmlItemList* ReadSection(FILE* file, CXmlItem& scratch) {
  return ReadSection(file, scratch, [](CXmlItem*) {});
}

void Replace(CXmlItemList*& field, CXmlItemList* list) {
  delete field;
  field = list;
}

}  // namespace

CSystemItem* CPortrait::System() const {
  if (m_systemList == nullptr) return nullptr;
  for (int slot = 0; slot < LIST_CAPACITY; ++slot)
    if (CXmlItem* item = m_systemList->At(slot)) return static_cast<CSystemItem*>(item);
  return nullptr;
}

const char* CPortrait::GetUserFilename() const {
  const CSystemItem* system = System();
  return system != nullptr ? system->m_userFilename : nullptr;
}

bool CPortrait::LoadProjectFile(const char* path) {
  // Only a regular file (or a link to one) is a project: a folder opens here but reads as
  // nothing, and a pipe would never end; both count as files that cannot be opened. The
  // file is read from the disk once, whole, and every kind is found in what was read.
  struct stat st {};
  const bool regular = path != nullptr && stat(path, &st) == 0 && S_ISREG(st.st_mode);
  std::string text;
  const TextRead read = regular ? ReadFileText(path, &text) : TextRead::Failed;
  FILE* file = read == TextRead::Read ? OpenTextStream(text) : nullptr;
  if (file == nullptr) {
    m_status = read == TextRead::TooLarge ? -20 : -7;
    return false;
  }
  m_projectCrowdedLine = FirstCrowdedLine(text);
  // A path too long for the field is not kept cut short: the users file name derived from
  // a cut path would point somewhere else. An empty path makes that derivation fail (-13).
  if (strlen(path) < sizeof m_projectPath)
    CopyText(m_projectPath, sizeof m_projectPath, path);
  else
    m_projectPath[0] = '\0';
  // The users file is read and written relative to this folder from now on.
  m_projectFolder.Close();
  m_projectFolder.OpenFor(m_projectPath);

  m_selectedContent = nullptr;
  for (CXmlItemList** list : {&m_regionList, &m_contentList, &m_characterList, &m_locationList,
                              &m_themeList, &m_timeList})
    Replace(*list, nullptr);

  {
    CSystemItem scratch;
    Replace(m_systemList, ReadSection(file, scratch));
  }
  if (m_systemList->Count() == 0 || m_systemList->Count() > 1) {
    m_status = m_systemList->Count() == 0 ? -8 : -9;
    fclose(file);
    return false;
  }
  const CSystemItem* system = System();
  m_gpsTopLeft = CGeoPoint(system->m_left, system->m_top);
  m_gpsBottomRight = CGeoPoint(system->m_right, system->m_bottom);

  {
    CRegionItem scratch;
    Replace(m_regionList, ReadSection(file, scratch));
  }
  {
    CCharacterItem scratch;
    Replace(m_characterList, ReadSection(file, scratch));
  }
  {
    CLocationItem scratch;
    Replace(m_locationList, ReadSection(file, scratch));
  }
  {
    CThemeItem scratch;
    Replace(m_themeList, ReadSection(file, scratch));
  }
  {
    CTimeItem scratch;
    Replace(m_timeList, ReadSection(file, scratch));
  }
  {
    CContentItem scratch;
    CXmlItemList* regions = m_regionList;
    Replace(m_contentList, ReadSection(file, scratch, [regions](CXmlItem* item) {
              const int regionId = static_cast<CContentItem*>(item)->m_regionId;
              if (CXmlItem* region = regions->FindById(regionId))
                ++static_cast<CRegionItem*>(region)->m_contentCount;
            }));
  }
  fclose(file);
  return true;
}

bool CPortrait::DroppedRecords() const {
  for (CXmlItemList* list : {m_systemList, m_characterList, m_locationList, m_themeList, m_timeList,
                             m_regionList, m_contentList})
    if (list != nullptr && list->Rejected() > 0) return true;
  return false;
}

LoadLoss CPortrait::ProjectLoss() const {
  if (DroppedRecords()) return LoadLoss::DroppedRecords;
  return m_projectCrowdedLine > 0 ? LoadLoss::CrowdedLine : LoadLoss::None;
}

bool CPortrait::SaveProjectFile(const char* path) {
  CXmlItemList* const sections[] = {m_systemList, m_characterList, m_locationList, m_themeList,
                                    m_timeList,   m_regionList,    m_contentList};
  constexpr int kSectionKinds[] = {KIND_NONE, KIND_CHARACTER, KIND_LOCATION, KIND_THEME,
                                   KIND_TIME, KIND_REGION,    KIND_CONTENT};
  // A project that did not load holds nothing worth writing: saving it would replace the
  // user's file with an empty one. One that held more records of a kind than a list can take
  // is left on disk so that the dropped records survive, and so is one with a line of several
  // elements, of which only the first was read; the caller says so.
  const bool writable =
      path != nullptr && m_systemList != nullptr && m_systemList->Count() == 1 &&
      ProjectLoss() == LoadLoss::None;

  bool saved = false;
  if (writable) {
    CSafeFileWriter writer;
    if (writer.Open(path)) {
      FILE* file = writer.Stream();
      fputs(PROJECT_HEADER, file);
      // Empty lists are written as empty elements, so an author sees where records go.
      for (size_t i = 0; i < std::size(sections); ++i)
        if (sections[i] != nullptr) sections[i]->Write(file, kSectionKinds[i]);
      fputs(PROJECT_FOOTER, file);
      saved = writer.Commit();
    }
  }
  if (saved) m_projectEdited = false;
  // The users' histories are written whatever became of the project file.
  m_usersSaveFailed = m_userList != nullptr && GetUserFilename() != nullptr && !SaveUsersFile();
  return saved;
}
