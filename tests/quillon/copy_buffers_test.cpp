// Capturing selections into the five buffers, pasting them over later selections, clearing, on
// the simulated editor.

#include "quillon/copy_buffers.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "host/error.h"
#include "host/sim/fidelity.h"
#include "quillon/entry_points.h"
#include "tests/quillon/live_session.h"

namespace quillon::testing {
namespace {

using host::sim::SimHostBuilder;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

const char16_t kCode[] =
    u"Sub One()\n"                    // 1
    u"    x = 1\n"                    // 2
    u"    y = \"  spaced text  \"\n"  // 3
    u"    z = 3\n"                    // 4
    u"\n"                             // 5
    u"\n"                             // 6
    u"End Sub\n"                      // 7
    u"abcdefghijklmnopqrstuvwxyz\n"   // 8
    u"12345678901234567890\n"         // 9
    u"0123456789\n";                  // 10

struct CopySession : LiveSession {
  CopySession()
      : LiveSession(WithSounds()
                        .Project(u"P", u"C:\\P.xlsm")
                        .Module(u"Other", u"first\nsecond")
                        .Module(u"Code", kCode)) {}
  std::shared_ptr<host::sim::SimComponent> Code() const { return Component(u"P", u"Code"); }
  std::shared_ptr<host::sim::SimComponent> Other() const { return Component(u"P", u"Other"); }
  mCopyPaste& Buffers() const { return dynamic_cast<EntryPoints&>(*addin.Actions()).CopyPaste(); }
  void Capture(int button, host::Selection selection) const {
    Select(Code(), selection);
    Buffer(button)->Click();
  }
};

TEST(CountLineFeeds, TheFiveExamples) {
  EXPECT_EQ(CountLineFeeds(u""), (LineFeeds{0, 0}));
  EXPECT_EQ(CountLineFeeds(u"abc"), (LineFeeds{0, 3}));
  EXPECT_EQ(CountLineFeeds(u"a\nbc"), (LineFeeds{1, 2}));
  EXPECT_EQ(CountLineFeeds(u"abc\n"), (LineFeeds{1, 0}));
  EXPECT_EQ(CountLineFeeds(u"\n\n"), (LineFeeds{2, 0}));
}

TEST(SummaryCaption, TwentyCharactersThenTheEllipsis) {
  EXPECT_EQ(SummaryCaption(u"12345678901234567890", false), u"12345678901234567890");
  EXPECT_EQ(SummaryCaption(u"123456789012345678901", false), u"12345678901234567890\u2026");
  EXPECT_EQ(SummaryCaption(u"  text  ", false), u"text");
  EXPECT_EQ(SummaryCaption(u"\ttext ", false), u"\ttext") << "only spaces are trimmed";
  EXPECT_EQ(SummaryCaption(u"short", true), u"short\u2026");
  EXPECT_EQ(SummaryCaption(u"   ", true), u"\u2026");
  EXPECT_EQ(SummaryCaption(u"   ", false), u"");
  // Counted in UTF-16 code units, as the editor counts.
  EXPECT_EQ(SummaryCaption(u"\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9"
                           u"\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9",
                           false)
                .size(),
            21u);
}

TEST(Capture, KeepsSpacesInTheBufferAndTrimsThemInTheCaption) {
  CopySession s;
  s.Capture(1, {3, 10, 3, 25});
  EXPECT_EQ(s.Buffers().CopyBuffers[0], u"  spaced text  ");
  EXPECT_EQ(s.Buffer(1)->CaptionShown(), u"spaced text");
  EXPECT_EQ(s.Buffer(1)->StateShown(), host::kStateDown);
  EXPECT_THAT(s.TakeSounds(), ElementsAre("zoomin.wav"));
}

// A caption never ends in half of a character written as two code units.
TEST(SummaryCaption, CutsBeforeASurrogatePairItWouldPart) {
  const host::Text nineteen(19, u'a');
  EXPECT_EQ(SummaryCaption(nineteen + u"\U0001F600b", false), nineteen + u"\u2026");
  EXPECT_EQ(SummaryCaption(nineteen + u"b\U0001F600", false), nineteen + u"b\u2026");
  EXPECT_EQ(SummaryCaption(u"\U0001F600", false), u"\U0001F600");
}

TEST(Capture, TwentyCharactersWithoutEllipsisTwentyOneWith) {
  CopySession s;
  s.Capture(1, {9, 1, 9, 21});
  EXPECT_EQ(s.Buffer(1)->CaptionShown(), u"12345678901234567890");
  s.Capture(2, {8, 1, 8, 22});
  EXPECT_EQ(s.Buffer(2)->CaptionShown(), u"abcdefghijklmnopqrst\u2026");
  EXPECT_EQ(s.Buffers().CopyBuffers[1], u"abcdefghijklmnopqrstu");
}

// Shift+Down three times from column 1: whole lines, which keep their last line break and so
// paste as whole lines before the caret's line, the caret then at column 1 of that line.
TEST(Capture, WholeLinesKeepTheirLastLineBreakAndPasteAsWholeLines) {
  CopySession s;
  s.Capture(3, {2, 1, 5, 1});
  EXPECT_EQ(s.Buffers().CopyBuffers[2], u"    x = 1\n    y = \"  spaced text  \"\n    z = 3\n");
  EXPECT_EQ(s.Buffer(3)->CaptionShown(), u"x = 1\u2026");
  EXPECT_NE(s.Buffer(3)->TooltipShown().find(u"\n(3 lines)"), host::Text::npos);
  s.Select(s.Code(), {7, 1, 7, 1});
  s.Buffer(3)->Click();
  const auto& code = s.Code()->Code();
  EXPECT_EQ(std::vector<host::Text>(code.begin() + 6, code.begin() + 10),
            (std::vector<host::Text>{u"    x = 1", u"    y = \"  spaced text  \"", u"    z = 3",
                                     u"End Sub"}));
  EXPECT_EQ(s.Code()->Pane()->selection, (host::Selection{10, 1, 10, 1}));
  // A selection that ends inside its last line is no copy of whole lines.
  s.Capture(4, {2, 1, 4, 10});
  EXPECT_EQ(s.Buffers().CopyBuffers[3], u"    x = 1\n    y = \"  spaced text  \"\n    z = 3");
}

TEST(Capture, TrailingBlankLinesAreDroppedLeadingOnesKept) {
  CopySession s;
  s.Capture(1, {4, 1, 7, 1});
  EXPECT_EQ(s.Buffers().CopyBuffers[0], u"    z = 3\n");
  s.Capture(2, {5, 1, 7, 8});
  EXPECT_EQ(s.Buffers().CopyBuffers[1], u"\n\nEnd Sub");
  EXPECT_EQ(s.Buffer(2)->CaptionShown(), u"\u2026");
}

TEST(Capture, FromTheEndOfALineTheCaptionIsTheEllipsisAlone) {
  CopySession s;
  s.Capture(4, {1, 10, 2, 6});
  EXPECT_EQ(s.Buffers().CopyBuffers[3], u"\n    x");
  EXPECT_EQ(s.Buffer(4)->CaptionShown(), u"\u2026");
}

TEST(Capture, NothingSelectedChangesNothingAtAll) {
  CopySession s;
  s.Capture(1, {2, 3, 2, 3});
  EXPECT_EQ(s.Buffer(1)->CaptionShown(), u"Unused copy buffer");
  EXPECT_THAT(s.TakeSounds(), IsEmpty());

  // A filled buffer Shift-clicked with only a caret keeps its text, so its button tells the truth.
  s.Capture(2, {8, 1, 8, 4});
  s.TakeSounds();
  s.Select(s.Code(), {9, 2, 9, 2});
  s.ShiftClick(s.Buffer(2));
  EXPECT_EQ(s.Buffers().CopyBuffers[1], u"abc");
  EXPECT_EQ(s.Buffer(2)->CaptionShown(), u"abc");
  EXPECT_THAT(s.TakeSounds(), IsEmpty());
}

TEST(Capture, ALineThatCannotBeReadLeavesTheBufferAsItWas) {
  CopySession s;
  s.Capture(1, {8, 1, 8, 4});
  s.host.calls->FailOn("CodeModule.Lines", 1);
  s.Select(s.Code(), {2, 1, 4, 1});
  s.ShiftClick(s.Buffer(1));
  EXPECT_EQ(s.Buffers().CopyBuffers[0], u"abc");
  EXPECT_EQ(s.Buffer(1)->CaptionShown(), u"abc");
}

TEST(Capture, TheLastCharacterOfALine) {
  CopySession s;
  s.Capture(1, {10, 10, 10, 11});
  EXPECT_EQ(s.Buffers().CopyBuffers[0], u"9");
  EXPECT_EQ(s.Buffer(1)->CaptionShown(), u"9");
}

// Columns below 1 are no place in a line: whatever the editor answers, a capture or a paste over
// such a selection ends silently and changes nothing.
TEST(CopyBuffers, ASelectionWithAColumnBelowOneChangesNothing) {
  for (const host::Selection& selection :
       {host::Selection{8, 0, 8, 3}, host::Selection{8, 2, 8, 0}, host::Selection{8, 0, 9, 2}}) {
    SCOPED_TRACE(std::to_string(selection.startColumn) + ", " +
                 std::to_string(selection.endColumn));
    CopySession s;
    const auto before = s.Code()->Code();
    s.Capture(1, selection);
    EXPECT_EQ(s.Buffer(1)->CaptionShown(), u"Unused copy buffer");
    s.Buffers().CopyBuffers[1] = u"XY";
    s.Buffer(2)->SetShown(u"XY", {}, host::kStateDown);
    s.TakeSounds();
    s.Select(s.Code(), selection);
    s.Buffer(2)->Click();
    EXPECT_EQ(s.Code()->Code(), before);
    EXPECT_THAT(s.TakeSounds(), IsEmpty());
  }
}

// Selections no editor reports, answered all the same: one that ends before it starts, and one
// of several lines in a module without lines. The paste stops silently and changes nothing.
TEST(Paste, ASelectionWithoutLinesChangesNothing) {
  for (const auto& [code, selection] : {std::pair{u"abc\ndef", host::Selection{2, 1, 1, 1}},
                                        std::pair{u"", host::Selection{1, 1, 2, 1}}}) {
    LiveSession s(WithSounds().Project(u"P", u"C:\\P.xlsm").Module(u"M", code));
    const auto m = s.Component(u"P", u"M");
    const auto before = m->Code();
    dynamic_cast<EntryPoints&>(*s.addin.Actions()).CopyPaste().CopyBuffers[0] = u"XY";
    s.Buffer(1)->SetShown(u"XY", {}, host::kStateDown);
    s.Select(m, selection);
    s.TakeSounds();
    s.Buffer(1)->Click();
    EXPECT_EQ(m->Code(), before);
    EXPECT_EQ(m->Pane()->selection, selection) << "the caret stays";
    EXPECT_THAT(s.TakeSounds(), IsEmpty());
  }
}

// The undo of a one-line text over several lines rewrites line SL and deletes nothing: a deletion
// of no lines that the editor refused would stop the undo before line SL is back.
TEST(Paste, AnUndoAsksForNoDeletionOfNoLines) {
  CopySession s;
  s.Buffers().CopyBuffers[0] = u"XY";
  s.Buffer(1)->SetShown(u"XY", {}, host::kStateDown);
  const auto before = s.Code()->Code();
  s.Select(s.Code(), {8, 3, 10, 2});
  s.host.calls->FailOn("CodeModule.DeleteLines", 1);
  s.host.calls->ClearLog();
  s.Buffer(1)->Click();
  EXPECT_EQ(s.Code()->Code(), before);
  EXPECT_EQ(s.host.calls->Count("CodeModule.DeleteLines"), 1u);
}

// A button the editor places outside 1 to 5 has no buffer: capture and paste stop before one is
// touched.
TEST(CopyBuffers, AButtonOutsideTheFiveHasNoBuffer) {
  struct PlacedButton : host::CommandBarButton {
    explicit PlacedButton(std::int32_t place) : place(place) {}
    std::shared_ptr<host::CommandBarButton> AsButton() override { return nullptr; }
    host::Text Caption() override { return u"XY"; }
    void SetCaption(const host::Text& value) override { caption = value; }
    host::Text DescriptionText() override { return {}; }
    void SetDescriptionText(const host::Text&) override {}
    host::Text TooltipText() override { return {}; }
    void SetTooltipText(const host::Text&) override {}
    bool BeginGroup() override { return false; }
    void SetBeginGroup(bool) override {}
    std::int32_t Index() override { return place; }
    std::shared_ptr<host::CommandBar> Parent() override { return nullptr; }
    void Delete() override {}
    std::int32_t FaceId() override { return 0; }
    void SetFaceId(std::int32_t) override {}
    std::int32_t State() override { return host::kStateDown; }
    void SetState(std::int32_t) override {}
    std::unique_ptr<host::EventConnection> AdviseClick(host::ButtonClickHandler) override {
      return nullptr;
    }
    std::int32_t place;
    host::Text caption;
  };
  for (const std::int32_t place : {0, -1, 6}) {
    SCOPED_TRACE(place);
    CopySession s;
    s.Buffers().CopyBuffers.fill(u"XY");
    const auto before = s.Code()->Code();
    const auto button = std::make_shared<PlacedButton>(place);
    s.Select(s.Code(), {8, 1, 8, 4});
    s.Buffers().PasteBuffer(button);
    EXPECT_EQ(s.Code()->Code(), before);
    s.Buffers().CaptureSelection(button, u"XY");
    EXPECT_EQ(button->caption, u"");
    for (const auto& buffer : s.Buffers().CopyBuffers) EXPECT_EQ(buffer, u"XY");
  }
}

TEST(Capture, ShiftClickRecaptures) {
  CopySession s;
  s.Capture(5, {8, 1, 8, 4});
  s.Select(s.Code(), {10, 1, 10, 4});
  s.ShiftClick(s.Buffer(5));
  EXPECT_EQ(s.Buffers().CopyBuffers[4], u"012");
  EXPECT_EQ(s.Buffer(5)->CaptionShown(), u"012");
}

TEST(Capture, TheButtonsPlacePicksTheBufferNotItsCaption) {
  CopySession s;
  s.Buffer(2)->SetShown(u"Unused copy buffer", {}, host::kStateUp);
  s.Capture(4, {8, 1, 8, 3});
  EXPECT_EQ(s.Buffers().CopyBuffers[3], u"ab");
  EXPECT_EQ(s.Buffers().CopyBuffers[1], u"");
}

TEST(Capture, TextThatLooksLikeTheFreeCaptionCountsAsFree) {
  auto builder = WithSounds().Project(u"P", u"C:\\P.xlsm").Module(u"M", u"  Unused copy buffer  ");
  LiveSession s(builder);
  const auto m = s.Component(u"P", u"M");
  s.Select(m, {1, 1, 1, 23});
  s.Buffer(1)->Click();
  EXPECT_EQ(s.Buffer(1)->CaptionShown(), u"Unused copy buffer");
  EXPECT_EQ(s.Buffer(1)->StateShown(), host::kStateDown);
  s.Select(m, {1, 3, 1, 9});
  s.Buffer(1)->Click();  // captures again rather than pasting
  EXPECT_EQ(m->Code()[0], u"  Unused copy buffer  ");
  EXPECT_EQ(s.Buffer(1)->CaptionShown(), u"Unused");
}

TEST(Paste, OneLineAtLineTenColumnFive) {
  CopySession s;
  s.Capture(1, {8, 1, 8, 4});
  s.TakeSounds();
  s.Select(s.Code(), {10, 5, 10, 5});
  s.Buffer(1)->Click();
  EXPECT_EQ(s.Code()->Code()[9], u"0123abc456789");
  EXPECT_EQ(s.Code()->Pane()->selection, (host::Selection{10, 8, 10, 8}));
  EXPECT_THAT(s.TakeSounds(), ElementsAre("redo.wav"));
  EXPECT_EQ(s.Buffers().CopyBuffers[0], u"abc") << "the buffer stays filled";
}

TEST(Paste, TwoLinesOverASelectionOfThreeLines) {
  auto builder = WithSounds()
                     .Project(u"P", u"C:\\P.xlsm")
                     .Module(u"M", u"l1\nl2\nl3\nABCDEF\nGHIJKL\nMNOPQR\nl7");
  LiveSession s(builder);
  auto& buffers = dynamic_cast<EntryPoints&>(*s.addin.Actions()).CopyPaste();
  const auto m = s.Component(u"P", u"M");
  buffers.CopyBuffers[0] = u"one\ntwo";
  s.Buffer(1)->SetShown(u"one\u2026", {}, host::kStateDown);
  s.Select(m, {4, 3, 6, 2});
  s.Buffer(1)->Click();
  EXPECT_EQ(m->Code(),
            (std::vector<host::Text>{u"l1", u"l2", u"l3", u"ABone", u"twoNOPQR", u"l7"}));
  EXPECT_EQ(m->Pane()->selection, (host::Selection{5, 4, 5, 4}));
}

TEST(Paste, IntoAnotherModule) {
  CopySession s;
  s.Capture(2, {2, 5, 4, 10});
  s.Select(s.Other(), {2, 1, 2, 7});
  s.Buffer(2)->Click();
  EXPECT_EQ(
      s.Other()->Code(),
      (std::vector<host::Text>{u"first", u"x = 1", u"    y = \"  spaced text  \"", u"    z = 3"}));
  EXPECT_EQ(s.Code()->Code().size(), 10u) << "the source module is untouched";
}

// The editor takes several lines as one text with CR LF between them; the buffer keeps LF.
TEST(Paste, HandsTheEditorCrLfBetweenLines) {
  CopySession s;
  s.Capture(2, {2, 5, 4, 10});
  EXPECT_EQ(s.Buffers().CopyBuffers[1].find(u'\r'), host::Text::npos);
  s.Select(s.Other(), {2, 1, 2, 7});
  s.Buffer(2)->Click();
  EXPECT_THAT(host::sim::TakeInfidelities(), IsEmpty());
  EXPECT_EQ(s.Other()->Code().size(), 4u);
}

TEST(Paste, ARefusedReplacementLeavesTheCodeAsItWas) {
  CopySession s;
  s.Capture(1, {8, 1, 8, 4});
  s.TakeSounds();
  const auto before = s.Code()->Code();
  s.host.calls->FailOn("CodeModule.ReplaceLine", 1);
  s.Select(s.Code(), {10, 5, 10, 5});
  s.Buffer(1)->Click();
  EXPECT_EQ(s.Code()->Code(), before) << "never inserted as well as kept";
  EXPECT_EQ(s.Code()->Pane()->selection, (host::Selection{10, 5, 10, 5}));
  EXPECT_THAT(s.TakeSounds(), IsEmpty());
  EXPECT_EQ(s.host.calls->Count("CodeModule.InsertLines"), 0u);
}

// A multi-line paste whose rewrite of the first line is refused, and the insert that would put
// the removed lines back too: the first line takes all of them once more, and nothing was pasted.
TEST(Paste, RefusedTwiceOnTheWayBackTheFirstLineTakesTheRemovedLinesAgain) {
  auto builder =
      WithSounds().Project(u"P", u"C:\\P.xlsm").Module(u"M", u"l1\nABCDEF\nGHIJKL\nMNOPQR\nl5");
  LiveSession s(builder);
  auto& buffers = dynamic_cast<EntryPoints&>(*s.addin.Actions()).CopyPaste();
  const auto m = s.Component(u"P", u"M");
  const auto before = m->Code();
  buffers.CopyBuffers[0] = u"one\ntwo";
  s.Buffer(1)->SetShown(u"one\u2026", {}, host::kStateDown);
  s.Select(m, {2, 3, 4, 2});
  s.host.calls->FailOn("CodeModule.ReplaceLine", 1);
  s.host.calls->FailOn("CodeModule.InsertLines", 1);
  s.Buffer(1)->Click();
  EXPECT_EQ(m->Code(), before);
  EXPECT_EQ(buffers.CopyBuffers[0], u"one\ntwo");
  EXPECT_EQ(s.host.calls->Count("CodeModule.ReplaceLine"), 2u);
}

TEST(Paste, IntoAnEmptyModuleTheTextBecomesItsLines) {
  LiveSession s(WithSounds().Project(u"P", u"C:\\P.xlsm").Module(u"M", u""));
  const auto m = s.Component(u"P", u"M");
  dynamic_cast<EntryPoints&>(*s.addin.Actions()).CopyPaste().CopyBuffers[0] = u"a\nb";
  s.Buffer(1)->SetShown(u"a\u2026", {}, host::kStateDown);
  s.Select(m, {1, 1, 1, 1});
  s.Buffer(1)->Click();
  EXPECT_EQ(m->Code(), (std::vector<host::Text>{u"a", u"b"}));
  EXPECT_EQ(m->Pane()->selection, (host::Selection{2, 2, 2, 2}));
}

TEST(Paste, AnEmptyBufferOnlyRemovesTheSelection) {
  CopySession s;
  s.Buffer(3)->SetShown(u"gone", {}, host::kStateDown);
  s.Select(s.Code(), {8, 2, 8, 5});
  s.Buffer(3)->Click();
  EXPECT_EQ(s.Code()->Code()[7], u"aefghijklmnopqrstuvwxyz");
  EXPECT_EQ(s.Code()->Pane()->selection, (host::Selection{8, 2, 8, 2}));
  EXPECT_THAT(s.TakeSounds(), ElementsAre("redo.wav"));
}

TEST(Paste, AFailureBeforeTheEditEndsItSilently) {
  CopySession s;
  s.Capture(1, {8, 1, 8, 4});
  s.TakeSounds();
  s.host.calls->FailOn("CodePane.GetSelection");
  s.Buffer(1)->Click();
  EXPECT_THAT(s.TakeSounds(), IsEmpty());
  EXPECT_EQ(s.Code()->Code()[7], u"abcdefghijklmnopqrstuvwxyz");
}

// Each call crosses into the editor's code window: a capture and a paste make as many of them for
// a selection of 3,000 lines as for one of 3.
TEST(Paste, CaptureAndPasteMakeAsManyEditorCallsForAnyNumberOfLines) {
  const auto calls = [](std::int32_t lines) {
    host::Text code;
    for (std::int32_t i = 0; i < 2 * lines + 2; ++i) code += u"    n = n + 1\n";
    LiveSession s(WithSounds().Project(u"P", u"C:\\P.xlsm").Module(u"M", code));
    const auto m = s.Component(u"P", u"M");
    const auto size = m->Code().size();
    s.Select(m, {2, 3, lines + 1, 5});
    s.host.calls->ClearLog();
    s.Buffer(1)->Click();
    const auto capture = s.host.calls->Log().size();
    s.Select(m, {lines + 2, 3, 2 * lines + 1, 5});
    s.host.calls->ClearLog();
    s.Buffer(1)->Click();
    EXPECT_EQ(m->Code().size(), size) << "a selection of as many lines as the buffer holds";
    return std::pair{capture, s.host.calls->Log().size()};
  };
  EXPECT_EQ(calls(3), calls(3000));
}

TEST(CopyBufferClick, TheShiftKeyIsReadOnlyForAFilledBuffer) {
  CopySession s;
  s.host.calls->ClearLog();
  s.Capture(1, {8, 1, 8, 4});
  EXPECT_EQ(s.host.calls->Count("Keyboard.GetKeyState"), 0u) << "a free one captures anyway";
  s.Buffer(1)->Click();
  EXPECT_EQ(s.host.calls->Count("Keyboard.GetKeyState"), 1u);
}

TEST(Clear, WritesEachCaptionBeforeItsState) {
  CopySession s;
  s.host.calls->ClearLog();
  s.Buffer(6)->Click();
  std::vector<std::string> writes;
  for (const auto& call : s.host.calls->Log())
    if (call.ends_with("=")) writes.push_back(call);
  std::vector<std::string> expected;
  for (int i = 0; i < 5; ++i)
    expected.insert(
        expected.end(),
        {"CommandBarButton.Caption=", "CommandBarButton.State=", "CommandBarButton.TooltipText="});
  EXPECT_EQ(writes, expected);
}

TEST(Clear, FreesEveryButtonAndBufferAndPlaysTheCancelSound) {
  CopySession s;
  s.Capture(1, {8, 1, 8, 4});
  s.Capture(5, {9, 1, 9, 4});
  s.TakeSounds();
  s.Buffer(6)->Click();
  for (int i = 1; i <= 5; ++i) {
    EXPECT_EQ(s.Buffer(i)->CaptionShown(), u"Unused copy buffer");
    EXPECT_EQ(s.Buffer(i)->StateShown(), host::kStateUp);
    EXPECT_EQ(s.Buffers().CopyBuffers[static_cast<std::size_t>(i - 1)], u"");
  }
  EXPECT_THAT(s.TakeSounds(), ElementsAre("cancel.wav"));
}

TEST(Clear, AFailureKeepsTheBuffersAndGoesToTheSink) {
  CopySession s;
  s.Capture(1, {8, 1, 8, 4});
  s.host.calls->FailOn("CommandBarControls.Item", 2);
  EXPECT_THROW(s.Buffer(6)->Click(), host::HostError);
  EXPECT_EQ(s.Buffer(1)->CaptionShown(), u"Unused copy buffer");
  EXPECT_EQ(s.Buffers().CopyBuffers[0], u"abc");
}

}  // namespace
}  // namespace quillon::testing
