// The line-oriented scanner shared by every record class: the first tag of a line, its
// value, and the one parse loop that each record's Parse runs with its own field table.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

class CXmlItem;

// One fgets read takes at most XML_LINE_SIZE - 1 characters; longer lines come in pieces.
constexpr size_t XML_LINE_SIZE = 256;
constexpr size_t XML_NAME_SIZE = 64;    // longer tag names are cut to 63 characters
constexpr size_t XML_VALUE_SIZE = 128;  // longer values are cut to 127 characters

// The name of the first tag on the line ("region_id", "/region", "theme_list/", "?xml"),
// ended by '>' or a space; empty when the line has no such tag. Returns name.
char* ReadTagName(const char* line, char* name, size_t size = XML_NAME_SIZE);
// The text between the line's first '>' and the next '<', unchanged; empty when there is
// none. Returns value.
char* ReadTagValue(const char* line, char* value, size_t size = XML_VALUE_SIZE);

// True when the line holds a tag after its first element (a second element, or an end tag
// other than the first element's own): the reader takes only the first tag of a line, so
// whatever follows it is lost. A comment or a declaration is a first tag like any other;
// after the first element it takes nothing away and does not count.
bool HoldsMoreThanOneElement(const char* line);
// The first line (from 1) of text that holds more than one element, cut into lines as the
// reader cuts them (at most XML_LINE_SIZE - 1 characters at a time); 0 when there is none.
int FirstCrowdedLine(const std::string& text);

// What a record made of one element with a non-empty value inside it.
enum FieldResult {
  FIELD_COUNTED,    // a field of the record, counted toward the expected number
  FIELD_UNCOUNTED,  // known, but not a field of its own (id-list entries, list lines)
  FIELD_UNKNOWN,    // not known to the record: the default beep
};
using FieldReader = FieldResult (*)(CXmlItem& record, const char* name, const char* value);

// The parse loop: reads lines until the record named element is closed or the file ends,
// handing every named element with a value inside the record to reader. The caller resets
// the record's fields first. Returns -1 at end of file, else 1 when the count of fields
// read is the record's expected number or one more, else 0.
int ParseRecord(FILE* file, CXmlItem& record, const char* element, FieldReader reader);
