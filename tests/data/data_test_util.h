// Shared helpers of the data tests: fixture paths, a scratch folder, whole-file reads.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "support/files.h"
#include "support/scratch_folder.h"

namespace datatest {

inline std::string Fixture(const std::string& name) {
  return std::string(CORVANE_FIXTURES) + "/data/" + name;
}

using testsupport::ReadAll;
using testsupport::WriteAll;

// A fresh folder under /tmp, removed with everything in it at the end of the test.
class ScratchDir : public testsupport::ScratchFolder {
 public:
  ScratchDir() : ScratchFolder("corvane-data") {}
  // Copies a fixture into the folder and returns the copy's path.
  std::string Copy(const std::string& fixture, const std::string& as = "") const {
    const std::string to = Path(as.empty() ? fixture : as);
    std::filesystem::copy_file(Fixture(fixture), to,
                               std::filesystem::copy_options::overwrite_existing);
    return to;
  }
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
