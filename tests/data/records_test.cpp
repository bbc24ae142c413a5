// Written lines, copies and parse rules of the record classes.
#include <gtest/gtest.h>

#include <string>

#include "data/character_item.h"
#include "data/content_item.h"
#include "data/location_item.h"
#include "data/region_item.h"
#include "data/relationship_item.h"
#include "data/system_item.h"
#include "data/theme_item.h"
#include "data/time_item.h"
#include "data/user_context.h"
#include "data/xml_values.h"
#include "data_test_util.h"
#include "platform/backend_headless/headless.h"

using datatest::TextStream;
using datatest::Written;

TEST(SystemRecord, WritesEveryLineInItsOrder) {
  TextStream in(
      "<system>\n<project_name></project_name>\n<map_filename>m.png</map_filename>\n"
      "<left>-1.25</left>\n<top>51.501234</top>\n<right>2</right>\n<bottom>0x10</bottom>\n"
      "<radius>30</radius>\n<theme_rels>1</theme_rels>\n<character_rels>0</character_rels>\n"
      "<time_rels>2</time_rels>\n<location_rels>1</location_rels>\n"
      "<user_filename>u.xml</user_filename>\n</system>\n");
  CSystemItem system;
  EXPECT_EQ(system.Parse(in.get()), 0);  // eleven of twelve: the empty name is not counted
  EXPECT_EQ(system.Id(), 1);
  EXPECT_FALSE(system.m_timeRels);
  EXPECT_EQ(system.m_bottom, 16.0);  // "%f" takes 0x10 as a hexadecimal real
  EXPECT_EQ(Written(system),
            "<system>\n"
            "\t<project_name/>\n"
            "\t<map_filename>m.png</map_filename>\n"
            "\t<left>-1.250000</left>\n"
            "\t<top>51.501234</top>\n"
            "\t<right>2.000000</right>\n"
            "\t<bottom>16.000000</bottom>\n"
            "\t<theme_rels>1</theme_rels>\n"
            "\t<character_rels>0</character_rels>\n"
            "\t<time_rels>0</time_rels>\n"
            "\t<location_rels>1</location_rels>\n"
            "\t<radius>30.000000</radius>\n"
            "\t<user_filename>u.xml</user_filename>\n"
            "</system>\n");
}

TEST(ContentRecord, WritesListsInThemeCharacterTimeLocationOrder) {
  TextStream in(
      "<content>\n<content_id>010</content_id>\n<theme_id>3</theme_id>\n"
      "<location_list>\n<location_id>63</location_id>\n<location_id>0</location_id>\n"
      "</location_list>\n<theme_list>\n<theme_id>3</theme_id>\n</theme_list>\n"
      "<time_list/>\n<region_id>2</region_id>\n<filename>a b.mp4</filename>\n"
      "<thumbnail/>\n<gps_x>1.5</gps_x>\n<gps_y>-2</gps_y>\n</content>\n");
  CContentItem c;
  c.Parse(in.get());
  EXPECT_EQ(c.m_themeCount, 2);  // a repeat still counts
  EXPECT_EQ(c.m_locationCount, 2);
  EXPECT_EQ(Written(c),
            "\t<content>\n"
            "\t\t<content_id>8</content_id>\n"
            "\t\t<theme_list>\n"
            "\t\t\t<theme_id>3</theme_id>\n"
            "\t\t</theme_list>\n"
            "\t\t<character_list/>\n"
            "\t\t<time_list/>\n"
            "\t\t<location_list>\n"
            "\t\t\t<location_id>0</location_id>\n"
            "\t\t\t<location_id>63</location_id>\n"
            "\t\t</location_list>\n"
            "\t\t<region_id>2</region_id>\n"
            "\t\t<filename>a b.mp4</filename>\n"
            "\t\t<thumbnail/>\n"
            "\t\t<gps_x>1.500000</gps_x>\n"
            "\t\t<gps_y>-2.000000</gps_y>\n"
            "\t</content>\n");
}

TEST(ContentRecord, TagIdsOutsideTheTablesAreDropped) {
  TextStream in(
      "<content>\n<theme_id>64</theme_id>\n<theme_id>-1</theme_id>\n<theme_id>two</theme_id>\n"
      "<character_id>2147483647</character_id>\n<time_id>0x3F</time_id>\n</content>\n");
  CContentItem c;
  c.Parse(in.get());
  EXPECT_EQ(c.m_themeCount, 0);
  EXPECT_EQ(c.m_characterCount, 0);
  EXPECT_EQ(c.m_timeCount, 1);
  EXPECT_TRUE(c.HasTime(63));
  EXPECT_FALSE(c.HasTheme(64));
  EXPECT_FALSE(c.HasTheme(-1));
}

TEST(ContentRecord, AListLineWithAValueCountsAsAField) {
  TextStream in("<content>\n<theme_list>x</theme_list>\n<content_id>1</content_id>\n</content>\n");
  CContentItem c;
  // Two counted fields of ten expected.
  EXPECT_EQ(c.Parse(in.get()), 0);
  EXPECT_EQ(c.m_themeCount, 0);
}

TEST(ContentRecord, OpeningTagWithAnElementOnTheSameLineDoesNotSetTheId) {
  TextStream in("<content><content_id>5</content_id>\n</content>\n");
  CContentItem c;
  c.Parse(in.get());
  EXPECT_EQ(c.m_id, 0);
}

TEST(ContentRecord, CopyResetsThePositionAndIconButNotTheMarks) {
  CContentItem source;
  source.m_id = 4;
  source.m_themes[2] = true;
  source.m_themeCount = 1;
  CopyText(source.m_filename, sizeof source.m_filename, "v.mp4");
  source.m_screenX = 10;
  source.m_iconIndex = 3;
  source.m_related = true;
  CContentItem copy;
  copy.m_screenY = 7;
  copy.CopyFrom(source);
  EXPECT_EQ(copy.m_id, 4);
  EXPECT_TRUE(copy.HasTheme(2));
  EXPECT_EQ(copy.m_themeCount, 1);
  EXPECT_STREQ(copy.m_filename, "v.mp4");
  EXPECT_EQ(copy.m_screenX, 0.0);
  EXPECT_EQ(copy.m_screenY, 0.0);
  EXPECT_EQ(copy.m_iconIndex, -1);
  EXPECT_FALSE(copy.m_related);
}

TEST(RegionRecord, CopyLeavesTheRunTimeFields) {
  CRegionItem source;
  source.m_id = 2;
  source.m_gpsX = 1.0;
  source.m_active = true;
  source.m_contentCount = 5;
  source.m_screenX = 9;
  CRegionItem copy;
  copy.CopyFrom(source);
  EXPECT_EQ(copy.m_id, 2);
  EXPECT_EQ(copy.m_gpsX, 1.0);
  EXPECT_FALSE(copy.m_active);
  EXPECT_EQ(copy.m_contentCount, 0);
  EXPECT_EQ(copy.m_screenX, 0.0);
}

TEST(SmallRecords, WriteTheirExactLines) {
  CRegionItem region;
  region.m_id = 1;
  region.m_gpsX = 0.5;
  EXPECT_EQ(Written(region),
            "\t<region>\n\t\t<region_id>1</region_id>\n\t\t<region_description/>\n"
            "\t\t<gps_x>0.500000</gps_x>\n\t\t<gps_y>0.000000</gps_y>\n\t</region>\n");
  CRelationshipItem rel;
  rel.m_id = 2;
  CopyText(rel.m_type, sizeof rel.m_type, "theme");
  rel.m_id1 = 3;
  rel.m_id2 = 4;
  EXPECT_EQ(Written(rel),
            "\t<relationship>\n\t\t<relationship_id>2</relationship_id>\n"
            "\t\t<type>theme</type>\n\t\t<id1>3</id1>\n\t\t<id2>4</id2>\n\t</relationship>\n");
  CCharacterItem character;
  character.m_id = 5;
  CopyText(character.m_name, sizeof character.m_name, "Nan");
  EXPECT_EQ(Written(character),
            "\t<character>\n\t\t<character_id>5</character_id>\n"
            "\t\t<character_name>Nan</character_name>\n\t</character>\n");
  CLocationItem location;
  EXPECT_EQ(Written(location),
            "\t<location>\n\t\t<location_id>0</location_id>\n\t\t<location_desc/>\n"
            "\t</location>\n");
  CThemeItem theme;
  theme.m_id = 6;
  EXPECT_EQ(Written(theme),
            "\t<theme>\n\t\t<theme_id>6</theme_id>\n\t\t<theme_desc/>\n\t</theme>\n");
  CTimeItem time;
  CopyText(time.m_description, sizeof time.m_description, "%s%n");
  EXPECT_EQ(Written(time),
            "\t<time>\n\t\t<time_id>0</time_id>\n\t\t<time_desc>%s%n</time_desc>\n\t</time>\n");
}

TEST(SmallRecords, ParseBackWhatTheyWrite) {
  TextStream in(
      "\t<relationship>\n\t\t<relationship_id>2</relationship_id>\n\t\t<type>theme</type>\n"
      "\t\t<id1>3</id1>\n\t\t<id2>4</id2>\n\t</relationship>\n"
      "\t<location>\n\t\t<location_id>7</location_id>\n\t\t<location_desc>Pier</location_desc>\n"
      "\t</location>\n");
  CRelationshipItem rel;
  EXPECT_EQ(rel.Parse(in.get()), 1);
  EXPECT_EQ(rel.m_id2, 4);
  EXPECT_STREQ(rel.m_type, "theme");
  CLocationItem location;
  EXPECT_EQ(location.Parse(in.get()), 1);
  EXPECT_EQ(location.Id(), 7);
  EXPECT_STREQ(location.Description(), "Pier");
}

TEST(UserRecord, ParsesHistoryAndWritesItBack) {
  TextStream in(
      "<user_context>\n\t<user_id>4</user_id>\n\t<username>Bo</username>\n"
      "\t<viewed_id>3--1.5</viewed_id>\n\t<viewed_id>9</viewed_id>\n"
      "\t<duration>12.345</duration>\n</user_context>\n");
  CUserContext user;
  EXPECT_EQ(user.Parse(in.get()), 1);
  EXPECT_EQ(user.m_viewedCount, 2);
  EXPECT_EQ(user.ViewedTime(1), 0.0);
  EXPECT_EQ(Written(user),
            "<user_context>\n\t<user_id>4</user_id>\n\t<username>Bo</username>\n"
            "\t<viewed_id>3--1.500000</viewed_id>\n\t<viewed_id>9--0.000000</viewed_id>\n"
            "\t<duration>12.35</duration>\n</user_context>\n");
}

TEST(UserRecord, NoViewingsAndNoNameStillWriteDuration) {
  CUserContext user;
  user.Reset();
  user.m_id = 0;
  EXPECT_EQ(Written(user),
            "<user_context>\n\t<user_id>0</user_id>\n\t<username/>\n"
            "\t<duration>0.00</duration>\n</user_context>\n");
}

TEST(UserRecord, HistoryStopsAt512Entries) {
  std::string text = "<user_context>\n<user_id>1</user_id>\n";
  for (int i = 0; i < 600; ++i) text += "<viewed_id>" + std::to_string(i) + "--0.5</viewed_id>\n";
  text += "</user_context>\n";
  TextStream in(text);
  CUserContext user;
  user.Parse(in.get());
  EXPECT_EQ(user.m_viewedCount, USER_MAX_VIEWED);
  EXPECT_EQ(user.ViewedId(511), 511);
  CUserContext copy;
  copy.CopyFrom(user);
  EXPECT_EQ(copy.m_viewedCount, USER_MAX_VIEWED);
  EXPECT_EQ(copy.ViewedId(511), 511);
  copy.AddViewed(1000);
  EXPECT_EQ(copy.m_viewedCount, USER_MAX_VIEWED);
  EXPECT_EQ(copy.FindViewed(1000), -1);
}

TEST(ContentRecord, ATitleIsOptionalUncountedAndWrittenBackOnlyWhenRead) {
  TextStream in(
      "<content>\n<title>Caf&#233; &amp; quay \xC3\xA9</title>\n<content_id>3</content_id>\n"
      "<region_id>1</region_id>\n</content>\n");
  CContentItem c;
  EXPECT_EQ(c.Parse(in.get()), 0);  // two of ten counted fields, the title not among them
  EXPECT_TRUE(c.m_hasTitle);
  CContentItem copy;
  copy.CopyFrom(c);
  const std::string written = Written(copy);
  // The stored bytes go back as they were, entities and all.
  EXPECT_NE(written.find("\t\t<thumbnail/>\n\t\t<title>Caf&#233; &amp; quay \xC3\xA9</title>\n"),
            std::string::npos)
      << written;
  copy.m_hasTitle = false;
  EXPECT_EQ(Written(copy).find("<title>"), std::string::npos);
}
