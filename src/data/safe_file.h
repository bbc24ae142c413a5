// Writing a file without putting the old one at risk: everything goes to a temporary file
// in the same folder, which replaces the old file only once it has been written in full and
// synced, and the folder is synced after the rename so that the new name survives a crash.
#pragma once

#include <cstdio>
#include <string>

class CSafeFileWriter {
 public:
  CSafeFileWriter() = default;
  ~CSafeFileWriter();  // abandons an uncommitted file
  CSafeFileWriter(const CSafeFileWriter&) = delete;
  CSafeFileWriter& operator=(const CSafeFileWriter&) = delete;

  // Creates the temporary file beside path; false when it cannot be made. A link at path is
  // followed, so that the file it names is replaced and the link stays a link.
  bool Open(const char* path);
  // The same for the entry name (one part, no '/') of the folder open as folderFd. Nothing
  // but the folder itself is looked up: a link at name is replaced, never followed. The
  // caller keeps folderFd.
  bool OpenIn(int folderFd, const char* name);
  FILE* Stream() const { return m_file; }
  // Flushes, checks for write errors and renames the temporary file over the old one. On any
  // failure the temporary file is removed, the old file is untouched and the result is false.
  bool Commit();
  void Abandon();

 private:
  FILE* m_file = nullptr;
  int m_folderFd = -1;
  std::string m_name;
  std::string m_tempName;
};
