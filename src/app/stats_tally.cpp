// Counting visitors, their time and their viewings against the project's places and items.
#include "app/stats_tally.h"

#include <algorithm>
#include <cmath>

#include "data/content_item.h"
#include "data/region_item.h"
#include "data/user_context.h"
#include "data/xml_item_list.h"

namespace {

constexpr size_t kNoPlace = static_cast<size_t>(-1);
constexpr size_t kNoItem = static_cast<size_t>(-1);
constexpr uint32_t kNoEntry = UINT32_MAX;
constexpr int64_t kMaxTable = 1 << 16;  // ids spread wider than this use the map

}  // namespace

int StatsReport::FilesNotRead() const {
  return static_cast<int>(std::count_if(files.begin(), files.end(), [](const StatsFile& f) {
    return !f.problem.empty() && !f.skipped;
  }));
}

int64_t ClockSeconds(double clock) {
  if (!std::isfinite(clock) || clock < 0 || clock > STATS_MAX_MINUTES) return -1;
  const double minutes = std::trunc(clock);
  // Clock values are stored to two decimals; the rounding takes 4.0499999... as 4.05.
  const auto seconds = static_cast<int64_t>(std::llround((clock - minutes) * 100.0));
  if (seconds >= 60) return -1;
  return static_cast<int64_t>(minutes) * 60 + seconds;
}

CStatsTally::CStatsTally(CXmlItemList* regions, CXmlItemList* contents, StatsReport* report)
    : m_report(report) {
  if (regions != nullptr) {
    for (int slot = regions->First(); slot >= 0; slot = regions->Next()) {
      const auto* region = static_cast<const CRegionItem*>(regions->Current());
      if (m_placeIndex.count(region->m_id) != 0) continue;  // a repeated id adds no place
      m_placeIndex[region->m_id] = report->places.size();
      report->places.push_back({region->m_id, region->m_description, {}});
    }
  }
  if (contents != nullptr) {
    for (int slot = contents->First(); slot >= 0; slot = contents->Next()) {
      const auto* content = static_cast<const CContentItem*>(contents->Current());
      if (m_itemIndex.count(content->m_id) != 0) continue;
      m_itemIndex[content->m_id] = report->items.size();
      const auto place = m_placeIndex.find(content->m_regionId);
      m_itemPlace.push_back(place != m_placeIndex.end() ? place->second : kNoPlace);
      StatsItem item;
      item.id = content->m_id;
      item.file = content->m_filename;
      item.placeId = place != m_placeIndex.end() ? content->m_regionId : 0;
      report->items.push_back(item);
    }
  }
  if (!m_itemIndex.empty()) {
    const int64_t low = m_itemIndex.begin()->first;
    const int64_t span = static_cast<int64_t>(m_itemIndex.rbegin()->first) - low + 1;
    if (span <= kMaxTable) {
      m_tableBase = low;
      m_itemTable.assign(static_cast<size_t>(span), kNoEntry);
      for (const auto& [id, index] : m_itemIndex)
        m_itemTable[static_cast<size_t>(id - low)] = static_cast<uint32_t>(index);
    }
  }
  m_itemSeen.assign(report->items.size(), -1);
  m_placeSeen.assign(report->places.size(), -1);
}

size_t CStatsTally::ItemIndex(int id) const {
  if (!m_itemTable.empty()) {
    const int64_t at = id - m_tableBase;
    if (at < 0 || at >= static_cast<int64_t>(m_itemTable.size())) return kNoItem;
    const uint32_t index = m_itemTable[static_cast<size_t>(at)];
    return index == kNoEntry ? kNoItem : index;
  }
  const auto found = m_itemIndex.find(id);
  return found == m_itemIndex.end() ? kNoItem : found->second;
}

int64_t CStatsTally::Add(const CUserContext& user) {
  const int64_t visitor = m_visitor++;
  ++m_report->visitors;
  const int64_t seconds = ClockSeconds(user.Duration());
  if (seconds < 0) {
    ++m_report->durationsOutOfRange;
  } else {
    m_seconds.push_back(seconds);
    m_report->totalSeconds += seconds;
  }

  int64_t unknown = 0;
  for (int i = 0; i < user.ViewedCount(); ++i) {
    const int id = user.ViewedId(i);
    const size_t item = ItemIndex(id);
    if (item == kNoItem) {
      StatsCount& count = m_report->unknown[id];
      ++count.viewings;
      int64_t& seen = m_unknownSeen.try_emplace(id, -1).first->second;
      if (seen != visitor) {
        seen = visitor;
        ++count.visitors;
      }
      ++unknown;
      continue;
    }
    StatsItem& entry = m_report->items[item];
    ++entry.count.viewings;
    if (m_itemSeen[item] != visitor) {
      m_itemSeen[item] = visitor;
      ++entry.count.visitors;
    }
    const size_t place = m_itemPlace[item];
    if (place == kNoPlace) continue;
    StatsPlace& where = m_report->places[place];
    ++where.count.viewings;
    if (m_placeSeen[place] != visitor) {
      m_placeSeen[place] = visitor;
      ++where.count.visitors;
    }
  }
  return unknown;
}

void CStatsTally::Finish() {
  m_report->timedVisitors = static_cast<int64_t>(m_seconds.size());
  if (m_seconds.empty()) {
    m_report->medianSeconds = 0.0;
    return;
  }
  const size_t middle = m_seconds.size() / 2;
  std::nth_element(m_seconds.begin(), m_seconds.begin() + static_cast<long>(middle),
                   m_seconds.end());
  const double upper = static_cast<double>(m_seconds[middle]);
  if (m_seconds.size() % 2 == 1) {
    m_report->medianSeconds = upper;
    return;
  }
  const double lower = static_cast<double>(
      *std::max_element(m_seconds.begin(), m_seconds.begin() + static_cast<long>(middle)));
  m_report->medianSeconds = (lower + upper) / 2.0;
}
