// Name resolution for files named by a project (map, thumbnails, videos).
#include "map/file_resolve.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <vector>

namespace {

bool IsRegularFile(const std::string& path) {
  struct stat st{};
  return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool IsDirectory(const std::string& path) {
  struct stat st{};
  return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool SameIgnoringCase(const std::string& a, const std::string& b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
           return std::tolower(x) == std::tolower(y);
         });
}

std::string Join(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  if (folder.back() == '/') return folder + name;
  return folder + "/" + name;
}

// Entries of folder whose names equal name apart from letter case, in a fixed order so
// that the same project always resolves the same way.
std::vector<std::string> CaseVariants(const std::string& folder, const std::string& name) {
  std::vector<std::string> found;
  DIR* dir = opendir(folder.empty() ? "." : folder.c_str());
  if (dir == nullptr) return found;
  while (const dirent* entry = readdir(dir)) {
    if (SameIgnoringCase(entry->d_name, name)) found.emplace_back(entry->d_name);
  }
  closedir(dir);
  std::sort(found.begin(), found.end());
  return found;
}

// Walks the '/'-separated parts from the current folder (or the root), taking each part as
// written when it exists and otherwise the first entry that differs only in letter case.
std::string ResolveIgnoringCase(const std::string& path) {
  std::vector<std::string> parts;
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find('/', start);
    if (end == std::string::npos) end = path.size();
    if (end > start) parts.push_back(path.substr(start, end - start));
    start = end + 1;
  }
  if (parts.empty()) return {};
  std::string current = path[0] == '/' ? "/" : "";
  for (size_t i = 0; i < parts.size(); ++i) {
    const bool last = i + 1 == parts.size();
    const std::string& part = parts[i];
    const std::string exact = Join(current, part);
    if (part == "." || part == ".." || (last ? IsRegularFile(exact) : IsDirectory(exact))) {
      current = exact;
      continue;
    }
    std::string chosen;
    for (const std::string& candidate : CaseVariants(current, part)) {
      const std::string p = Join(current, candidate);
      if (last ? IsRegularFile(p) : IsDirectory(p)) {
        chosen = p;
        break;
      }
    }
    if (chosen.empty()) return {};
    current = chosen;
  }
  return IsRegularFile(current) ? current : std::string();
}

}  // namespace

std::string ResolveProjectFile(const char* storedName) {
  if (storedName == nullptr || storedName[0] == '\0') return {};
  const std::string asWritten(storedName);
  if (IsRegularFile(asWritten)) return asWritten;
  std::string slashed = asWritten;
  std::replace(slashed.begin(), slashed.end(), '\\', '/');
  if (slashed != asWritten && IsRegularFile(slashed)) return slashed;
  return ResolveIgnoringCase(slashed);
}
