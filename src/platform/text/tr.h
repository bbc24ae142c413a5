// The program's own texts in the reader's language: _() and N_() over gettext, start-up, and
// switching the language while the program runs.
#pragma once

#include <libintl.h>

#include <string>
#include <vector>

// The text domain of the program's catalogues (share/locale/LL/LC_MESSAGES/corvane.mo).
#define CORVANE_TEXT_DOMAIN "corvane"

// A text shown to people: its translation in the current language, else the English given.
// The result is UTF-8 and lives for the whole run (until the language is switched, the
// pointer stays valid; copy it into a std::string when keeping it past a switch).
#define _(text) ::dgettext(CORVANE_TEXT_DOMAIN, text)
// A text with a count: the form for n in the current language (English: one when n is 1).
#define P_(one, many, n) ::dngettext(CORVANE_TEXT_DOMAIN, one, many, n)
// Marks a pair of forms for the catalogues, as two arguments (one, many) of a function that
// passes them to P_.
#define NP_(one, many) one, many
// Marks a text for the catalogues where it is defined (a table, a constant); translate it
// with _() or tr::Text() where it is shown.
#define N_(text) text

namespace tr {

// Once, first thing in main: the locale's messages and character type follow the environment
// (LANGUAGE, LC_ALL, LC_MESSAGES, LANG), numbers stay in the C locale, and the catalogues are
// bound (CORVANE_LOCALEDIR, else a "locale" folder beside the program as in the build tree,
// else the installed share/locale). Without a catalogue every text stays English.
void InitTexts();

// _() for a text that is not a literal (a marked table entry): the same lookup.
inline const char* Text(const char* text) { return ::dgettext(CORVANE_TEXT_DOMAIN, text); }

// The folder the catalogues are read from.
const std::string& CatalogueFolder();

// Whether a catalogue of the program's texts exists for a two-letter language code ("de").
// English always counts: it is the language of the source.
bool HasCatalogue(const std::string& code);

// The languages the program's own texts can be shown in: "en" first, then each code with a
// catalogue, sorted.
std::vector<std::string> ProgramLanguages();

// The two-letter code of the language the environment asked for at start-up ("en" when the
// locale is C or names no language).
std::string SystemLanguage();

// The language texts are shown in now: the last code given to UseLanguage, else the
// system's.
std::string CurrentLanguage();

// The language's name for itself ("Deutsch" for "de"), for a choice of languages; the code
// in capitals where the program knows no name.
std::string LanguageName(const std::string& code);

// From the next lookup on, texts come from the catalogue of code (two letters); a code
// without a catalogue shows English. An empty code returns to the environment's choice.
// Call it from the main thread; it changes LANGUAGE in the process environment.
void UseLanguage(const std::string& code);

}  // namespace tr
