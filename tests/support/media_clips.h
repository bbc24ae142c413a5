// Media files for the player's tests, made by ffmpeg from its generated sources. Each maker
// gives the file's path, or an empty one when ffmpeg failed.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>

namespace testsupport {

// Runs ffmpeg quietly with the given arguments; true when it succeeded.
inline bool Ffmpeg(const std::string& args) {
  return std::system(("ffmpeg -loglevel error -nostdin -y " + args).c_str()) == 0;
}

inline std::string Quoted(const std::filesystem::path& path) { return "'" + path.string() + "'"; }

// `seconds` of the test pattern at size ("320x180") with a 440 Hz tone.
inline std::string MakeClip(const std::filesystem::path& path, const std::string& size,
                            int seconds = 1) {
  return Ffmpeg("-f lavfi -i testsrc=size=" + size + ":rate=25 -f lavfi -i sine=frequency=440 -t " +
                std::to_string(seconds) + " -pix_fmt yuv420p -shortest " + Quoted(path))
             ? path.string()
             : std::string();
}

// Three seconds of one flat dark colour without sound, so that anything light on it is text.
inline std::string MakePlainClip(const std::filesystem::path& path) {
  return Ffmpeg("-f lavfi -i color=c=0x203040:size=320x240:rate=25 -t 3 -pix_fmt yuv420p " +
                Quoted(path))
             ? path.string()
             : std::string();
}

// `seconds` of a 440 Hz tone in the format the name's extension asks for; with a picture,
// that picture as the cover art.
inline std::string MakeTone(const std::filesystem::path& path, int seconds,
                            const std::filesystem::path& picture = {}) {
  std::string args = "-f lavfi -i sine=frequency=440:duration=" + std::to_string(seconds) + " ";
  if (!picture.empty())
    args += "-i " + Quoted(picture) +
            " -map 0:a -map 1:v -c:v png -disposition:v attached_pic -id3v2_version 3 ";
  return Ffmpeg(args + Quoted(path)) ? path.string() : std::string();
}

// A single picture of one colour ("0x10E010") at size.
inline std::string MakePicture(const std::filesystem::path& path, const std::string& colour,
                               const std::string& size) {
  return Ffmpeg("-f lavfi -i color=c=" + colour + ":size=" + size + " -frames:v 1 " + Quoted(path))
             ? path.string()
             : std::string();
}

}  // namespace testsupport
