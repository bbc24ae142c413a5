#include "platform/graphics/detail/text_line_cache.h"

namespace platform {

bool TextLineCache::Find(const std::string& key, SDL_Surface** surface) {
  auto it = m_index.find(key);
  if (it == m_index.end()) return false;
  m_order.splice(m_order.begin(), m_order, it->second);
  *surface = it->second->surface;
  return true;
}

void TextLineCache::Store(const std::string& key, SDL_Surface* surface) {
  auto it = m_index.find(key);
  if (it != m_index.end()) {
    if (it->second->surface != nullptr) SDL_FreeSurface(it->second->surface);
    m_order.erase(it->second);
    m_index.erase(it);
  }
  m_order.push_front(Entry{key, surface});
  m_index[key] = m_order.begin();
  while (m_index.size() > m_capacity) {
    Entry& last = m_order.back();
    if (last.surface != nullptr) SDL_FreeSurface(last.surface);
    m_index.erase(last.key);
    m_order.pop_back();
  }
}

void TextLineCache::Clear() {
  for (Entry& e : m_order) {
    if (e.surface != nullptr) SDL_FreeSurface(e.surface);
  }
  m_order.clear();
  m_index.clear();
}

}  // namespace platform
