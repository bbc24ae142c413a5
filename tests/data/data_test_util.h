// Shared helpers of the data tests: fixture paths, a scratch folder, whole-file reads.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace datatest {

inline std::string Fixture(const std::string& name) {
  return std::string(CORVANE_FIXTURES) + "/data/" + name;
}

inline std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteAll(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
}

// A fresh folder under /tmp, removed with everything in it at the end of the test.
class ScratchDir {
 public:
  ScratchDir() {
    char pattern[] = "/tmp/corvane-data-XXXXXX";
    const char* made = mkdtemp(pattern);
    EXPECT_NE(made, nullptr);
    m_path = made != nullptr ? made : "/tmp";
  }
  ~ScratchDir() {
    std::error_code ec;
    std::filesystem::permissions(m_path, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(m_path, ec);
  }
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  std::string Path(const std::string& name) const { return m_path + "/" + name; }
  const std::string& Root() const { return m_path; }
  // Copies a fixture into the folder and returns the copy's path.
  std::string Copy(const std::string& fixture, const std::string& as = "") const {
    const std::string to = Path(as.empty() ? fixture : as);
    std::filesystem::copy_file(Fixture(fixture), to,
                               std::filesystem::copy_options::overwrite_existing);
    return to;
  }

 private:
  std::string m_path;
};

// A stream over the given text, read as the loaders read files.
class TextStream {
 public:
  explicit TextStream(const std::string& text) {
    m_file = tmpfile();
    fwrite(text.data(), 1, text.size(), m_file);
    rewind(m_file);
  }
  ~TextStream() { fclose(m_file); }
  TextStream(const TextStream&) = delete;
  TextStream& operator=(const TextStream&) = delete;
  FILE* get() const { return m_file; }

 private:
  FILE* m_file;
};

// Everything a record or list writes, as a string.
template <typename Writable>
std::string Written(Writable& w) {
  FILE* f = tmpfile();
  w.Write(f);
  const long size = ftell(f);
  std::string out(static_cast<size_t>(size), '\0');
  rewind(f);
  const size_t got = fread(out.data(), 1, out.size(), f);
  out.resize(got);
  fclose(f);
  return out;
}

}  // namespace datatest
