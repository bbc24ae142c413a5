// A region: a point on the map whose circle of the project's radius makes its content
// available.
#pragma once

#include "data/xml_item.h"

class CRegionItem : public CXmlItem {
 public:
  CRegionItem();

  int Parse(FILE* file) override;
  int Write(FILE* file) override;
  void CopyFrom(const CXmlItem& other) override;  // file fields only
  int Kind() const override { return KIND_REGION; }
  int Id() const override { return m_id; }

  void Reset();

  const char* Description() const { return m_description; }
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
  bool Active() const { return m_active; }
  void SetActive(bool active) { m_active = active; }
  int ContentCount() const { return m_contentCount; }
  void SetContentCount(int count) { m_contentCount = count; }

  int m_id = 0;
  char m_description[256] = {};
  double m_gpsX = 0.0;
  double m_gpsY = 0.0;
  // Run-time, never written.
  double m_screenX = 0.0;  // map pixels
  double m_screenY = 0.0;
  bool m_active = false;   // the user is inside
  int m_contentCount = 0;  // content items naming this region
};
