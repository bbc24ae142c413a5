// Which media and subtitle files play a content item for a visitor's language: the
// language's sibling (NAME.LL.EXT) when there is one, else the tour's own file.
#pragma once

#include <string>

struct MediaChoice {
  std::string media;     // the file to play first; empty when there is none
  std::string fallback;  // played instead when media cannot be played; empty: none
  // Set when the subtitles are chosen here; otherwise the player finds them beside the media
  // by its stem, as for any file.
  bool subtitlesChosen = false;
  std::string subtitles;  // when chosen: the file to show, or empty for none
};

// The files for storedName (as the project names it) in language code ("" for the tour's
// own). folder is the project's real folder: a sibling or subtitle file is taken only when
// it is a regular file inside it (a link out, a folder, a pipe are passed over). The tour's
// own media file is found as the program finds every file the project names.
//
//   media:     NAME.LL.EXT, else NAME.EXT (kept as the fallback when the sibling plays)
//   subtitles: NAME.LL.srt, NAME.LL.vtt, NAME.srt, NAME.vtt, else none; in the tour's own
//              language NAME.srt or NAME.vtt, else whatever the player finds beside the media.
MediaChoice ChooseMedia(const std::string& folder, const char* storedName, const std::string& code);

// The sibling of storedName in that language when it is a regular file inside folder, else
// empty.
std::string MediaSibling(const std::string& folder, const char* storedName, const std::string& code);
