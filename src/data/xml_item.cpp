#include "data/xml_item.h"

int CXmlItem::Parse(FILE*) {
  m_inUse = true;
  return 1;
}

int CXmlItem::Write(FILE*) { return 1; }

void CXmlItem::CopyFrom(const CXmlItem&) {}
