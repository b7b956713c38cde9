// Conversions at the edges keep every character, including those beyond the basic plane.

#include "host/text.h"

#include <gtest/gtest.h>

namespace host {
namespace {

TEST(Text, Utf8RoundTripKeepsEveryCharacter) {
  const Text text = u"Budget_\u00e9t\u00e9 \u2026 \U0001F600 \u65e5\u672c";
  EXPECT_EQ(FromUtf8(ToUtf8(text)), text);
  EXPECT_EQ(ToUtf8(u"\u2026"), "\xE2\x80\xA6");
  EXPECT_EQ(FromUtf8("\xF0\x9F\x98\x80").size(), 2u) << "a surrogate pair, as the editor counts";
}

TEST(Text, EverySequenceLengthHasItsExactBytesBothWays) {
  const struct {
    Text utf16;
    std::string utf8;
  } cases[] = {
      {u"A", "A"},
      {u"\u007F", "\x7F"},
      {u"\u0080", "\xC2\x80"},
      {u"\u00A9", "\xC2\xA9"},  // ©
      {u"\u0416", "\xD0\x96"},  // Ж
      {u"\u07FF", "\xDF\xBF"},
      {u"\u0800", "\xE0\xA0\x80"},
      {u"\u8000", "\xE8\x80\x80"},
      {u"\uE000", "\xEE\x80\x80"},
      {u"\uFFFF", "\xEF\xBF\xBF"},
      {u"\U00010000", "\xF0\x90\x80\x80"},
      {u"\U0001F600", "\xF0\x9F\x98\x80"},
      {u"\U0010FFFF", "\xF4\x8F\xBF\xBF"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ToUtf8(c.utf16), c.utf8) << c.utf8;
    EXPECT_EQ(FromUtf8(c.utf8), c.utf16) << c.utf8;
  }
}

TEST(Text, OnlyAHighSurrogateFollowedByALowOneMakesOneCharacter) {
  const std::string replacement = "\xEF\xBF\xBD";
  EXPECT_EQ(ToUtf8(Text{0xD83D, 0xDE00}), "\xF0\x9F\x98\x80");
  EXPECT_EQ(ToUtf8(Text{0xD83D}), replacement) << "a high one at the end";
  EXPECT_EQ(ToUtf8(Text{0xDE00}), replacement) << "a low one alone";
  EXPECT_EQ(ToUtf8(Text{0xD83D, u'A'}), replacement + "A");
  EXPECT_EQ(ToUtf8(Text{0xDE00, 0xD83D}), replacement + replacement) << "the wrong way round";
  EXPECT_EQ(ToUtf8(Text{0xDBFF, 0xDFFF}), "\xF4\x8F\xBF\xBF");
  EXPECT_EQ(ToUtf8(Text{0xD83D, 0xE000}), replacement + "\xEE\x80\x80") << "above the low range";
  const Text pair{0xD83D, 0xDE00};
  EXPECT_EQ(ToUtf8(std::u16string_view(pair).substr(0, 1)), replacement)
      << "never reads past the end of the text it was given";
  EXPECT_EQ(FromUtf8("\xED\xA0\x80"), u"\uFFFD\uFFFD\uFFFD") << "no surrogate has a UTF-8 form";
}

TEST(Text, MalformedInputBecomesReplacementCharacters) {
  EXPECT_EQ(FromUtf8("a\xFF"
                     "b"),
            u"a\uFFFDb");
  EXPECT_EQ(FromUtf8("\xE2\x80"), u"\uFFFD\uFFFD");
  EXPECT_EQ(ToUtf8(std::u16string(1, u'\xD800')), "\xEF\xBF\xBD");
}

TEST(Text, NamesCompareWithOnlyAsciiLettersFolded) {
  EXPECT_TRUE(EqualsIgnoringAsciiCase(u"ListBox", u"LISTBOX"));
  EXPECT_TRUE(EqualsIgnoringAsciiCase(u"&Hilfe", u"&hilfe"));
  EXPECT_FALSE(EqualsIgnoringAsciiCase(u"\u00c4nderung", u"\u00e4nderung")) << "ASCII letters only";
  EXPECT_FALSE(EqualsIgnoringAsciiCase(u"Static", u"Statics"));
  EXPECT_FALSE(EqualsIgnoringAsciiCase(u"@", u"`")) << "not letters";
}

}  // namespace
}  // namespace host
