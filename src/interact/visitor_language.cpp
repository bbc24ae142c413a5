// The visitor's language: the tour's languages found at start-up, the one in force, and the
// names and titles shown in it.
#include <cstdio>
#include <string>
#include <vector>

#include "data/content_item.h"
#include "data/user_context.h"
#include "data/xml_item_list.h"
#include "guide/guide_text.h"
#include "interact/language_bar.h"
#include "map/portrait.h"
#include "platform/text/tr.h"


void CPortrait::LoadTourLanguages() {
  std::vector<std::string> media;
  if (m_contentList != nullptr) {
    for (int slot = 0; slot < LIST_CAPACITY; ++slot) {
      const auto* item = static_cast<const CContentItem*>(m_contentList->At(slot));
      if (item != nullptr && item->m_filename[0] != '\0') media.emplace_back(item->m_filename);
    }
  }
  m_tourTexts.Load(m_projectPath, media);
  // A broken catalogue is the author's to mend (`corvane check` shows it); the visitor
  // gets the tour's own texts in that language.
  for (const auto& [code, catalogue] : m_tourTexts.Catalogues()) {
    if (catalogue.ok) continue;
    std::fprintf(stderr, _("corvane: %s:%d: %s; its language shows the tour's own texts\n"),
                 m_tourTexts.CatalogueName(code).c_str(), catalogue.errorLine,
                 catalogue.error.c_str());
  }
  if (!m_tourTexts.Has(m_language)) m_language.clear();
}

void CPortrait::SetLanguage(const std::string& code) {
  const std::string offered = m_tourTexts.Offered(code);
  // The program's own texts follow where it has a catalogue; the tour's own language gives
  // back the environment's.
  tr::UseLanguage(offered);
  if (offered == m_language) return;
  m_language = offered;
  MarkGuideStale();
  EnsureGuide();
}

std::string CPortrait::StoredLanguage(const CUserContext* user) const {
  if (user == nullptr || !user->m_hasLanguage) return {};
  return m_tourTexts.Offered(user->m_language);
}

namespace {
// Under the panel's left end, below the line where the armed modes ask for their tap.
LanguageBar MenuBar(const CPortrait& model) {
  constexpr LONG kLeft = 2;
  const LONG top = static_cast<LONG>(model.m_menuIcons.GetHeight()) + 22;
  LanguageBar bar = LayoutLanguageBar(model.m_tourTexts, 0, top);
  const LONG shift = bar.boxes.empty() ? 0 : kLeft - bar.boxes.front().left;
  for (RECT& box : bar.boxes) {
    box.left += shift;
    box.right += shift;
  }
  return bar;
}
}  // namespace

void CPortrait::DrawMenuLanguages(CGapiSurface* backBuffer) {
  DrawLanguageBar(backBuffer, MenuBar(*this), m_language);
}

void CPortrait::MenuLanguageObstacles(std::vector<RECT>* out) const {
  const LanguageBar bar = MenuBar(*this);
  out->insert(out->end(), bar.boxes.begin(), bar.boxes.end());
}

bool CPortrait::MenuLanguageTap(int x, int y) {
  const LanguageBar bar = MenuBar(*this);
  const int hit = LanguageBarHit(bar, x, y);
  if (hit < 0) return false;
  const std::string& code = bar.codes[static_cast<size_t>(hit)];
  SetLanguage(code);
  if (m_currentUser != nullptr) m_currentUser->SetLanguage(code.c_str());
  return true;
}

std::string CPortrait::ShownText(const char* stored) const {
  return m_tourTexts.Translate(m_language, guide::ShownName(stored != nullptr ? stored : ""));
}
