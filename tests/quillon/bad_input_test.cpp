// Input nobody should send, handled as the rules say: stored places, bookmark records, file names,
// toolbars the user changed, selections beyond the text.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "host/error.h"
#include "quillon/bookmark_record.h"
#include "quillon/entry_points.h"
#include "tests/quillon/live_session.h"

namespace quillon::testing {
namespace {

using host::sim::SimHostBuilder;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

const char16_t kCode[] = u"Sub Main()\n    x = 1\nEnd Sub\n";

LiveSession Budget() {
  return LiveSession(
      WithSounds().Project(u"Budget", u"C:\\Work\\Budget_07.xlsm").Module(u"Module1", kCode));
}

TEST(BadInput, StoredPlacesOfEveryKindStillConnect) {
  const host::Text huge(100000, u'9');
  for (const host::Text& value :
       {host::Text(u""), huge, host::Text(u"abc"), host::Text(u"-5"), host::Text(u"1e3"),
        host::Text(u"\u0661\u0662"), host::Text(u"4 4")}) {
    SCOPED_TRACE(host::ToUtf8(value.substr(0, 20)));
    auto builder = SimHostBuilder();
    for (const char16_t* key :
         {u"Pos", u"Top", u"RowIndex7", u"Left", u"Width", u"Height", u"Visible"})
      builder.Setting(u"Razurid", u"Quillon", key, value);
    LiveSession s(builder);
    const auto& place = s.host.Bar(u"Quillon")->Place();
    if (value == u"-5") {
      EXPECT_EQ(place.left, -5) << "a negative number is a number, passed through as stored";
    } else {
      EXPECT_EQ(place.position, host::kBarTop);
      EXPECT_EQ(place.left, 1);
      EXPECT_TRUE(place.visible);
    }
  }
}

TEST(BadInput, RecordsWithTooFewFieldsOrNoNumberAreDiscardedWithTheModuleMessage) {
  for (const char16_t* record :
       {u"Budget_07.xlsm", u"Budget_07.xlsm|Module1", u"Budget_07.xlsm|Module1|Main",
        u"Budget_07.xlsm|Module1|Main|x", u"Budget_07.xlsm|Module1||99999999999999999999",
        u"Budget_07.xlsm|Module1||2147483648", u"Budget_07.xlsm|Nope||1"}) {
    SCOPED_TRACE(host::ToUtf8(record));
    auto s = Budget();
    s.Bookmark(1)->SetShown(u"x", record, host::kStateDown);
    EXPECT_NO_THROW(s.Bookmark(1)->Click());
    EXPECT_THAT(s.TakeMessages(), ElementsAre(u"The module may have been deleted or renamed."));
    EXPECT_EQ(s.Bookmark(1)->DescriptionShown(), u"");
  }
}

TEST(BadInput, ExtraBarsAreExtraFieldsAndDoNotMatter) {
  auto s = Budget();
  s.Bookmark(1)->SetShown(u"x", u"Budget_07.xlsm|Module1|Main|1|more|bars", host::kStateDown);
  s.Bookmark(1)->Click();
  EXPECT_THAT(s.TakeMessages(), IsEmpty());
  EXPECT_EQ(s.Component(u"Budget", u"Module1")->Pane()->selection, (host::Selection{2, 1, 2, 1}));
}

TEST(BadInput, LongAndNonAsciiNamesTravelWhole) {
  const host::Text name = u"\u00c9t\u00e9 \U0001F4CA " + host::Text(3000, u'x') + u"_07.xlsm";
  LiveSession s(WithSounds().Project(u"P", u"C:\\W\\" + name).Module(u"M\u00f6dul", kCode));
  s.Caret(s.Component(u"P", u"M\u00f6dul"), 2);
  s.Bookmark(1)->Click();
  EXPECT_EQ(s.Bookmark(1)->DescriptionShown(), name + u"|M\u00f6dul|Main|1");
  s.host.editor->Projects().front()->SetFileName(u"C:\\W\\" + name.substr(0, name.size() - 7) +
                                                 u"08.xlsm");
  s.Bookmark(1)->Click();
  EXPECT_THAT(s.TakeMessages(), IsEmpty());
  EXPECT_TRUE(
      s.Bookmark(1)->DescriptionShown().starts_with(name.substr(0, name.size() - 7) + u"08.xlsm|"));
}

TEST(BadInput, FileNamesWithPatternCharactersFollowOnlyTheirOwnVersions) {
  struct Case {
    const char16_t* recorded;
    const char16_t* open;
    bool follows;
  };
  const Case cases[] = {{u"Q#3_v2.xlsm", u"Q#3_v3.xlsm", true},
                        {u"Q#3_v2.xlsm", u"Q53_v3.xlsm", false},
                        {u"Data[v2.xlsm", u"Data[v3.xlsm", true},
                        {u"A?b1.xlsm", u"AXb2.xlsm", false},
                        {u"A*1.xlsm", u"A*2.xlsm", true},
                        {u"A*1.xlsm", u"Anything2.xlsm", false},
                        {u"v1.2.3.xlsm", u"v1.2.4.xlsm", true},
                        {u"Book12", u"Book13", true},
                        {u"2024", u"2025", true},
                        {u"Report.xlsm", u"Report2.xlsm", false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(host::ToUtf8(c.recorded) + " -> " + host::ToUtf8(c.open));
    LiveSession s(
        WithSounds().Project(u"P", host::Text(u"C:\\W\\") + c.open).Module(u"Module1", kCode));
    s.Bookmark(1)->SetShown(u"x", host::Text(c.recorded) + u"|Module1||2", host::kStateDown);
    EXPECT_NO_THROW(s.Bookmark(1)->Click());
    EXPECT_EQ(s.Bookmark(1)->DescriptionShown() == host::Text(c.open) + u"|Module1||2", c.follows);
    if (!c.follows) {
      EXPECT_THAT(s.TakeMessages(),
                  ElementsAre(u"The project workbook may have been closed or renamed. The "
                              u"bookmark is kept: click it again once the workbook is open."));
      EXPECT_EQ(s.Bookmark(1)->DescriptionShown(), host::Text(c.recorded) + u"|Module1||2");
    }
  }
}

TEST(BadInput, ABookmarkBarTheUserCutDownFailsTheResetAfterTheButtonsThereAre) {
  auto s = Budget();
  const auto bar = s.host.Bar(u"Quillon");
  s.Bookmark(1)->SetShown(u"x", u"r", host::kStateDown);
  s.Bookmark(3)->SetShown(u"x", u"r", host::kStateDown);
  while (bar->ControlList().size() > 3) bar->RemoveControl(4);
  EXPECT_THROW(s.addin.Actions()->ResetBookmarks(), host::HostError);
  EXPECT_EQ(s.Bookmark(1)->DescriptionShown(), u"");
  EXPECT_EQ(s.Bookmark(3)->DescriptionShown(), u"") << "the buttons there are were written";
  EXPECT_THAT(s.TakeSounds(), IsEmpty());
}

TEST(BadInput, AButtonBeyondTheFifthPlaceHasNoBufferAndDoesNothing) {
  auto s = Budget();
  const auto extra = s.host.Bar(u"RIDAridAviri")->AppendControl(host::kControlButton, 1);
  extra->SetShown(u"Unused copy buffer", {}, host::kStateUp);
  s.Select(s.Component(u"Budget", u"Module1"), {2, 1, 2, 5});
  auto& buffers = dynamic_cast<EntryPoints&>(*s.addin.Actions()).CopyPaste();
  EXPECT_NO_THROW(buffers.CopyBufferClick(extra));
  EXPECT_EQ(extra->CaptionShown(), u"Unused copy buffer");
  for (const auto& buffer : buffers.CopyBuffers) EXPECT_EQ(buffer, u"");
}

TEST(BadInput, SelectionsBeyondTheLineOrTheModule) {
  auto s = Budget();
  const auto m = s.Component(u"Budget", u"Module1");
  auto& buffers = dynamic_cast<EntryPoints&>(*s.addin.Actions()).CopyPaste();
  // Past the end of a line: the line's end.
  s.Select(m, {2, 3, 2, 400});
  s.Buffer(1)->Click();
  EXPECT_EQ(buffers.CopyBuffers[0], u"  x = 1");
  // Starting past the end of its line: an empty first piece.
  s.Select(m, {1, 50, 2, 3});
  s.Buffer(2)->Click();
  EXPECT_EQ(buffers.CopyBuffers[1], u"\n  ");
  EXPECT_EQ(s.Buffer(2)->CaptionShown(), u"\u2026");
  // Past the end of the module: nothing captured, nothing changed.
  s.Select(m, {2, 1, 9, 1});
  s.Buffer(3)->Click();
  EXPECT_EQ(s.Buffer(3)->CaptionShown(), u"Unused copy buffer");
  EXPECT_EQ(buffers.CopyBuffers[2], u"");
  // A paste at a column past the end of its line goes at the line's end.
  s.Select(m, {3, 30, 3, 30});
  s.Buffer(1)->Click();
  EXPECT_EQ(m->Code()[2], u"End Sub  x = 1");
}

}  // namespace
}  // namespace quillon::testing
