// The list behind every collection of records: 128 slots of stored copies, one cursor,
// lookup by id, and writing as one XML section framed by texts of the records' kind.
#pragma once

#include <cstdio>

#include "data/xml_item.h"

constexpr int LIST_CAPACITY = 128;

class CXmlItemList {
 public:
  CXmlItemList();
  ~CXmlItemList();
  CXmlItemList(const CXmlItemList&) = delete;
  CXmlItemList& operator=(const CXmlItemList&) = delete;

  // Stores a copy of record in the lowest free slot and returns the slot, or -1 when the
  // list is full. The cursor moves to the new copy; the caller keeps record.
  int Add(const CXmlItem& record);
  int Count() const { return m_count; }
  // Records that Add turned away because the list was full.
  int Rejected() const { return m_rejected; }

  // The cursor walk: slot of the first or next record, -1 past the last.
  int First();
  int Next();
  CXmlItem* Current() const;  // the object under the cursor; null when the cursor is -1
  bool IsEmpty();             // moves the cursor to the first record

  // The first record in slot order with this id, or null; the cursor stays on it.
  CXmlItem* FindById(int id);
  // The record in a slot, or null for a placeholder or a slot out of range; no cursor move.
  CXmlItem* At(int slot) const;
  // The smallest id of 0 or above that no record has.
  int LowestFreeId();

  // Opening text, every record, closing text; an empty list writes nothing.
  // The records inside the list's element. An empty list writes nothing, or with a kind the
  // empty element of that kind, which shows an author where such records go.
  void Write(FILE* file, int emptyKind = KIND_NONE);
  void WriteOpenTag(FILE* file);
  void WriteCloseTag(FILE* file);

  // A new object of the class of kind (a placeholder for kinds it does not know).
  static CXmlItem* MakeItem(int kind);

 private:
  static constexpr int TAG_SIZE = 2048;

  CXmlItem** m_items;
  int m_cursor = -1;
  int m_count = 0;
  int m_rejected = 0;
  char m_openTags[KIND_COUNT - 1][TAG_SIZE];  // kinds 1 to 9
  char m_closeTags[KIND_COUNT - 1][TAG_SIZE];
};
