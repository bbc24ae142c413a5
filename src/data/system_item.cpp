#include "data/system_item.h"

#include <cstring>

#include "data/xml_scan.h"
#include "data/xml_values.h"
#include "data/xml_write.h"

namespace {

FieldResult ReadSystemField(CXmlItem& item, const char* name, const char* value) {
  CSystemItem& s = static_cast<CSystemItem&>(item);
  // A real that is not a number, or lies outside its range, leaves the field as it was.
  if (strcmp(name, "project_name") == 0) {
    CopyText(s.m_projectName, sizeof s.m_projectName, value);
  } else if (strcmp(name, "map_filename") == 0) {
    CopyText(s.m_mapFilename, sizeof s.m_mapFilename, value);
  } else if (strcmp(name, "left") == 0) {
    ReadRealIn(value, LONGITUDE_RANGE, &s.m_left);
  } else if (strcmp(name, "top") == 0) {
    ReadRealIn(value, LATITUDE_RANGE, &s.m_top);
  } else if (strcmp(name, "right") == 0) {
    ReadRealIn(value, LONGITUDE_RANGE, &s.m_right);
  } else if (strcmp(name, "bottom") == 0) {
    ReadRealIn(value, LATITUDE_RANGE, &s.m_bottom);
  } else if (strcmp(name, "radius") == 0) {
    ReadRealIn(value, RADIUS_RANGE, &s.m_radius);
  } else if (strcmp(name, "location_rels") == 0) {
    s.m_locationRels = ReadFlag(value);
  } else if (strcmp(name, "theme_rels") == 0) {
    s.m_themeRels = ReadFlag(value);
  } else if (strcmp(name, "character_rels") == 0) {
    s.m_characterRels = ReadFlag(value);
  } else if (strcmp(name, "time_rels") == 0) {
    s.m_timeRels = ReadFlag(value);
  } else if (strcmp(name, "user_filename") == 0) {
    CopyText(s.m_userFilename, sizeof s.m_userFilename, value);
  } else {
    return FIELD_UNKNOWN;
  }
  return FIELD_COUNTED;
}

void WriteFlag(FILE* file, const char* tag, bool on) {
  fprintf(file, "\t<%s>%d</%s>\n", tag, on ? 1 : 0, tag);
}

}  // namespace

CSystemItem::CSystemItem() { m_expectedFields = 12; }

void CSystemItem::Reset() {
  m_projectName[0] = '\0';
  m_mapFilename[0] = '\0';
  m_left = m_top = m_right = m_bottom = 0.0;
  m_radius = 0.0;
  m_userFilename[0] = '\0';
  m_locationRels = m_themeRels = m_characterRels = m_timeRels = false;
}

int CSystemItem::Parse(FILE* file) {
  Reset();
  return ParseRecord(file, *this, "system", ReadSystemField);
}

int CSystemItem::Write(FILE* file) {
  CClassicLocaleScope classic;
  fputs("<system>\n", file);
  WriteTextElement(file, "\t", "project_name", m_projectName);
  WriteTextElement(file, "\t", "map_filename", m_mapFilename);
  fprintf(file, "\t<left>%f</left>\n", m_left);
  fprintf(file, "\t<top>%f</top>\n", m_top);
  fprintf(file, "\t<right>%f</right>\n", m_right);
  fprintf(file, "\t<bottom>%f</bottom>\n", m_bottom);
  WriteFlag(file, "theme_rels", m_themeRels);
  WriteFlag(file, "character_rels", m_characterRels);
  WriteFlag(file, "time_rels", m_timeRels);
  WriteFlag(file, "location_rels", m_locationRels);
  fprintf(file, "\t<radius>%f</radius>\n", m_radius);
  WriteTextElement(file, "\t", "user_filename", m_userFilename);
  fputs("</system>\n", file);
  return 1;
}

void CSystemItem::CopyFrom(const CXmlItem& other) {
  const CSystemItem& o = static_cast<const CSystemItem&>(other);
  memcpy(m_projectName, o.m_projectName, sizeof m_projectName);
  memcpy(m_mapFilename, o.m_mapFilename, sizeof m_mapFilename);
  m_left = o.m_left;
  m_top = o.m_top;
  m_right = o.m_right;
  m_bottom = o.m_bottom;
  m_radius = o.m_radius;
  memcpy(m_userFilename, o.m_userFilename, sizeof m_userFilename);
  m_locationRels = o.m_locationRels;
  m_themeRels = o.m_themeRels;
  m_characterRels = o.m_characterRels;
  m_timeRels = o.m_timeRels;
}

void CSystemItem::SetUserFilename(const char* name) {
  CopyText(m_userFilename, sizeof m_userFilename, name);
}
