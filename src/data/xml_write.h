// Writing helpers shared by the record classes.
#pragma once

#include <cstdio>

// "<tag>text</tag>" after indent, or the self-closing "<tag/>" when text is empty; the text
// goes out unescaped and is never taken as a format.
void WriteTextElement(FILE* file, const char* indent, const char* tag, const char* text);
