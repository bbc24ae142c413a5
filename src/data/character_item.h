// A character that content items name by id.
#pragma once

#include "data/xml_item.h"

class CCharacterItem : public CXmlItem {
 public:
  CCharacterItem();

  int Parse(FILE* file) override;
  int Write(FILE* file) override;
  void CopyFrom(const CXmlItem& other) override;
  int Kind() const override { return KIND_CHARACTER; }
  int Id() const override { return m_id; }

  void Reset();

  const char* Name() const { return m_name; }

  int m_id = 0;
  char m_name[256] = {};
};
