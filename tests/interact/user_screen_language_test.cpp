// The user screens' words in the reader's language: English leaves the pictures as drawn,
// and a translated word is painted over its English one inside the picture.
#include <algorithm>
#include <cstdlib>
#include <string>

#include "interact/user_screen_fixture.h"
#include "platform/text/tr.h"

namespace {

class UserScreenLanguage : public usertest::UserScreenFixture {
 protected:
  void SetUp() override {
    UserScreenFixture::SetUp();
    setenv("CORVANE_LOCALEDIR", CORVANE_CATALOGUES, 1);
    tr::InitTexts();
  }
  void TearDown() override {
    tr::UseLanguage("");
    unsetenv("CORVANE_LOCALEDIR");
    UserScreenFixture::TearDown();
  }
  std::vector<std::string> Words(int mode) {
    app->m_mode = mode;
    Draw();
    std::vector<std::string> words;
    for (const auto& call : Calls("DrawLegibleText")) words.push_back(call.text);
    return words;
  }
};

TEST_F(UserScreenLanguage, TranslatedWordsAreWrittenInsideTheirPictures) {
  tr::UseLanguage("en");
  EXPECT_TRUE(Words(MODE_USER_LIST).empty());
  // The new-user screen writes only its page key's label.
  EXPECT_EQ(Words(MODE_NEW_USER), std::vector<std::string>{"\xC3\x84\xC3\x89"
                                                           "1"});

  tr::UseLanguage("de");
  const auto list = Words(MODE_USER_LIST);
  EXPECT_EQ(list, (std::vector<std::string>{"BESUCHER W\xC3\x84HLEN",
                                            "NAMEN ANTIPPEN, DANN W\xC3\x84HLEN", "W\xC3\x84HLEN",
                                            "NEUER BESUCHER"}));
  for (const auto& fill : Calls("FillRect")) {
    EXPECT_GE(fill.dst.left, usertest::kListX);
    EXPECT_LE(fill.dst.right, usertest::kListX + 240);
    EXPECT_GE(fill.dst.top, usertest::kListY);
    EXPECT_LE(fill.dst.bottom, usertest::kListY + 320);
  }
  tr::UseLanguage("fr");
  const auto entry = Words(MODE_NEW_USER);
  ASSERT_FALSE(entry.empty());
  EXPECT_EQ(entry.front(), "NOUVEAU VISITEUR");
  EXPECT_NE(std::find(entry.begin(), entry.end(), "AJOUTER"), entry.end());
}

}  // namespace
