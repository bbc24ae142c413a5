// Finding the file that a name stored in a project means on this system.
#pragma once

#include <string>

// Projects are often written on systems with '\' folder separators and letter-case-blind
// file names. The name is tried as written, then with '\' read as a folder separator, then
// folder by folder ignoring letter case. Relative names are taken from the current folder.
// Only a regular file (or a link to one) is ever returned; folders never are.
// Returns the path to open, or an empty string when no such file exists.
std::string ResolveProjectFile(const char* storedName);
