// The tour's languages as an author needs to see them: catalogues that cannot be read, media
// siblings that will not play, and per language the places and items left untranslated.
#include <dirent.h>
#include <sys/stat.h>

#include <set>

#include "check/project_checks.h"
#include "check/tour_text_entries.h"
#include "data/content_item.h"
#include "data/xml_item_list.h"
#include "guide/tour_languages.h"
#include "guide/tour_texts.h"
#include "map/file_resolve.h"
#include "map/media_variant.h"
#include "platform/text/tr.h"

namespace {

// Something stands at the sibling's place (a folder, a pipe, a link out), yet it is not a
// file the program would play.
bool SomethingAt(const std::string& folder, const std::string& name) {
  const FolderFile file = ResolveInFolder(folder, name.c_str());
  struct stat st {};
  return !file.path.empty() && lstat(file.path.c_str(), &st) == 0;
}

}  // namespace

void CheckLanguages(const CheckedProject& project, const std::string& projectPath,
                    CMediaInspector* media, CCheckReport& report) {
  if (project.scan == nullptr) return;
  std::vector<std::string> names;
  if (project.contents != nullptr) {
    for (int slot = 0; slot < LIST_CAPACITY; ++slot) {
      const auto* item = static_cast<const CContentItem*>(project.contents->At(slot));
      if (item != nullptr && item->m_filename[0] != '\0') names.emplace_back(item->m_filename);
    }
  }
  CTourTexts texts;
  texts.Load(projectPath, names);
  const std::string& folder = texts.Folder();

  for (const auto& [code, catalogue] : texts.Catalogues()) {
    if (catalogue.ok) continue;
    report.Error("catalogue-broken", texts.CatalogueName(code), catalogue.errorLine,
                 Format(_("The %s catalogue cannot be read (%s); visitors who choose %s see the "
                          "tour's own names and titles."),
                        tr::LanguageName(code).c_str(), catalogue.error.c_str(),
                        tr::LanguageName(code).c_str()));
  }

  std::string mediaFolder = folder;
  const std::vector<TourTextEntry> entries = TourTextEntries(
      project.regions, project.contents, *project.scan, MediaTitleInFolder, &mediaFolder);
  const ScanResult& contents = project.scan->Records("content");
  for (const std::string& code : texts.Languages()) {
    const std::string language = tr::LanguageName(code);
    const auto catalogue = texts.Catalogues().find(code);
    const bool readable = catalogue != texts.Catalogues().end() && catalogue->second.ok;
    for (const TourTextEntry& entry : entries) {
      if (entry.regionId < 0 || (readable && texts.Translates(code, entry.text))) continue;
      report.Warning("language-gap", project.name, entry.line,
                     Format(_("Region %d, %s, has no %s name in %s."), entry.regionId,
                            Quote(entry.text).c_str(), language.c_str(),
                            texts.CatalogueName(code).c_str()));
    }
    if (project.contents == nullptr) continue;
    for (int slot = 0; slot < LIST_CAPACITY; ++slot) {
      const auto* item = static_cast<const CContentItem*>(project.contents->At(slot));
      if (item == nullptr || item->m_filename[0] == '\0') continue;
      const int line = slot < static_cast<int>(contents.records.size())
                           ? contents.records[slot].LineOf("filename")
                           : 0;
      const std::string siblingName = lang::SiblingName(item->m_filename, code);
      const std::string sibling = MediaSibling(folder, item->m_filename, code);
      if (sibling.empty() && SomethingAt(folder, siblingName)) {
        report.Warning("media-variant-unusable", project.name, line,
                       Format(_("%s is not a file inside the project's folder; %s visitors "
                                "get the tour's own %s."),
                              Quote(siblingName).c_str(), language.c_str(),
                              Quote(item->m_filename).c_str()));
        continue;
      }
      if (!sibling.empty()) {
        if (media != nullptr) {
          const CMediaInspector::Video probed = media->ProbeVideo(sibling);
          if (!probed.playable)
            report.Warning("media-variant-unusable", project.name, line,
                           Format(_("%s cannot be played (%s); %s visitors get the tour's own "
                                    "%s."),
                                  Quote(siblingName).c_str(), probed.reason.c_str(),
                                  language.c_str(), Quote(item->m_filename).c_str()));
        }
        continue;
      }
      // No media of its own in this language: is its title at least translated?
      std::string title;
      for (const TourTextEntry& entry : entries)
        if (entry.contentId == item->m_id) title = entry.text;
      if (!title.empty() && readable && texts.Translates(code, title)) continue;
      report.Warning("language-gap", project.name, line,
                     title.empty()
                         ? Format(_("Content %d has no %s media (%s)."), item->m_id,
                                  language.c_str(), Quote(siblingName).c_str())
                         : Format(_("Content %d has no %s media (%s) and no %s title."),
                                  item->m_id, language.c_str(), Quote(siblingName).c_str(),
                                  language.c_str()));
    }
  }
}
