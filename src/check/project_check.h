// `corvane check PROJECT_FILE`: reads a project and its users file with the program's own
// readers and reports every problem found, without writing to either file.
#pragma once

#include <cstdio>

#include "check/project_checks.h"

// Exit statuses of the check.
constexpr int CHECK_CLEAN = 0;
constexpr int CHECK_PROBLEMS = 1;
constexpr int CHECK_UNREADABLE = 2;

// Checks the project at path, printing the report to out (for people, or JSON) and a file
// that cannot be read to err; either may be null for no printing. media null leaves out the
// images and videos. findings, when given, receives the problems found.
int RunProjectCheck(const char* path, bool json, FILE* out, FILE* err, CMediaInspector* media,
                    CCheckReport* findings = nullptr);
// The same with the program's own image and video readers.
int RunProjectCheck(const char* path, bool json, FILE* out, FILE* err);
