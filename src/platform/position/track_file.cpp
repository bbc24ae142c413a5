// Reading a track file from disk and telling GPX from NMEA by its content.
#include "platform/position/track_file.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/text/tr.h"

namespace platform {
namespace {

constexpr std::streamoff kLargestTrack = 256 << 20;

}  // namespace

TrackFile ReadTrackFile(const std::string& path) {
  TrackFile out;
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) {
    out.error = path + _(" is a folder, not a track file");
    return out;
  }
  errno = 0;
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    out.error = _("cannot open ") + path + ": " + std::strerror(errno);
    return out;
  }
  in.seekg(0, std::ios::end);
  std::streamoff size = in.tellg();
  in.seekg(0, std::ios::beg);
  if (size < 0 || size > kLargestTrack) {
    out.error = size < 0 ? _("cannot read ") + path : _("too large for a track: ") + path;
    return out;
  }
  std::string data(static_cast<size_t>(size), '\0');
  if (size > 0 && !in.read(data.data(), size)) {
    out.error = _("cannot read ") + path;
    return out;
  }
  size_t first = data.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
  first = data.find_first_not_of(" \t\r\n", first);
  if (first == std::string::npos) {
    out.error = _("empty file");
    return out;
  }
  return data[first] == '<' ? ParseGpx(data.data(), data.size())
                            : ParseNmea(data.data(), data.size());
}

}  // namespace platform
