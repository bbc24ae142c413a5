// What a visitor gets in their language: the media sibling, the subtitles and the texts,
// each falling back to the tour's own.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "guide/tour_texts.h"
#include "map/file_resolve.h"
#include "map/media_variant.h"
#include "scratch_folder.h"

namespace {

namespace fs = std::filesystem;

struct Case {
  const char* name;
  const char* language;
  const char* media;      // the file that plays first, relative to the folder
  const char* fallback;   // "" for none
  const char* subtitles;  // "auto": left to the player; "": none
  const char* place;      // "Swing bridge" as shown
};

TEST(LanguageFallback, MediaSubtitlesAndTextsFallBackToTheToursOwn) {
  ScratchFolder folder;
  const std::string root = RealFolderOf((folder.Path() + "/x").c_str());
  ScratchFolder::Write("video/item01.mp4");
  ScratchFolder::Write("video/item01.de.mp4");
  ScratchFolder::Write("video/item01.de.srt");
  ScratchFolder::Write("video/item01.srt");
  ScratchFolder::MakeFolder("video/item01.fr.mp4");  // not a file: passed over
  ScratchFolder::Write("video/item01.it.vtt");
  // A link out of the project's folder is never followed.
  testsupport::ScratchFolder elsewhere("corvane_out");
  const std::string outside = elsewhere.Write("item01.es.mp4");
  fs::create_symlink(outside, "video/item01.es.mp4");
  ScratchFolder::Write("Tour.de.po",
                       "msgid \"Swing bridge\"\nmsgstr \"Drehbrücke\"\n\n"
                       "#, fuzzy\nmsgid \"Fish quay\"\nmsgstr \"Fischkai\"\n");
  ScratchFolder::Write("Tour.it.po", "msgid \"Swing bridge\"\nmsgstr \"\"\n");
  ScratchFolder::Write("Tour.fr.po", "msgid \"Swing bridge\"\nmsgstr \"Pont tournant\n");  // broken
  // Names inside the folder as the cases give them (the tour's own file is found from the
  // current folder, siblings from the real folder).
  auto relative = [&root](const std::string& path) {
    return path.empty() || path[0] != '/' ? path : fs::path(path).lexically_relative(root).string();
  };
  CTourTexts texts;
  texts.Load(root + "/Tour.xml", {"video/item01.mp4"});
  EXPECT_EQ(texts.Languages(), (std::vector<std::string>{"de", "fr", "it"}));

  const Case cases[] = {
      {"tour's own", "", "video/item01.mp4", "", "video/item01.srt", "Swing bridge"},
      {"sibling and its subtitles", "de", "video/item01.de.mp4", "video/item01.mp4",
       "video/item01.de.srt", "Drehbrücke"},
      {"a folder named as a sibling", "fr", "video/item01.mp4", "", "video/item01.srt",
       "Swing bridge"},
      {"subtitles of the language without media", "it", "video/item01.mp4", "",
       "video/item01.it.vtt", "Swing bridge"},
      {"a link out", "es", "video/item01.mp4", "", "video/item01.srt", "Swing bridge"},
      {"not a language code", "DE", "video/item01.mp4", "", "video/item01.srt", "Swing bridge"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const MediaChoice choice = ChooseMedia(root, "video/item01.mp4", c.language);
    EXPECT_EQ(relative(choice.media), c.media);
    EXPECT_EQ(relative(choice.fallback), c.fallback);
    ASSERT_TRUE(choice.subtitlesChosen);
    EXPECT_EQ(relative(choice.subtitles), c.subtitles);
    EXPECT_EQ(texts.Translate(c.language, "Swing bridge"), c.place);
  }
  // A fuzzy entry is no translation.
  EXPECT_EQ(texts.Translate("de", "Fish quay"), "Fish quay");

  // Without subtitles of its own the tour leaves them to the player; a visitor's language
  // never gets a third language's.
  fs::remove("video/item01.srt");
  EXPECT_FALSE(ChooseMedia(root, "video/item01.mp4", "").subtitlesChosen);
  const MediaChoice spanish = ChooseMedia(root, "video/item01.mp4", "es");
  EXPECT_TRUE(spanish.subtitlesChosen);
  EXPECT_EQ(spanish.subtitles, "");
}

}  // namespace
