// Reading a media file's title tag with libavformat, which parses the container's header
// only (no decoding, no stream probing).
#include "platform/media/media_title.h"

#include <sys/stat.h>

extern "C" {
#include <libavformat/avformat.h>
#include <libavutil/dict.h>
#include <libavutil/log.h>
}

namespace platform {

std::string ReadMediaTitle(const std::string& path, std::size_t maxBytes) {
  struct stat st {};
  if (path.empty() || stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return {};
  // A broken file is simply one without a title; the library need not say more.
  av_log_set_level(AV_LOG_QUIET);
  AVDictionary* options = nullptr;
  // Only the file itself: a playlist or a reference inside it opens nothing else.
  av_dict_set(&options, "protocol_whitelist", "file", 0);
  AVFormatContext* context = nullptr;
  const std::string url = "file:" + path;
  const int opened = avformat_open_input(&context, url.c_str(), nullptr, &options);
  av_dict_free(&options);
  if (opened < 0) return {};
  std::string title;
  const AVDictionaryEntry* entry = av_dict_get(context->metadata, "title", nullptr, 0);
  // Some containers tag the first stream rather than the file.
  if (entry == nullptr && context->nb_streams > 0)
    entry = av_dict_get(context->streams[0]->metadata, "title", nullptr, 0);
  if (entry != nullptr && entry->value != nullptr) title = entry->value;
  avformat_close_input(&context);
  if (title.size() > maxBytes) {
    std::size_t end = maxBytes;
    while (end > 0 && (static_cast<unsigned char>(title[end]) & 0xC0) == 0x80) --end;
    title.resize(end);
  }
  return title;
}

}  // namespace platform
