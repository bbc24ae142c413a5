// Finding English that was left unmarked in a text drawn in the bracketed pseudo-language.
#pragma once

#include <cctype>
#include <string>
#include <vector>

namespace testsupport {

// True when, outside [brackets] and apart from the given names, the text holds a run of three
// or more ASCII letters: a word that did not go through the catalogues.
inline bool HasUnmarkedWord(std::string text, const std::vector<std::string>& names = {}) {
  for (const std::string& name : names) {
    for (std::size_t at; !name.empty() && (at = text.find(name)) != std::string::npos;)
      text.erase(at, name.size());
  }
  int run = 0;
  bool inside = false;
  for (char c : text) {
    if (c == '[') inside = true;
    if (c == ']') inside = false;
    const bool letter = !inside && std::isalpha(static_cast<unsigned char>(c)) != 0 &&
                        static_cast<unsigned char>(c) < 0x80;
    run = letter ? run + 1 : 0;
    if (run >= 3) return true;
  }
  return false;
}

}  // namespace testsupport
