// Stored texts to numbers and flags, and the editor's version text to its whole number.

#include "quillon/stored_values.h"

#include <gtest/gtest.h>

#include "host/error.h"

namespace quillon {
namespace {

TEST(StoredValues, WholeNumbersWithinThirtyTwoBits) {
  EXPECT_EQ(ParseWholeNumber(u"0"), 0);
  EXPECT_EQ(ParseWholeNumber(u"  42 "), 42);
  EXPECT_EQ(ParseWholeNumber(u"-7"), -7);
  EXPECT_EQ(ParseWholeNumber(u"+7"), 7);
  EXPECT_EQ(ParseWholeNumber(u"1890"), 1890) << "every digit";
  EXPECT_EQ(ParseWholeNumber(u"2147483647"), 2147483647);
  EXPECT_EQ(ParseWholeNumber(u"-2147483648"), -2147483647 - 1);
  EXPECT_EQ(ParseWholeNumber(u"2147483648"), std::nullopt);
  EXPECT_EQ(ParseWholeNumber(u"-2147483649"), std::nullopt);
  EXPECT_EQ(ParseWholeNumber(u"99999999999999999999"), std::nullopt);
  for (const char16_t* bad : {u"", u" ", u"-", u"1 2", u"12abc", u"1.5", u"0x10", u"\uFF11"})
    EXPECT_EQ(ParseWholeNumber(bad), std::nullopt) << host::ToUtf8(bad);
}

TEST(StoredValues, FlagsAreWordsOrNumbers) {
  EXPECT_EQ(ParseFlag(u"True"), true);
  EXPECT_EQ(ParseFlag(u"FALSE"), false);
  EXPECT_EQ(ParseFlag(u" true "), true);
  EXPECT_EQ(ParseFlag(u"0"), false);
  EXPECT_EQ(ParseFlag(u"-1"), true);
  EXPECT_EQ(ParseFlag(u"Yes"), std::nullopt);
  EXPECT_EQ(ParseFlag(u"xrue"), std::nullopt) << "every letter counts";
  EXPECT_EQ(ParseFlag(u"trux"), std::nullopt) << "to the last";
  EXPECT_EQ(ParseFlag(u""), std::nullopt);
  EXPECT_EQ(FormatFlag(true), u"True");
  EXPECT_EQ(FormatFlag(false), u"False");
  EXPECT_EQ(FormatWholeNumber(-2147483648LL), u"-2147483648");
}

TEST(EditorVersion, RoundsToTheNearestWholeNumber) {
  EXPECT_EQ(EditorVersionNumber(u"6.00"), 6);
  EXPECT_EQ(EditorVersionNumber(u"7.00"), 7);
  EXPECT_EQ(EditorVersionNumber(u"7.01"), 7);
  EXPECT_EQ(EditorVersionNumber(u"7,01"), 7) << "a decimal comma reads the same";
  EXPECT_EQ(EditorVersionNumber(u"6.51"), 7);
  EXPECT_EQ(EditorVersionNumber(u"6.5"), 6) << "halves go to the even neighbour";
  EXPECT_EQ(EditorVersionNumber(u"7.5"), 8);
  EXPECT_EQ(EditorVersionNumber(u"8.5"), 8);
  EXPECT_EQ(EditorVersionNumber(u"9.5"), 10);
  EXPECT_EQ(EditorVersionNumber(u"7.50001"), 8);
  EXPECT_EQ(EditorVersionNumber(u" 6 "), 6);
  EXPECT_EQ(EditorVersionNumber(u"-6.7"), -7);
}

TEST(EditorVersion, TextThatIsNoSixteenBitNumberFails) {
  for (const char16_t* bad : {u"", u"seven", u"6.00a", u"6..0", u"v7"}) {
    try {
      EditorVersionNumber(bad);
      ADD_FAILURE() << host::ToUtf8(bad);
    } catch (const host::HostError& e) {
      EXPECT_EQ(e.Code(), host::codes::kTypeMismatch);
    }
  }
  try {
    EditorVersionNumber(u"32768");
    ADD_FAILURE();
  } catch (const host::HostError& e) {
    EXPECT_EQ(e.Code(), host::codes::kOverflow);
  }
  EXPECT_EQ(EditorVersionNumber(u"32767.4"), 32767);
  EXPECT_EQ(EditorVersionNumber(u"-32768"), -32768) << "the lower bound fits too";
  EXPECT_THROW(EditorVersionNumber(u"-32769"), host::HostError);
}

}  // namespace
}  // namespace quillon
