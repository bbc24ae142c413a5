// Dialog templates: the embedded relationships dialog as data, the text form's parser on
// bad input, and dialog units in pixels.
#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "platform/windowing/detail/dialog_template.h"
#include "platform/graphics/detail/resources.h"

namespace {

using platform::DialogControlKind;
using platform::DialogTemplate;
using platform::ParseDialogTemplate;

TEST(DialogTemplate, RelationshipsDialogIsEmbeddedWithItsControls) {
  platform::ResourceBytes bytes = platform::FindResource(113, "DIALOG");
  ASSERT_TRUE(bytes);
  std::string error;
  std::optional<DialogTemplate> t = ParseDialogTemplate(
      std::string_view(reinterpret_cast<const char*>(bytes.data), bytes.size), &error);
  ASSERT_TRUE(t) << error;

  EXPECT_EQ(t->style, 0x80C800C0u);
  EXPECT_EQ(t->exStyle, 0u);
  EXPECT_EQ(t->x, 0);
  EXPECT_EQ(t->y, 0);
  EXPECT_EQ(t->cx, 154);
  EXPECT_EQ(t->cy, 66);
  EXPECT_EQ(t->caption, "Set Relationships");
  EXPECT_EQ(t->fontName, "MS Sans Serif");
  EXPECT_EQ(t->fontPoints, 8);

  struct Expected {
    int id;
    const char* text;
    DWORD style;
    DialogControlKind kind;
    int x, y, cx, cy;
  };
  const Expected expected[] = {
      {1, "OK", 0x50010001, DialogControlKind::DefaultPushButton, 20, 45, 50, 14},
      {2, "Cancel", 0x50010000, DialogControlKind::PushButton, 83, 45, 50, 14},
      {1000, "Location", 0x50010003, DialogControlKind::AutoCheckBox, 20, 9, 43, 10},
      {1001, "Themes", 0x50010003, DialogControlKind::AutoCheckBox, 92, 9, 41, 10},
      {1002, "Characters", 0x50010003, DialogControlKind::AutoCheckBox, 20, 27, 50, 10},
      {1003, "Times", 0x50010003, DialogControlKind::AutoCheckBox, 92, 27, 35, 10},
  };
  ASSERT_EQ(t->controls.size(), std::size(expected));
  for (size_t i = 0; i < std::size(expected); ++i) {
    const auto& c = t->controls[i];
    const Expected& e = expected[i];
    SCOPED_TRACE(e.text);
    EXPECT_EQ(c.id, e.id);
    EXPECT_EQ(c.className, "BUTTON");
    EXPECT_EQ(c.text, e.text);
    EXPECT_EQ(c.style, e.style);
    EXPECT_EQ(c.Kind(), e.kind);
    EXPECT_EQ(c.x, e.x);
    EXPECT_EQ(c.y, e.y);
    EXPECT_EQ(c.cx, e.cx);
    EXPECT_EQ(c.cy, e.cy);
    // Every control lies inside the dialog.
    EXPECT_LE(c.x + c.cx, t->cx);
    EXPECT_LE(c.y + c.cy, t->cy);
  }
  ASSERT_NE(t->FindControl(1003), nullptr);
  EXPECT_EQ(t->FindControl(1003)->text, "Times");
  EXPECT_EQ(t->FindControl(999), nullptr);

  // Loading by id, by number text, and a missing dialog.
  EXPECT_TRUE(platform::LoadDialogTemplate(nullptr, reinterpret_cast<const char*>(113)));
  EXPECT_TRUE(platform::LoadDialogTemplate(nullptr, "#113"));
  EXPECT_FALSE(platform::LoadDialogTemplate(nullptr, reinterpret_cast<const char*>(114)));
  EXPECT_FALSE(platform::LoadDialogTemplate(nullptr, "#11x"));
}

TEST(DialogTemplate, ParsesQuotesCommentsAndLineEnds) {
  std::optional<DialogTemplate> t = ParseDialogTemplate(
      "# comment\r\n\r\n  dialog 1 2 30 40\r\nCAPTION \"Say \"\"hi\"\"\"\r\n"
      "control -1 static 0 1 2 3 4 \"\"\r\nCONTROL 7 button 0x3 0 0 10 10 \"A # b\"");
  ASSERT_TRUE(t);
  EXPECT_EQ(t->caption, "Say \"hi\"");
  ASSERT_EQ(t->controls.size(), 2u);
  EXPECT_EQ(t->controls[0].id, -1);
  EXPECT_EQ(t->controls[0].className, "STATIC");
  EXPECT_EQ(t->controls[0].Kind(), DialogControlKind::Unsupported);
  EXPECT_EQ(t->controls[0].text, "");
  EXPECT_EQ(t->controls[1].text, "A # b");
  EXPECT_EQ(t->controls[1].Kind(), DialogControlKind::AutoCheckBox);
}

TEST(DialogTemplate, RejectsMalformedTextWithTheLine) {
  struct Case {
    const char* name;
    const char* text;
    const char* line;
  };
  const Case cases[] = {
      {"empty", "", "line 0"},
      {"control before dialog", "CONTROL 1 BUTTON 0 0 0 1 1 \"x\"", "line 1"},
      {"second dialog", "DIALOG 0 0 1 1\nDIALOG 0 0 1 1", "line 2"},
      {"negative size", "DIALOG 0 0 -1 1", "line 1"},
      {"huge number", "DIALOG 0 0 99999999999999999999 1", "line 1"},
      {"not a number", "DIALOG 0 0 1x 1", "line 1"},
      {"unterminated text", "DIALOG 0 0 1 1\nCAPTION \"open", "line 2"},
      {"unquoted caption", "DIALOG 0 0 1 1\nCAPTION open", "line 2"},
      {"trailing words", "DIALOG 0 0 1 1 extra", "line 1"},
      {"unknown keyword", "DIALOG 0 0 1 1\nMENU 3", "line 2"},
      {"control missing text", "DIALOG 0 0 1 1\nCONTROL 1 BUTTON 0 0 0 1 1", "line 2"},
      {"font without name", "DIALOG 0 0 1 1\nFONT 8", "line 2"},
      {"stray quote first", "\"x\"", "line 1"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string error;
    EXPECT_FALSE(ParseDialogTemplate(c.text, &error));
    EXPECT_EQ(error.rfind(c.line, 0), 0u) << error;
  }
  std::string big(70 * 1024, '#');
  EXPECT_FALSE(ParseDialogTemplate(big));
}

TEST(DialogTemplate, DialogUnitsScaleByQuartersAndEighthsOfTheBaseUnits) {
  // A font 6 pixels wide on average and 13 high: the OK button at (20, 45), 50 x 14.
  RECT ok = platform::DialogUnitsToPixels(20, 45, 50, 14, {6, 13});
  EXPECT_EQ(ok.left, 30);
  EXPECT_EQ(ok.top, 73);     // 45 * 13 / 8 = 73.1
  EXPECT_EQ(ok.right, 105);  // width 75
  EXPECT_EQ(ok.bottom, 96);  // height 22.75 rounds to 23
  RECT whole = platform::DialogUnitsToPixels(0, 0, 154, 66, {7, 16});
  EXPECT_EQ(whole.right, 270);  // 269.5 rounds up
  EXPECT_EQ(whole.bottom, 132);
  // Halves round away from zero on both sides.
  RECT negative = platform::DialogUnitsToPixels(-1, -3, 0, 0, {6, 12});
  EXPECT_EQ(negative.left, -2);  // -1.5
  EXPECT_EQ(negative.top, -5);   // -4.5

  EXPECT_EQ(platform::AverageCharWidth(312), 6);  // 52 letters of 6 pixels
  EXPECT_EQ(platform::AverageCharWidth(338), 7);  // 6.5 rounds up
  EXPECT_EQ(platform::AverageCharWidth(0), 0);
}

}  // namespace
