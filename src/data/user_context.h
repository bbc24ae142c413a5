// A user of the guide: id, name, viewing history and the use clock.
#pragma once

#include <cstdint>

#include "data/xml_item.h"

constexpr int USER_MAX_VIEWED = 512;

class CUserContext : public CXmlItem {
 public:
  CUserContext();

  int Parse(FILE* file) override;
  int Write(FILE* file) override;
  // Id, name, the held viewing entries, duration and login tick.
  void CopyFrom(const CXmlItem& other) override;
  int Kind() const override { return KIND_USER; }
  int Id() const override { return m_id; }

  // Id -1, empty name, no entries, zero duration, zero tick.
  void Reset();

  void SetId(int id) { m_id = id; }
  const char* Username() const { return m_username; }
  void SetUsername(const char* name);  // cut to fit
  int ViewedCount() const { return m_viewedCount; }
  int ViewedId(int index) const;        // 0 outside the held entries
  double ViewedTime(int index) const;   // 0 outside the held entries
  double Duration() const { return m_duration; }
  void SetDuration(double duration) { m_duration = duration; }
  uint32_t LoginTick() const { return m_loginTick; }
  // The chosen language ("" for none), kept as read even when the tour no longer has it.
  void SetLanguage(const char* code);

  // The use clock: minutes plus seconds / 100 (3.45 is 3 minutes 45 seconds).
  void BeginVisit();          // the visit starts now
  void CommitVisit();         // adds the time since the visit began to m_duration
  double ClockNow() const;    // m_duration plus the running visit, nothing stored
  // Appends (content id, ClockNow); nothing once USER_MAX_VIEWED entries are held.
  void AddViewed(int contentId);
  // Index of the first held entry with this content id, or -1.
  int FindViewed(int contentId) const;

  int m_id = -1;
  char m_username[256] = {};
  int m_viewedIds[USER_MAX_VIEWED] = {};
  double m_viewedTimes[USER_MAX_VIEWED] = {};
  double m_duration = 0.0;
  int m_viewedCount = 0;
  uint32_t m_loginTick = 0;  // timeGetTime when the user last became current; never written
  // The language the visitor chose; written only when there is one, so the records of
  // visitors who never chose (or chose the tour's own) stay as they were.
  bool m_hasLanguage = false;
  char m_language[8] = {};
};

// Clock addition: duration (minutes + seconds / 100) plus whole seconds, one carry.
double AddClockSeconds(double duration, uint32_t seconds);
