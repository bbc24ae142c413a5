// Decoding of character entities for display.
#include "guide/guide_text.h"

#include <cstdint>

namespace guide {
namespace {

void AppendUtf8(std::string& out, char32_t c) {
  if (c == 0 || (c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) c = 0xFFFD;
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// The character of the reference `body` (between '&' and ';'), or -1 when it names none.
int64_t Reference(std::string_view body) {
  struct Named {
    const char* name;
    char32_t c;
  };
  static constexpr Named kNamed[] = {{"amp", '&'},  {"lt", '<'},    {"gt", '>'},
                                     {"quot", '"'}, {"apos", '\''}, {"nbsp", 0xA0}};
  if (body.size() >= 2 && body[0] == '#') {
    const bool hex = body[1] == 'x' || body[1] == 'X';
    std::string_view digits = body.substr(hex ? 2 : 1);
    if (digits.empty() || digits.size() > 8) return -1;
    int64_t value = 0;
    for (char ch : digits) {
      int d;
      if (ch >= '0' && ch <= '9') {
        d = ch - '0';
      } else if (hex && ch >= 'a' && ch <= 'f') {
        d = ch - 'a' + 10;
      } else if (hex && ch >= 'A' && ch <= 'F') {
        d = ch - 'A' + 10;
      } else {
        return -1;
      }
      value = value * (hex ? 16 : 10) + d;
    }
    return value > 0x10FFFF ? 0xFFFD : value;
  }
  for (const Named& n : kNamed) {
    if (body == n.name) return n.c;
  }
  return -1;
}

}  // namespace

std::string DecodeEntities(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '&') {
      // Entity names and numbers are short; a far ';' belongs to something else.
      const std::size_t end = text.find(';', i + 1);
      if (end != std::string_view::npos && end - i <= 10) {
        const int64_t c = Reference(text.substr(i + 1, end - i - 1));
        if (c >= 0) {
          AppendUtf8(out, static_cast<char32_t>(c));
          i = end;
          continue;
        }
      }
    }
    out += text[i];
  }
  return out;
}

std::string ShownName(std::string_view stored) {
  std::string text = DecodeEntities(stored);
  const std::size_t first = text.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) return {};
  const std::size_t last = text.find_last_not_of(" \t\r\n");
  return text.substr(first, last - first + 1);
}

}  // namespace guide
