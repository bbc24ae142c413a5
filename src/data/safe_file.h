// Writing a file without putting the old one at risk: everything goes to a temporary file
// in the same folder, which replaces the old file only once it has been written in full.
#pragma once

#include <cstdio>
#include <string>

class CSafeFileWriter {
 public:
  CSafeFileWriter() = default;
  ~CSafeFileWriter();  // abandons an uncommitted file
  CSafeFileWriter(const CSafeFileWriter&) = delete;
  CSafeFileWriter& operator=(const CSafeFileWriter&) = delete;

  // Creates the temporary file beside path; false when it cannot be made.
  bool Open(const char* path);
  FILE* Stream() const { return m_file; }
  // Flushes, checks for write errors and renames the temporary file over path. On any
  // failure the temporary file is removed, path is untouched and the result is false.
  bool Commit();
  void Abandon();

 private:
  FILE* m_file = nullptr;
  std::string m_path;
  std::string m_tempPath;
};
