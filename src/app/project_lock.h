// One program per project: an advisory lock on a file beside the project, held while the
// project is open, so that two windows never write the same project back over each other.
#pragma once

class CProjectLock {
 public:
  enum class Result {
    Held,           // this program holds the lock
    HeldElsewhere,  // another program has the project open
    Unavailable,    // no lock file could be made or opened here (a read-only folder)
  };

  CProjectLock() = default;
  ~CProjectLock();  // the lock goes with the program, as it does when a program crashes
  CProjectLock(const CProjectLock&) = delete;
  CProjectLock& operator=(const CProjectLock&) = delete;

  // Takes the lock of the project file at projectPath, after giving up any other.
  Result Acquire(const char* projectPath);
  void Release();

 private:
  int m_fd = -1;
};
