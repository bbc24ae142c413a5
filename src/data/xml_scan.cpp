#include "data/xml_scan.h"

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

}  // namespace

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
