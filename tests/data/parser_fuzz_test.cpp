// Random and mutated files through every record's parser and the loaders: whatever comes
// in, nothing crashes and nothing is touched outside its buffer (run under ASan and UBSan).
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "data/character_item.h"
#include "data/content_item.h"
#include "data/location_item.h"
#include "data/region_item.h"
#include "data/relationship_item.h"
#include "data/system_item.h"
#include "data/theme_item.h"
#include "data/time_item.h"
#include "data/user_context.h"
#include "data/xml_item_list.h"
#include "data/xml_scan.h"
#include "project_test_fixture.h"

using datatest::Fixture;
using datatest::ReadAll;
using datatest::TextStream;

namespace {

const char* const PIECES[] = {
    "<", ">", "/", " ", "\t", "\n", "\r\n", "--", "0x", "010", "-", "1", "63", "64",
    "99999999999", "nan", "1e39", "3.45", "%s", "%n", "&amp;", "content", "theme_id",
    "region", "system", "user_context", "viewed_id", "duration", "theme_list", "/content",
};

std::string Mutate(std::string text, std::mt19937& rng) {
  const int edits = 1 + static_cast<int>(rng() % 8);
  for (int e = 0; e < edits; ++e) {
    const size_t at = text.empty() ? 0 : rng() % text.size();
    switch (rng() % 5) {
      case 0:  // drop a run
        text.erase(at, rng() % 40);
        break;
      case 1:  // insert a piece
        text.insert(at, PIECES[rng() % (sizeof PIECES / sizeof PIECES[0])]);
        break;
      case 2:  // flip a byte, NUL included
        if (!text.empty()) text[at] = static_cast<char>(rng() & 0xFF);
        break;
      case 3:  // repeat a run, making long lines and repeated records
        text.insert(at, text.substr(at, rng() % 400));
        break;
      default:  // a long run of one character
        text.insert(at, std::string(rng() % 600, "x<> \n"[rng() % 5]));
        break;
    }
  }
  return text;
}

template <typename Record>
void ParseAll(const std::string& text) {
  TextStream in(text);
  Record record;
  CXmlItemList list;
  for (int guard = 0; guard < 10000 && record.Parse(in.get()) != -1; ++guard) list.Add(record);
  datatest::Written(list);
}

void ParseEveryKind(const std::string& text) {
  ParseAll<CSystemItem>(text);
  ParseAll<CRegionItem>(text);
  ParseAll<CContentItem>(text);
  ParseAll<CRelationshipItem>(text);
  ParseAll<CCharacterItem>(text);
  ParseAll<CLocationItem>(text);
  ParseAll<CThemeItem>(text);
  ParseAll<CTimeItem>(text);
  ParseAll<CUserContext>(text);
}

}  // namespace

TEST_F(ProjectFileTest, MutatedFilesNeverCrashTheParsers) {
  std::mt19937 rng(20240611u);
  const std::vector<std::string> seeds = {
      ReadAll(Fixture("project_lf.xml")), ReadAll(Fixture("project_crlf.xml")),
      ReadAll(Fixture("project_malformed.xml")), ReadAll(Fixture("users_two.xml")),
      ReadAll(Fixture("project_long_lines.xml"))};
  const std::string path = dir.Path("fuzz.xml");
  for (int round = 0; round < 300; ++round) {
    const std::string text = Mutate(seeds[round % seeds.size()], rng);
    ParseEveryKind(text);
    datatest::WriteAll(path, text);
    auto m = MakeModel();
    if (m->LoadProjectFile(path.c_str()) && round % 10 == 0) {
      m->System()->SetUserFilename(path.c_str());
      m->LoadUsersFile();
      m->SaveProjectFile(dir.Path("out.xml").c_str());
    }
  }
}

TEST(ScannerFuzz, RandomLinesStayInsideTheirBuffers) {
  std::mt19937 rng(7u);
  char name[XML_NAME_SIZE];
  char value[XML_VALUE_SIZE];
  for (int round = 0; round < 20000; ++round) {
    std::string line(rng() % 300, '\0');
    for (char& c : line) c = "<>/ \tab1\n"[rng() % 9];
    ReadTagName(line.c_str(), name);
    ReadTagValue(line.c_str(), value);
    ASSERT_LT(strlen(name), XML_NAME_SIZE);
    ASSERT_LT(strlen(value), XML_VALUE_SIZE);
  }
}
