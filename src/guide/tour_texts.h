// The languages of one tour and their catalogues: what the visitor can choose, and the
// translation of each place name and title.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "guide/tour_catalogue.h"

class CTourTexts {
 public:
  // Finds the catalogues <stem>.LL.po beside the project at projectPath (in its real folder)
  // and the siblings of each of mediaNames (as the project names them), and reads the
  // catalogues. Replaces what was loaded before.
  void Load(const std::string& projectPath, const std::vector<std::string>& mediaNames);
  void Clear();

  // The codes the tour has besides its own, sorted.
  const std::vector<std::string>& Languages() const { return m_languages; }
  bool Has(const std::string& code) const;
  // code when the tour has it, else "" (the tour's own).
  std::string Offered(const std::string& code) const;

  // text in language code: its translation when the catalogue has one, else text.
  const std::string& Translate(const std::string& code, const std::string& text) const;
  // Whether the catalogue of code translates text.
  bool Translates(const std::string& code, const std::string& text) const;

  // Every catalogue found, read or broken, by code.
  const std::map<std::string, TourCatalogue>& Catalogues() const { return m_catalogues; }
  // The catalogue's file name for a code, relative to the project's folder.
  std::string CatalogueName(const std::string& code) const;
  const std::string& Folder() const { return m_folder; }

 private:
  std::string m_folder;  // the project's real folder
  std::string m_stem;    // the project file's name without its extension
  std::vector<std::string> m_languages;
  std::map<std::string, TourCatalogue> m_catalogues;
};
