// Language codes in file names, and the environment's language.
#include "guide/tour_languages.h"

#include <dirent.h>

#include <algorithm>
#include <set>

namespace lang {

bool IsLanguageCode(std::string_view code) {
  return code.size() == 2 && code[0] >= 'a' && code[0] <= 'z' && code[1] >= 'a' &&
         code[1] <= 'z';
}

std::string SiblingLanguage(std::string_view baseName, std::string_view name) {
  const size_t dot = baseName.find_last_of('.');
  const std::string_view stem = dot == std::string_view::npos ? baseName : baseName.substr(0, dot);
  const std::string_view ext = dot == std::string_view::npos ? std::string_view() : baseName.substr(dot);
  if (stem.empty() || name.size() != stem.size() + 3 + ext.size()) return {};
  if (name.substr(0, stem.size()) != stem || name[stem.size()] != '.') return {};
  if (name.substr(stem.size() + 3) != ext) return {};
  const std::string_view code = name.substr(stem.size() + 1, 2);
  return IsLanguageCode(code) ? std::string(code) : std::string();
}

std::string SiblingName(std::string_view storedName, std::string_view code) {
  const size_t slash = storedName.find_last_of("/\\");
  const size_t dot = storedName.find_last_of('.');
  std::string out(storedName);
  if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash) ||
      dot == (slash == std::string_view::npos ? 0 : slash + 1)) {
    return out + "." + std::string(code);
  }
  out.insert(dot, "." + std::string(code));
  return out;
}

std::vector<std::string> SiblingLanguagesIn(const std::string& folder,
                                            const std::vector<std::string>& names) {
  std::set<std::string> found;
  DIR* dir = opendir(folder.empty() ? "." : folder.c_str());
  if (dir == nullptr) return {};
  while (const dirent* entry = readdir(dir)) {
    for (const std::string& base : names) {
      std::string code = SiblingLanguage(base, entry->d_name);
      if (!code.empty()) found.insert(std::move(code));
    }
  }
  closedir(dir);
  return {found.begin(), found.end()};
}

}  // namespace lang
