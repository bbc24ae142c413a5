#include "data/character_item.h"

#include <cstring>

#include "data/xml_scan.h"
#include "data/xml_values.h"
#include "data/xml_write.h"

namespace {

FieldResult ReadCharacterField(CXmlItem& item, const char* name, const char* value) {
  CCharacterItem& r = static_cast<CCharacterItem&>(item);
  if (strcmp(name, "character_id") == 0)
    ReadInt(value, &r.m_id);
  else if (strcmp(name, "character_name") == 0)
    CopyText(r.m_name, sizeof r.m_name, value);
  else
    return FIELD_UNKNOWN;
  return FIELD_COUNTED;
}

}  // namespace

CCharacterItem::CCharacterItem() { m_expectedFields = 2; }

void CCharacterItem::Reset() {
  m_id = 0;
  m_name[0] = '\0';
}

int CCharacterItem::Parse(FILE* file) {
  Reset();
  return ParseRecord(file, *this, "character", ReadCharacterField);
}

int CCharacterItem::Write(FILE* file) {
  fputs("\t<character>\n", file);
  fprintf(file, "\t\t<character_id>%i</character_id>\n", m_id);
  WriteTextElement(file, "\t\t", "character_name", m_name);
  fputs("\t</character>\n", file);
  return 1;
}

void CCharacterItem::CopyFrom(const CXmlItem& other) {
  const CCharacterItem& o = static_cast<const CCharacterItem&>(other);
  m_id = o.m_id;
  memcpy(m_name, o.m_name, sizeof m_name);
}
