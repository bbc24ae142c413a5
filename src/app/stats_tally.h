// Visitor statistics: what the histories of many users files add up to for one project's
// places and items, counted one visitor at a time.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

class CUserContext;
class CXmlItemList;

// Durations above this many minutes (about 10 000 hours) are taken as corrupt, not as time.
constexpr double STATS_MAX_MINUTES = 600000.0;

struct StatsCount {
  int64_t visitors = 0;  // visitors with at least one viewing
  int64_t viewings = 0;
};

struct StatsPlace {
  int id = 0;
  std::string name;
  StatsCount count;
};

struct StatsItem {
  int id = 0;
  std::string title;  // empty when the project gives none
  std::string file;   // the media file the project names
  int placeId = 0;    // 0: the item belongs to no place
  StatsCount count;
};

// One users file as it was read.
struct StatsFile {
  std::string name;             // as given
  int64_t visitors = 0;         // user records counted from it
  int64_t unknownViewings = 0;  // viewings of ids the project does not hold
  std::string problem;          // why it was not read, or not read whole; empty when fine
  bool skipped = false;         // named twice: counted once
};

struct StatsReport {
  std::string projectName;
  std::string projectFile;
  std::vector<StatsFile> files;
  int64_t visitors = 0;
  int64_t timedVisitors = 0;  // visitors whose duration is in range
  int64_t durationsOutOfRange = 0;
  int64_t totalSeconds = 0;
  double medianSeconds = 0.0;         // of the timed visitors; 0 when there are none
  std::vector<StatsPlace> places;     // project order
  std::vector<StatsItem> items;       // project order
  std::map<int, StatsCount> unknown;  // viewed ids the project does not hold, by id

  int FilesNotRead() const;  // files with a problem
};

// A use-clock value (minutes, seconds as the first two decimals) in seconds; -1 when it is
// not a time: negative, not finite, more than STATS_MAX_MINUTES, or 60 seconds and more.
int64_t ClockSeconds(double clock);

// Counts visitors into a report whose places and items come from the project.
class CStatsTally {
 public:
  CStatsTally(CXmlItemList* regions, CXmlItemList* contents, StatsReport* report);
  // One visitor; returns the number of its viewings of ids the project does not hold.
  int64_t Add(const CUserContext& user);
  // Totals that need every visitor (the median).
  void Finish();

 private:
  // Index in items of a content id; npos when the project does not hold it.
  size_t ItemIndex(int id) const;

  StatsReport* m_report;
  std::map<int, size_t> m_itemIndex;  // content id -> index in items
  // The same for the ids from m_tableBase on, as a table: each viewing looks its id up.
  int64_t m_tableBase = 0;
  std::vector<uint32_t> m_itemTable;
  std::map<int, size_t> m_placeIndex;  // region id -> index in places
  std::vector<size_t> m_itemPlace;     // item index -> place index, or npos
  std::vector<int64_t> m_itemSeen;     // item index -> last visitor that viewed it
  std::vector<int64_t> m_placeSeen;
  std::map<int, int64_t> m_unknownSeen;
  std::vector<int64_t> m_seconds;  // of the timed visitors
  int64_t m_visitor = 0;
};
