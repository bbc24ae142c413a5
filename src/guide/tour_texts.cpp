// Finding a tour's languages and reading their catalogues.
#include "guide/tour_texts.h"

#include <algorithm>
#include <map>
#include <set>

#include "guide/tour_languages.h"
#include "map/file_resolve.h"
#include "map/media_variant.h"

void CTourTexts::Clear() {
  m_folder.clear();
  m_stem.clear();
  m_languages.clear();
  m_catalogues.clear();
}

void CTourTexts::Load(const std::string& projectPath, const std::vector<std::string>& mediaNames) {
  Clear();
  m_folder = RealFolderOf(projectPath.c_str());
  if (m_folder.empty()) return;
  const size_t slash = projectPath.find_last_of('/');
  m_stem = slash == std::string::npos ? projectPath : projectPath.substr(slash + 1);
  const size_t dot = m_stem.find_last_of('.');
  if (dot != std::string::npos && dot > 0) m_stem.resize(dot);

  std::set<std::string> codes;
  for (const std::string& code : lang::SiblingLanguagesIn(m_folder, {m_stem + ".po"})) {
    // Only a regular file inside the folder; a link out of it is not read.
    const FolderFile file = ResolveInFolder(m_folder, CatalogueName(code).c_str());
    TourCatalogue catalogue;
    if (file.exists && !file.outside) {
      catalogue = ReadTourCatalogue(file.path);
    } else {
      catalogue.error = file.outside ? "it leads outside the project's folder"
                                     : "it is not a file that can be read";
    }
    m_catalogues.emplace(code, std::move(catalogue));
    codes.insert(code);
  }

  // Media siblings, each folder read once: names grouped by the folder their file lies in.
  std::map<std::string, std::vector<std::string>> byFolder;
  for (const std::string& name : mediaNames) {
    const FolderFile own = ResolveInFolder(m_folder, name.c_str());
    if (!own.exists || own.outside) continue;
    const size_t cut = own.path.find_last_of('/');
    byFolder[own.path.substr(0, cut)].push_back(own.path.substr(cut + 1));
  }
  for (const auto& [folder, names] : byFolder) {
    for (const std::string& code : lang::SiblingLanguagesIn(folder, names)) {
      if (codes.count(code) > 0) continue;
      // A folder or a link out named like a sibling does not make a language.
      for (const std::string& name : names) {
        if (!MediaSibling(folder, name.c_str(), code).empty()) {
          codes.insert(code);
          break;
        }
      }
    }
  }
  m_languages.assign(codes.begin(), codes.end());
}

bool CTourTexts::Has(const std::string& code) const {
  return std::binary_search(m_languages.begin(), m_languages.end(), code);
}

std::string CTourTexts::Offered(const std::string& code) const {
  return Has(code) ? code : std::string();
}

const std::string& CTourTexts::Translate(const std::string& code, const std::string& text) const {
  if (code.empty()) return text;
  const auto catalogue = m_catalogues.find(code);
  if (catalogue == m_catalogues.end()) return text;
  const auto found = catalogue->second.texts.find(text);
  return found != catalogue->second.texts.end() ? found->second : text;
}

bool CTourTexts::Translates(const std::string& code, const std::string& text) const {
  const auto catalogue = m_catalogues.find(code);
  return catalogue != m_catalogues.end() && catalogue->second.texts.count(text) > 0;
}

std::string CTourTexts::CatalogueName(const std::string& code) const {
  return m_stem + "." + code + ".po";
}
