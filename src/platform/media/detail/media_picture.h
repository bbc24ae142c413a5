// The picture a media window shows: the player's frames, or for sound the program's own
// picture with the cover art in its place, and the progress bar over either.
#pragma once

#include <cstdint>
#include <string>

#include "platform/graphics/gapi.h"
#include "platform/windowing/win_types.h"

struct SDL_Surface;

namespace platform {

class VideoPlayer;

class MediaPicture {
 public:
  MediaPicture(int width, int height, bool progressBar);

  // Where the cover art of a sound file goes in the program's picture; empty: nowhere.
  void SetArtBox(const RECT& box) { m_artBox = box; }
  // Writes the loudness (0 to 1000) or MUTED on the bar from `now` (platform milliseconds)
  // for a moment.
  void ShowVolume(int permille, bool muted, uint32_t now);
  // The title drawn at the top of a video's frames (a sound's picture has its own).
  void SetTitle(const std::string& title) { m_title = title; }
  // The next picture to show, or null when nothing changed since the last one. A sound file
  // is shown over the open display's back buffer, which holds the program's picture for it.
  SDL_Surface* Compose(VideoPlayer& player);

 private:
  struct Bar {
    uint32_t elapsedS = 0;
    uint32_t totalS = 0;
    bool totalKnown = false;
    uint32_t fill = 0;  // pixels of the track filled
    bool paused = false;
    int level = -1;  // per cent of full loudness written on the bar; kMutedLevel; -1: none
    bool operator==(const Bar&) const = default;
  };
  static constexpr int kMutedLevel = -2;
  Bar Measure(VideoPlayer& player) const;
  void DrawBar(const Bar& bar, bool overProgramPicture);
  // The subtitle in lines that fit the picture's width, centred above the bar.
  void DrawSubtitle(const std::string& text, bool aboveBar);

  CGapiSurface m_picture;
  CGapiSurface m_art;  // the cover art, scaled into the art box
  bool m_hasArt = false;
  CGapiBitmapFont m_font;
  RECT m_artBox{0, 0, 0, 0};
  bool m_progressBar;
  uint64_t m_shown = 0;
  bool m_barShown = false;
  Bar m_lastBar;
  std::string m_lastSubtitle;
  int m_level = -1;
  uint32_t m_levelUntil = 0;
  std::string m_title;
};

}  // namespace platform
