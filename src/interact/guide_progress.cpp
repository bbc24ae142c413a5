// The guide's decisions for the current visitor: which places are entered or done, the
// progress counts and the nearest place still to visit. Worked out when the position, the
// history or the visitor changes, never while drawing.
#include <cmath>
#include <cstring>

#include "data/content_item.h"
#include "data/region_item.h"
#include "data/user_context.h"
#include "data/xml_item_list.h"
#include "guide/geo_distance.h"
#include "guide/guide_text.h"
#include "map/file_resolve.h"
#include "map/portrait.h"
#include "platform/media/media_title.h"

namespace {
constexpr int kSlots = 128;
}

void CPortrait::EnsureGuide() {
  if (m_guideStale) UpdateGuide();
}

void CPortrait::UpdateGuide() {
  m_guideStale = false;
  guide::GuideState& g = m_guide;
  g.places.assign(kSlots, guide::PlaceState::NeverEntered);
  g.placeNames.assign(kSlots, std::string());
  g.placeNameWidths.assign(kSlots, 0);
  g.titles.assign(kSlots, std::string());
  g.titleWidths.assign(kSlots, 0);
  g.placesVisited = g.placeCount = g.itemsViewed = g.itemCount = 0;
  g.next = guide::NextPlace{};
  g.allVisited = false;
  if (m_regionList == nullptr) return;

  const CUserContext* user = m_currentUser;
  const std::set<int>* entered = nullptr;
  if (user != nullptr) {
    auto it = g.entered.find(user);
    if (it != g.entered.end()) entered = &it->second;
  }
  auto viewed = [&](const CContentItem* item) {
    return user != nullptr && user->FindViewed(item->m_id) >= 0;
  };

  // Lists are walked by slot: a region test may be walking a list's one cursor.
  if (m_contentList != nullptr) {
    for (int k = 0; k < kSlots; ++k) {
      const auto* item = static_cast<const CContentItem*>(m_contentList->At(k));
      if (item == nullptr) continue;
      ++g.itemCount;
      if (viewed(item)) ++g.itemsViewed;
      g.titles[k] = TitleOf(item);
      g.titleWidths[k] = LegibleTextWidth(g.titles[k].c_str(), GD_LEGIBLE_PIXELS);
    }
  }

  // Where the visitor stands on the ground: the fix while following one, else the map
  // position as the map's corners place it.
  CGeoPoint here = MapToGps(m_userPos);
  if (m_userFromGps && m_gpsFix) here = CGeoPoint(m_gpsLongitude, m_gpsLatitude);
  const bool groundScale = MetresPerPixel() > 0.0;
  bool namedLeft = false;
  bool anyNamed = false;
  double best = 0.0;
  int bestActive = -1;  // the place the visitor is in, when nothing else is left

  for (int slot = 0; slot < kSlots; ++slot) {
    const auto* region = static_cast<const CRegionItem*>(m_regionList->At(slot));
    if (region == nullptr) continue;
    ++g.placeCount;
    int items = 0, seen = 0;
    if (m_contentList != nullptr) {
      for (int k = 0; k < kSlots; ++k) {
        const auto* item = static_cast<const CContentItem*>(m_contentList->At(k));
        if (item == nullptr || item->m_regionId != region->m_id) continue;
        ++items;
        if (viewed(item)) ++seen;
      }
    }
    const bool wasEntered =
        region->m_active || seen > 0 || (entered != nullptr && entered->count(region->m_id) > 0);
    guide::PlaceState state = guide::PlaceState::NeverEntered;
    if (wasEntered) state = guide::PlaceState::Entered;
    if ((items > 0 && seen == items) || (items == 0 && wasEntered))
      state = guide::PlaceState::Visited;
    g.places[slot] = state;
    if (state == guide::PlaceState::Visited) ++g.placesVisited;

    g.placeNames[slot] = ShownText(region->m_description);
    g.placeNameWidths[slot] = LegibleTextWidth(g.placeNames[slot].c_str(), GD_LEGIBLE_PIXELS);
    if (g.placeNames[slot].empty()) continue;  // a place without a name cannot be pointed to
    anyNamed = true;
    if (state == guide::PlaceState::Visited) continue;
    namedLeft = true;
    const double metres = guide::GroundMetres(here.y, here.x, region->m_gpsY, region->m_gpsX);
    if (region->m_active) {
      bestActive = slot;
      continue;
    }
    if (g.next.slot < 0 || metres < best) {
      best = metres;
      g.next.slot = slot;
    }
  }
  if (g.next.slot < 0) g.next.slot = bestActive;
  g.allVisited = anyNamed && !namedLeft;
  if (g.next.slot >= 0 && groundScale) {
    const auto* region = static_cast<const CRegionItem*>(m_regionList->At(g.next.slot));
    g.next.name = g.placeNames[g.next.slot];
    g.next.metres = guide::GroundMetres(here.y, here.x, region->m_gpsY, region->m_gpsX);
    g.next.bearing = guide::BearingDegrees(here.y, here.x, region->m_gpsY, region->m_gpsX);
  } else {
    g.next.slot = -1;
  }
}

void CPortrait::OnRegionEntered(CRegionItem* region) {
  m_guide.changed = true;
  if (m_currentUser != nullptr) m_guide.entered[m_currentUser].insert(region->m_id);
  // Only a move of the visitor arrives somewhere: not a place moved onto them by an edit,
  // not the place they start in.
  if (!m_guide.userMoved) return;
  if (m_regionList == nullptr) return;
  for (int slot = 0; slot < kSlots; ++slot) {
    if (m_regionList->At(slot) == region) {
      m_guide.arrivalSlot = slot;
      break;
    }
  }
}

void CPortrait::OnRegionLeft(CRegionItem* region) {
  m_guide.changed = true;
  // A cue still waiting (playback) is for a place the visitor is no longer in.
  if (m_guide.arrivalSlot >= 0 && m_regionList != nullptr &&
      m_regionList->At(m_guide.arrivalSlot) == region)
    m_guide.arrivalSlot = -1;
}

void CPortrait::EndRegionTests() {
  m_guide.userMoved = false;
  if (m_guide.changed) m_guideStale = true;
  m_guide.changed = false;
  EnsureGuide();
}

bool CPortrait::StepGuide(uint32_t now) {
  m_guide.now = now;
  if (m_guide.bannerOn && now - m_guide.bannerStart >= guide::kBannerMs) m_guide.bannerOn = false;
  if (m_guide.arrivalSlot < 0 || IsVideoPlaying()) return false;
  const auto* region = m_regionList != nullptr
                           ? static_cast<const CRegionItem*>(m_regionList->At(m_guide.arrivalSlot))
                           : nullptr;
  m_guide.arrivalSlot = -1;
  if (region == nullptr) return false;
  m_guide.banner = ShownText(region->m_description);
  m_guide.bannerOn = !m_guide.banner.empty();
  m_guide.bannerStart = now;
  return true;
}

std::string CPortrait::TitleOf(const CContentItem* item) const {
  if (item == nullptr) return {};
  std::string title = item->m_hasTitle ? ShownText(item->m_title) : std::string();
  if (title.empty()) title = ShownText(item->m_mediaTitle);
  return title;
}

void CPortrait::ReadMediaTitles(int regionId) {
  if (m_contentList == nullptr) return;
  for (int k = 0; k < kSlots; ++k) {
    auto* item = static_cast<CContentItem*>(m_contentList->At(k));
    if (item == nullptr || item->m_mediaTitleRead) continue;
    if (regionId != 0 && item->m_regionId != regionId) continue;
    item->m_mediaTitleRead = true;
    if (item->m_hasTitle && item->m_title[0] != '\0') continue;  // the project's own wins
    const std::string path = ResolveProjectFile(item->m_filename);
    const std::string title = platform::ReadMediaTitle(path, sizeof item->m_mediaTitle - 1);
    std::memcpy(item->m_mediaTitle, title.data(), title.size());
    item->m_mediaTitle[title.size()] = '\0';
  }
}
