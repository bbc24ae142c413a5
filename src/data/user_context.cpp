#include "data/user_context.h"

#include <cmath>
#include <cstring>

#include "data/xml_scan.h"
#include "data/xml_values.h"
#include "data/xml_write.h"
#include "platform/windowing/win_api.h"

namespace {

FieldResult ReadUserField(CXmlItem& item, const char* name, const char* value) {
  CUserContext& u = static_cast<CUserContext&>(item);
  // Viewings are most of a users file's lines, so they are looked for first.
  if (strcmp(name, "viewed_id") == 0) {
    int id = 0;
    double time = 0.0;
    if (u.m_viewedCount < USER_MAX_VIEWED && ReadViewedPair(value, &id, &time)) {
      u.m_viewedIds[u.m_viewedCount] = id;
      u.m_viewedTimes[u.m_viewedCount] = time;
      ++u.m_viewedCount;
    }
    return FIELD_UNCOUNTED;
  } else if (strcmp(name, "user_id") == 0) {
    ReadInt(value, &u.m_id);
  } else if (strcmp(name, "username") == 0) {
    CopyText(u.m_username, sizeof u.m_username, value);
  } else if (strcmp(name, "duration") == 0) {
    ReadClock(value, &u.m_duration);
  } else if (strcmp(name, "language") == 0) {
    u.SetLanguage(value);
    return FIELD_UNCOUNTED;
  } else {
    return FIELD_UNKNOWN;
  }
  return FIELD_COUNTED;
}

}  // namespace

double AddClockSeconds(double duration, uint32_t seconds) {
  if (!std::isfinite(duration)) duration = 0.0;
  double minutes = std::trunc(duration);
  // The seconds are the first two decimals. A duration that came out of this addition is
  // not exact in binary (4.05 is 4.0499999...), so a plain truncation would lose a second
  // on every visit; the small allowance takes such values at their written worth.
  const double frac = (duration - minutes) * 100.0;
  int secs = static_cast<int>(frac + (frac >= 0 ? 1e-6 : -1e-6));
  minutes += static_cast<double>(seconds / 60);
  secs += static_cast<int>(seconds % 60);
  if (secs >= 60) {
    secs -= 60;
    minutes += 1.0;
  }
  return ClockValue(minutes, secs);
}

CUserContext::CUserContext() { m_expectedFields = 3; }

void CUserContext::Reset() {
  m_id = -1;
  m_username[0] = '\0';
  memset(m_viewedIds, 0, sizeof m_viewedIds);
  memset(m_viewedTimes, 0, sizeof m_viewedTimes);
  m_duration = 0.0;
  m_viewedCount = 0;
  m_loginTick = 0;
  m_hasLanguage = false;
  m_language[0] = '\0';
}

int CUserContext::Parse(FILE* file) {
  Reset();
  return ParseRecord(file, *this, "user_context", ReadUserField);
}

int CUserContext::Write(FILE* file) {
  CClassicLocaleScope classic;
  fputs("<user_context>\n", file);
  fprintf(file, "\t<user_id>%i</user_id>\n", m_id);
  WriteTextElement(file, "\t", "username", m_username);
  for (int i = 0; i < m_viewedCount; ++i)
    fprintf(file, "\t<viewed_id>%i--%f</viewed_id>\n", m_viewedIds[i], m_viewedTimes[i]);
  fprintf(file, "\t<duration>%.2f</duration>\n", m_duration);
  if (m_hasLanguage) WriteTextElement(file, "\t", "language", m_language);
  fputs("</user_context>\n", file);
  return 1;
}

void CUserContext::CopyFrom(const CXmlItem& other) {
  const CUserContext& o = static_cast<const CUserContext&>(other);
  m_id = o.m_id;
  memcpy(m_username, o.m_username, sizeof m_username);
  m_viewedCount = o.m_viewedCount;
  if (m_viewedCount < 0) m_viewedCount = 0;
  if (m_viewedCount > USER_MAX_VIEWED) m_viewedCount = USER_MAX_VIEWED;
  memcpy(m_viewedIds, o.m_viewedIds, sizeof(int) * static_cast<size_t>(m_viewedCount));
  memcpy(m_viewedTimes, o.m_viewedTimes, sizeof(double) * static_cast<size_t>(m_viewedCount));
  m_duration = o.m_duration;
  m_loginTick = o.m_loginTick;
  m_hasLanguage = o.m_hasLanguage;
  memcpy(m_language, o.m_language, sizeof m_language);
}

void CUserContext::SetLanguage(const char* code) {
  CopyText(m_language, sizeof m_language, code != nullptr ? code : "");
  m_hasLanguage = m_language[0] != '\0';
}

void CUserContext::SetUsername(const char* name) { CopyText(m_username, sizeof m_username, name); }

int CUserContext::ViewedId(int index) const {
  return index >= 0 && index < m_viewedCount ? m_viewedIds[index] : 0;
}

double CUserContext::ViewedTime(int index) const {
  return index >= 0 && index < m_viewedCount ? m_viewedTimes[index] : 0.0;
}

void CUserContext::BeginVisit() { m_loginTick = timeGetTime(); }

void CUserContext::CommitVisit() {
  m_duration = AddClockSeconds(m_duration, (timeGetTime() - m_loginTick) / 1000u);
}

double CUserContext::ClockNow() const {
  return AddClockSeconds(m_duration, (timeGetTime() - m_loginTick) / 1000u);
}

void CUserContext::AddViewed(int contentId) {
  if (m_viewedCount < 0 || m_viewedCount >= USER_MAX_VIEWED) return;
  m_viewedIds[m_viewedCount] = contentId;
  m_viewedTimes[m_viewedCount] = ClockNow();
  ++m_viewedCount;
}

int CUserContext::FindViewed(int contentId) const {
  for (int i = 0; i < m_viewedCount && i < USER_MAX_VIEWED; ++i)
    if (m_viewedIds[i] == contentId) return i;
  return -1;
}
