#include "data/xml_scan.h"

#include <algorithm>
#include <cstring>

#include "data/xml_item.h"
#include "data/xml_values.h"
#include "platform/windowing/win_api.h"

namespace {

void CopyRange(char* out, size_t size, const char* begin, const char* end) {
  size_t n = static_cast<size_t>(end - begin);
  if (n > size - 1) n = size - 1;
  memcpy(out, begin, n);
  out[n] = '\0';
}

// '<' that begins a tag: a name, an end tag, a declaration or a comment. "a < b" and "<3" in
// a text are no tags.
bool BeginsTag(const char* at) {
  const unsigned char c = static_cast<unsigned char>(at[1]);
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c == ':' || c == '/' ||
         c == '?' || c == '!' || c >= 0x80;
}

bool EndsName(char c) { return c == '>' || c == '/' || c == ' ' || c == '\t' || c == '\0'; }

}  // namespace

bool HoldsMoreThanOneElement(const char* line) {
  const char* first = strchr(line, '<');
  if (first == nullptr) return false;
  const char* after = nullptr;
  if (strncmp(first, "<!--", 4) == 0) {
    after = strstr(first + 4, "-->");
    if (after != nullptr) after += 3;
  } else {
    after = strchr(first, '>');
    if (after != nullptr) ++after;
  }
  if (after == nullptr) return false;
  // Only an element that opens here may be closed on the same line.
  const bool opens = BeginsTag(first) && first[1] != '/' && first[1] != '?' && first[1] != '!' &&
                     after[-2] != '/';
  const char* name = first + 1;
  size_t nameLength = 0;
  while (!EndsName(name[nameLength])) ++nameLength;
  bool closed = false;
  for (const char* at = strchr(after, '<'); at != nullptr; at = strchr(at + 1, '<')) {
    if (!BeginsTag(at)) continue;
    // A comment or declaration after the element takes nothing from it.
    if (strncmp(at, "<!--", 4) == 0) {
      at = strstr(at + 4, "-->");
      if (at == nullptr) break;
      continue;
    }
    if (at[1] == '?' || at[1] == '!') continue;
    if (opens && !closed && at[1] == '/' && strncmp(at + 2, name, nameLength) == 0 &&
        (at[2 + nameLength] == '>' || at[2 + nameLength] == ' ' || at[2 + nameLength] == '\t')) {
      closed = true;
      continue;
    }
    return true;
  }
  return false;
}

int FirstCrowdedLine(const std::string& text) {
  int line = 1;
  size_t start = 0;
  while (start < text.size()) {
    const size_t newline = text.find('\n', start);
    const size_t lineEnd = newline == std::string::npos ? text.size() : newline + 1;
    // The pieces of one line, as fgets returns them.
    for (size_t piece = start; piece < lineEnd; piece += XML_LINE_SIZE - 1) {
      const std::string cut = text.substr(piece, std::min(XML_LINE_SIZE - 1, lineEnd - piece));
      if (HoldsMoreThanOneElement(cut.c_str())) return line;
    }
    ++line;
    start = lineEnd;
  }
  return 0;
}

char* ReadTagName(const char* line, char* name, size_t size) {
  name[0] = '\0';
  const char* open = strchr(line, '<');
  if (open == nullptr || open[1] == '\0') return name;
  const char* end = open + 1;
  // Only '>' and a space end a name; a tab does not.
  while (*end != '\0' && *end != '>' && *end != ' ') ++end;
  if (*end == '\0') return name;
  CopyRange(name, size, open + 1, end);
  return name;
}

char* ReadTagValue(const char* line, char* value, size_t size) {
  value[0] = '\0';
  const char* close = strchr(line, '>');
  if (close == nullptr || close[1] == '\0') return value;
  const char* end = strchr(close + 1, '<');
  if (end == nullptr) return value;
  CopyRange(value, size, close + 1, end);
  return value;
}

int ParseRecord(FILE* file, CXmlItem& record, const char* element, FieldReader reader) {
  char line[XML_LINE_SIZE];
  char name[XML_NAME_SIZE];
  char value[XML_VALUE_SIZE];
  char closeName[XML_NAME_SIZE];
  closeName[0] = '/';
  CopyText(closeName + 1, sizeof closeName - 1, element);

  int fieldsRead = 0;
  bool inside = false;
  bool closed = false;
  bool endOfFile = false;
  while (!endOfFile && !closed) {
    if (fgets(line, sizeof line, file) == nullptr) {
      endOfFile = true;
      continue;
    }
    ReadTagName(line, name, sizeof name);
    if (name[0] == '\0') continue;
    if (strcmp(name, element) == 0) {
      inside = true;
    } else if (strcmp(name, closeName) == 0) {
      closed = true;
    } else if (inside) {
      ReadTagValue(line, value, sizeof value);
      if (value[0] == '\0') continue;
      switch (reader(record, name, value)) {
        case FIELD_COUNTED:
          ++fieldsRead;
          break;
        case FIELD_UNCOUNTED:
          break;
        case FIELD_UNKNOWN:
          MessageBeep(0);
          break;
      }
    }
  }
  if (endOfFile) return -1;
  const int expected = record.ExpectedFields();
  return (fieldsRead == expected || fieldsRead == expected + 1) ? 1 : 0;
}
