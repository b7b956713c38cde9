// The bookmark's texts, reading them back, the project match and the version pattern.

#include "quillon/bookmark_record.h"

#include <gtest/gtest.h>

#include "host/error.h"
#include "quillon/wildcard.h"

namespace quillon {
namespace {

TEST(BookmarkText, ThreeFormsKeepTheirOwnSpacingAndFields) {
  const auto p = ProcedureBookmark(u"Book1.xlsm", u"Module1", u"Main", 3);
  EXPECT_EQ(p.record, u"Book1.xlsm|Module1|Main|3");
  EXPECT_EQ(p.caption, u"Book1.xlsm - Module1 - Main - Line 3");
  EXPECT_EQ(ProcedureBookmark(u"B.xlsm", u"M", u"Main", -2).caption,
            u"B.xlsm - M - Main - Line -2");

  const auto m = ModuleBookmark(u"Book1.xlsm", u"Module1", 1);
  EXPECT_EQ(m.record, u"Book1.xlsm|Module1||1") << "an empty procedure field";
  EXPECT_EQ(m.caption, u"Book1.xlsm - Module1 -  Line 1") << "two spaces before Line";

  const auto d = DesignerBookmark(u"Book1.xlsm", u"UserForm1");
  EXPECT_EQ(d.record, u"Book1.xlsm|UserForm1|Designer") << "three fields, no line";
  EXPECT_EQ(d.caption, u"Book1.xlsm - Userform: UserForm1");
}

TEST(BookmarkText, FileFieldIsTheTextAfterTheLastBackslashOrSlash) {
  EXPECT_EQ(FileField(u"C:\\Work\\2024\\Budget_07.xlsm"), u"Budget_07.xlsm");
  EXPECT_EQ(FileField(u"https://d.docs.live.net/1a2b/Budget_07.xlsm"), u"Budget_07.xlsm");
  EXPECT_EQ(FileField(u"https://contoso.sharepoint.com/sites/F/Shared Documents\\x/B.xlsm"),
            u"B.xlsm");
  EXPECT_EQ(FileField(u"Budget_07.xlsm"), u"Budget_07.xlsm");
  EXPECT_EQ(FileField(u"C:\\Work\\"), u"");
}

TEST(BookmarkText, RecordsSplitAtEveryBarAndLinesReadAsThirtyTwoBits) {
  EXPECT_EQ(SplitRecord(u"a|b||4"), (std::vector<host::Text>{u"a", u"b", u"", u"4"}));
  EXPECT_EQ(SplitRecord(u"a|b|Designer").size(), 3u);
  EXPECT_THROW(Field(SplitRecord(u"a|b|Designer"), 3), host::HostError);
  EXPECT_EQ(RecordedLine(u"40000"), 40000) << "a long module's line leads back there";
  EXPECT_EQ(RecordedLine(u"-2"), -2);
  EXPECT_EQ(RecordedLine(u"2147483647"), 2147483647);
  for (const char16_t* bad : {u"", u"x", u"2147483648", u"99999999999999999999", u"4|5"})
    EXPECT_THROW(RecordedLine(bad), host::HostError) << host::ToUtf8(bad);
}

TEST(ProjectMatch, OnANameBoundaryOnly) {
  EXPECT_TRUE(ProjectMatches(u"C:\\Work\\Book1.xlsm", u"Book1.xlsm"));
  EXPECT_TRUE(ProjectMatches(u"Book1.xlsm", u"Book1.xlsm"));
  EXPECT_TRUE(ProjectMatches(u"https://host/sites/Book1.xlsm", u"Book1.xlsm"));
  EXPECT_FALSE(ProjectMatches(u"C:\\Work\\MyBook1.xlsm", u"Book1.xlsm"));
  EXPECT_FALSE(ProjectMatches(u"C:\\Work\\book1.xlsm", u"Book1.xlsm")) << "case counts";
  EXPECT_FALSE(ProjectMatches(u"C:\\Work\\Book1.xlsm", u""));
  EXPECT_FALSE(ProjectMatches(u"C:\\a.xlsm", u"Budget_07.xlsm")) << "a path shorter than the name";
  EXPECT_FALSE(ProjectMatches(u"Book2.xlsm", u"Book1.xlsm")) << "as long, and another";
}

TEST(VersionPatterns, FollowTheNumberBeforeTheExtension) {
  EXPECT_EQ(VersionPattern(u"Budget_07.xlsm"), u"Budget_*.xlsm");
  EXPECT_EQ(VersionPattern(u"Book12"), u"Book*");
  EXPECT_EQ(VersionPattern(u"2024.xlsm"), u"*.xlsm");
  EXPECT_EQ(VersionPattern(u"Report.xlsm"), u"");
  EXPECT_EQ(VersionPattern(u"Book1.2x.xlsm"), u"");
  EXPECT_EQ(VersionPattern(u""), u"");
  EXPECT_TRUE(MatchesWildcard(u"Budget_08.xlsm", VersionPattern(u"Budget_07.xlsm")));
  EXPECT_TRUE(MatchesWildcard(u"Budget_.xlsm", VersionPattern(u"Budget_07.xlsm")));
  EXPECT_FALSE(MatchesWildcard(u"budget_08.xlsm", VersionPattern(u"Budget_07.xlsm")));
  EXPECT_TRUE(MatchesWildcard(u"Anything.xlsm", VersionPattern(u"2024.xlsm")));
}

TEST(VersionPatterns, KeepTheNamesOwnCharactersLiteral) {
  const auto hash = VersionPattern(u"Q#3_v2.xlsm");
  EXPECT_TRUE(MatchesWildcard(u"Q#3_v3.xlsm", hash));
  EXPECT_FALSE(MatchesWildcard(u"Q53_v3.xlsm", hash)) << "# is no digit wildcard here";
  const auto bracket = VersionPattern(u"Data[v2.xlsm");
  EXPECT_NO_THROW(MatchesWildcard(u"Data[v3.xlsm", bracket));
  EXPECT_TRUE(MatchesWildcard(u"Data[v3.xlsm", bracket));
  EXPECT_FALSE(MatchesWildcard(u"Datav3.xlsm", bracket));
  const auto wild = VersionPattern(u"a*b?c7.xlsm");
  EXPECT_TRUE(MatchesWildcard(u"a*b?c8.xlsm", wild));
  EXPECT_FALSE(MatchesWildcard(u"aXXbYc8.xlsm", wild));
}

TEST(Replacing, EveryOccurrenceLeftToRightWithoutOverlap) {
  EXPECT_EQ(ReplaceAll(u"B1.xlsm|B1.xlsm_Sheet|Main|3", u"B1.xlsm", u"B2.xlsm"),
            u"B2.xlsm|B2.xlsm_Sheet|Main|3");
  EXPECT_EQ(ReplaceAll(u"aaa", u"aa", u"b"), u"ba");
  EXPECT_EQ(ReplaceAll(u"abc", u"", u"x"), u"abc");
}

TEST(Wildcards, TheFullSyntax) {
  struct Case {
    const char16_t* name;
    const char16_t* pattern;
    bool matches;
  };
  const Case cases[] = {
      {u"", u"", true},
      {u"", u"*", true},
      {u"a", u"", false},
      {u"abc", u"a*c", true},
      {u"ac", u"a*c", true},
      {u"abcd", u"a*c", false},
      {u"abc", u"a?c", true},
      {u"ac", u"a?c", false},
      {u"a1c", u"a#c", true},
      {u"abc", u"a#c", false},
      {u"b", u"[a-c]", true},
      {u"d", u"[a-c]", false},
      {u"d", u"[!a-c]", true},
      {u"b", u"[!a-c]", false},
      {u"!", u"[!a]", true},
      {u"-", u"[-a]", true},
      {u"-", u"[a-]", true},
      {u"*", u"[*]", true},
      {u"x", u"[*]", false},
      {u"[", u"[[]", true},
      {u"]", u"]", true},
      {u"ab", u"a[]b", true},
      {u"B", u"[a-z]", false},
      {u"x.xlsm", u"*.xlsm", true},
      {u"x.xlsx", u"*.xlsm", false},
      {u"\u00e9", u"?", true},
      {u"a!", u"a!", true},
      {u"0", u"#", true},
      {u"9", u"#", true},
      {u"/", u"#", false},
      {u":", u"#", false},
      {u"a", u"[a-a]", true},
      {u"b", u"[a-a]", false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(MatchesWildcard(c.name, c.pattern), c.matches)
        << host::ToUtf8(c.name) << " ~ " << host::ToUtf8(c.pattern);
}

TEST(Wildcards, MalformedPatternsAreErrors) {
  EXPECT_THROW(MatchesWildcard(u"a", u"[a"), host::HostError);
  EXPECT_THROW(MatchesWildcard(u"a", u"[z-a]"), host::HostError);
}

TEST(Wildcards, AnAdversarialPatternTakesWorkLinearInTheName) {
  // Backtracking matchers take exponential work on this; the table takes length times length.
  host::Text pattern;
  for (int i = 0; i < 60; ++i) pattern += u"*a";
  pattern += u"b";
  std::size_t steps = 0;
  EXPECT_FALSE(MatchesWildcard(host::Text(4000, u'a'), pattern, &steps));
  EXPECT_EQ(steps, 121u * 4000u) << "one step per name character per pattern element";
  std::size_t twice = 0;
  EXPECT_FALSE(MatchesWildcard(host::Text(8000, u'a'), pattern, &twice));
  EXPECT_EQ(twice, 2 * steps);
}

}  // namespace
}  // namespace quillon
