// Base of every record class of the project and users files, and the kind numbers that
// select a record's class and its list texts.
#pragma once

#include <cstdio>

enum ItemKind {
  KIND_NONE = 0,  // empty placeholder
  KIND_REGION = 1,
  KIND_CONTENT = 2,
  KIND_RELATIONSHIP = 3,
  KIND_USER = 4,
  KIND_SYSTEM = 5,
  KIND_CHARACTER = 6,
  KIND_LOCATION = 7,
  KIND_THEME = 8,
  KIND_TIME = 9,
};
constexpr int KIND_COUNT = 10;

class CXmlItem {
 public:
  CXmlItem() = default;
  // Lists destroy their records through base pointers.
  virtual ~CXmlItem() = default;

  // Reads one record of the class's kind from the stream's current position: -1 when the
  // file ended first, 1 when the record carried the expected number of fields (or one
  // more), 0 otherwise. The base reads nothing and returns 1.
  virtual int Parse(FILE* file);
  // Appends the record's XML lines; always 1.
  virtual int Write(FILE* file);
  // Copies the file fields of another record of the same kind.
  virtual void CopyFrom(const CXmlItem& other);
  virtual int Kind() const { return KIND_NONE; }
  virtual int Id() const { return -1; }

  bool InUse() const { return m_inUse; }
  void SetInUse(bool inUse) { m_inUse = inUse; }
  int ExpectedFields() const { return m_expectedFields; }

  bool m_inUse = false;
  int m_expectedFields = 0;

 protected:
  CXmlItem(const CXmlItem&) = default;
  CXmlItem& operator=(const CXmlItem&) = default;
};
