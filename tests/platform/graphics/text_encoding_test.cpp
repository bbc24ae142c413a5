// Texts are bytes: valid UTF-8 is shown as it is, anything else as Windows-1252.
#include "platform/graphics/detail/text_encoding.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using platform::DisplayText;
using platform::IsValidUtf8;
using platform::Windows1252ToUtf8;

TEST(TextEncoding, RecognisesValidUtf8Only) {
  struct Case {
    const char* bytes;
    bool valid;
  };
  const Case cases[] = {
      {"", true},
      {"plain ASCII", true},
      {"caf\xC3\xA9", true},
      {"\xE2\x82\xAC 5", true},         // euro sign
      {"\xF0\x9F\x97\xBA", true},       // four bytes
      {"caf\xE9", false},               // Windows-1252 e acute
      {"\xC3", false},                  // cut short
      {"\xE2\x82", false},              // cut short
      {"\xC0\xAF", false},              // overlong slash
      {"\xE0\x80\xAF", false},          // overlong slash
      {"\xED\xA0\x80", false},          // surrogate
      {"\xF4\x90\x80\x80", false},      // past U+10FFFF
      {"\x80", false},                  // lone continuation byte
      {"\xC3\x28", false},              // lead byte without continuation
      {"\xF8\x88\x80\x80\x80", false},  // five-byte form
  };
  for (const Case& c : cases) EXPECT_EQ(IsValidUtf8(c.bytes), c.valid) << c.bytes;
}

TEST(TextEncoding, Windows1252MapsTheWholeUpperHalf) {
  EXPECT_EQ(Windows1252ToUtf8("M\xFC"
                              "nchen"),
            "M\xC3\xBCnchen");
  EXPECT_EQ(Windows1252ToUtf8("\x80"), "\xE2\x82\xAC");          // euro
  EXPECT_EQ(Windows1252ToUtf8("\x85"), "\xE2\x80\xA6");          // ellipsis
  EXPECT_EQ(Windows1252ToUtf8("\x8A\x9A"), "\xC5\xA0\xC5\xA1");  // S and s caron
  EXPECT_EQ(Windows1252ToUtf8("\x93q\x94"), "\xE2\x80\x9Cq\xE2\x80\x9D");
  EXPECT_EQ(Windows1252ToUtf8("\x9F"), "\xC5\xB8");  // Y diaeresis
  EXPECT_EQ(Windows1252ToUtf8("\xA0\xFF"), "\xC2\xA0\xC3\xBF");
  for (const char* undefined : {"\x81", "\x8D", "\x8F", "\x90", "\x9D"}) {
    EXPECT_EQ(Windows1252ToUtf8(undefined), "\xEF\xBF\xBD");
  }
  // Every byte gives valid UTF-8.
  std::string all;
  for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
  EXPECT_TRUE(IsValidUtf8(Windows1252ToUtf8(all)));
}

TEST(TextEncoding, DisplayTextChoosesPerText) {
  EXPECT_EQ(DisplayText("Caf\xC3\xA9 am Markt"), "Caf\xC3\xA9 am Markt");
  EXPECT_EQ(DisplayText("Caf\xE9 am Markt"), "Caf\xC3\xA9 am Markt");
  // One invalid byte makes the whole text Windows-1252, including bytes that looked
  // like UTF-8 on their own.
  EXPECT_EQ(DisplayText("\xC3\xA9\xE9"), "\xC3\x83\xC2\xA9\xC3\xA9");
  EXPECT_EQ(DisplayText("a\tb\nc\x7F"), "a b c ");
  // Entities of files written for other XML tools show as their characters, once.
  EXPECT_EQ(DisplayText("Castle &amp; &lt;Barbican&gt; &amp;amp; &quot;&apos; & &ampx"),
            "Castle & <Barbican> &amp; \"' & &ampx");
}

}  // namespace
