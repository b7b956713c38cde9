// Bookmarks that outlive the editor session: every change saved at once, put back at connection.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "quillon/bookmark_record.h"
#include "quillon/entry_points.h"
#include "tests/quillon/live_session.h"

namespace quillon::testing {
namespace {

using host::sim::SimHostBuilder;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

const char16_t kMainModule[] =
    u"Option Explicit\n"    // 1
    u"\n"                   // 2
    u"Sub Main()\n"         // 3
    u"    Debug.Print 1\n"  // 4
    u"    Debug.Print 2\n"  // 5
    u"End Sub\n";           // 6

SimHostBuilder Budget(const char16_t* file = u"C:\\Work\\Budget_07.xlsm") {
  return WithSounds().Project(u"Budget", file).Module(u"Module1", kMainModule).UserForm(u"Entry");
}

SimHostBuilder WithSaved(SimHostBuilder builder,
                         std::initializer_list<std::pair<const char16_t*, const char16_t*>> saved) {
  for (const auto& [place, record] : saved)
    builder.Setting(u"Razurid", u"Bookmarks", place, record);
  return builder;
}

std::optional<host::Text> Saved(const LiveSession& s, const char16_t* place) {
  return s.host.settings->Stored(u"Razurid", u"Bookmarks", place);
}

TEST(SavedBookmarks, EveryChangeOfAButtonIsSavedAtOnce) {
  LiveSession s(Budget());
  const auto module = s.Component(u"Budget", u"Module1");
  s.Caret(module, 5);
  s.Bookmark(2)->Click();
  EXPECT_EQ(Saved(s, u"2"), u"Budget_07.xlsm|Module1|Main|2") << "set";
  s.Caret(module, 1);
  s.ShiftClick(s.Bookmark(2));
  EXPECT_EQ(Saved(s, u"2"), u"Budget_07.xlsm|Module1||1") << "set again";

  // Saved as the next version: the followed record is saved.
  s.host.editor->Projects().front()->SetFileName(u"C:\\Work\\Budget_08.xlsm");
  s.Bookmark(2)->Click();
  EXPECT_EQ(Saved(s, u"2"), u"Budget_08.xlsm|Module1||1") << "followed";

  // A bookmark that cannot be reached is discarded, and so is its saved record.
  s.Caret(module, 4);
  s.Bookmark(3)->Click();
  s.host.editor->CloseProject(s.host.editor->Projects().front());
  s.Bookmark(3)->Click();
  EXPECT_EQ(Saved(s, u"3"), u"") << "reset after a failed go-to";

  s.Bookmark(6)->Click();
  for (const char16_t* place : {u"1", u"2", u"3", u"4", u"5"})
    EXPECT_EQ(Saved(s, place), u"") << "reset bookmarks";
}

TEST(SavedBookmarks, AConnectionPutsEveryFormBackAsSettingItShowedIt) {
  LiveSession s(WithSaved(Budget(), {{u"1", u"Budget_07.xlsm|Module1|Main|2"},
                                     {u"3", u"Budget_07.xlsm|Module1||1"},
                                     {u"5", u"Budget_07.xlsm|Entry|Designer"}}));
  EXPECT_EQ(s.Bookmark(1)->CaptionShown(), u"Budget_07.xlsm - Module1 - Main - Line 2");
  EXPECT_EQ(s.Bookmark(1)->DescriptionShown(), u"Budget_07.xlsm|Module1|Main|2");
  EXPECT_EQ(s.Bookmark(1)->StateShown(), host::kStateDown);
  EXPECT_EQ(s.Bookmark(3)->CaptionShown(), u"Budget_07.xlsm - Module1 -  Line 1");
  EXPECT_EQ(s.Bookmark(5)->CaptionShown(), u"Budget_07.xlsm - Userform: Entry");
  EXPECT_EQ(s.Bookmark(2)->CaptionShown(), u"Unused bookmark");
  EXPECT_EQ(s.Bookmark(2)->StateShown(), host::kStateUp);

  s.Caret(s.Component(u"Budget", u"Module1"), 1);
  s.Bookmark(1)->Click();
  EXPECT_EQ(s.Component(u"Budget", u"Module1")->Pane()->selection, (host::Selection{5, 1, 5, 1}))
      << "and it leads there";
}

TEST(SavedBookmarks, ARecordOfAWorkbookSavedAsItsNextVersionIsFollowedAfterARestart) {
  LiveSession s(
      WithSaved(Budget(u"C:\\Work\\Budget_08.xlsm"), {{u"1", u"Budget_07.xlsm|Module1|Main|2"}}));
  EXPECT_EQ(s.Bookmark(1)->DescriptionShown(), u"Budget_07.xlsm|Module1|Main|2")
      << "kept until clicked";
  s.Bookmark(1)->Click();
  EXPECT_EQ(s.Bookmark(1)->DescriptionShown(), u"Budget_08.xlsm|Module1|Main|2");
  EXPECT_EQ(Saved(s, u"1"), u"Budget_08.xlsm|Module1|Main|2");
  EXPECT_THAT(s.TakeMessages(), IsEmpty());
}

TEST(SavedBookmarks, AValueThatIsNoRecordLeavesItsButtonFree) {
  const host::Text huge(3000, u'x');
  LiveSession s(WithSaved(Budget(), {{u"1", u"not a record"},
                                     {u"2", u"Budget_07.xlsm|Module1|Main|two"},
                                     {u"3", u"Budget_07.xlsm|Module1|Main| 2"},
                                     {u"4", u"|Module1||1"},
                                     {u"5", huge.c_str()}}));
  for (int i = 1; i <= 5; ++i) {
    EXPECT_EQ(s.Bookmark(i)->CaptionShown(), u"Unused bookmark") << i;
    EXPECT_EQ(s.Bookmark(i)->DescriptionShown(), u"") << i;
  }
  EXPECT_EQ(BookmarkOfRecord(u"B.xlsm|M|" + huge + u"|1")->caption,
            u"B.xlsm - M - " + huge + u" - Line 1")
      << "a long record that is well formed is one";
}

TEST(SavedBookmarks, AStoreThatFailsNeitherFailsTheConnectionNorTheClick) {
  for (const auto& [operation, occurrence] :
       {std::pair{"Settings.GetSetting", 0}, std::pair{"CommandBarButton.Caption=", 13}}) {
    // Reconnecting: the store cannot be read at all, or the editor refuses the restored caption
    // (the 13th after the twelve of the two new bars).
    LiveSession s(WithSaved(Budget(), {{u"1", u"Budget_07.xlsm|Module1||1"}}));
    s.host.calls->FailOn(operation, occurrence);
    EXPECT_NO_THROW(s.addin.AddinInstance_OnConnection(s.host.editor)) << operation;
    EXPECT_EQ(s.Bookmark(1)->CaptionShown(), u"Unused bookmark") << operation;
  }
  LiveSession s(Budget());
  s.Caret(s.Component(u"Budget", u"Module1"), 4);
  s.host.calls->FailOn("Settings.SaveSetting");
  s.Bookmark(1)->Click();
  EXPECT_EQ(s.Bookmark(1)->DescriptionShown(), u"Budget_07.xlsm|Module1|Main|1");
  EXPECT_THAT(s.TakeSounds(), ElementsAre("zoomin.wav"));
  EXPECT_EQ(Saved(s, u"1"), std::nullopt);
}

TEST(SavedBookmarks, ABarTheUserDeletedLeavesTheSavedRecordsAsTheyWere) {
  LiveSession s(Budget());
  s.Caret(s.Component(u"Budget", u"Module1"), 4);
  s.Bookmark(1)->Click();
  s.host.Bar(u"Quillon")->Remove();
  s.addin.AddinInstance_OnDisconnection();
  EXPECT_EQ(Saved(s, u"1"), u"Budget_07.xlsm|Module1|Main|1");
}

}  // namespace
}  // namespace quillon::testing
