#include "data/xml_item_list.h"

#include <cstring>

#include "data/character_item.h"
#include "data/content_item.h"
#include "data/location_item.h"
#include "data/region_item.h"
#include "data/relationship_item.h"
#include "data/system_item.h"
#include "data/theme_item.h"
#include "data/time_item.h"
#include "data/user_context.h"
#include "data/xml_values.h"

namespace {

struct FrameTexts {
  const char* open;
  const char* close;
};

// Indexed by kind - 1. A user list is the whole users file, so it carries the declaration;
// the system record has no list element of its own.
constexpr FrameTexts FRAME_TEXTS[KIND_COUNT - 1] = {
    {"<region_list>\n", "</region_list>\n\n"},
    {"<content_list>\n", "</content_list>\n\n"},
    {"<relationship_list>\n", "</relationship_list>\n\n"},
    {"<?xml version='1.0' encoding='UTF-8' ?>\n<user_list>\n", "</user_list>\n\n"},
    {"\n", "\n\n"},
    {"<character_list>\n", "</character_list>\n\n"},
    {"<location_list>\n", "</location_list>\n\n"},
    {"<theme_list>\n", "</theme_list>\n\n"},
    {"<time_list>\n", "</time_list>\n\n"},
};

}  // namespace

CXmlItem* CXmlItemList::MakeItem(int kind) {
  switch (kind) {
    case KIND_REGION: return new CRegionItem;
    case KIND_CONTENT: return new CContentItem;
    case KIND_RELATIONSHIP: return new CRelationshipItem;
    case KIND_USER: return new CUserContext;
    case KIND_SYSTEM: return new CSystemItem;
    case KIND_CHARACTER: return new CCharacterItem;
    case KIND_LOCATION: return new CLocationItem;
    case KIND_THEME: return new CThemeItem;
    case KIND_TIME: return new CTimeItem;
    default: return new CXmlItem;
  }
}

CXmlItemList::CXmlItemList() : m_items(new CXmlItem*[LIST_CAPACITY]) {
  for (int i = 0; i < LIST_CAPACITY; ++i) m_items[i] = new CXmlItem;
  for (int k = 0; k < KIND_COUNT - 1; ++k) {
    CopyText(m_openTags[k], TAG_SIZE, FRAME_TEXTS[k].open);
    CopyText(m_closeTags[k], TAG_SIZE, FRAME_TEXTS[k].close);
  }
}

CXmlItemList::~CXmlItemList() {
  for (int i = 0; i < LIST_CAPACITY; ++i) delete m_items[i];
  delete[] m_items;
}

int CXmlItemList::Add(const CXmlItem& record) {
  int slot = 0;
  while (slot < LIST_CAPACITY && m_items[slot]->m_inUse) ++slot;
  if (slot == LIST_CAPACITY) {
    ++m_rejected;
    return -1;
  }
  m_cursor = slot;
  delete m_items[slot];
  CXmlItem* copy = MakeItem(record.Kind());
  m_items[slot] = copy;
  // The factory builds the record's own class, so the copy is always of the same kind.
  copy->CopyFrom(record);
  copy->m_inUse = true;
  ++m_count;
  return slot;
}

int CXmlItemList::First() {
  m_cursor = 0;
  if (!m_items[0]->m_inUse) return Next();
  return m_cursor;
}

int CXmlItemList::Next() {
  int slot = m_cursor + 1;
  if (slot < 0) slot = 0;
  while (slot < LIST_CAPACITY && !m_items[slot]->m_inUse) ++slot;
  m_cursor = slot < LIST_CAPACITY ? slot : -1;
  return m_cursor;
}

CXmlItem* CXmlItemList::Current() const {
  if (m_cursor < 0 || m_cursor >= LIST_CAPACITY) return nullptr;
  return m_items[m_cursor];
}

bool CXmlItemList::IsEmpty() { return First() == -1; }

CXmlItem* CXmlItemList::FindById(int id) {
  if (IsEmpty()) return nullptr;
  for (int slot = First(); slot != -1; slot = Next())
    if (m_items[slot]->Id() == id) return m_items[slot];
  return nullptr;
}

CXmlItem* CXmlItemList::At(int slot) const {
  if (slot < 0 || slot >= LIST_CAPACITY || !m_items[slot]->m_inUse) return nullptr;
  return m_items[slot];
}

int CXmlItemList::LowestFreeId() {
  if (IsEmpty()) return 0;
  // At most 128 ids are taken, so one of 0..128 is always free.
  bool taken[LIST_CAPACITY + 1] = {};
  for (int slot = First(); slot != -1; slot = Next()) {
    const int id = m_items[slot]->Id();
    if (id >= 0 && id <= LIST_CAPACITY) taken[id] = true;
  }
  int j = 0;
  while (taken[j]) ++j;
  return j;
}

void CXmlItemList::WriteOpenTag(FILE* file) {
  if (First() == -1) return;
  const int kind = Current()->Kind();
  if (kind >= 1 && kind < KIND_COUNT) fputs(m_openTags[kind - 1], file);
}

void CXmlItemList::WriteCloseTag(FILE* file) {
  if (First() == -1) return;
  const int kind = Current()->Kind();
  if (kind >= 1 && kind < KIND_COUNT) fputs(m_closeTags[kind - 1], file);
}

void CXmlItemList::Write(FILE* file, int emptyKind) {
  if (IsEmpty()) {
    if (emptyKind >= 1 && emptyKind < KIND_COUNT) {
      fputs(m_openTags[emptyKind - 1], file);
      fputs(m_closeTags[emptyKind - 1], file);
    }
    return;
  }
  WriteOpenTag(file);
  if (!IsEmpty())
    for (int slot = First(); slot != -1; slot = Next()) m_items[slot]->Write(file);
  WriteCloseTag(file);
}
