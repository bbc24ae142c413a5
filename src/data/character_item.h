// A character that content items name by id.
#pragma once

#include "data/tag_item.h"

class CCharacterItem : public CTagItem<CCharacterItem> {
 public:
  static constexpr TagNames kNames{"character", "character_id", "character_name", KIND_CHARACTER};

  const char* Name() const { return m_name; }
  char* Text() { return m_name; }
  const char* Text() const { return m_name; }

  char m_name[TEXT_SIZE] = {};
};
