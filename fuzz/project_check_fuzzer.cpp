// libFuzzer target for the project checker: each input is read as a project and as its users
// file, its records loaded by the record readers in the loader's passes, and every check
// that needs no disk is run; both reports are written. Built by fuzz/build_check_fuzzer.sh.
#include <cstdint>
#include <cstdio>
#include <string>

#include "check/check_report.h"
#include "check/line_scan.h"
#include "check/project_checks.h"
#include "data/character_item.h"
#include "data/content_item.h"
#include "data/location_item.h"
#include "data/region_item.h"
#include "data/system_item.h"
#include "data/theme_item.h"
#include "data/time_item.h"
#include "data/user_context.h"
#include "data/xml_item_list.h"
#include "platform/windowing/win_api.h"

// The records need only these two calls of the platform layer.
BOOL MessageBeep(UINT) { return TRUE; }
DWORD timeGetTime() { return 0; }

namespace {

// Media answers made up from the names, so that every branch of the media checks runs
// without touching the disk.
class CFakeMedia : public CMediaInspector {
 public:
  std::string Resolve(const char* storedName) override {
    return storedName[0] != '\0' && storedName[0] != 'm' ? storedName : "";
  }
  Image InspectImage(const std::string& path) override {
    Image image;
    image.decoded = path.size() % 3 != 0;
    image.width = static_cast<int>(path.size() * 37 % 1000);
    image.height = static_cast<int>(path.size() * 53 % 1000);
    return image;
  }
  Video ProbeVideo(const std::string& path) override {
    return {path.size() % 2 == 0, path.size() % 4 == 0, static_cast<double>(path.size()),
            "cannot be played"};
  }
};

template <typename Record>
CXmlItemList* ReadList(FILE* in) {
  rewind(in);
  Record record;
  auto* list = new CXmlItemList;
  while (record.Parse(in) != -1) list->Add(record);
  return list;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FILE* in = fmemopen(const_cast<uint8_t*>(data), size, "r");
  if (in == nullptr) return 0;
  CLineScan scan;
  scan.Read(in);

  CheckedProject project;
  project.name = "Project.xml";
  project.scan = &scan;
  project.system = ReadList<CSystemItem>(in);
  project.regions = ReadList<CRegionItem>(in);
  project.characters = ReadList<CCharacterItem>(in);
  project.locations = ReadList<CLocationItem>(in);
  project.themes = ReadList<CThemeItem>(in);
  project.times = ReadList<CTimeItem>(in);
  project.contents = ReadList<CContentItem>(in);
  for (int slot = 0; slot < LIST_CAPACITY; ++slot) {
    auto* content = static_cast<CContentItem*>(project.contents->At(slot));
    if (content == nullptr) continue;
    if (auto* region = static_cast<CRegionItem*>(project.regions->FindById(content->m_regionId)))
      ++region->m_contentCount;
  }
  CheckedUsers users;
  users.name = "ProjectUsers.xml";
  users.scan = &scan;
  users.users = ReadList<CUserContext>(in);

  CCheckReport report;
  CheckReading(project.name, scan, false, report);
  CheckReading(users.name, scan, true, report);
  CheckLinks(project, users, report);
  CheckGeography(project, report);
  CFakeMedia media;
  CheckMedia(project, media, report);
  FILE* out = fopen("/dev/null", "w");
  report.WriteText(out);
  report.WriteJson(out);
  fclose(out);

  for (CXmlItemList* list : {project.system, project.regions, project.characters, project.locations,
                             project.themes, project.times, project.contents, users.users})
    delete list;
  fclose(in);
  return 0;
}
