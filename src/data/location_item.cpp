#include "data/location_item.h"

#include <cstring>

#include "data/xml_scan.h"
#include "data/xml_values.h"
#include "data/xml_write.h"

namespace {

FieldResult ReadLocationField(CXmlItem& item, const char* name, const char* value) {
  CLocationItem& r = static_cast<CLocationItem&>(item);
  if (strcmp(name, "location_id") == 0)
    ReadInt(value, &r.m_id);
  else if (strcmp(name, "location_desc") == 0)
    CopyText(r.m_description, sizeof r.m_description, value);
  else
    return FIELD_UNKNOWN;
  return FIELD_COUNTED;
}

}  // namespace

CLocationItem::CLocationItem() { m_expectedFields = 2; }

void CLocationItem::Reset() {
  m_id = 0;
  m_description[0] = '\0';
}

int CLocationItem::Parse(FILE* file) {
  Reset();
  return ParseRecord(file, *this, "location", ReadLocationField);
}

int CLocationItem::Write(FILE* file) {
  fputs("\t<location>\n", file);
  fprintf(file, "\t\t<location_id>%i</location_id>\n", m_id);
  WriteTextElement(file, "\t\t", "location_desc", m_description);
  fputs("\t</location>\n", file);
  return 1;
}

void CLocationItem::CopyFrom(const CXmlItem& other) {
  const CLocationItem& o = static_cast<const CLocationItem&>(other);
  m_id = o.m_id;
  memcpy(m_description, o.m_description, sizeof m_description);
}
