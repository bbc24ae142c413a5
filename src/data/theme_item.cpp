#include "data/theme_item.h"

#include <cstring>

#include "data/xml_scan.h"
#include "data/xml_values.h"
#include "data/xml_write.h"

namespace {

FieldResult ReadThemeField(CXmlItem& item, const char* name, const char* value) {
  CThemeItem& r = static_cast<CThemeItem&>(item);
  if (strcmp(name, "theme_id") == 0)
    ReadInt(value, &r.m_id);
  else if (strcmp(name, "theme_desc") == 0)
    CopyText(r.m_description, sizeof r.m_description, value);
  else
    return FIELD_UNKNOWN;
  return FIELD_COUNTED;
}

}  // namespace

CThemeItem::CThemeItem() { m_expectedFields = 2; }

void CThemeItem::Reset() {
  m_id = 0;
  m_description[0] = '\0';
}

int CThemeItem::Parse(FILE* file) {
  Reset();
  return ParseRecord(file, *this, "theme", ReadThemeField);
}

int CThemeItem::Write(FILE* file) {
  fputs("\t<theme>\n", file);
  fprintf(file, "\t\t<theme_id>%i</theme_id>\n", m_id);
  WriteTextElement(file, "\t\t", "theme_desc", m_description);
  fputs("\t</theme>\n", file);
  return 1;
}

void CThemeItem::CopyFrom(const CXmlItem& other) {
  const CThemeItem& o = static_cast<const CThemeItem&>(other);
  m_id = o.m_id;
  memcpy(m_description, o.m_description, sizeof m_description);
}
