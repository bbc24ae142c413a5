// A theme that content items name by id.
#pragma once

#include "data/xml_item.h"

class CThemeItem : public CXmlItem {
 public:
  CThemeItem();

  int Parse(FILE* file) override;
  int Write(FILE* file) override;
  void CopyFrom(const CXmlItem& other) override;
  int Kind() const override { return KIND_THEME; }
  int Id() const override { return m_id; }

  void Reset();

  const char* Description() const { return m_description; }

  int m_id = 0;
  char m_description[256] = {};
};
