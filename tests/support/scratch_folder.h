// Scratch folders for tests: a fresh folder removed with everything in it at the end of its
// scope, one for the whole run of a test program, and a scope with another current folder.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace testsupport {

class ScratchFolder {
 public:
  explicit ScratchFolder(const std::string& tag = "corvane") {
    std::string pattern = (std::filesystem::temp_directory_path() / (tag + "-XXXXXX")).string();
    if (mkdtemp(pattern.data()) != nullptr) {
      m_root = pattern;
    } else {
      ADD_FAILURE() << "no scratch folder like " << pattern;
    }
  }
  ~ScratchFolder() {
    if (m_root.empty()) return;
    // A test may have taken the folder's own permissions away.
    std::error_code ec;
    std::filesystem::permissions(m_root, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(m_root, ec);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::string& Root() const { return m_root; }
  // The folder itself, or name inside it.
  std::string Path(const std::string& name = "") const {
    return name.empty() ? m_root : m_root + "/" + name;
  }
  // Writes text to name inside the folder (making the folders on the way) and gives its path.
  std::string Write(const std::string& name, const std::string& text = "x") const {
    const std::filesystem::path path = Path(name);
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
    return path.string();
  }

 private:
  std::string m_root;
};

// One scratch folder for the whole run of the test program, removed when the program ends.
inline const ScratchFolder& RunScratch() {
  static const ScratchFolder folder("corvane-run");
  return folder;
}

// Makes folder the current one until the end of the scope.
class CurrentFolder {
 public:
  explicit CurrentFolder(const std::filesystem::path& folder)
      : m_previous(std::filesystem::current_path()) {
    std::filesystem::current_path(folder);
  }
  ~CurrentFolder() {
    std::error_code ec;
    std::filesystem::current_path(m_previous, ec);
  }
  CurrentFolder(const CurrentFolder&) = delete;
  CurrentFolder& operator=(const CurrentFolder&) = delete;

 private:
  std::filesystem::path m_previous;
};

}  // namespace testsupport
