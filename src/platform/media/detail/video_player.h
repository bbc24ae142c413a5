// One media playback on libmpv, rendered in software into a 32-bit frame buffer that the
// platform presents while the program's own drawing is off.
#pragma once

#include <cstdint>
#include <string>

struct mpv_handle;
struct mpv_render_context;
struct SDL_Surface;

namespace platform {

// What an opened file turned out to hold; Unknown until it has loaded (or for good when it
// fails to).
enum class MediaKind { Unknown, Video, AudioWithArt, AudioOnly };

class VideoPlayer {
 public:
  // audio: false selects the null audio output (headless runs and tests).
  VideoPlayer(int width, int height, bool audio);
  ~VideoPlayer();
  VideoPlayer(const VideoPlayer&) = delete;
  VideoPlayer& operator=(const VideoPlayer&) = delete;

  // path: an absolute name of a local file; anything else is never handed to the player and
  // fails at once. False when the player could not be set up. When path cannot be played
  // and fallback (absolute as well) is given, fallback plays instead, as if it had been
  // asked for. subtitles, when given, is the one subtitle file shown (none when empty);
  // otherwise those beside the file with its stem are found.
  bool Open(const std::string& path, const std::string& fallback = {},
            const std::string* subtitles = nullptr);
  void Play();
  void Close();  // stops and releases the media (quickly: it keeps taking frames meanwhile)

  // Milliseconds. A file that cannot be played reports 0 for both, so a poll that compares
  // them ends the playback at once. Once the player stopped on the last frame, the position
  // reads the same as the end. EndMs is kLengthUnknown while the file opens and for media that
  // does not say its length (a live recording); such media reports its real position, and
  // its end once it has stopped is where it stopped.
  static constexpr int64_t kLengthUnknown = -1;
  int64_t EndMs();
  uint32_t PositionMs();

  MediaKind Kind();
  void SetPaused(bool paused);
  bool Paused() const { return m_paused; }
  // Moves to `ms` from the start; past the end it stops on the last frame. Playback goes on
  // after a seek unless it was paused by SetPaused (the player pauses by itself at the end).
  void SeekMs(uint32_t ms);
  // Moves by `deltaMs` from where it is (back when negative), for media of unknown length.
  void SeekByMs(int32_t deltaMs);
  // 0 (silent) to 1000 (as recorded). The player takes a new volume a moment after it is set.
  void SetVolume(int permille);
  int Volume();
  // The subtitle shown at this moment as plain text, lines apart by '\n'; empty when none.
  // For a sound file the player draws no subtitles itself: its picture is the program's.
  std::string SubtitleText();

  // Renders a new frame when one is due; true when the frame buffer changed.
  bool RenderFrame();
  // True when the player has a new frame for RenderTo.
  bool FrameDue();
  // Renders the current frame, fitted with its aspect kept, into a 32-bit 0x00RRGGBB buffer
  // of w x h pixels (rows `stride` bytes apart). False before there is any frame.
  bool RenderTo(void* pixels, int w, int h, size_t stride);
  SDL_Surface* Frame() const { return m_frame; }
  bool HasFrame() const { return m_framesRendered > 0; }
  // 0x00RRGGBB of a frame buffer pixel; 0 outside it.
  uint32_t FramePixel(int x, int y) const;
  bool Failed() const { return m_failed; }

 private:
  void DrainEvents();
  bool AtEnd();
  uint32_t TimePosMs();
  void ResumeAfterSeek();
  void ReadKind();
  void Release();

  mpv_handle* m_mpv = nullptr;
  std::string m_path;      // the one file this player may open
  std::string m_fallback;  // opened instead when m_path fails before it loads
  mpv_render_context* m_render = nullptr;
  SDL_Surface* m_frame = nullptr;
  int m_width;
  int m_height;
  bool m_audio;
  bool m_loaded = false;
  bool m_ended = false;  // the player let go of the file after loading it
  bool m_paused = false;
  bool m_frameDue = false;
  MediaKind m_kind = MediaKind::Unknown;
  bool m_failed = false;
  bool m_playing = false;
  uint64_t m_openedAtMicros = 0;
  uint64_t m_framesRendered = 0;
};

}  // namespace platform
