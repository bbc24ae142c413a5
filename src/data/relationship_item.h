// A relationship between two records. Lists of them can be written, but projects neither
// load nor save them.
#pragma once

#include "data/xml_item.h"

class CRelationshipItem : public CXmlItem {
 public:
  CRelationshipItem();

  int Parse(FILE* file) override;
  int Write(FILE* file) override;
  void CopyFrom(const CXmlItem& other) override;
  int Kind() const override { return KIND_RELATIONSHIP; }
  int Id() const override { return m_id; }

  void Reset();

  const char* Type() const { return m_type; }
  int Id1() const { return m_id1; }
  int Id2() const { return m_id2; }

  int m_id = 0;
  char m_type[256] = {};
  int m_id1 = 0;
  int m_id2 = 0;
};
