// One media playback on libmpv: options that keep it to local files, what the file holds,
// the controls, and frames rendered in software into the program's own buffers.
#include "platform/media/detail/video_player.h"

#include <SDL.h>
#include <mpv/client.h>
#include <mpv/render.h>

#include <chrono>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <string>

namespace platform {
namespace {

// A file that neither loads nor fails within this time counts as unplayable, so the poll
// cannot wait forever on a stalled source.
constexpr uint64_t kLoadTimeoutMicros = 5'000'000;
// Longest wait for the player to let go of its media when closing.
constexpr uint64_t kStopTimeoutMicros = 1'000'000;

uint64_t WallMicros() {
  using namespace std::chrono;
  return static_cast<uint64_t>(
      duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count());
}

uint32_t ToMs(double seconds) {
  if (!(seconds > 0.0)) return 0;
  double ms = std::floor(seconds * 1000.0);
  return ms >= 4294967295.0 ? 0xFFFFFFFFu : static_cast<uint32_t>(ms);
}

}  // namespace

VideoPlayer::VideoPlayer(int width, int height, bool audio)
    : m_width(width > 0 ? width : 1), m_height(height > 0 ? height : 1), m_audio(audio) {}

VideoPlayer::~VideoPlayer() {
  Close();
  if (m_frame) SDL_FreeSurface(m_frame);
}

bool VideoPlayer::Open(const std::string& path, const std::string& fallback,
                       const std::string* subtitles) {
  Close();
  if (m_frame) SDL_FreeSurface(m_frame);
  m_loaded = m_failed = m_playing = m_ended = m_paused = m_frameDue = false;
  m_kind = MediaKind::Unknown;
  m_framesRendered = 0;
  m_openedAtMicros = WallMicros();
  m_path = path;
  m_fallback = !fallback.empty() && fallback[0] == '/' ? fallback : std::string();
  // A name that is not an absolute one of a file could be taken by the player for a stream
  // ("av://", "http://"): it ends like a missing file without the player seeing it.
  if (path.empty() || path[0] != '/') {
    m_failed = true;
    return false;
  }
  m_frame = SDL_CreateRGBSurfaceWithFormat(0, m_width, m_height, 32, SDL_PIXELFORMAT_ARGB8888);
  if (m_frame) {
    SDL_SetSurfaceBlendMode(m_frame, SDL_BLENDMODE_NONE);
    SDL_FillRect(m_frame, nullptr, 0);
  }

  // libmpv refuses to start unless numbers are formatted the C way.
  std::setlocale(LC_NUMERIC, "C");
  m_mpv = mpv_create();
  if (!m_mpv || !m_frame) {
    m_failed = true;
    return false;
  }
  mpv_set_option_string(m_mpv, "vo", "libmpv");
  mpv_set_option_string(m_mpv, "keep-open", "yes");
  mpv_set_option_string(m_mpv, "idle", "yes");
  mpv_set_option_string(m_mpv, "terminal", "no");
  mpv_set_option_string(m_mpv, "input-default-bindings", "no");
  // A project is untrusted input: its media may name nothing beyond local files. No
  // configuration, scripts or site helpers of this machine's user take part, a playlist or a
  // reference inside a file is not followed, and the demuxer opens nothing but files.
  mpv_set_option_string(m_mpv, "config", "no");
  mpv_set_option_string(m_mpv, "load-scripts", "no");
  mpv_set_option_string(m_mpv, "ytdl", "no");
  mpv_set_option_string(m_mpv, "osc", "no");
  mpv_set_option_string(m_mpv, "load-stats-overlay", "no");
  mpv_set_option_string(m_mpv, "load-osd-console", "no");
  mpv_set_option_string(m_mpv, "load-auto-profiles", "no");
  mpv_set_option_string(m_mpv, "access-references", "no");
  mpv_set_option_string(m_mpv, "load-unsafe-playlists", "no");
  mpv_set_option_string(m_mpv, "ordered-chapters", "no");
  mpv_set_option_string(m_mpv, "cover-art-auto", "no");
  mpv_set_option_string(m_mpv, "demuxer-lavf-o", "protocol_whitelist=file");
  mpv_set_option_string(m_mpv, "stream-lavf-o", "protocol_whitelist=file");
  // A sound file's embedded cover art plays as a one-picture video track.
  mpv_set_option_string(m_mpv, "audio-display", "embedded-first");
  // Subtitles beside the file with its stem ("item01.srt", "item01.en.vtt") are shown;
  // their text encoding is guessed when it is not UTF-8.
  mpv_set_option_string(m_mpv, "sub-auto", subtitles != nullptr ? "no" : "exact");
  if (subtitles != nullptr && !subtitles->empty() && (*subtitles)[0] == '/') {
    // As a list of one, so that no character of the name is taken for a separator.
    mpv_node name{};
    name.format = MPV_FORMAT_STRING;
    name.u.string = const_cast<char*>(subtitles->c_str());
    mpv_node_list one{1, &name, nullptr};
    mpv_node list{};
    list.format = MPV_FORMAT_NODE_ARRAY;
    list.u.list = &one;
    mpv_set_option(m_mpv, "sub-files", MPV_FORMAT_NODE, &list);
  }
  mpv_set_option_string(m_mpv, "sw-fast", "yes");
  mpv_set_option_string(m_mpv, "pause", "yes");
  // Frames are converted and scaled in software: bilinear scaling costs a fraction of the
  // default filter's time, and at the display's size the difference is hard to see.
  mpv_set_option_string(m_mpv, "zimg-scaler", "bilinear");
  mpv_set_option_string(m_mpv, "zimg-fast", "yes");
  // The desktop's sound servers and the sound card only. The player's further fallbacks
  // are slow to fail (a tenth of a second before the first frame on a machine without
  // sound) and one of them starts and stops SDL's audio from the player's own thread, which
  // the program's SDL use on its thread must not meet. With none of these the silent output
  // keeps the time, so a sound file still plays its length (a player without any output
  // gives up on a file that has nothing else to play).
  mpv_set_option_string(m_mpv, "ao", m_audio ? "pipewire,pulse,alsa,jack,null" : "null");
  if (mpv_initialize(m_mpv) < 0) {
    m_failed = true;
    return false;
  }
  // Every file the player is about to open passes here first (DrainEvents), so that
  // nothing but the file asked for is ever opened.
  if (mpv_hook_add(m_mpv, 0, "on_load", 0) < 0) {
    m_failed = true;
    return false;
  }
  mpv_render_param params[] = {
      {MPV_RENDER_PARAM_API_TYPE, const_cast<char*>(MPV_RENDER_API_TYPE_SW)},
      {MPV_RENDER_PARAM_INVALID, nullptr}};
  if (mpv_render_context_create(&m_render, m_mpv, params) < 0) {
    m_render = nullptr;
    m_failed = true;
    return false;
  }
  const char* cmd[] = {"loadfile", path.c_str(), nullptr};
  if (mpv_command(m_mpv, cmd) < 0) {
    m_failed = true;
    return false;
  }
  return true;
}

void VideoPlayer::Play() {
  if (!m_mpv) return;
  int no = 0;
  mpv_set_property(m_mpv, "pause", MPV_FORMAT_FLAG, &no);
  m_playing = true;
}

void VideoPlayer::Close() {
  if (m_mpv && m_render) {
    // The video output cannot stop while a frame it handed over waits to be rendered (it
    // waits a fifth of a second for that): keep taking frames until the player is idle, so
    // that closing does not stall the program.
    // The player turns idle before its video output is gone, so both are waited for.
    const char* cmd[] = {"stop", nullptr};
    mpv_command_async(m_mpv, 0, cmd);
    const uint64_t until = WallMicros() + kStopTimeoutMicros;
    while (WallMicros() < until) {
      RenderFrame();
      int idle = 0;
      int video = 1;
      if (mpv_get_property(m_mpv, "vo-configured", MPV_FORMAT_FLAG, &video) < 0) video = 0;
      if (mpv_get_property(m_mpv, "idle-active", MPV_FORMAT_FLAG, &idle) >= 0 && idle && !video) {
        break;
      }
      mpv_wait_event(m_mpv, 0.002);
    }
  }
  Release();
}

void VideoPlayer::Release() {
  // The render context must go before the player it belongs to.
  if (m_render) {
    mpv_render_context_free(m_render);
    m_render = nullptr;
  }
  if (m_mpv) {
    mpv_terminate_destroy(m_mpv);
    m_mpv = nullptr;
  }
  m_playing = false;
}

void VideoPlayer::DrainEvents() {
  if (!m_mpv) return;
  for (;;) {
    mpv_event* ev = mpv_wait_event(m_mpv, 0);
    if (!ev || ev->event_id == MPV_EVENT_NONE) break;
    if (ev->event_id == MPV_EVENT_HOOK) {
      auto* hook = static_cast<mpv_event_hook*>(ev->data);
      char* name = mpv_get_property_string(m_mpv, "stream-open-filename");
      // Not the file asked for (a playlist's entry): the player is given nothing to open.
      if (name == nullptr || m_path != name) {
        mpv_set_property_string(m_mpv, "stream-open-filename", "null://");
      }
      mpv_free(name);
      mpv_hook_continue(m_mpv, hook->id);
    } else if (ev->event_id == MPV_EVENT_FILE_LOADED) {
      m_loaded = true;
      ReadKind();
    } else if (ev->event_id == MPV_EVENT_END_FILE) {
      auto* end = static_cast<mpv_event_end_file*>(ev->data);
      if (!m_loaded && !m_fallback.empty()) {
        // The file asked for first cannot be played: the other takes its place, unnoticed.
        m_path = m_fallback;
        m_fallback.clear();
        m_openedAtMicros = WallMicros();
        const char* cmd[] = {"loadfile", m_path.c_str(), nullptr};
        if (mpv_command(m_mpv, cmd) >= 0) continue;
      }
      if (!m_loaded || (end && end->reason == MPV_END_FILE_REASON_ERROR)) m_failed = true;
      // Played files stay open at their end; one that was let go of anyway (a file with
      // nothing to play, a stream that broke off) is at its end too.
      m_ended = true;
    }
  }
  if (!m_loaded && !m_failed && WallMicros() - m_openedAtMicros > kLoadTimeoutMicros) {
    m_failed = true;
  }
}

void VideoPlayer::ReadKind() {
  int64_t count = 0;
  mpv_get_property(m_mpv, "track-list/count", MPV_FORMAT_INT64, &count);
  m_kind = MediaKind::AudioOnly;
  for (int64_t i = 0; i < count && i < 64; ++i) {
    const std::string at = "track-list/" + std::to_string(i) + "/";
    char* type = mpv_get_property_string(m_mpv, (at + "type").c_str());
    int selected = 0;
    int art = 0;
    mpv_get_property(m_mpv, (at + "selected").c_str(), MPV_FORMAT_FLAG, &selected);
    mpv_get_property(m_mpv, (at + "albumart").c_str(), MPV_FORMAT_FLAG, &art);
    const bool video = type != nullptr && std::string(type) == "video";
    mpv_free(type);
    if (!video || !selected) continue;
    m_kind = art ? MediaKind::AudioWithArt : MediaKind::Video;
    break;
  }
  // Over a sound file's picture the program writes the subtitles itself, full width; the
  // player would put them into the cover art's small frame as well.
  if (m_kind != MediaKind::Video) {
    int visible = 0;
    mpv_set_property_async(m_mpv, 0, "sub-visibility", MPV_FORMAT_FLAG, &visible);
  }
}

std::string VideoPlayer::SubtitleText() {
  DrainEvents();
  if (!m_mpv || !m_loaded || m_failed) return {};
  char* text = mpv_get_property_string(m_mpv, "sub-text");
  std::string out = text != nullptr ? text : "";
  mpv_free(text);
  return out;
}

MediaKind VideoPlayer::Kind() {
  DrainEvents();
  return m_failed ? MediaKind::Unknown : m_kind;
}

void VideoPlayer::SetPaused(bool paused) {
  if (!m_mpv) return;
  m_paused = paused;
  int flag = paused ? 1 : 0;
  mpv_set_property_async(m_mpv, 0, "pause", MPV_FORMAT_FLAG, &flag);
}

void VideoPlayer::SeekMs(uint32_t ms) {
  if (!m_mpv || !m_loaded || m_failed) return;
  char seconds[32];
  std::snprintf(seconds, sizeof seconds, "%.3f", ms / 1000.0);
  const char* cmd[] = {"seek", seconds, "absolute", nullptr};
  mpv_command_async(m_mpv, 0, cmd);
  ResumeAfterSeek();
}

void VideoPlayer::SeekByMs(int32_t deltaMs) {
  if (!m_mpv || !m_loaded || m_failed) return;
  char seconds[32];
  std::snprintf(seconds, sizeof seconds, "%.3f", deltaMs / 1000.0);
  const char* cmd[] = {"seek", seconds, "relative", nullptr};
  mpv_command_async(m_mpv, 0, cmd);
  ResumeAfterSeek();
}

void VideoPlayer::ResumeAfterSeek() {
  // A kept-open file pauses by itself at its end; a seek back from there plays on unless
  // the visitor paused it.
  if (!m_playing || m_paused) return;
  int no = 0;
  mpv_set_property_async(m_mpv, 0, "pause", MPV_FORMAT_FLAG, &no);
}

void VideoPlayer::SetVolume(int permille) {
  if (!m_mpv) return;
  double volume = (permille < 0 ? 0 : permille > 1000 ? 1000 : permille) / 10.0;
  mpv_set_property_async(m_mpv, 0, "volume", MPV_FORMAT_DOUBLE, &volume);
}

int VideoPlayer::Volume() {
  double volume = 100.0;
  if (!m_mpv || mpv_get_property(m_mpv, "volume", MPV_FORMAT_DOUBLE, &volume) < 0) return 0;
  return static_cast<int>(std::lround(volume * 10.0));
}

bool VideoPlayer::AtEnd() {
  if (m_ended) return true;
  int eof = 0;
  return mpv_get_property(m_mpv, "eof-reached", MPV_FORMAT_FLAG, &eof) >= 0 && eof;
}

uint32_t VideoPlayer::TimePosMs() {
  double pos = 0.0;
  if (mpv_get_property(m_mpv, "time-pos", MPV_FORMAT_DOUBLE, &pos) < 0) pos = 0.0;
  return ToMs(pos);
}

int64_t VideoPlayer::EndMs() {
  DrainEvents();
  if (!m_mpv || m_failed) return 0;
  if (!m_loaded) return kLengthUnknown;  // still opening: not at its end yet
  double duration = 0.0;
  if (mpv_get_property(m_mpv, "duration", MPV_FORMAT_DOUBLE, &duration) >= 0 && duration > 0) {
    const uint32_t end = ToMs(duration);
    return end > 0 ? end : 1;
  }
  // Media that does not say its length ends where it stops.
  return AtEnd() ? TimePosMs() : kLengthUnknown;
}

uint32_t VideoPlayer::PositionMs() {
  DrainEvents();
  if (!m_mpv || m_failed) return 0;
  if (!m_loaded) return 0;
  const int64_t end = EndMs();
  if (AtEnd()) return end > 0 ? static_cast<uint32_t>(end) : 0;
  const uint32_t p = TimePosMs();
  if (end == kLengthUnknown) return p;
  // Until the player says it stopped, the position stays short of the end.
  return p >= end ? static_cast<uint32_t>(end - 1) : p;
}

uint32_t VideoPlayer::FramePixel(int x, int y) const {
  if (!m_frame || x < 0 || y < 0 || x >= m_frame->w || y >= m_frame->h) return 0;
  const auto* row = static_cast<const uint8_t*>(m_frame->pixels) + y * m_frame->pitch;
  return reinterpret_cast<const uint32_t*>(row)[x] & 0xFFFFFFu;
}

bool VideoPlayer::FrameDue() {
  DrainEvents();
  if (!m_render) return false;
  if (mpv_render_context_update(m_render) & MPV_RENDER_UPDATE_FRAME) m_frameDue = true;
  return m_frameDue;
}

bool VideoPlayer::RenderTo(void* pixels, int w, int h, size_t stride) {
  if (!m_render || pixels == nullptr || w <= 0 || h <= 0) return false;
  if (!m_frameDue && m_framesRendered == 0) return false;
  int size[2] = {w, h};
  int noBlock = 0;
  // "bgr0" is the byte order of a little-endian 0x00RRGGBB word.
  mpv_render_param params[] = {{MPV_RENDER_PARAM_SW_SIZE, size},
                               {MPV_RENDER_PARAM_SW_FORMAT, const_cast<char*>("bgr0")},
                               {MPV_RENDER_PARAM_SW_STRIDE, &stride},
                               {MPV_RENDER_PARAM_SW_POINTER, pixels},
                               {MPV_RENDER_PARAM_BLOCK_FOR_TARGET_TIME, &noBlock},
                               {MPV_RENDER_PARAM_INVALID, nullptr}};
  if (mpv_render_context_render(m_render, params) < 0) return false;
  m_frameDue = false;
  ++m_framesRendered;
  return true;
}

bool VideoPlayer::RenderFrame() {
  if (!m_frame || !FrameDue()) return false;
  return RenderTo(m_frame->pixels, m_width, m_height, static_cast<size_t>(m_frame->pitch));
}

}  // namespace platform
