// What the buttons tell on hover, in step with every change of their captions.

#include "quillon/tooltips.h"

#include <gtest/gtest.h>

#include "quillon/entry_points.h"
#include "tests/quillon/live_session.h"

namespace quillon::testing {
namespace {

const host::Text kFreeBookmark = u"Click to remember where the caret is";
const host::Text kFreeBuffer = u"Click to copy the selected code into this buffer";

TEST(Tooltips, ABufferShowsAtMostFiveLinesAndTwoHundredCharactersThenItsLineCount) {
  EXPECT_EQ(BufferTooltip(u"x = 1"), u"x = 1\n(1 line)");
  EXPECT_EQ(BufferTooltip(u"a\nb\nc\nd\ne"), u"a\nb\nc\nd\ne\n(5 lines)") << "five: all of them";
  EXPECT_EQ(BufferTooltip(u"a\nb\nc\nd\ne\nf\ng"), u"a\nb\nc\nd\ne\u2026\n(7 lines)");
  const host::Text wide(300, u'w');
  EXPECT_EQ(BufferTooltip(wide), host::Text(200, u'w') + u"\u2026\n(1 line)");
  EXPECT_EQ(BufferTooltip(host::Text(200, u'w')), host::Text(200, u'w') + u"\n(1 line)");
  EXPECT_EQ(BufferTooltip(u"a\n" + wide), u"a\n" + host::Text(198, u'w') + u"\u2026\n(2 lines)");
  EXPECT_EQ(BookmarkTooltip(u"B.xlsm - M -  Line 1"),
            u"B.xlsm - M -  Line 1\nClick to go there; Shift+click to set it here");
}

TEST(Tooltips, KeepInStepWithEveryCaption) {
  LiveSession s(WithSounds()
                    .Project(u"Budget", u"C:\\Work\\Budget_07.xlsm")
                    .Module(u"Module1", u"Sub Main()\n    x = 1\n    y = 2\nEnd Sub\n"));
  const auto module = s.Component(u"Budget", u"Module1");
  for (int i = 1; i <= 5; ++i) {
    EXPECT_EQ(s.Bookmark(i)->TooltipShown(), kFreeBookmark) << "built " << i;
    EXPECT_EQ(s.Buffer(i)->TooltipShown(), kFreeBuffer) << "built " << i;
  }

  s.Caret(module, 3);
  s.Bookmark(1)->Click();
  EXPECT_EQ(s.Bookmark(1)->TooltipShown(), BookmarkTooltip(s.Bookmark(1)->CaptionShown()));
  s.host.editor->Projects().front()->SetFileName(u"C:\\Work\\Budget_08.xlsm");
  s.Bookmark(1)->Click();
  EXPECT_EQ(s.Bookmark(1)->TooltipShown(),
            BookmarkTooltip(u"Budget_08.xlsm - Module1 - Main - Line 2"))
      << "followed to the next version";
  s.Bookmark(6)->Click();
  EXPECT_EQ(s.Bookmark(1)->TooltipShown(), kFreeBookmark) << "reset";

  s.Select(module, {2, 5, 3, 6});
  s.Buffer(2)->Click();
  EXPECT_EQ(s.Buffer(2)->TooltipShown(), u"x = 1\n    y\n(2 lines)");
  s.Buffer(6)->Click();
  EXPECT_EQ(s.Buffer(2)->TooltipShown(), kFreeBuffer) << "cleared";
}

TEST(Tooltips, ARestoredOrDiscardedBookmarkTellsItsNewState) {
  LiveSession s(WithSounds()
                    .Setting(u"Razurid", u"Bookmarks\\EXCEL", u"1", u"Gone.xlsm|Module1||1")
                    .Project(u"Budget", u"C:\\Work\\Budget.xlsm")
                    .Module(u"Module1"));
  EXPECT_EQ(s.Bookmark(1)->TooltipShown(), BookmarkTooltip(u"Gone.xlsm - Module1 -  Line 1"));
  s.Bookmark(1)->Click();  // no such workbook open: the message, and the bookmark stays
  EXPECT_EQ(s.Bookmark(1)->TooltipShown(), BookmarkTooltip(u"Gone.xlsm - Module1 -  Line 1"));
  s.Bookmark(6)->Click();
  EXPECT_EQ(s.Bookmark(1)->TooltipShown(), kFreeBookmark);
}

TEST(Tooltips, ARefusedTooltipNeverFailsTheAction) {
  LiveSession s(WithSounds().Project(u"Budget", u"C:\\Work\\Budget_07.xlsm").Module(u"Module1"));
  s.host.calls->FailOn("CommandBarButton.TooltipText=");
  s.Caret(s.Component(u"Budget", u"Module1"), 1);
  EXPECT_NO_THROW(s.Bookmark(1)->Click());
  EXPECT_EQ(s.Bookmark(1)->DescriptionShown(), u"Budget_07.xlsm|Module1||1");
  EXPECT_NO_THROW(s.addin.AddinInstance_OnConnection(s.host.editor)) << "nor the connection";
}

// A used bookmark's tooltip refused once and then twice: its place alone, then none, but never
// the free button's "Click to remember" on a button that holds a bookmark.
TEST(Tooltips, ARefusedTooltipIsTriedShortThenEmpty) {
  const auto set = [](int refusals) {
    auto s = std::make_unique<LiveSession>(
        WithSounds().Project(u"Budget", u"C:\\Work\\Budget_07.xlsm").Module(u"Module1"));
    s->Caret(s->Component(u"Budget", u"Module1"), 1);
    if (refusals > 0) s->host.calls->FailOn("CommandBarButton.TooltipText=", 1, refusals);
    s->Bookmark(1)->Click();
    return s->Bookmark(1)->TooltipShown();
  };
  EXPECT_EQ(set(0), BookmarkTooltip(u"Budget_07.xlsm - Module1 -  Line 1"));
  EXPECT_EQ(set(1), u"Budget_07.xlsm - Module1 -  Line 1\u2026");
  EXPECT_EQ(set(2), u"");
  EXPECT_EQ(set(3), kFreeBookmark) << "refused even empty: nothing more can be done";
}

TEST(Tooltips, AShortenedTooltipIsItsFirstLineUpToEightyCharacters) {
  LiveSession s(WithSounds());
  const auto shortened = [&](const host::Text& tooltip) {
    const auto button = s.Bookmark(1);
    s.host.calls->FailOn("CommandBarButton.TooltipText=", 1);
    ShowTooltip(*button->AsButton(), tooltip);
    return button->TooltipShown();
  };
  EXPECT_EQ(shortened(host::Text(100, u'a')), host::Text(80, u'a') + u"\u2026");
  EXPECT_EQ(shortened(host::Text(79, u'a') + u"\U0001F600"), host::Text(79, u'a') + u"\u2026")
      << "a surrogate pair is never parted";
  EXPECT_EQ(shortened(u"one line"), u"") << "nothing shorter to try: none";
}

// Where a preview or a shortened tooltip is cut: before a high surrogate whose pair would be
// parted (the first and last of the high range too), never after a text that fits whole, and
// before a lone high surrogate as well.
TEST(Tooltips, ACutStopsBeforeAHighSurrogateAtTheCut) {
  const host::Text w199(199, u'w');
  for (const host::Text& after :
       {host::Text(u"\U00010000"), host::Text(u"\U0010FFFF"), host::Text(u"\xD83Dx")})
    EXPECT_EQ(BufferTooltip(w199 + after + u"tail"), w199 + u"\u2026\n(1 line)");
  EXPECT_EQ(BufferTooltip(w199 + u"\xD83D"), w199 + u"\xD83D\n(1 line)") << "fits whole";
  EXPECT_EQ(BufferTooltip(u"\nsecond"), u"\nsecond\n(2 lines)");

  LiveSession s(WithSounds());
  const auto shortened = [&](const host::Text& tooltip) {
    s.host.calls->FailOn("CommandBarButton.TooltipText=", 1);
    ShowTooltip(*s.Bookmark(1)->AsButton(), tooltip);
    return s.Bookmark(1)->TooltipShown();
  };
  EXPECT_EQ(shortened(u"\nsecond line"), u"\u2026") << "an empty first line";
  EXPECT_EQ(shortened(u"\xD83D\nsecond line"), u"\u2026") << "a lone high surrogate";
}

TEST(Tooltips, ABufferPreviewNeverPartsASurrogatePair) {
  const host::Text smile = u"\U0001F600";
  const host::Text text = host::Text(199, u'w') + smile + u"tail";
  EXPECT_EQ(BufferTooltip(text), host::Text(199, u'w') + u"\u2026\n(1 line)");
  EXPECT_EQ(BufferTooltip(host::Text(198, u'w') + smile + u"x"),
            host::Text(198, u'w') + smile + u"\u2026\n(1 line)");
}

}  // namespace
}  // namespace quillon::testing
