// Figures of the test program itself from /proc/self/status (threads, resident memory).
#pragma once

#include <cstring>
#include <fstream>
#include <string>

namespace testsupport {

// The number after "name:" ("Threads", "VmRSS" in kB); -1 when there is none.
inline long ProcessStatus(const char* name) {
  std::ifstream status("/proc/self/status");
  std::string line;
  const size_t n = std::strlen(name);
  while (std::getline(status, line)) {
    if (line.compare(0, n, name) == 0 && line.size() > n && line[n] == ':')
      return std::stol(line.substr(n + 1));
  }
  return -1;
}

}  // namespace testsupport
