// A fresh folder that is the current folder for the length of one test, as the project's
// folder is while the program runs; removed with everything in it afterwards.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

class ScratchFolder {
 public:
  ScratchFolder() {
    char pattern[] = "/tmp/corvane_map_XXXXXX";
    const char* made = mkdtemp(pattern);
    EXPECT_NE(made, nullptr);
    path_ = made != nullptr ? made : "/tmp";
    previous_ = std::filesystem::current_path();
    std::filesystem::current_path(path_);
  }
  ~ScratchFolder() {
    std::error_code ec;
    std::filesystem::current_path(previous_, ec);
    std::filesystem::remove_all(path_, ec);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::string& Path() const { return path_; }

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
  std::string path_;
  std::filesystem::path previous_;
};
