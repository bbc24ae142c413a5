// The program's texts in a language: the catalogues built from po/, the switch at run time,
// English wherever a catalogue is missing, and numbers in the C locale whatever the language.
#include "platform/text/tr.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

class Texts : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("CORVANE_LOCALEDIR", CORVANE_CATALOGUES, 1);
    unsetenv("LANGUAGE");
    unsetenv("LC_ALL");
    unsetenv("LC_MESSAGES");
    setenv("LANG", "C.UTF-8", 1);
  }
  void TearDown() override {
    tr::UseLanguage("");
    unsetenv("CORVANE_LOCALEDIR");
    unsetenv("LANGUAGE");
    std::setlocale(LC_ALL, "C");
  }
};

TEST_F(Texts, EachLanguageShowsItsCatalogueAndOneWithoutShowsEnglish) {
  tr::InitTexts();
  EXPECT_STREQ(_("Done"), "Done");
  EXPECT_EQ(tr::SystemLanguage(), "en");
  const struct {
    const char* code;
    const char* done;
    const char* errors;  // the plural form for 2
  } cases[] = {
      {"de", "Fertig", "%d Fehler"}, {"fr", "Fait", "%d erreurs"},
      {"xx", "Done", "%d errors"},                                // no catalogue
      {"en", "Done", "%d errors"},   {"d", "Done", "%d errors"},  // not a language code
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.code);
    tr::UseLanguage(c.code);
    EXPECT_STREQ(_("Done"), c.done);
    EXPECT_STREQ(P_("%d error", "%d errors", 2), c.errors);
  }
  tr::UseLanguage("");
  EXPECT_STREQ(_("Done"), "Done");
  EXPECT_EQ(tr::ProgramLanguages(), (std::vector<std::string>{"en", "de", "fr"}));
  EXPECT_TRUE(tr::HasCatalogue("de"));
  EXPECT_FALSE(tr::HasCatalogue("xx"));
  EXPECT_FALSE(tr::HasCatalogue("../de"));
}

TEST_F(Texts, TheEnvironmentChoosesTheLanguageAndNumbersStayInTheCLocale) {
  setenv("LANG", "de_DE.UTF-8", 1);
  tr::InitTexts();
  if (std::string(std::setlocale(LC_MESSAGES, nullptr)) != "de_DE.UTF-8")
    GTEST_SKIP() << "the de_DE.UTF-8 locale is not installed";
  EXPECT_EQ(tr::SystemLanguage(), "de");
  EXPECT_STREQ(_("Done"), "Fertig");
  EXPECT_STREQ(std::setlocale(LC_NUMERIC, nullptr), "C");
  char number[32];
  std::snprintf(number, sizeof number, "%.2f", 1.5);
  EXPECT_STREQ(number, "1.50");
  // LANGUAGE comes first.
  setenv("LANGUAGE", "fr:de", 1);
  tr::InitTexts();
  EXPECT_EQ(tr::SystemLanguage(), "fr");
  EXPECT_STREQ(_("Done"), "Fait");
}

TEST_F(Texts, WithoutCataloguesEveryTextIsEnglish) {
  setenv("CORVANE_LOCALEDIR", "/nonexistent/corvane-locale", 1);
  setenv("LANGUAGE", "de", 1);
  setenv("LANG", "de_DE.UTF-8", 1);
  tr::InitTexts();
  EXPECT_STREQ(_("Done"), "Done");
  tr::UseLanguage("fr");
  EXPECT_STREQ(_("Done"), "Done");
  EXPECT_EQ(tr::ProgramLanguages(), std::vector<std::string>{"en"});
}

}  // namespace
