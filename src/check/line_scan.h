// A second reading of a project or users file that keeps line numbers: the file is cut into
// the same pieces the reader takes (at most 255 characters) and each record kind is found
// by the same rules, so record i here is record i of the program's list.
#pragma once

#include <cstdio>
#include <map>
#include <string>
#include <vector>

struct ScanPiece {
  std::string text;  // as one read of the reader returns it
  int line;          // the line it starts on, from 1
};

struct ScanField {
  std::string name;   // whole, even where the reader cuts it
  std::string value;  // whole, as far as the piece goes
  int line;
};

struct ScanRecord {
  int line;  // the opening line, or the closing one of a record never opened
  std::vector<ScanField> fields;
  // The line of the last field of this name, or the record's line.
  int LineOf(const char* name) const;
};

struct ScanLongLine {
  int line;
  size_t length;  // characters, the line end included
};

struct ScanResult {
  std::vector<ScanRecord> records;  // complete records, in file order
  int unclosedLine = 0;             // opening line of a record the file ends inside, or 0
};

class CLineScan {
 public:
  // Reads the whole stream from its start. False when it cannot be read.
  bool Read(FILE* file);
  const std::vector<ScanLongLine>& LongLines() const { return m_longLines; }
  // Lines with a piece that holds more than one element, in order, each once.
  const std::vector<int>& CrowdedLines() const { return m_crowdedLines; }
  // Every record with this element name, found as the reader finds them; found once and
  // kept, as every check asks again.
  const ScanResult& Records(const char* element) const;

 private:
  std::vector<ScanPiece> m_pieces;
  std::vector<ScanLongLine> m_longLines;
  std::vector<int> m_crowdedLines;
  mutable std::map<std::string, ScanResult> m_found;

  ScanResult Find(const char* element) const;
};
