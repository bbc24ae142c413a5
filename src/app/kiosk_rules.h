// The rules of a kiosk on a shared device: when a visit has been idle long enough to end,
// the name of the next numbered guest, and the archiving of a full users file.
#pragma once

#include <cmath>
#include <cstdint>
#include <ctime>
#include <string>

class CXmlItemList;

// Ends a visit after a time without a touch. Times are milliseconds of one clock (wrapping
// like timeGetTime); while media plays or a dialog is open the visit never ends, and the
// idle time starts again when that is over.
class CKioskIdle {
 public:
  // Fractions of a minute are kept to the millisecond.
  explicit CKioskIdle(double minutes)
      : m_limitMs(static_cast<uint32_t>(std::llround(minutes * 60000.0))) {}
  void Touch(uint32_t nowMs) { m_lastTouchMs = nowMs; }
  // True once the limit has passed since the last touch and nothing holds the visit open;
  // a held visit counts as touched now.
  bool VisitEnds(uint32_t nowMs, bool held);

 private:
  uint32_t m_limitMs;
  uint32_t m_lastTouchMs = 0;
};

// "GUEST n" with n one above the highest guest number in users (names as the on-screen
// keyboard types them), so a number is never given twice in one users file.
std::string NextGuestName(CXmlItemList& users);

// The archive name of a full users file, beside it: HarbourUsers.xml becomes
// HarbourUsers-2026-12-10-1.xml, the number going up until no file has the name.
std::string ArchiveName(const std::string& usersFile, std::time_t now);

// Moves the users file, written whole beforehand, to its archive name (never over another
// file). False, with *problem set and the users file where it was, when that cannot be done.
bool ArchiveUsersFile(const std::string& usersFile, std::time_t now, std::string* archive,
                      std::string* problem);
