// A location that content items name by id.
#pragma once

#include "data/tag_item.h"

class CLocationItem : public CTagItem<CLocationItem> {
 public:
  static constexpr TagNames kNames{"location", "location_id", "location_desc", KIND_LOCATION};

  const char* Description() const { return m_description; }
  char* Text() { return m_description; }
  const char* Text() const { return m_description; }

  char m_description[TEXT_SIZE] = {};
};
