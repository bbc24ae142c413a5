// Links and ids: repeated ids, content naming a missing region or tag, regions without
// content, and viewings of content that is not in the project.
#include <cmath>
#include <cstring>
#include <map>

#include "check/project_checks.h"
#include "data/character_item.h"
#include "data/content_item.h"
#include "data/location_item.h"
#include "data/region_item.h"
#include "data/theme_item.h"
#include "data/time_item.h"
#include "data/user_context.h"
#include "data/xml_item_list.h"
#include "data/xml_values.h"
#include "platform/text/tr.h"

namespace {

// Content ids from here on cannot be chosen for editing: the edit state counts regions from
// this number.
constexpr int kEditableIds = 10000;

// The scanned record that holds list slot i: lists keep records in file order.
const ScanRecord* ScannedAt(const ScanResult& scanned, int slot) {
  return slot < static_cast<int>(scanned.records.size()) ? &scanned.records[slot] : nullptr;
}

int LineOf(const ScanResult& scanned, int slot, const char* field = nullptr) {
  const ScanRecord* r = ScannedAt(scanned, slot);
  if (r == nullptr) return 0;
  return field != nullptr ? r->LineOf(field) : r->line;
}

void CheckRepeatedIds(const std::string& file, CXmlItemList* list, const ScanResult& scanned,
                      const char* element, const char* idName, CCheckReport& report) {
  if (list == nullptr) return;
  std::map<int, int> firstSlot;
  for (int slot = 0; slot < LIST_CAPACITY; ++slot) {
    const CXmlItem* item = list->At(slot);
    if (item == nullptr) continue;
    auto [it, added] = firstSlot.emplace(item->Id(), slot);
    if (added) continue;
    report.Error("duplicate-id", file, LineOf(scanned, slot, idName),
                 Format(_("The %s id %d is used again (first on line %d); the program only ever "
                          "finds the first."),
                        element, item->Id(), LineOf(scanned, it->second, idName)));
  }
}

// The line of the first id entry of this name that reads as id.
int TagEntryLine(const ScanRecord* record, const char* entryName, int id) {
  if (record == nullptr) return 0;
  for (const ScanField& f : record->fields) {
    int v = 0;
    if (f.name == entryName && ReadInt(f.value.c_str(), &v) && v == id) return f.line;
  }
  return record->line;
}

// Minutes and seconds as the use clock writes them: whole minutes, a dot, and seconds in the
// first two decimals, so those must stay below 60.
bool IsMinutesSeconds(const char* text) {
  while (*text == ' ' || *text == '\t') ++text;
  if (!isdigit(static_cast<unsigned char>(*text))) return false;
  while (isdigit(static_cast<unsigned char>(*text))) ++text;
  if (*text == '.') {
    ++text;
    int seconds = 0;
    for (int k = 0; k < 2; ++k) {
      seconds *= 10;
      if (isdigit(static_cast<unsigned char>(*text))) seconds += *text++ - '0';
    }
    if (seconds >= 60) return false;
    while (isdigit(static_cast<unsigned char>(*text))) ++text;
  }
  while (*text == ' ' || *text == '\t') ++text;
  return *text == '\0';
}

void CheckUsers(const CheckedProject& project, const CheckedUsers& users, CCheckReport& report) {
  if (users.users == nullptr || users.scan == nullptr) return;
  const ScanResult& scanned = users.scan->Records("user_context");
  CheckRepeatedIds(users.name, users.users, scanned, "user", "user_id", report);
  for (int slot = 0; slot < LIST_CAPACITY; ++slot) {
    const auto* user = static_cast<const CUserContext*>(users.users->At(slot));
    if (user == nullptr) continue;
    const ScanRecord* record = ScannedAt(scanned, slot);
    if (record == nullptr) continue;
    int entry = 0;
    for (const ScanField& f : record->fields) {
      if (f.name == "duration" && !IsMinutesSeconds(f.value.c_str())) {
        report.Warning("duration-format", users.name, f.line,
                       Format(_("The duration %s is not minutes.seconds (the seconds, the first "
                                "two decimals, run from 00 to 59)."),
                              Quote(f.value).c_str()));
      }
      if (f.name != "viewed_id") continue;
      int id = 0;
      double time = 0;
      if (!ReadViewedPair(f.value.c_str(), &id, &time)) continue;  // reported as unreadable
      if (entry >= user->m_viewedCount) break;
      ++entry;
      const char* dashes = std::strstr(f.value.c_str(), "--");
      if (dashes == nullptr || !IsMinutesSeconds(dashes + 2))
        report.Warning("duration-format", users.name, f.line,
                       Format(_("The viewing time in %s is not minutes.seconds (content id, two "
                                "hyphens, then minutes and seconds below 60)."),
                              Quote(f.value).c_str()));
      if (project.contents != nullptr && project.contents->FindById(id) == nullptr)
        report.Warning(
            "viewed-unknown", users.name, f.line,
            Format(_("User %d viewed content %d, which is not in the project."), user->m_id, id));
    }
  }
}

}  // namespace

void CheckLinks(const CheckedProject& project, const CheckedUsers& users, CCheckReport& report) {
  CheckUsers(project, users, report);
  if (project.scan == nullptr || project.system == nullptr) return;
  const std::string& file = project.name;
  const CLineScan& scan = *project.scan;
  const ScanResult& regions = scan.Records("region");
  const ScanResult& contents = scan.Records("content");

  CheckRepeatedIds(file, project.regions, regions, "region", "region_id", report);
  CheckRepeatedIds(file, project.contents, contents, "content", "content_id", report);
  const struct {
    CXmlItemList* list;
    const char* element;
  } tagLists[] = {{project.characters, "character"},
                  {project.locations, "location"},
                  {project.themes, "theme"},
                  {project.times, "time"}};
  for (const auto& t : tagLists) {
    const std::string idName = std::string(t.element) + "_id";
    CheckRepeatedIds(file, t.list, scan.Records(t.element), t.element, idName.c_str(), report);
  }

  if (project.regions != nullptr) {
    for (int slot = 0; slot < LIST_CAPACITY; ++slot) {
      const auto* region = static_cast<const CRegionItem*>(project.regions->At(slot));
      if (region != nullptr && region->m_contentCount == 0)
        report.Warning(
            "region-empty", file, LineOf(regions, slot),
            Format(_("Region %d has no content: nothing becomes available there."), region->m_id));
    }
  }

  if (project.contents == nullptr) return;
  struct {
    const char* entry;
    const char* noun;
    CXmlItemList* list;
    const bool* (*flags)(const CContentItem&);
  } const kinds[] = {
      {"theme_id", "theme", project.themes, [](const CContentItem& c) { return c.m_themes; }},
      {"character_id", "character", project.characters,
       [](const CContentItem& c) { return c.m_characters; }},
      {"location_id", "location", project.locations,
       [](const CContentItem& c) { return c.m_locations; }},
      {"time_id", "time", project.times, [](const CContentItem& c) { return c.m_times; }},
  };
  for (int slot = 0; slot < LIST_CAPACITY; ++slot) {
    const auto* content = static_cast<const CContentItem*>(project.contents->At(slot));
    if (content == nullptr) continue;
    const ScanRecord* record = ScannedAt(contents, slot);
    if (content->m_id < 0)
      report.Error(
          "content-id-negative", file, LineOf(contents, slot, "content_id"),
          Format(_("Content %d has a negative id: its icon can never be tapped."), content->m_id));
    else if (content->m_id >= kEditableIds)
      report.Warning("content-id-large", file, LineOf(contents, slot, "content_id"),
                     Format(_("Content %d has an id of %d or more: its icon cannot be chosen for "
                              "moving while editing."),
                            content->m_id, kEditableIds));
    // Region 0 means none: such content is only placed beside the user when related.
    if (content->m_regionId != 0 &&
        (project.regions == nullptr || project.regions->FindById(content->m_regionId) == nullptr))
      report.Error("region-unknown", file, LineOf(contents, slot, "region_id"),
                   Format(_("Content %d names region %d, which does not exist; it never becomes "
                            "available."),
                          content->m_id, content->m_regionId));
    for (const auto& kind : kinds) {
      const bool* flags = kind.flags(*content);
      for (int id = 0; id < CONTENT_TAG_IDS; ++id) {
        if (!flags[id]) continue;
        if (kind.list != nullptr && kind.list->FindById(id) != nullptr) continue;
        report.Warning("tag-unknown", file, TagEntryLine(record, kind.entry, id),
                       Format(_("Content %d names %s %d, which is not in the %s list."),
                              content->m_id, kind.noun, id, kind.noun));
      }
    }
  }
}
