#include "data/xml_scan.h"

#include <gtest/gtest.h>

#include <climits>

#include <string>

#include "data/region_item.h"
#include "data/theme_item.h"
#include "data/xml_values.h"
#include "data_test_util.h"
#include "platform/backend_headless/headless.h"

using datatest::TextStream;

namespace {

std::string Name(const char* line) {
  char name[XML_NAME_SIZE];
  return ReadTagName(line, name);
}

std::string Value(const char* line) {
  char value[XML_VALUE_SIZE];
  return ReadTagValue(line, value);
}

}  // namespace

TEST(ReadTagName, TakesTheFirstTagEndedByGreaterThanOrSpace) {
  EXPECT_EQ(Name("\t\t<region_id>4</region_id>\n"), "region_id");
  EXPECT_EQ(Name("\t</region>\n"), "/region");
  EXPECT_EQ(Name("\t\t<theme_list/>\n"), "theme_list/");
  EXPECT_EQ(Name("<?xml version='1.0' encoding='UTF-8' ?>"), "?xml");
  EXPECT_EQ(Name("\t<region id='7'>\n"), "region");
  EXPECT_EQ(Name("<content><content_id>3</content_id>\n"), "content");
  // CRLF files: the carriage return stands after the tag and never reaches the name.
  EXPECT_EQ(Name("\t</content>\r\n"), "/content");
}

TEST(ReadTagName, GivesNothingForLinesWithoutAUsableTag) {
  EXPECT_EQ(Name("plain text\n"), "");
  EXPECT_EQ(Name("text ending in <"), "");
  EXPECT_EQ(Name("\t<region\n"), "");               // not ended on the line
  EXPECT_EQ(Name("\t<region_description\tx>\n"), "region_description\tx");  // tabs do not end it
  EXPECT_EQ(Name("<>\n"), "");
}

TEST(ReadTagName, CutsLongNamesToTheBuffer) {
  const std::string longName(200, 'n');
  const std::string line = "<" + longName + ">v</" + longName + ">\n";
  char name[XML_NAME_SIZE + 8];
  memset(name, '#', sizeof name);
  ReadTagName(line.c_str(), name);
  EXPECT_EQ(std::string(name), std::string(63, 'n'));
  EXPECT_EQ(name[XML_NAME_SIZE], '#');  // nothing past the buffer
}

TEST(ReadTagValue, TakesTheTextBetweenTheFirstTagAndTheNext) {
  EXPECT_EQ(Value("\t\t<gps_x> 1.5 </gps_x>\n"), " 1.5 ");
  EXPECT_EQ(Value("<d>fish &amp; chips</d>\n"), "fish &amp; chips");
  EXPECT_EQ(Value("\t<region>\n"), "");
  EXPECT_EQ(Value("\t</region>\n"), "");
  EXPECT_EQ(Value("\t\t<thumbnail/>\n"), "");
  EXPECT_EQ(Value("<a>no close\n"), "");
  EXPECT_EQ(Value("<a>"), "");
  EXPECT_EQ(Value("<d>x</d>\r\n"), "x");
}

TEST(ReadTagValue, CutsLongValuesToTheBuffer) {
  const std::string line = "<d>" + std::string(300, 'v') + "</d>\n";
  char value[XML_VALUE_SIZE + 8];
  memset(value, '#', sizeof value);
  ReadTagValue(line.c_str(), value);
  EXPECT_EQ(std::string(value), std::string(127, 'v'));
  EXPECT_EQ(value[XML_VALUE_SIZE], '#');
}

TEST(CrowdedLines, EverythingAfterTheFirstElementCounts) {
  struct Case {
    const char* line;
    bool crowded;
  };
  const Case cases[] = {
      {"\t\t<region_id>3</region_id>\n", false},
      {"\t\t<theme_list/>\n", false},
      {"\t</region>\n", false},
      {"<?xml version='1.0' encoding='UTF-8' ?>\n", false},
      {"\t<user_filename/>   <!-- empty: <b>beside</b> it -->\n", false},
      {"<region_description>a < b, 3<4</region_description>\n", false},
      {"<region_description\ttabbed>x</region_description>\n", false},
      {"<theme_list><theme_id>1</theme_id></theme_list>\n", true},
      {"<radius>16</radius><project_name>X</project_name>\n", true},
      {"\t\t<theme_id>1</theme_id></content>\n", true},
      {"</region><region>\n", true},
      {"<region_id>3</region_id></region_id>\n", true},
      {"<!-- note --><region_id>3</region_id>\n", true},
      {"<?xml version='1.0' ?><system>\n", true},
  };
  for (const Case& c : cases) EXPECT_EQ(HoldsMoreThanOneElement(c.line), c.crowded) << c.line;
  // Lines are counted from 1, a long line in the reader's pieces.
  EXPECT_EQ(FirstCrowdedLine("<a>1</a>\n<b>2</b><c>3</c>\n<d/><e/>\n"), 2);
  EXPECT_EQ(FirstCrowdedLine("<a>" + std::string(300, 'x') + "</a>\n"), 0);
  EXPECT_EQ(FirstCrowdedLine(std::string(254, ' ') + "x<a>1</a><b>2</b>\n"), 1);
}

TEST(ValueConversion, IntegersReadAsPercentI) {
  int v = -5;
  EXPECT_TRUE(ReadInt("010", &v));
  EXPECT_EQ(v, 8);
  EXPECT_TRUE(ReadInt("0x1A", &v));
  EXPECT_EQ(v, 26);
  EXPECT_TRUE(ReadInt(" -12abc", &v));
  EXPECT_EQ(v, -12);
  EXPECT_TRUE(ReadInt("99999999999999999999", &v));
  EXPECT_EQ(v, 2147483647);
  v = 77;
  EXPECT_FALSE(ReadInt("abc", &v));
  EXPECT_EQ(v, 77);
}

TEST(ValueConversion, RealsReadAsWritten) {
  double d = 0;
  EXPECT_TRUE(ReadReal("51.501234", &d));
  EXPECT_EQ(d, 51.501234);  // not through a float, which would save back as 51.501232
  EXPECT_TRUE(ReadReal(" 1.5 ", &d));
  EXPECT_EQ(d, 1.5);
  d = 3.0;
  EXPECT_FALSE(ReadReal("north", &d));
  EXPECT_FALSE(ReadReal("nan", &d));
  EXPECT_FALSE(ReadReal("1e999", &d));  // would be infinite
  EXPECT_EQ(d, 3.0);
}

TEST(ValueConversion, FlagsAreTrueOnlyForOne) {
  EXPECT_TRUE(ReadFlag("1"));
  EXPECT_TRUE(ReadFlag("01"));
  EXPECT_FALSE(ReadFlag("2"));
  EXPECT_FALSE(ReadFlag("0"));
  EXPECT_FALSE(ReadFlag("yes"));
}

TEST(ValueConversion, ViewedPairs) {
  int id = -1;
  double t = -1;
  EXPECT_TRUE(ReadViewedPair("12--3.450000", &id, &t));
  EXPECT_EQ(id, 12);
  EXPECT_EQ(t, 3.45);  // exactly the minutes and seconds written
  EXPECT_TRUE(ReadViewedPair("7", &id, &t));
  EXPECT_EQ(id, 7);
  EXPECT_EQ(t, 0.0);
  EXPECT_TRUE(ReadViewedPair("-3--x", &id, &t));
  EXPECT_EQ(id, -3);
  EXPECT_EQ(t, 0.0);
  EXPECT_FALSE(ReadViewedPair("--1.0", &id, &t));
  // Plain decimals are read digit by digit, every other form as the C library reads it.
  const struct {
    const char* text;
    int id;
    double time;
  } forms[] = {{"3-- 2.5", 3, 2.5},        {"3--+1.999", 3, 2.0},
               {"3--1e2", 3, 100.0},       {"3--0x10", 3, 16.0},
               {"3--12.3456789012345678", 3, 12.35},
               {"010--1", 8, 1.0},         {"99999999999999999999--1", INT_MAX, 1.0},
               {"2147483648--1", INT_MAX, 1.0}};
  for (const auto& f : forms) {
    SCOPED_TRACE(f.text);
    EXPECT_TRUE(ReadViewedPair(f.text, &id, &t));
    EXPECT_EQ(id, f.id);
    EXPECT_DOUBLE_EQ(t, f.time);
  }
}

TEST(ParseLoop, ReadsOneRecordAndReportsFieldCounts) {
  TextStream in(
      "<?xml version='1.0' ?>\n<theme_list>\n\t<theme>\n\t\t<theme_id>4</theme_id>\n"
      "\t\t<theme_desc>Salt</theme_desc>\n\t</theme>\n\t<theme>\n\t\t<theme_id>5</theme_id>\n"
      "\t</theme>\n</theme_list>\n");
  CThemeItem theme;
  EXPECT_EQ(theme.Parse(in.get()), 1);
  EXPECT_EQ(theme.m_id, 4);
  EXPECT_STREQ(theme.m_description, "Salt");
  EXPECT_EQ(theme.Parse(in.get()), 0);  // one field of two
  EXPECT_EQ(theme.m_id, 5);
  EXPECT_STREQ(theme.m_description, "");  // reset between records
  EXPECT_EQ(theme.Parse(in.get()), -1);
}

TEST(ParseLoop, UnknownElementsBeepOnceAndAreSkipped) {
  headless::Reset();
  TextStream in(
      "<theme>\n<theme_id>2</theme_id>\n<colour>red</colour>\n<colour/>\n"
      "<theme_desc>Tides</theme_desc>\n</theme>\n");
  CThemeItem theme;
  EXPECT_EQ(theme.Parse(in.get()), 1);
  EXPECT_EQ(headless::BeepCount(), 1);
  EXPECT_EQ(theme.m_id, 2);
  EXPECT_STREQ(theme.m_description, "Tides");
}

TEST(ParseLoop, OutsideARecordEverythingButItsOwnTagsIsIgnored) {
  headless::Reset();
  TextStream in(
      "<region_id>9</region_id>\n<colour>red</colour>\n<theme>\n<theme_id>1</theme_id>\n"
      "</theme>\n<region>\n<region_id>3</region_id>\n</region>\n");
  CRegionItem region;
  EXPECT_EQ(region.Parse(in.get()), 0);
  EXPECT_EQ(region.m_id, 3);
  EXPECT_EQ(headless::BeepCount(), 0);
}

TEST(ParseLoop, ACloseBeforeTheOpenEndsTheRecordWithResetValues) {
  TextStream in("</region>\n<region>\n<region_id>3</region_id>\n</region>\n");
  CRegionItem region;
  EXPECT_EQ(region.Parse(in.get()), 0);
  EXPECT_EQ(region.m_id, 0);
  EXPECT_EQ(region.Parse(in.get()), 0);
  EXPECT_EQ(region.m_id, 3);
}

TEST(ParseLoop, AFileWithoutTheKindOrEndingInsideARecordGivesMinusOne) {
  {
    TextStream in("<system>\n<radius>4</radius>\n</system>\n");
    CRegionItem region;
    EXPECT_EQ(region.Parse(in.get()), -1);
  }
  {
    TextStream in("<region>\n<region_id>3</region_id>\n");
    CRegionItem region;
    EXPECT_EQ(region.Parse(in.get()), -1);
  }
}

TEST(ParseLoop, LongLinesAreReadInPieces) {
  // The first 255 characters carry no closing tag, so no value; the rest is a line of its
  // own holding only a closing tag. Neither stores anything; the record goes on.
  const std::string longLine = "\t\t<region_description>" + std::string(300, 'x') +
                               "</region_description>\n";
  // A piece boundary that falls so that the second piece holds a whole element.
  const std::string split = std::string(254, ' ') + "x<region_id>6</region_id>\n";
  TextStream in("<region>\n" + longLine + split + "<gps_x>2</gps_x>\n</region>\n");
  CRegionItem region;
  EXPECT_EQ(region.Parse(in.get()), 0);
  EXPECT_STREQ(region.m_description, "");
  EXPECT_EQ(region.m_id, 6);
  EXPECT_EQ(region.m_gpsX, 2.0);
}

TEST(ParseLoop, AnEmptyValueLeavesTheFieldAtItsReset) {
  TextStream in("<region>\n<region_id>5</region_id>\n<region_id></region_id>\n</region>\n");
  CRegionItem region;
  region.Parse(in.get());
  EXPECT_EQ(region.m_id, 5);
}
