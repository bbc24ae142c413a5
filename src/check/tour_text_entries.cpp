// Gathering a tour's texts for translators, and writing them as a PO template.
#include "check/tour_text_entries.h"

#include <map>

#include "data/content_item.h"
#include "data/region_item.h"
#include "data/xml_item_list.h"
#include "guide/guide_text.h"
#include "map/file_resolve.h"
#include "platform/media/media_title.h"

namespace {

int LineOf(const ScanResult& scanned, int slot, const char* field) {
  return slot < static_cast<int>(scanned.records.size()) ? scanned.records[slot].LineOf(field)
                                                         : 0;
}

// A PO string: quotes, backslashes and control characters escaped, in one line.
std::string Quoted(const std::string& text) {
  std::string out = "\"";
  for (const char c : text) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\t': out += "\\t"; break;
      case '\r': out += "\\r"; break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          static const char kHex[] = "0123456789abcdef";
          out += "\\x";
          out += kHex[(c >> 4) & 0xF];
          out += kHex[c & 0xF];
        } else {
          out += c;
        }
    }
  }
  return out + "\"";
}

// A comment holds one line.
std::string OneLine(std::string text) {
  for (char& c : text)
    if (c == '\n' || c == '\r') c = ' ';
  return text;
}

}  // namespace

std::string MediaTitleInFolder(const char* storedName, void* context) {
  const auto* folder = static_cast<const std::string*>(context);
  const FolderFile file = ResolveInFolder(*folder, storedName);
  if (!file.exists || file.outside) return {};
  return platform::ReadMediaTitle(file.path);
}

std::vector<TourTextEntry> TourTextEntries(CXmlItemList* regions, CXmlItemList* contents,
                                           const CLineScan& scan,
                                           std::string (*mediaTitle)(const char*, void*),
                                           void* context) {
  std::vector<TourTextEntry> entries;
  if (regions != nullptr) {
    const ScanResult& scanned = scan.Records("region");
    for (int slot = 0; slot < LIST_CAPACITY; ++slot) {
      const auto* region = static_cast<const CRegionItem*>(regions->At(slot));
      if (region == nullptr) continue;
      TourTextEntry entry;
      entry.text = guide::ShownName(region->m_description);
      if (entry.text.empty()) continue;
      entry.origin = "region " + std::to_string(region->m_id);
      entry.what = "place name";
      entry.line = LineOf(scanned, slot, "region_description");
      entry.regionId = region->m_id;
      entries.push_back(std::move(entry));
    }
  }
  if (contents != nullptr) {
    const ScanResult& scanned = scan.Records("content");
    for (int slot = 0; slot < LIST_CAPACITY; ++slot) {
      const auto* item = static_cast<const CContentItem*>(contents->At(slot));
      if (item == nullptr) continue;
      TourTextEntry entry;
      entry.origin = "content " + std::to_string(item->m_id);
      entry.contentId = item->m_id;
      entry.text = item->m_hasTitle ? guide::ShownName(item->m_title) : std::string();
      entry.what = "title";
      entry.line = LineOf(scanned, slot, "title");
      if (entry.text.empty() && mediaTitle != nullptr && item->m_filename[0] != '\0') {
        entry.text = guide::ShownName(mediaTitle(item->m_filename, context));
        entry.what = std::string("title of ") + item->m_filename;
        entry.line = LineOf(scanned, slot, "filename");
      }
      if (!entry.text.empty()) entries.push_back(std::move(entry));
    }
  }
  return entries;
}

std::string PoTemplate(const std::vector<TourTextEntry>& entries, const std::string& projectName,
                       const std::string& fileName) {
  std::string out;
  out += "# Texts of the tour " + OneLine(projectName) + " (" + OneLine(fileName) + ") to translate.\n";
  const std::string stem = OneLine(fileName.substr(0, fileName.find_last_of('.')));
  out += "# Save a translation beside the project as " + stem + ".LL.po (LL: the language's\n";
  out += "# two-letter code, e.g. " + stem + ".de.po).\n";
  out += "msgid \"\"\nmsgstr \"\"\n";
  out += Quoted("Project-Id-Version: " + projectName + "\n") + "\n";
  out += "\"MIME-Version: 1.0\\n\"\n";
  out += "\"Content-Type: text/plain; charset=UTF-8\\n\"\n";
  out += "\"Content-Transfer-Encoding: 8bit\\n\"\n";
  // One entry per text, in the order of its first use.
  std::vector<std::string> order;
  std::map<std::string, std::vector<const TourTextEntry*>> uses;
  for (const TourTextEntry& entry : entries) {
    auto& list = uses[entry.text];
    if (list.empty()) order.push_back(entry.text);
    list.push_back(&entry);
  }
  for (const std::string& text : order) {
    out += "\n";
    for (const TourTextEntry* use : uses[text]) out += "#. " + use->origin + ": " + OneLine(use->what) + "\n";
    out += "#:";
    for (const TourTextEntry* use : uses[text]) out += " " + fileName + ":" + std::to_string(use->line);
    out += "\nmsgid " + Quoted(text) + "\nmsgstr \"\"\n";
  }
  return out;
}
