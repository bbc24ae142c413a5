#include "platform/windowing/detail/file_choice.h"

#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <system_error>

namespace platform {
namespace {

std::optional<std::string>& Preset() {
  static std::optional<std::string> preset;
  return preset;
}

}  // namespace

void SetPresetFile(const std::string& path) {
  if (path.empty()) {
    Preset().reset();
  } else {
    Preset() = path;
  }
}

std::optional<std::string> TakePresetFile() {
  std::optional<std::string> p = std::move(Preset());
  Preset().reset();
  return p;
}

FileDialogRequest RequestFromRecord(const OPENFILENAMEA& ofn) {
  FileDialogRequest r;
  if (ofn.lpstrTitle) r.title = ofn.lpstrTitle;
  // "label\0pattern\0" pairs, ended by an empty label.
  if (const char* p = ofn.lpstrFilter) {
    while (*p != '\0') {
      std::string label = p;
      p += label.size() + 1;
      if (*p == '\0') {  // a label without patterns ends the list
        r.filters.emplace_back(std::move(label), std::string());
        break;
      }
      std::string pattern = p;
      p += pattern.size() + 1;
      r.filters.emplace_back(std::move(label), std::move(pattern));
    }
  }
  r.filterIndex = ofn.nFilterIndex;
  if (ofn.lpstrInitialDir) r.initialDir = ofn.lpstrInitialDir;
  if (ofn.lpstrDefExt) r.defaultExt = ofn.lpstrDefExt;
  r.flags = ofn.Flags;
  return r;
}

bool AcceptChosenFile(OPENFILENAMEA* ofn, const std::string& chosen) {
  namespace fs = std::filesystem;
  std::error_code ec;
  fs::path path(chosen);
  if (path.is_relative()) path = fs::current_path(ec) / path;
  path = path.lexically_normal();
  if (ofn->lpstrDefExt != nullptr && ofn->lpstrDefExt[0] != '\0' && !path.has_extension() &&
      !fs::exists(path, ec)) {
    path += std::string(".") + ofn->lpstrDefExt;
  }
  std::string full = path.string();
  if (ofn->lpstrFile == nullptr || full.size() + 1 > ofn->nMaxFile) return false;
  std::memcpy(ofn->lpstrFile, full.c_str(), full.size() + 1);
  size_t slash = full.find_last_of('/');
  size_t nameAt = slash == std::string::npos ? 0 : slash + 1;
  size_t dot = full.find_last_of('.');
  ofn->nFileOffset = static_cast<WORD>(nameAt);
  ofn->nFileExtension =
      static_cast<WORD>(dot != std::string::npos && dot > nameAt ? dot + 1 : full.size());
  // Like the system dialog without its "keep the folder" flag, the choice moves the current
  // folder, so names relative to the project resolve against the project's folder.
  if (path.has_parent_path() && chdir(path.parent_path().c_str()) != 0) {
    // The file still counts as chosen; opening it will report what is wrong.
  }
  return true;
}

}  // namespace platform
