#include "data/content_item.h"

#include <cstring>

#include "data/xml_scan.h"
#include "data/xml_values.h"
#include "data/xml_write.h"

namespace {

// An id outside 0..63, or one that is not a number, has no flag to set: the entry is
// dropped and not counted.
void AddTag(bool* table, int* count, const char* value) {
  int id = 0;
  if (!ReadInt(value, &id) || id < 0 || id >= CONTENT_TAG_IDS) return;
  table[id] = true;
  ++*count;
}

// Looks name up among one kind's list and entry elements.
bool ReadTagField(const char* name, const char* value, const char* list, const char* entry,
                  bool* table, int* count, FieldResult* result) {
  if (strcmp(name, list) == 0) {
    *result = FIELD_COUNTED;
    return true;
  }
  if (name[0] == '/' && strcmp(name + 1, list) == 0) {
    *result = FIELD_UNCOUNTED;
    return true;
  }
  if (strcmp(name, entry) == 0) {
    AddTag(table, count, value);
    *result = FIELD_UNCOUNTED;
    return true;
  }
  return false;
}

FieldResult ReadContentField(CXmlItem& item, const char* name, const char* value) {
  CContentItem& c = static_cast<CContentItem&>(item);
  FieldResult result = FIELD_COUNTED;
  if (strcmp(name, "content_id") == 0) {
    ReadInt(value, &c.m_id);
  } else if (ReadTagField(name, value, "theme_list", "theme_id", c.m_themes, &c.m_themeCount,
                          &result) ||
             ReadTagField(name, value, "character_list", "character_id", c.m_characters,
                          &c.m_characterCount, &result) ||
             ReadTagField(name, value, "time_list", "time_id", c.m_times, &c.m_timeCount,
                          &result) ||
             ReadTagField(name, value, "location_list", "location_id", c.m_locations,
                          &c.m_locationCount, &result)) {
  } else if (strcmp(name, "region_id") == 0) {
    ReadInt(value, &c.m_regionId);
  } else if (strcmp(name, "filename") == 0) {
    CopyText(c.m_filename, sizeof c.m_filename, value);
  } else if (strcmp(name, "thumbnail") == 0) {
    CopyText(c.m_thumbnail, sizeof c.m_thumbnail, value);
  } else if (strcmp(name, "title") == 0) {
    // Optional, so not counted: a file without it reads as before.
    CopyText(c.m_title, sizeof c.m_title, value);
    c.m_hasTitle = true;
    result = FIELD_UNCOUNTED;
  } else if (strcmp(name, "gps_x") == 0) {
    ReadRealIn(value, LONGITUDE_RANGE, &c.m_gpsX);
  } else if (strcmp(name, "gps_y") == 0) {
    ReadRealIn(value, LATITUDE_RANGE, &c.m_gpsY);
  } else {
    result = FIELD_UNKNOWN;
  }
  return result;
}

// Every set flag once, in id order, whatever the count says about repeats.
void WriteTagList(FILE* file, const char* list, const char* entry, const bool* table,
                  int count) {
  if (count <= 0) {
    fprintf(file, "\t\t<%s/>\n", list);
    return;
  }
  fprintf(file, "\t\t<%s>\n", list);
  for (int i = 0; i < CONTENT_TAG_IDS; ++i)
    if (table[i]) fprintf(file, "\t\t\t<%s>%i</%s>\n", entry, i, entry);
  fprintf(file, "\t\t</%s>\n", list);
}

}  // namespace

CContentItem::CContentItem() { m_expectedFields = 10; }

void CContentItem::Reset() {
  m_id = 0;
  memset(m_themes, 0, sizeof m_themes);
  memset(m_characters, 0, sizeof m_characters);
  memset(m_locations, 0, sizeof m_locations);
  memset(m_times, 0, sizeof m_times);
  m_characterCount = m_themeCount = m_timeCount = m_locationCount = 0;
  m_regionId = 0;
  m_filename[0] = '\0';
  m_thumbnail[0] = '\0';
  m_title[0] = '\0';
  m_hasTitle = false;
  m_gpsX = m_gpsY = 0.0;
}

int CContentItem::Parse(FILE* file) {
  Reset();
  return ParseRecord(file, *this, "content", ReadContentField);
}

int CContentItem::Write(FILE* file) {
  CClassicLocaleScope classic;
  fputs("\t<content>\n", file);
  fprintf(file, "\t\t<content_id>%i</content_id>\n", m_id);
  WriteTagList(file, "theme_list", "theme_id", m_themes, m_themeCount);
  WriteTagList(file, "character_list", "character_id", m_characters, m_characterCount);
  WriteTagList(file, "time_list", "time_id", m_times, m_timeCount);
  WriteTagList(file, "location_list", "location_id", m_locations, m_locationCount);
  fprintf(file, "\t\t<region_id>%i</region_id>\n", m_regionId);
  WriteTextElement(file, "\t\t", "filename", m_filename);
  WriteTextElement(file, "\t\t", "thumbnail", m_thumbnail);
  if (m_hasTitle) WriteTextElement(file, "\t\t", "title", m_title);
  fprintf(file, "\t\t<gps_x>%f</gps_x>\n", m_gpsX);
  fprintf(file, "\t\t<gps_y>%f</gps_y>\n", m_gpsY);
  fputs("\t</content>\n", file);
  return 1;
}

void CContentItem::CopyFrom(const CXmlItem& other) {
  const CContentItem& o = static_cast<const CContentItem&>(other);
  m_id = o.m_id;
  memcpy(m_themes, o.m_themes, sizeof m_themes);
  memcpy(m_characters, o.m_characters, sizeof m_characters);
  memcpy(m_locations, o.m_locations, sizeof m_locations);
  memcpy(m_times, o.m_times, sizeof m_times);
  m_characterCount = o.m_characterCount;
  m_themeCount = o.m_themeCount;
  m_timeCount = o.m_timeCount;
  m_locationCount = o.m_locationCount;
  m_regionId = o.m_regionId;
  memcpy(m_filename, o.m_filename, sizeof m_filename);
  memcpy(m_thumbnail, o.m_thumbnail, sizeof m_thumbnail);
  memcpy(m_title, o.m_title, sizeof m_title);
  m_hasTitle = o.m_hasTitle;
  memcpy(m_mediaTitle, o.m_mediaTitle, sizeof m_mediaTitle);
  m_mediaTitleRead = o.m_mediaTitleRead;
  m_gpsX = o.m_gpsX;
  m_gpsY = o.m_gpsY;
  m_screenX = 0.0;
  m_screenY = 0.0;
  m_iconIndex = -1;
}
