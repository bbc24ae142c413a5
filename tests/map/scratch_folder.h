// A fresh folder that is the current folder for the length of one test, as the project's
// folder is while the program runs; removed with everything in it afterwards.
#pragma once

#include <filesystem>
#include <string>

#include "support/scratch_folder.h"

class ScratchFolder : public testsupport::ScratchFolder {
 public:
  ScratchFolder() : testsupport::ScratchFolder("corvane_map"), m_inside(Root()) {}

  // Creates the file (and its folders) relative to the scratch folder.
  static void Write(const std::string& name, const std::string& content = "x") {
    const std::filesystem::path p(name);
    if (p.has_parent_path()) std::filesystem::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary) << content;
  }
  static void MakeFolder(const std::string& name) { std::filesystem::create_directories(name); }
  // Copies a fixture of tests/fixtures/map to name.
  static void CopyFixture(const std::string& fixture, const std::string& name) {
    const std::filesystem::path p(name);
    if (p.has_parent_path()) std::filesystem::create_directories(p.parent_path());
    std::filesystem::copy_file(std::string(CORVANE_FIXTURES) + "/map/" + fixture, p,
                               std::filesystem::copy_options::overwrite_existing);
  }

 private:
  testsupport::CurrentFolder m_inside;
};
