// Relationship marks: content sharing a tag with the chosen item, under the kinds in force.
#include "data/content_item.h"
#include "data/system_item.h"
#include "data/xml_item_list.h"
#include "map/portrait.h"

namespace {

constexpr int TAG_IDS = 64;

const bool* TableOf(const CContentItem* item, int kind) {
  switch (kind) {
    case REL_THEMES:
      return item->m_themes;
    case REL_CHARACTERS:
      return item->m_characters;
    case REL_LOCATIONS:
      return item->m_locations;
    default:
      return item->m_times;
  }
}

}  // namespace

void CPortrait::ClearRelatedMarks() {
  if (m_contentList == nullptr || m_contentList->IsEmpty()) return;
  for (int i = m_contentList->First(); i != -1; i = m_contentList->Next()) {
    auto* item = static_cast<CContentItem*>(m_contentList->Current());
    item->m_related = false;
    item->m_relatedPlaced = false;
  }
}

void CPortrait::MarkRelatedContent() {
  if (m_selectedContent == nullptr) return;
  ClearRelatedMarks();
  const CSystemItem* system = System();
  if (system == nullptr) return;

  CContentItem* c = m_selectedContent;
  int placed = 0;
  if (system->m_themeRels) {
    placed = MarkRelatedByKind(c, c->m_themeCount, c->m_themes, REL_THEMES, placed);
  }
  if (system->m_characterRels) {
    placed = MarkRelatedByKind(c, c->m_characterCount, c->m_characters, REL_CHARACTERS, placed);
  }
  if (system->m_timeRels) {
    placed = MarkRelatedByKind(c, c->m_timeCount, c->m_times, REL_TIMES, placed);
  }
  if (system->m_locationRels) {
    placed = MarkRelatedByKind(c, c->m_locationCount, c->m_locations, REL_LOCATIONS, placed);
  }
}

int CPortrait::MarkRelatedByKind(CContentItem* current, int count, const bool* table, int kind,
                                 int placed) {
  // The tag ids set on the chosen item, each once however often the file named it.
  int tags[TAG_IDS];
  int tagCount = 0;
  for (int t = 0; t < TAG_IDS && tagCount < count; ++t) {
    if (table[t]) tags[tagCount++] = t;
  }
  if (tagCount == 0 || m_contentList == nullptr || m_contentList->IsEmpty()) return placed;

  const int currentId = current->Id();
  for (int i = m_contentList->First(); i != -1; i = m_contentList->Next()) {
    auto* q = static_cast<CContentItem*>(m_contentList->Current());
    if (q->Id() == currentId) continue;
    const bool* qTable = TableOf(q, kind);
    for (int k = 0; k < tagCount; ++k) {
      if (!qTable[tags[k]]) continue;
      q->m_related = true;
      if (q->m_regionId != 0) continue;
      // Each shared tag places the item again, one slot further down the column to the
      // left of the user; an item without an icon takes a slot but has no size to offset by.
      const CGapiSurface* icon = IconOf(q);
      const int w = icon != nullptr ? static_cast<int>(icon->GetWidth()) : 0;
      const int h = icon != nullptr ? static_cast<int>(icon->GetHeight()) : 0;
      q->m_relatedPlaced = true;
      q->m_screenX = m_userPos.x - w;
      q->m_screenY = m_userPos.y - h / 2 + placed * h;
      ++placed;
    }
  }
  return placed;
}

int CPortrait::GetRelationshipFlags() const {
  const CSystemItem* system = System();
  if (system == nullptr) return 0;
  int mask = 0;
  if (system->m_themeRels) mask |= REL_THEMES;
  if (system->m_characterRels) mask |= REL_CHARACTERS;
  if (system->m_locationRels) mask |= REL_LOCATIONS;
  if (system->m_timeRels) mask |= REL_TIMES;
  return mask;
}

void CPortrait::SetRelationshipFlags(int mask) {
  CSystemItem* system = System();
  if (system == nullptr) return;
  if (mask != GetRelationshipFlags()) m_projectEdited = true;
  system->m_themeRels = (mask & REL_THEMES) != 0;
  system->m_characterRels = (mask & REL_CHARACTERS) != 0;
  system->m_locationRels = (mask & REL_LOCATIONS) != 0;
  system->m_timeRels = (mask & REL_TIMES) != 0;
}
