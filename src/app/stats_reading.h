// Reading a project and its users files, read-only, into visitor statistics.
#pragma once

#include <string>
#include <vector>

#include "app/stats_tally.h"

// Reads the project and counts every user record of each users file (the project's own
// users file when none is named). False, with *problem set, when the project cannot be
// read; a users file that cannot be read is noted in report->files and the rest are counted.
bool CollectStats(const std::string& project, const std::vector<std::string>& usersFiles,
                  StatsReport* report, std::string* problem);
