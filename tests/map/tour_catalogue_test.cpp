// Catalogues of a tour as authors and their tools really write them, broken ones included.
#include "guide/tour_catalogue.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "scratch_folder.h"

namespace {

struct Case {
  const char* name;
  std::string text;       // the catalogue's bytes
  bool ok;
  int errorLine;          // of a broken one, as gettext's own tools report it
  const char* id;         // an entry looked up
  std::string expected;   // its translation, "" for none
};

const std::string kHeader =
    "msgid \"\"\nmsgstr \"\"\n\"Content-Type: text/plain; charset=UTF-8\\n\"\n\n";

TEST(TourCatalogue, ReadsWhatTheTourUsesAndRefusesWhatIsBroken) {
  ScratchFolder folder;
  std::string longText;  // 10 kB of two-byte characters, kept to the first 127 of them
  for (int i = 0; i < 5120; ++i) longText += "\xc3\xa9";
  const Case cases[] = {
      {"plain", kHeader + "msgid \"Quay\"\nmsgstr \"Kai\"\n", true, 0, "Quay", "Kai"},
      {"escapes and continued lines", kHeader + "msgid \"\"\n\"Say \\\"hi\\\"\"\nmsgstr \"Sag\\n\"\n\"hallo\"\n",
       true, 0, "Say \"hi\"", "Sag\nhallo"},
      {"fuzzy left out", kHeader + "#, fuzzy\nmsgid \"Quay\"\nmsgstr \"Kai\"\n", true, 0, "Quay", ""},
      {"context left out", kHeader + "msgctxt \"menu\"\nmsgid \"Quay\"\nmsgstr \"Kai\"\n", true, 0,
       "Quay", ""},
      {"plural left out",
       kHeader + "msgid \"Quay\"\nmsgid_plural \"Quays\"\nmsgstr[0] \"Kai\"\nmsgstr[1] \"Kais\"\n",
       true, 0, "Quay", ""},
      {"obsolete left out", kHeader + "#~ msgid \"Quay\"\n#~ msgstr \"Kai\"\n", true, 0, "Quay", ""},
      {"10 kB translation", kHeader + "msgid \"Quay\"\nmsgstr \"" + longText + "\"\n", true, 0,
       "Quay", longText.substr(0, 254)},
      {"Latin-1 converted",
       "msgid \"\"\nmsgstr \"\"\n\"Content-Type: text/plain; charset=ISO-8859-1\\n\"\n\n"
       "msgid \"Bridge\"\nmsgstr \"Br\xfc" "cke\"\n",
       true, 0, "Bridge", "Br\xc3\xbc" "cke"},
      {"unclosed string", kHeader + "msgid \"Quay\"\nmsgstr \"Kai\n", false, 7, "Quay", ""},
      {"keyword missing", kHeader + "msgid \"Quay\"\n\"Kai\"\nmsgid \"Bridge\"\n", false, 5,
       "Quay", ""},
      {"garbage", "\x01\x02 not a catalogue at all\n", false, 1, "Quay", ""},
      {"unknown character set",
       "msgid \"\"\nmsgstr \"\"\n\"Content-Type: text/plain; charset=NO-SUCH-SET\\n\"\n\n"
       "msgid \"Quay\"\nmsgstr \"Kai\"\n",
       false, 0, "Quay", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ScratchFolder::Write("Tour.de.po", c.text);
    const TourCatalogue read = ReadTourCatalogue("Tour.de.po");
    EXPECT_EQ(read.ok, c.ok) << read.error;
    if (!c.ok) {
      EXPECT_FALSE(read.error.empty());
      if (c.errorLine > 0) {
        EXPECT_EQ(read.errorLine, c.errorLine) << read.error;
      }
      EXPECT_TRUE(read.texts.empty());
    }
    const auto found = read.texts.find(c.id);
    EXPECT_EQ(found != read.texts.end() ? found->second : std::string(), c.expected);
  }
  // Not a regular file: never handed to the reader (a pipe would never end).
  ScratchFolder::MakeFolder("Folder.de.po");
  EXPECT_FALSE(ReadTourCatalogue("Folder.de.po").ok);
}

}  // namespace
