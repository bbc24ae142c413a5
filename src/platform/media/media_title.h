// The title a media file carries in its own tags (container metadata, ID3), read without
// playing it. Local files only: no network, no other protocol.
#pragma once

#include <string>

namespace platform {

// The title tag of the local file at path, at most maxBytes long; empty when the file has
// none, cannot be read, or path is not a regular local file. Not for the frame loop: it
// opens the file.
std::string ReadMediaTitle(const std::string& path, std::size_t maxBytes = 255);

}  // namespace platform
