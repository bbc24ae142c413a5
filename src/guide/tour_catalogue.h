// One translation catalogue of a tour (<project stem>.LL.po beside the project), read with
// gettext's own PO reader.
#pragma once

#include <cstddef>
#include <map>
#include <string>

constexpr size_t kTranslationMax = 255;

struct TourCatalogue {
  // msgid (the text as the project shows it) to msgstr. Fuzzy, empty, plural and
  // context-bound entries are left out: the tour never asks for them. A translation holds
  // no more than a project's own text field (kTranslationMax bytes): a longer one is cut
  // where a character starts, and drawn like any long name.
  std::map<std::string, std::string> texts;
  bool ok = false;        // read without error; otherwise texts is empty
  int errorLine = 0;      // the first line the reader found at fault, 0 when it named none
  std::string error;      // its words, empty when ok
};

// Reads the catalogue at path (a regular file, at most a few megabytes). Text in another
// character set than UTF-8 is converted when the header names it.
TourCatalogue ReadTourCatalogue(const std::string& path);
