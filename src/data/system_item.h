// The project's one system record: map file, GPS corners, trigger radius, users file name
// and the relationship switches.
#pragma once

#include "data/xml_item.h"

class CSystemItem : public CXmlItem {
 public:
  CSystemItem();

  int Parse(FILE* file) override;
  int Write(FILE* file) override;
  void CopyFrom(const CXmlItem& other) override;
  int Kind() const override { return KIND_SYSTEM; }
  int Id() const override { return 1; }  // whatever the file holds

  void Reset();

  const char* ProjectName() const { return m_projectName; }
  const char* MapFilename() const { return m_mapFilename; }
  double Left() const { return m_left; }
  double Top() const { return m_top; }
  double Right() const { return m_right; }
  double Bottom() const { return m_bottom; }
  double Radius() const { return m_radius; }
  const char* UserFilename() const { return m_userFilename; }
  void SetUserFilename(const char* name);  // cut to fit
  bool LocationRels() const { return m_locationRels; }
  bool ThemeRels() const { return m_themeRels; }
  bool CharacterRels() const { return m_characterRels; }
  bool TimeRels() const { return m_timeRels; }

  char m_projectName[256] = {};
  char m_mapFilename[260] = {};
  double m_left = 0.0;
  double m_top = 0.0;
  double m_right = 0.0;
  double m_bottom = 0.0;
  double m_radius = 0.0;  // map pixels, shared by all regions
  char m_userFilename[256] = {};
  bool m_locationRels = false;
  bool m_themeRels = false;
  bool m_characterRels = false;
  bool m_timeRels = false;
};
