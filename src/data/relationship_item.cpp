#include "data/relationship_item.h"

#include <cstring>

#include "data/xml_scan.h"
#include "data/xml_values.h"
#include "data/xml_write.h"

namespace {

FieldResult ReadRelationshipField(CXmlItem& item, const char* name, const char* value) {
  CRelationshipItem& r = static_cast<CRelationshipItem&>(item);
  if (strcmp(name, "relationship_id") == 0)
    ReadInt(value, &r.m_id);
  else if (strcmp(name, "type") == 0)
    CopyText(r.m_type, sizeof r.m_type, value);
  else if (strcmp(name, "id1") == 0)
    ReadInt(value, &r.m_id1);
  else if (strcmp(name, "id2") == 0)
    ReadInt(value, &r.m_id2);
  else
    return FIELD_UNKNOWN;
  return FIELD_COUNTED;
}

}  // namespace

CRelationshipItem::CRelationshipItem() { m_expectedFields = 4; }

void CRelationshipItem::Reset() {
  m_id = 0;
  m_type[0] = '\0';
  m_id1 = m_id2 = 0;
}

int CRelationshipItem::Parse(FILE* file) {
  Reset();
  return ParseRecord(file, *this, "relationship", ReadRelationshipField);
}

int CRelationshipItem::Write(FILE* file) {
  fputs("\t<relationship>\n", file);
  fprintf(file, "\t\t<relationship_id>%i</relationship_id>\n", m_id);
  WriteTextElement(file, "\t\t", "type", m_type);
  fprintf(file, "\t\t<id1>%i</id1>\n", m_id1);
  fprintf(file, "\t\t<id2>%i</id2>\n", m_id2);
  fputs("\t</relationship>\n", file);
  return 1;
}

void CRelationshipItem::CopyFrom(const CXmlItem& other) {
  const CRelationshipItem& o = static_cast<const CRelationshipItem&>(other);
  m_id = o.m_id;
  memcpy(m_type, o.m_type, sizeof m_type);
  m_id1 = o.m_id1;
  m_id2 = o.m_id2;
}
