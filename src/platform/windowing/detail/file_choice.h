// What the file-open call shares between its backends and the command-line preset: reading
// the caller's record, and handing a chosen file back the way the system dialog does.
#pragma once

#include <optional>
#include <string>

#include "platform/pieces.h"
#include "platform/windowing/win_types.h"

namespace platform {

void SetPresetFile(const std::string& path);  // empty clears it
std::optional<std::string> TakePresetFile();

FileDialogRequest RequestFromRecord(const OPENFILENAMEA& ofn);
// Completes a chosen path (absolute, default extension for a name typed without one),
// stores it in the caller's buffer with the name and extension offsets, and makes the
// file's folder the current folder. False when it does not fit the buffer.
bool AcceptChosenFile(OPENFILENAMEA* ofn, const std::string& path);

}  // namespace platform
