// How "Use the current fix" writes a coordinate into the GPS dialog's fields: six decimals,
// as the project file keeps them (the numeric locale is always "C" here).
#pragma once

#include <cstdio>
#include <string>

namespace platform {

inline std::string FormatFixCoordinate(double degrees) {
  char text[48];
  std::snprintf(text, sizeof text, "%.6f", degrees);
  return text;
}

}  // namespace platform
