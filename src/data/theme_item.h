// A theme that content items name by id.
#pragma once

#include "data/tag_item.h"

class CThemeItem : public CTagItem<CThemeItem> {
 public:
  static constexpr TagNames kNames{"theme", "theme_id", "theme_desc", KIND_THEME};

  const char* Description() const { return m_description; }
  char* Text() { return m_description; }
  const char* Text() const { return m_description; }

  char m_description[TEXT_SIZE] = {};
};
