// Cutting a file into the reader's pieces and finding records in them with line numbers.
#include "check/line_scan.h"

#include <cstring>

#include "data/xml_scan.h"

int ScanRecord::LineOf(const char* name) const {
  for (auto it = fields.rbegin(); it != fields.rend(); ++it)
    if (it->name == name) return it->line;
  return line;
}

bool CLineScan::Read(FILE* file) {
  m_pieces.clear();
  m_longLines.clear();
  m_crowdedLines.clear();
  m_found.clear();
  rewind(file);
  int line = 1;
  size_t lineLength = 0;
  std::string piece;
  int c;
  // One piece ends after a line end or after XML_LINE_SIZE - 1 characters, as fgets does.
  auto flush = [&](bool lineEnded) {
    if (piece.empty()) return;
    m_pieces.push_back({piece, line});
    if (HoldsMoreThanOneElement(piece.c_str()) &&
        (m_crowdedLines.empty() || m_crowdedLines.back() != line))
      m_crowdedLines.push_back(line);
    lineLength += piece.size();
    piece.clear();
    if (lineEnded) {
      if (lineLength > XML_LINE_SIZE - 1) m_longLines.push_back({line, lineLength});
      ++line;
      lineLength = 0;
    }
  };
  while ((c = fgetc(file)) != EOF) {
    piece.push_back(static_cast<char>(c));
    if (c == '\n')
      flush(true);
    else if (piece.size() == XML_LINE_SIZE - 1)
      flush(false);
  }
  if (ferror(file)) return false;
  flush(true);
  return true;
}

const ScanResult& CLineScan::Records(const char* element) const {
  auto it = m_found.find(element);
  if (it == m_found.end()) it = m_found.emplace(element, Find(element)).first;
  return it->second;
}

ScanResult CLineScan::Find(const char* element) const {
  ScanResult result;
  const std::string open(element);
  const std::string close = "/" + open;
  char name[XML_LINE_SIZE];
  char value[XML_LINE_SIZE];
  ScanRecord record{0, {}};
  bool inside = false;
  for (const ScanPiece& piece : m_pieces) {
    ReadTagName(piece.text.c_str(), name, sizeof name);
    if (name[0] == '\0') continue;
    // The reader compares the name as its buffer holds it.
    const std::string seen(name, strnlen(name, XML_NAME_SIZE - 1));
    if (seen == open) {
      if (!inside && record.line == 0) record.line = piece.line;
      inside = true;
    } else if (seen == close) {
      if (record.line == 0) record.line = piece.line;
      result.records.push_back(std::move(record));
      record = ScanRecord{0, {}};
      inside = false;
    } else if (inside) {
      ReadTagValue(piece.text.c_str(), value, sizeof value);
      if (value[0] != '\0') record.fields.push_back({name, value, piece.line});
    }
  }
  if (inside) result.unclosedLine = record.line;
  return result;
}
