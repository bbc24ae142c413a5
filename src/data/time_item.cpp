#include "data/time_item.h"

#include <cstring>

#include "data/xml_scan.h"
#include "data/xml_values.h"
#include "data/xml_write.h"

namespace {

FieldResult ReadTimeField(CXmlItem& item, const char* name, const char* value) {
  CTimeItem& r = static_cast<CTimeItem&>(item);
  if (strcmp(name, "time_id") == 0)
    ReadInt(value, &r.m_id);
  else if (strcmp(name, "time_desc") == 0)
    CopyText(r.m_description, sizeof r.m_description, value);
  else
    return FIELD_UNKNOWN;
  return FIELD_COUNTED;
}

}  // namespace

CTimeItem::CTimeItem() { m_expectedFields = 2; }

void CTimeItem::Reset() {
  m_id = 0;
  m_description[0] = '\0';
}

int CTimeItem::Parse(FILE* file) {
  Reset();
  return ParseRecord(file, *this, "time", ReadTimeField);
}

int CTimeItem::Write(FILE* file) {
  fputs("\t<time>\n", file);
  fprintf(file, "\t\t<time_id>%i</time_id>\n", m_id);
  WriteTextElement(file, "\t\t", "time_desc", m_description);
  fputs("\t</time>\n", file);
  return 1;
}

void CTimeItem::CopyFrom(const CXmlItem& other) {
  const CTimeItem& o = static_cast<const CTimeItem&>(other);
  m_id = o.m_id;
  memcpy(m_description, o.m_description, sizeof m_description);
}
