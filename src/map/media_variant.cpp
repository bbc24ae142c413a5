// The fallback chain from a visitor's language to the files that play.
#include "map/media_variant.h"

#include "guide/tour_languages.h"
#include "map/file_resolve.h"

namespace {

// storedName with its extension replaced: "video/item01.mp4", "de", ".srt" gives
// "video/item01.de.srt".
std::string Beside(const std::string& storedName, const std::string& code, const char* ext) {
  const size_t slash = storedName.find_last_of("/\\");
  const size_t dot = storedName.find_last_of('.');
  std::string stem = storedName;
  if (dot != std::string::npos && (slash == std::string::npos || dot > slash + 1))
    stem = storedName.substr(0, dot);
  if (!code.empty()) stem += "." + code;
  return stem + ext;
}

std::string Inside(const std::string& folder, const std::string& name) {
  if (folder.empty()) return {};
  const FolderFile file = ResolveInFolder(folder, name.c_str());
  return file.exists && !file.outside ? file.path : std::string();
}

}  // namespace

std::string MediaSibling(const std::string& folder, const char* storedName,
                         const std::string& code) {
  if (storedName == nullptr || storedName[0] == '\0' || !lang::IsLanguageCode(code)) return {};
  return Inside(folder, lang::SiblingName(storedName, code));
}

MediaChoice ChooseMedia(const std::string& folder, const char* storedName,
                        const std::string& code) {
  MediaChoice choice;
  if (storedName == nullptr || storedName[0] == '\0') return choice;
  const std::string own = ResolveProjectFile(storedName);
  const std::string sibling = MediaSibling(folder, storedName, code);
  choice.media = sibling.empty() ? own : sibling;
  if (!sibling.empty()) choice.fallback = own;

  const bool visitorLanguage = lang::IsLanguageCode(code);
  auto firstSubtitle = [&](const std::string& language) {
    for (const char* ext : {".srt", ".vtt"}) {
      std::string found = Inside(folder, Beside(storedName, language, ext));
      if (!found.empty()) return found;
    }
    return std::string();
  };
  if (visitorLanguage) choice.subtitles = firstSubtitle(code);
  if (choice.subtitles.empty()) choice.subtitles = firstSubtitle("");
  // A visitor with a language of their own never gets subtitles in a third one, which the
  // player's own search beside the media might pick.
  choice.subtitlesChosen = visitorLanguage || !choice.subtitles.empty();
  return choice;
}
