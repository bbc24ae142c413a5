#include "data/region_item.h"

#include <cstring>

#include "data/xml_scan.h"
#include "data/xml_values.h"
#include "data/xml_write.h"

namespace {

FieldResult ReadRegionField(CXmlItem& item, const char* name, const char* value) {
  CRegionItem& r = static_cast<CRegionItem&>(item);
  if (strcmp(name, "region_id") == 0)
    ReadInt(value, &r.m_id);
  else if (strcmp(name, "region_description") == 0)
    CopyText(r.m_description, sizeof r.m_description, value);
  else if (strcmp(name, "gps_x") == 0)
    ReadRealIn(value, LONGITUDE_RANGE, &r.m_gpsX);
  else if (strcmp(name, "gps_y") == 0)
    ReadRealIn(value, LATITUDE_RANGE, &r.m_gpsY);
  else
    return FIELD_UNKNOWN;
  return FIELD_COUNTED;
}

}  // namespace

CRegionItem::CRegionItem() { m_expectedFields = 4; }

void CRegionItem::Reset() {
  m_id = 0;
  m_description[0] = '\0';
  m_gpsX = m_gpsY = 0.0;
}

int CRegionItem::Parse(FILE* file) {
  Reset();
  return ParseRecord(file, *this, "region", ReadRegionField);
}

int CRegionItem::Write(FILE* file) {
  CClassicLocaleScope classic;
  fputs("\t<region>\n", file);
  fprintf(file, "\t\t<region_id>%i</region_id>\n", m_id);
  WriteTextElement(file, "\t\t", "region_description", m_description);
  fprintf(file, "\t\t<gps_x>%f</gps_x>\n", m_gpsX);
  fprintf(file, "\t\t<gps_y>%f</gps_y>\n", m_gpsY);
  fputs("\t</region>\n", file);
  return 1;
}

void CRegionItem::CopyFrom(const CXmlItem& other) {
  const CRegionItem& o = static_cast<const CRegionItem&>(other);
  m_id = o.m_id;
  memcpy(m_description, o.m_description, sizeof m_description);
  m_gpsX = o.m_gpsX;
  m_gpsY = o.m_gpsY;
}
