// Rendered text lines by their bytes, least recently used dropped first. The frame draws
// the same few texts again and again; rendering them once keeps text cheap.
#pragma once

#include <SDL.h>

#include <cstddef>
#include <list>
#include <string>
#include <unordered_map>

namespace platform {

class TextLineCache {
 public:
  explicit TextLineCache(std::size_t capacity = 256) : m_capacity(capacity) {}
  ~TextLineCache() { Clear(); }
  TextLineCache(const TextLineCache&) = delete;
  TextLineCache& operator=(const TextLineCache&) = delete;

  // True when `key` is stored; its surface (possibly null) goes to `surface`.
  bool Find(const std::string& key, SDL_Surface** surface);
  // Takes ownership of `surface` (may be null, remembered as "nothing to draw").
  void Store(const std::string& key, SDL_Surface* surface);
  std::size_t Size() const { return m_index.size(); }
  void Clear();

 private:
  struct Entry {
    std::string key;
    SDL_Surface* surface;
  };
  std::size_t m_capacity;
  std::list<Entry> m_order;  // most recently used first
  std::unordered_map<std::string, std::list<Entry>::iterator> m_index;
};

}  // namespace platform
