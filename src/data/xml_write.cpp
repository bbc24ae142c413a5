#include "data/xml_write.h"

void WriteTextElement(FILE* file, const char* indent, const char* tag, const char* text) {
  if (text[0] == '\0')
    fprintf(file, "%s<%s/>\n", indent, tag);
  else
    fprintf(file, "%s<%s>%s</%s>\n", indent, tag, text, tag);
}
