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

TEST(Text, MalformedInputBecomesReplacementCharacters) {
  EXPECT_EQ(FromUtf8("a\xFF"
                     "b"),
            u"a\uFFFDb");
  EXPECT_EQ(FromUtf8("\xE2\x80"), u"\uFFFD\uFFFD");
  EXPECT_EQ(ToUtf8(std::u16string(1, u'\xD800')), "\xEF\xBF\xBD");
}

}  // namespace
}  // namespace host
