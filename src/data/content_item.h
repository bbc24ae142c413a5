// A video content item: its region, files, map position and the theme, character, time and
// location tags it carries.
#pragma once

#include "data/xml_item.h"

constexpr int CONTENT_TAG_IDS = 64;  // tag ids lie in 0..63: the id is the flag's index

class CContentItem : public CXmlItem {
 public:
  CContentItem();

  int Parse(FILE* file) override;
  int Write(FILE* file) override;
  // File fields, tag flags and counts; the map position becomes 0 and the icon index -1.
  void CopyFrom(const CXmlItem& other) override;
  int Kind() const override { return KIND_CONTENT; }
  int Id() const override { return m_id; }

  void Reset();

  bool HasTheme(int id) const { return Flag(m_themes, id); }
  bool HasCharacter(int id) const { return Flag(m_characters, id); }
  bool HasLocation(int id) const { return Flag(m_locations, id); }
  bool HasTime(int id) const { return Flag(m_times, id); }
  int ThemeCount() const { return m_themeCount; }
  int CharacterCount() const { return m_characterCount; }
  int LocationCount() const { return m_locationCount; }
  int TimeCount() const { return m_timeCount; }
  int RegionId() const { return m_regionId; }
  const char* Filename() const { return m_filename; }
  const char* Thumbnail() const { return m_thumbnail; }
  double GpsX() const { return m_gpsX; }
  double GpsY() const { return m_gpsY; }
  void SetGps(double x, double y) {
    m_gpsX = x;
    m_gpsY = y;
  }
  double ScreenX() const { return m_screenX; }
  double ScreenY() const { return m_screenY; }
  void SetScreenPos(double x, double y) {
    m_screenX = x;
    m_screenY = y;
  }
  int IconIndex() const { return m_iconIndex; }
  void SetIconIndex(int index) { m_iconIndex = index; }
  bool InActiveRegion() const { return m_inActiveRegion; }
  void SetInActiveRegion(bool on) { m_inActiveRegion = on; }
  bool Related() const { return m_related; }
  void SetRelated(bool on) { m_related = on; }
  bool RelatedPlaced() const { return m_relatedPlaced; }
  void SetRelatedPlaced(bool on) { m_relatedPlaced = on; }

  int m_id = 0;
  bool m_themes[CONTENT_TAG_IDS] = {};
  bool m_characters[CONTENT_TAG_IDS] = {};
  bool m_locations[CONTENT_TAG_IDS] = {};
  bool m_times[CONTENT_TAG_IDS] = {};
  int m_characterCount = 0;  // entries read, repeats included
  int m_themeCount = 0;
  int m_timeCount = 0;
  int m_locationCount = 0;
  int m_regionId = 0;  // 0: tied to no region
  char m_filename[256] = {};
  char m_thumbnail[256] = {};
  // The optional title element, written back only when the file had one.
  char m_title[256] = {};
  bool m_hasTitle = false;
  double m_gpsX = 0.0;
  double m_gpsY = 0.0;
  // Run-time, never written.
  double m_screenX = 0.0;  // map pixels
  double m_screenY = 0.0;
  int m_iconIndex = -1;
  bool m_inActiveRegion = false;
  bool m_related = false;
  bool m_relatedPlaced = false;
  // The title stored in the media file itself, once it has been looked for.
  char m_mediaTitle[256] = {};
  bool m_mediaTitleRead = false;

 private:
  static bool Flag(const bool* table, int id) {
    return id >= 0 && id < CONTENT_TAG_IDS && table[id];
  }
};
