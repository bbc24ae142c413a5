// Media probing on libmpv with no video or audio output: a file counts as playable when the
// player loads it and picks a picture or sound track it can decode, as the program plays both.
#include "platform/media/media_probe.h"

#include <mpv/client.h>
#include <sys/stat.h>

#include <chrono>
#include <climits>
#include <clocale>
#include <cstdlib>
#include <cstring>

#include "platform/text/tr.h"

namespace platform {
namespace {

// A file that neither loads nor fails in this time is reported as not playable.
constexpr double kLoadTimeoutSeconds = 5.0;

double Now() {
  using namespace std::chrono;
  return duration<double>(steady_clock::now().time_since_epoch()).count();
}

bool IsRegularFile(const std::string& path, bool* empty) {
  struct stat st {};
  const bool regular = stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
  // The system's own files under /proc say they are empty and may never end when read.
  *empty = regular && st.st_size == 0;
  return regular;
}

// Anything that the player could take for another source than a plain file.
bool LooksLikeAddress(const std::string& path) {
  return path.find("://") != std::string::npos || path.rfind("av:", 0) == 0 ||
         path.rfind("lavf:", 0) == 0 || path.rfind("ytdl:", 0) == 0;
}

// What the player chose to play once the file has loaded: a selected track has a decoder set
// up. A cover picture in a sound file is no film.
struct Chosen {
  bool picture = false;       // a moving picture is played
  bool sound = false;         // sound is played
  bool picturesSeen = false;  // the file holds a moving picture, chosen or not
  bool soundSeen = false;
};

Chosen ChosenTracks(mpv_handle* mpv) {
  Chosen chosen;
  int64_t count = 0;
  if (mpv_get_property(mpv, "track-list/count", MPV_FORMAT_INT64, &count) < 0) return chosen;
  for (int64_t i = 0; i < count; ++i) {
    const std::string base = "track-list/" + std::to_string(i) + "/";
    char* type = mpv_get_property_string(mpv, (base + "type").c_str());
    const bool video = type != nullptr && std::strcmp(type, "video") == 0;
    const bool audio = type != nullptr && std::strcmp(type, "audio") == 0;
    mpv_free(type);
    int albumArt = 0;
    if (video) mpv_get_property(mpv, (base + "albumart").c_str(), MPV_FORMAT_FLAG, &albumArt);
    if ((!video && !audio) || albumArt) continue;
    int on = 0;
    const bool selected =
        mpv_get_property(mpv, (base + "selected").c_str(), MPV_FORMAT_FLAG, &on) >= 0 && on;
    (video ? chosen.picturesSeen : chosen.soundSeen) = true;
    if (selected) (video ? chosen.picture : chosen.sound) = true;
  }
  return chosen;
}

}  // namespace

struct MediaProber::State {
  mpv_handle* mpv = nullptr;
  bool ready = false;
};

MediaProber::MediaProber() : m_state(std::make_unique<State>()) {
  // libmpv refuses to start unless numbers are formatted the C way.
  std::setlocale(LC_NUMERIC, "C");
  mpv_handle* mpv = mpv_create();
  if (mpv == nullptr) return;
  m_state->mpv = mpv;
  const char* options[][2] = {
      {"vo", "null"},
      {"ao", "null"},
      {"idle", "yes"},
      {"pause", "yes"},
      {"terminal", "no"},
      {"config", "no"},
      {"load-scripts", "no"},
      {"ytdl", "no"},
      {"osc", "no"},
      {"input-default-bindings", "no"},

      {"sid", "no"},
      {"sub-auto", "no"},
      {"audio-file-auto", "no"},
      {"cover-art-auto", "no"},
      // A playlist or a file that refers to others is not followed.
      {"access-references", "no"},
      {"load-unsafe-playlists", "no"},
      // What the demuxer opens besides the file itself stays on the local disk.
      {"demuxer-lavf-o", "protocol_whitelist=[file]"},
      {"stream-lavf-o", "protocol_whitelist=[file]"},
      {"hwdec", "no"},
  };
  for (const auto& option : options) mpv_set_option_string(mpv, option[0], option[1]);
  if (mpv_initialize(mpv) < 0) return;
  // Every file the player is about to open passes here first, so that a playlist cannot
  // lead it to another source.
  if (mpv_hook_add(mpv, 0, "on_load", 0) < 0) return;
  m_state->ready = true;
}

MediaProber::~MediaProber() {
  if (m_state->mpv != nullptr) mpv_terminate_destroy(m_state->mpv);
}

MediaProbeResult MediaProber::Probe(const std::string& path) {
  MediaProbeResult result;
  if (path.empty() || LooksLikeAddress(path)) {
    result.reason = _("is not a local file name");
    return result;
  }
  bool empty = false;
  if (!IsRegularFile(path, &empty)) {
    result.reason = _("is not a file");
    return result;
  }
  if (empty) {
    result.reason = _("is empty");
    return result;
  }
  if (!m_state->ready) {
    result.reason = _("could not be checked: the video player did not start");
    return result;
  }
  // An absolute name can never be read as a protocol prefix.
  char* real = realpath(path.c_str(), nullptr);
  if (real == nullptr) {
    result.reason = _("cannot be opened");
    return result;
  }
  const std::string absolute(real);
  std::free(real);

  mpv_handle* mpv = m_state->mpv;
  const char* load[] = {"loadfile", absolute.c_str(), "replace", nullptr};
  if (mpv_command(mpv, load) < 0) {
    result.reason = _("cannot be opened");
    return result;
  }
  bool loaded = false;
  bool ended = false;
  bool refused = false;
  bool started = false;
  int endError = 0;
  const double until = Now() + kLoadTimeoutSeconds;
  while (!loaded && !ended) {
    const double left = until - Now();
    if (left <= 0) break;
    mpv_event* ev = mpv_wait_event(mpv, left);
    switch (ev->event_id) {
      case MPV_EVENT_START_FILE:
        started = true;
        break;
      case MPV_EVENT_HOOK: {
        auto* hook = static_cast<mpv_event_hook*>(ev->data);
        char* name = mpv_get_property_string(mpv, "stream-open-filename");
        if (name == nullptr || absolute != name) {
          // Not the file asked for (a playlist entry): give the player nothing to open.
          refused = true;
          mpv_set_property_string(mpv, "stream-open-filename", "null://");
        }
        mpv_free(name);
        mpv_hook_continue(mpv, hook->id);
        break;
      }
      case MPV_EVENT_FILE_LOADED:
        if (started && !refused) loaded = true;
        break;
      case MPV_EVENT_END_FILE: {
        if (!started) break;  // the end of the file probed before
        auto* end = static_cast<mpv_event_end_file*>(ev->data);
        if (end->reason == MPV_END_FILE_REASON_REDIRECT) {
          refused = true;  // a playlist: its entries are not followed
        } else {
          if (end->reason == MPV_END_FILE_REASON_ERROR) endError = end->error;
          ended = true;
        }
        break;
      }
      default:
        break;
    }
  }

  if (loaded) {
    const Chosen chosen = ChosenTracks(mpv);
    if (chosen.picture || chosen.sound) {
      double seconds = 0;
      if (mpv_get_property(mpv, "duration", MPV_FORMAT_DOUBLE, &seconds) < 0 || !(seconds > 0))
        seconds = 0;
      result.playable = true;
      result.picture = chosen.picture;
      result.seconds = seconds;
    } else {
      result.reason = chosen.picturesSeen || chosen.soundSeen
                          ? _("holds picture or sound that cannot be decoded")
                          : _("holds neither picture nor sound");
    }
  } else if (refused) {
    result.reason = _("is a playlist, not a video or sound file");
  } else if (ended) {
    if (endError == MPV_ERROR_NOTHING_TO_PLAY)
      result.reason = _("holds neither picture nor sound");
    else if (endError == MPV_ERROR_UNKNOWN_FORMAT || endError == 0)
      result.reason = _("is not a video or sound file the player can read");
    else
      result.reason = std::string(_("cannot be played (")) + mpv_error_string(endError) + ")";
  } else {
    result.reason = _("did not open within five seconds");
  }
  const char* stop[] = {"stop", nullptr};
  mpv_command(mpv, stop);
  return result;
}

}  // namespace platform
