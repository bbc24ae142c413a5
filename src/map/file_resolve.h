// Finding the file that a name stored in a project means on this system.
#pragma once

#include <string>

// Projects are often written on systems with '\' folder separators and letter-case-blind
// file names. The name is tried as written, then with '\' read as a folder separator, then
// folder by folder ignoring letter case. Relative names are taken from the current folder.
// Only a regular file (or a link to one) is ever returned; folders never are.
// Returns the path to open, or an empty string when no such file exists.
std::string ResolveProjectFile(const char* storedName);

// Where a file named by a project lies when it must stay inside the project's folder.
struct FolderFile {
  std::string path;      // the file to open, or the place to create it; empty when neither
  bool exists = false;   // path is a regular file (or a link to one)
  bool outside = false;  // the name leads out of the folder: by "..", an absolute name
                         // elsewhere or a link
};

// Resolves storedName as above, except that a relative name is taken from folder (a real
// path: absolute, without links) rather than from the current folder. A name that is not
// there yet gives the place it would be created at: its folder found as above, its last
// part as written.
FolderFile ResolveInFolder(const std::string& folder, const char* storedName);

// The real path of the folder that holds filePath (the current folder for a bare name), or
// empty when there is none.
std::string RealFolderOf(const char* filePath);

// The lock file of the project at projectPath: ".<name>.lock" beside the file it names, found
// through any link, so that every name of one project gives one lock. Empty when the project
// file is not there.
std::string ProjectLockPath(const char* projectPath);
