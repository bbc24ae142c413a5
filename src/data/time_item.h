// A time that content items name by id.
#pragma once

#include "data/tag_item.h"

class CTimeItem : public CTagItem<CTimeItem> {
 public:
  static constexpr TagNames kNames{"time", "time_id", "time_desc", KIND_TIME};

  const char* Description() const { return m_description; }
  char* Text() { return m_description; }
  const char* Text() const { return m_description; }

  char m_description[TEXT_SIZE] = {};
};
