#include "platform/graphics/detail/text_encoding.h"

#include <cstdint>

namespace platform {
namespace {

// Code points of bytes 0x80 to 0x9F; the rest of the upper half equals Latin-1.
constexpr char32_t kHighControls[32] = {
    0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  //
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD,  //
    0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  //
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178};

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// Length of the UTF-8 sequence starting at bytes[i], or 0 when none starts there.
std::size_t SequenceLength(std::string_view bytes, std::size_t i) {
  auto b = static_cast<uint8_t>(bytes[i]);
  if (b < 0x80) return 1;
  std::size_t length;
  char32_t c;
  char32_t least;
  if ((b & 0xE0) == 0xC0) {
    length = 2, c = b & 0x1F, least = 0x80;
  } else if ((b & 0xF0) == 0xE0) {
    length = 3, c = b & 0x0F, least = 0x800;
  } else if ((b & 0xF8) == 0xF0) {
    length = 4, c = b & 0x07, least = 0x10000;
  } else {
    return 0;
  }
  if (i + length > bytes.size()) return 0;
  for (std::size_t k = 1; k < length; ++k) {
    auto t = static_cast<uint8_t>(bytes[i + k]);
    if ((t & 0xC0) != 0x80) return 0;
    c = (c << 6) | (t & 0x3F);
  }
  // Overlong forms, surrogates and values past the last code point are not UTF-8.
  if (c < least || (c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) return 0;
  return length;
}

}  // namespace

bool IsValidUtf8(std::string_view bytes) {
  for (std::size_t i = 0; i < bytes.size();) {
    const std::size_t length = SequenceLength(bytes, i);
    if (length == 0) return false;
    i += length;
  }
  return true;
}

namespace {

// True when every byte is printable ASCII or part of a valid sequence: the text is shown as
// it is. Texts are measured and drawn many times a frame, so this is the usual way out.
bool ShownAsIs(std::string_view bytes) {
  for (std::size_t i = 0; i < bytes.size();) {
    const auto b = static_cast<uint8_t>(bytes[i]);
    if (b >= 0x20 && b < 0x7F) {
      ++i;
      continue;
    }
    if (b < 0x80) return false;
    const std::size_t length = SequenceLength(bytes, i);
    if (length == 0) return false;
    i += length;
  }
  return true;
}

}  // namespace

std::string ReplaceInvalidUtf8(std::string_view bytes) {
  if (ShownAsIs(bytes)) return std::string(bytes);
  std::string out;
  out.reserve(bytes.size());
  for (std::size_t i = 0; i < bytes.size();) {
    const std::size_t length = SequenceLength(bytes, i);
    if (length == 0) {
      out += "\xEF\xBF\xBD";
      ++i;
      continue;
    }
    auto b = static_cast<uint8_t>(bytes[i]);
    if (length == 1 && (b < 0x20 || b == 0x7F)) {
      out += ' ';
    } else {
      out.append(bytes.substr(i, length));
    }
    i += length;
  }
  return out;
}

std::string Windows1252ToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() * 2);
  for (char ch : bytes) {
    auto b = static_cast<uint8_t>(ch);
    if (b >= 0x80 && b < 0xA0) {
      AppendUtf8(out, kHighControls[b - 0x80]);
    } else {
      AppendUtf8(out, b);
    }
  }
  return out;
}

std::string DisplayText(std::string_view bytes) {
  std::string text = IsValidUtf8(bytes) ? std::string(bytes) : Windows1252ToUtf8(bytes);
  // Project files written for other XML tools hold '&', '<' and '>' as entities; they are
  // kept so in the files and shown as the characters.
  static const struct {
    std::string_view entity;
    char shown;
  } kEntities[] = {{"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&apos;", '\''}};
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    auto b = static_cast<uint8_t>(text[i]);
    if (b < 0x20 || b == 0x7F) {
      out += ' ';
      continue;
    }
    if (text[i] == '&') {
      const std::string_view rest = std::string_view(text).substr(i);
      bool replaced = false;
      for (const auto& e : kEntities) {
        if (rest.substr(0, e.entity.size()) == e.entity) {
          out += e.shown;
          i += e.entity.size() - 1;
          replaced = true;
          break;
        }
      }
      if (replaced) continue;
    }
    out += text[i];
  }
  return out;
}

}  // namespace platform
