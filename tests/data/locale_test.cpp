// Numbers in both files use '.' whatever the user's locale.
#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "data/content_item.h"
#include "data/region_item.h"
#include "data/system_item.h"
#include "data/user_context.h"
#include "data/xml_values.h"
#include "project_test_fixture.h"

using datatest::Fixture;
using datatest::ReadAll;

namespace {

// Switches the program to a German locale, whose decimal separator is ','. The system may
// not have the locale built; it is then built into the test's folder when localedef and the
// locale sources are there.
bool UseGermanLocale() {
  if (setlocale(LC_ALL, "de_DE.UTF-8") != nullptr) return true;
  if (!std::filesystem::exists("/usr/share/i18n/locales/de_DE")) return false;
  static const datatest::ScratchDir dir;  // built once per run
  const std::string built = dir.Path("locales");
  if (std::filesystem::exists(built + "/de_DE.UTF-8")) {
    setenv("LOCPATH", built.c_str(), 1);
    const bool ok = setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
    unsetenv("LOCPATH");
    return ok;
  }
  std::filesystem::create_directory(built);
  const std::string command =
      "localedef -i de_DE -f UTF-8 '" + built + "/de_DE.UTF-8' >/dev/null 2>&1";
  if (system(command.c_str()) != 0) return false;
  setenv("LOCPATH", built.c_str(), 1);
  const bool ok = setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
  unsetenv("LOCPATH");
  return ok;
}

class GermanLocale : public ProjectFileTest {
 protected:
  void SetUp() override {
    ProjectFileTest::SetUp();
    if (!UseGermanLocale()) GTEST_SKIP() << "no German locale on this system";
    char buffer[16];
    snprintf(buffer, sizeof buffer, "%.1f", 1.5);
    ASSERT_STREQ(buffer, "1,5");  // the locale is really in force
  }
  void TearDown() override { setlocale(LC_ALL, "C"); }
};

}  // namespace

TEST_F(GermanLocale, ProjectReadsAndWritesWithPoints) {
  ASSERT_TRUE(model->LoadProjectFile(Fixture("project_lf.xml").c_str()));
  EXPECT_EQ(model->System()->m_radius, 48.5);
  EXPECT_EQ(model->m_gpsTopLeft.y, 51.501234);
  EXPECT_EQ(Saved(*model, dir), ReadAll(Fixture("golden_project.xml")));
}

TEST_F(GermanLocale, UsersReadAndWriteWithPoints) {
  double d = 0;
  ASSERT_TRUE(ReadReal("1.25", &d));
  EXPECT_EQ(d, 1.25);
  ASSERT_TRUE(ReadReal("1,25", &d));
  EXPECT_EQ(d, 1.0);  // the comma ends the number
  const std::string users = dir.Copy("users_two.xml");
  const std::string project = dir.Path("p.xml");
  datatest::WriteAll(project, "<system>\n<user_filename>" + users + "</user_filename>\n</system>\n");
  ASSERT_TRUE(model->LoadProjectFile(project.c_str()));
  ASSERT_EQ(model->LoadUsersFile(), 2);
  ASSERT_TRUE(model->SaveUsersFile());
  EXPECT_EQ(ReadAll(users), ReadAll(Fixture("golden_users.xml")));
}
