// The folder of an open project, held open: the users file is read, made and replaced
// relative to it, every folder on the way entered without following a link, so that a link
// swapped in after a name was checked cannot carry a read or a write outside. Also the whole
// reading of the project and users files, within their size limit.
#pragma once

#include <cstdio>
#include <string>

// Neither file comes near this: 128 users with 512 viewings each write under 3 MB, a full
// project a few hundred kB. A larger file is refused rather than read (a sparse file costs
// nothing to ship and would otherwise be read in full).
constexpr long DATA_FILE_MAX_BYTES = 8L << 20;

enum class TextRead {
  Read,
  Failed,    // not there, not a regular file, or not readable
  TooLarge,  // over DATA_FILE_MAX_BYTES
};

// Reads the whole regular file open as fd into text, and closes fd.
TextRead ReadFileText(int fd, std::string* text);
// The same for the file at path (a link is followed).
TextRead ReadFileText(const char* path, std::string* text);
// A stream over text for the record readers; the text must outlive it. Null when it cannot
// be made.
FILE* OpenTextStream(const std::string& text);

class CProjectFolder {
 public:
  CProjectFolder() = default;
  ~CProjectFolder() { Close(); }
  CProjectFolder(const CProjectFolder&) = delete;
  CProjectFolder& operator=(const CProjectFolder&) = delete;

  // Opens the folder that holds filePath (the current folder for a bare name), unless it is
  // already open for that same folder name. False when there is no such folder.
  bool OpenFor(const char* filePath);
  void Close();
  bool IsOpen() const { return m_fd >= 0; }
  // Where the open folder is now (it may have been moved since), without links; empty when
  // it is not open or no longer has a name.
  std::string RealPath() const;
  // The folder at relative, a '/'-separated path below this folder ("" for the folder
  // itself), entered part by part without following links: -1 when a part is missing or a
  // link. The caller closes the result.
  int OpenBelow(const std::string& relative) const;

 private:
  int m_fd = -1;
  std::string m_openedFor;
};
