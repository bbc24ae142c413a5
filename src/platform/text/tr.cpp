// Start-up of the program's catalogues and the switch of language at run time.
#include "platform/text/tr.h"

#include <algorithm>
#include <cctype>
#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <system_error>

// Bumped to make gettext forget the translations it has looked up (the documented way to
// switch language in a running program).
extern "C" int _nl_msg_cat_cntr;

namespace tr {
namespace {

namespace fs = std::filesystem;

struct TextState {
  std::string folder;
  std::string systemLanguage = "en";
  std::string chosen;                   // empty: the environment's choice
  std::optional<std::string> language;  // LANGUAGE as the environment gave it
  std::string messagesLocale = "C";     // LC_MESSAGES as the environment gave it
};

TextState& S() {
  static TextState state;
  return state;
}

bool IsCLocale(const std::string& name) { return name == "C" || name == "POSIX"; }

// "de_DE.UTF-8" -> "de", "fr" -> "fr"; anything not starting with two letters -> "".
std::string LanguageOf(const std::string& name) {
  if (name.size() < 2 || !std::isalpha(static_cast<unsigned char>(name[0])) ||
      !std::isalpha(static_cast<unsigned char>(name[1])))
    return "";
  if (name.size() > 2 && std::isalpha(static_cast<unsigned char>(name[2]))) return "";
  return {static_cast<char>(std::tolower(static_cast<unsigned char>(name[0]))),
          static_cast<char>(std::tolower(static_cast<unsigned char>(name[1])))};
}

std::string FindFolder() {
  if (const char* given = std::getenv("CORVANE_LOCALEDIR"); given != nullptr && *given != '\0')
    return given;
  std::error_code error;
  const fs::path program = fs::read_symlink("/proc/self/exe", error);
  if (!error) {
    const fs::path beside = program.parent_path() / "locale";
    if (fs::is_directory(beside, error)) return beside.string();
  }
  return CORVANE_INSTALLED_LOCALEDIR;
}

void Forget() { ++_nl_msg_cat_cntr; }

}  // namespace

void InitTexts() {
  TextState& s = S();
  if (std::setlocale(LC_ALL, "") == nullptr) {
    // A locale the system does not have: messages in English, text still UTF-8.
    std::setlocale(LC_ALL, "C");
    std::setlocale(LC_CTYPE, "C.UTF-8");
  }
  std::setlocale(LC_NUMERIC, "C");
  s.messagesLocale = std::setlocale(LC_MESSAGES, nullptr);
  if (const char* language = std::getenv("LANGUAGE")) s.language = language;
  // gettext reads LANGUAGE only when the messages locale is not C.
  std::string asked = s.messagesLocale;
  if (!IsCLocale(s.messagesLocale) && s.language && !s.language->empty())
    asked = s.language->substr(0, s.language->find(':'));
  s.systemLanguage = LanguageOf(asked);
  if (s.systemLanguage.empty()) s.systemLanguage = "en";

  s.folder = FindFolder();
  bindtextdomain(CORVANE_TEXT_DOMAIN, s.folder.c_str());
  bind_textdomain_codeset(CORVANE_TEXT_DOMAIN, "UTF-8");
  Forget();
}

const std::string& CatalogueFolder() { return S().folder; }

bool HasCatalogue(const std::string& code) {
  if (code == "en") return true;
  if (code.size() != 2 || LanguageOf(code) != code) return false;
  std::error_code error;
  return fs::is_regular_file(
      fs::path(S().folder) / code / "LC_MESSAGES" / (CORVANE_TEXT_DOMAIN ".mo"), error);
}

std::vector<std::string> ProgramLanguages() {
  std::vector<std::string> codes;
  std::error_code error;
  for (fs::directory_iterator it(S().folder, error), end; !error && it != end;
       it.increment(error)) {
    const std::string name = it->path().filename().string();
    if (name != "en" && LanguageOf(name) == name && HasCatalogue(name)) codes.push_back(name);
  }
  std::sort(codes.begin(), codes.end());
  codes.insert(codes.begin(), "en");
  return codes;
}

std::string SystemLanguage() { return S().systemLanguage; }

std::string CurrentLanguage() { return S().chosen.empty() ? S().systemLanguage : S().chosen; }

std::string LanguageName(const std::string& code) {
  static const struct {
    const char* code;
    const char* name;
  } kNames[] = {{"cs", "\u010Ce\u0161tina"},
                {"da", "Dansk"},
                {"de", "Deutsch"},
                {"en", "English"},
                {"es", "Espa\u00F1ol"},
                {"fi", "Suomi"},
                {"fr", "Fran\u00E7ais"},
                {"it", "Italiano"},
                {"nb", "Norsk bokm\u00E5l"},
                {"nl", "Nederlands"},
                {"pl", "Polski"},
                {"pt", "Portugu\u00EAs"},
                {"sv", "Svenska"}};
  for (const auto& entry : kNames)
    if (code == entry.code) return entry.name;
  std::string upper = code;
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return upper;
}

void UseLanguage(const std::string& code) {
  TextState& s = S();
  if (code.empty()) {
    s.chosen.clear();
    if (s.language)
      setenv("LANGUAGE", s.language->c_str(), 1);
    else
      unsetenv("LANGUAGE");
    std::setlocale(LC_MESSAGES, s.messagesLocale.c_str());
  } else {
    s.chosen = LanguageOf(code).empty() ? "en" : LanguageOf(code);
    setenv("LANGUAGE", s.chosen.c_str(), 1);
    // Under the C locale gettext would not look at LANGUAGE.
    if (IsCLocale(std::setlocale(LC_MESSAGES, nullptr))) std::setlocale(LC_MESSAGES, "C.UTF-8");
  }
  Forget();
}

}  // namespace tr
