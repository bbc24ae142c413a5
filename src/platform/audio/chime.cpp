// The arrival chime through SDL's audio: the sound is read once from the resources, each
// chime queues a copy scaled to the volume. Headless, chimes are only counted.
#include "platform/audio/chime.h"

#include <SDL.h>

#include <algorithm>
#include <vector>

#include "platform/backend_headless/headless_audio.h"
#include "platform/backend_select.h"
#include "platform/graphics/detail/resources.h"

namespace platform {
namespace {

struct ChimeRecord {
  int count = 0;
  int lastVolume = -1;
};

ChimeRecord& Record() {
  static ChimeRecord record;
  return record;
}

struct ChimeDevice {
  bool tried = false;
  SDL_AudioDeviceID device = 0;
  SDL_AudioSpec audio{};
  std::vector<Uint8> sound;
};

ChimeDevice& Device() {
  static ChimeDevice device;
  return device;
}

bool LoadWav(const unsigned char* data, std::size_t size, SDL_AudioSpec* audio,
             std::vector<Uint8>* out) {
  if (data == nullptr || size == 0 || size > 16 * 1024 * 1024) return false;
  SDL_RWops* rw = SDL_RWFromConstMem(data, static_cast<int>(size));
  if (rw == nullptr) return false;
  Uint8* buffer = nullptr;
  Uint32 length = 0;
  if (SDL_LoadWAV_RW(rw, 1, audio, &buffer, &length) == nullptr) return false;
  out->assign(buffer, buffer + length);
  SDL_FreeWAV(buffer);
  return !out->empty();
}

// Opens the output and reads the sound on the first chime; false from then on if either
// failed.
bool Ready() {
  ChimeDevice& d = Device();
  if (d.tried) return d.device != 0;
  d.tried = true;
  const ResourceBytes bytes = FindResource(kChimeResource, "WAV");
  if (!bytes || !LoadWav(bytes.data, bytes.size, &d.audio, &d.sound)) return false;
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
  d.device = SDL_OpenAudioDevice(nullptr, 0, &d.audio, nullptr, 0);
  if (d.device == 0) {
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return false;
  }
  SDL_PauseAudioDevice(d.device, 0);
  return true;
}

}  // namespace

bool ChimeSoundReadable(const unsigned char* data, std::size_t size) {
  SDL_AudioSpec audio{};
  std::vector<Uint8> sound;
  return LoadWav(data, size, &audio, &sound);
}

bool PlayChime(int volume) {
  volume = std::clamp(volume, 0, 1000);
  ChimeRecord& r = Record();
  ++r.count;
  r.lastVolume = volume;
  if (ActiveBackend() == BackendKind::Headless) return true;
  if (volume == 0 || !Ready()) return false;
  ChimeDevice& d = Device();
  std::vector<Uint8> scaled(d.sound.size(), 0);
  SDL_MixAudioFormat(scaled.data(), d.sound.data(), d.audio.format,
                     static_cast<Uint32>(scaled.size()), volume * SDL_MIX_MAXVOLUME / 1000);
  // A chime still sounding gives way to the new one.
  SDL_ClearQueuedAudio(d.device);
  return SDL_QueueAudio(d.device, scaled.data(), static_cast<Uint32>(scaled.size())) == 0;
}

}  // namespace platform

namespace headless {

int ChimeCount() { return platform::Record().count; }
int LastChimeVolume() { return platform::Record().lastVolume; }
void ForgetChimes() { platform::Record() = platform::ChimeRecord{}; }

}  // namespace headless
