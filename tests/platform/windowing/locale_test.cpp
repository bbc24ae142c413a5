// Under a German locale the process takes the environment's language but keeps a '.'
// decimal point, which the files and libmpv need.
#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <locale.h>
#include <string>

#include "platform/backend_headless/headless.h"

namespace {

bool LocaleInstalled(const char* name) {
  locale_t l = newlocale(LC_ALL_MASK, name, static_cast<locale_t>(0));
  if (l == static_cast<locale_t>(0)) return false;
  freelocale(l);
  return true;
}

TEST(Locale, GermanEnvironmentKeepsNumericC) {
  if (!LocaleInstalled("de_DE.UTF-8")) GTEST_SKIP() << "de_DE.UTF-8 is not generated here";
  std::string saved = std::getenv("LC_ALL") ? std::getenv("LC_ALL") : "";
  setenv("LC_ALL", "de_DE.UTF-8", 1);
  headless::Reset();
  EXPECT_STREQ(std::setlocale(LC_NUMERIC, nullptr), "C");
  EXPECT_EQ(std::string(std::setlocale(LC_CTYPE, nullptr)), "de_DE.UTF-8");
  char text[32];
  std::snprintf(text, sizeof text, "%.6f", 51.5);
  EXPECT_STREQ(text, "51.500000");
  EXPECT_DOUBLE_EQ(std::strtod("-0.125", nullptr), -0.125);
  if (saved.empty()) {
    unsetenv("LC_ALL");
  } else {
    setenv("LC_ALL", saved.c_str(), 1);
  }
  headless::Reset();
}

}  // namespace
