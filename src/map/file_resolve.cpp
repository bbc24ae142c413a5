// Name resolution for files named by a project (map, thumbnails, videos).
#include "map/file_resolve.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <vector>

namespace {

bool IsRegularFile(const std::string& path) {
  struct stat st {};
  return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool IsDirectory(const std::string& path) {
  struct stat st {};
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
// The last part must be a regular file, or a folder when lastIsFolder is set.
std::string ResolveIgnoringCase(const std::string& path, bool lastIsFolder = false) {
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
    const bool last = i + 1 == parts.size() && !lastIsFolder;
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
  if (lastIsFolder) return IsDirectory(current) ? current : std::string();
  return IsRegularFile(current) ? current : std::string();
}

// The real path of an existing entry, or empty.
std::string RealPath(const std::string& path) {
  char* real = realpath(path.c_str(), nullptr);
  if (real == nullptr) return {};
  std::string out(real);
  free(real);
  return out;
}

bool IsUnder(const std::string& folder, const std::string& real) {
  if (folder.empty() || real.empty()) return false;
  if (folder == "/") return real.size() > 1;
  return real.size() > folder.size() + 1 && real.compare(0, folder.size(), folder) == 0 &&
         real[folder.size()] == '/';
}

// The name read without touching the disk: does it climb out of folder before it reaches
// any link?
bool LexicallyInside(const std::string& folder, const std::string& fullName) {
  const std::string normal = std::filesystem::path(fullName).lexically_normal().string();
  return IsUnder(folder, normal);
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

FolderFile ResolveInFolder(const std::string& folder, const char* storedName) {
  FolderFile result;
  if (storedName == nullptr || storedName[0] == '\0' || folder.empty() || folder[0] != '/')
    return result;
  std::string slashed(storedName);
  std::replace(slashed.begin(), slashed.end(), '\\', '/');
  auto full = [&folder](const std::string& name) {
    return name[0] == '/' ? name : Join(folder, name);
  };

  std::string found = full(storedName);
  if (!IsRegularFile(found)) found = full(slashed);
  if (!IsRegularFile(found)) found = ResolveIgnoringCase(full(slashed));
  if (!found.empty()) {
    result.path = found;
    result.exists = true;
    result.outside = !IsUnder(folder, RealPath(found));
    return result;
  }

  // Not there yet: the file would be made in its folder, found as above, under the last
  // part of the name as written.
  const std::string wanted = full(slashed);
  result.outside = !LexicallyInside(folder, wanted);
  const size_t slash = wanted.find_last_of('/');
  const std::string last = wanted.substr(slash + 1);
  if (last.empty() || last == "." || last == "..") return result;
  const std::string parentName = slash == 0 ? "/" : wanted.substr(0, slash);
  const std::string parent =
      IsDirectory(parentName) ? parentName : ResolveIgnoringCase(parentName, true);
  if (parent.empty()) return result;
  const std::string realParent = RealPath(parent);
  if (realParent != folder && !IsUnder(folder, realParent)) result.outside = true;
  result.path = Join(parent, last);
  return result;
}

std::string RealFolderOf(const char* filePath) {
  if (filePath == nullptr || filePath[0] == '\0') return {};
  const std::string path(filePath);
  const size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return RealPath(".");
  return RealPath(slash == 0 ? "/" : path.substr(0, slash));
}

std::string ProjectLockPath(const char* projectPath) {
  if (projectPath == nullptr || projectPath[0] == '\0') return {};
  const std::string real = RealPath(projectPath);
  if (real.empty()) return {};
  const size_t slash = real.find_last_of('/');
  return real.substr(0, slash + 1) + "." + real.substr(slash + 1) + ".lock";
}
