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
    builder.Setting(u"Razurid", u"Bookmarks\\EXCEL", place, record);
  return builder;
}

std::optional<host::Text> Saved(const LiveSession& s, const char16_t* place) {
  return s.host.settings->Stored(u"Razurid", u"Bookmarks\\EXCEL", place);
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

  // A bookmark whose place is gone is discarded, and so is its saved record; one whose workbook
  // is not open is kept.
  s.Caret(module, 4);
  s.Bookmark(3)->Click();
  const auto kept = Saved(s, u"3");
  s.host.editor->CloseProject(s.host.editor->Projects().front());
  s.Bookmark(3)->Click();
  EXPECT_EQ(Saved(s, u"3"), kept) << "kept while its workbook is closed";

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

TEST(SavedBookmarks, EachOfficeApplicationKeepsItsOwnUnderItsProgramName) {
  for (const auto& [path, section] :
       {std::pair{u"C:\\Program Files\\Microsoft Office\\root\\Office16\\EXCEL.EXE",
                  u"Bookmarks\\EXCEL"},
        std::pair{u"C:\\Office\\winword.exe", u"Bookmarks\\WINWORD"},
        std::pair{u"C:\\Office.16\\MSACCESS", u"Bookmarks\\MSACCESS"},
        std::pair{u"D:/apps/PowerPnt.Exe", u"Bookmarks\\POWERPNT"},
        std::pair{u"OUTLOOK.EXE", u"Bookmarks\\OUTLOOK"},
        std::pair{u"C:\\Apps\\az-za.exe", u"Bookmarks\\AZ-ZA"},
        std::pair{u"Z:\\build\\sandbox.exe", u"Bookmarks\\SANDBOX"},
        std::pair{u"C:\\Tools\\\u00e4rger.v2.exe", u"Bookmarks\\\u00e4RGER.V2"},
        std::pair{u"C:\\Office\\", u""}, std::pair{u"C:\\Office\\.exe", u""}, std::pair{u"", u""}})
    EXPECT_EQ(BookmarksSectionOf(path), section) << host::ToUtf8(path);
}

// Excel's five bookmarks, as Excel left them, while Word's editor sets, fails and resets its own.
TEST(SavedBookmarks, AnotherApplicationNeverShowsChangesOrFreesThem) {
  const std::vector<std::pair<const char16_t*, const char16_t*>> excel = {
      {u"1", u"Budget_07.xlsm|Module1|Main|2"},
      {u"2", u"Budget_07.xlsm|Module1||1"},
      {u"3", u"Budget_07.xlsm|Entry|Designer"},
      {u"4", u"Other.xlsm|Module1||3"},
      {u"5", u"Budget_07.xlsm|Module1|Main|1"}};
  auto word = Budget(u"C:\\Work\\Letter.docm").Program(u"C:\\Office\\WINWORD.EXE");
  for (const auto& [place, record] : excel)
    word.Setting(u"Razurid", u"Bookmarks\\EXCEL", place, record);
  word.Setting(u"Razurid", u"Bookmarks\\WINWORD", u"2", u"Gone.docm|Module1||1");
  word.Setting(u"Razurid", u"Bookmarks", u"1", u"Letter.docm|Module1||4");
  LiveSession s(word);
  for (int i = 1; i <= 5; ++i) {
    if (i != 2) {
      EXPECT_EQ(s.Bookmark(i)->CaptionShown(), u"Unused bookmark") << i;
    }
  }
  EXPECT_EQ(s.Bookmark(2)->CaptionShown(), u"Gone.docm - Module1 -  Line 1") << "Word's own";

  s.host.settings->ClearWrites();
  s.Bookmark(2)->Click();  // a workbook that is gone: Word's button is freed
  s.Caret(s.Component(u"Budget", u"Module1"), 5);
  s.Bookmark(1)->Click();
  s.Bookmark(6)->Click();
  ASSERT_FALSE(s.host.settings->Writes().empty());
  for (const auto& write : s.host.settings->Writes())
    EXPECT_EQ(write.section, u"Bookmarks\\WINWORD") << host::ToUtf8(write.key);
  for (const auto& [place, record] : excel)
    EXPECT_EQ(s.host.settings->Stored(u"Razurid", u"Bookmarks\\EXCEL", place), record);
  EXPECT_EQ(s.host.settings->Stored(u"Razurid", u"Bookmarks", u"1"), u"Letter.docm|Module1||4")
      << "values of no application are neither read nor moved";
}

TEST(SavedBookmarks, AnApplicationWithoutANameKeepsNone) {
  auto builder = WithSaved(Budget(), {{u"1", u"Budget_07.xlsm|Module1||1"}});
  builder.Program(u"C:\\Office\\");
  LiveSession s(builder);
  EXPECT_EQ(s.Bookmark(1)->CaptionShown(), u"Unused bookmark");
  s.Caret(s.Component(u"Budget", u"Module1"), 4);
  s.Bookmark(2)->Click();
  EXPECT_EQ(s.Bookmark(2)->DescriptionShown(), u"Budget_07.xlsm|Module1|Main|1") << "still works";
  EXPECT_THAT(s.host.settings->Writes(), IsEmpty());
}

TEST(SavedBookmarks, ARecordLongerThanAnyQuillonWritesIsDamaged) {
  // "B.xlsm|M|" and "|1" around the procedure's name.
  const host::Text longest = u"B.xlsm|M|" + host::Text(kLongestSavedRecord - 11, u'p') + u"|1";
  const host::Text longer = u"B.xlsm|M|" + host::Text(kLongestSavedRecord - 10, u'p') + u"|1";
  const host::Text huge = u"B.xlsm|M|" + host::Text(5000, u'p') + u"|1";
  LiveSession s(
      WithSaved(Budget(), {{u"1", longest.c_str()}, {u"2", longer.c_str()}, {u"3", huge.c_str()}}));
  EXPECT_EQ(s.Bookmark(1)->DescriptionShown(), longest);
  EXPECT_EQ(s.Bookmark(2)->CaptionShown(), u"Unused bookmark");
  EXPECT_EQ(s.Bookmark(3)->CaptionShown(), u"Unused bookmark");
  EXPECT_EQ(Saved(s, u"3"), huge) << "left as it is until the button changes";
}

// A record longer than a restore takes is never written: the button works for this session,
// and the store says free rather than keep a value the next session would call damaged.
TEST(SavedBookmarks, NeverWritesAValueItsOwnRestoreWouldReject) {
  const host::Text procedure(1100, u'P');
  const host::Text code = u"Sub " + procedure + u"()\n    x = 1\nEnd Sub\n";
  LiveSession s(WithSaved(
      WithSounds().Project(u"Budget", u"C:\\Work\\Budget_07.xlsm").Module(u"Module1", code),
      {{u"1", u"Budget_07.xlsm|Module1||1"}}));
  s.Caret(s.Component(u"Budget", u"Module1"), 2);
  s.ShiftClick(s.Bookmark(1));
  EXPECT_GT(s.Bookmark(1)->DescriptionShown().size(), kLongestSavedRecord);
  EXPECT_EQ(Saved(s, u"1"), u"");
}

// The first and the last button: a saved bookmark the editor refused to show at the start comes
// back at the button's first click, before anything is set over it.
TEST(SavedBookmarks, AnEdgeButtonsRefusedRestoreComesBackAtItsFirstClick) {
  for (const int place : {1, 5}) {
    SCOPED_TRACE(place);
    const auto key = host::FromUtf8(std::to_string(place));
    LiveSession s(WithSaved(Budget(), {{key.c_str(), u"Budget_07.xlsm|Module1||2"}}), Keys::None,
                  [](host::sim::HostCalls& c) { c.FailOn("CommandBarButton.DescriptionText="); });
    EXPECT_EQ(s.Bookmark(place)->CaptionShown(), u"Unused bookmark");
    s.host.calls->ClearFailures();
    s.Caret(s.Component(u"Budget", u"Module1"), 5);
    s.Bookmark(place)->Click();
    EXPECT_EQ(s.Bookmark(place)->DescriptionShown(), u"Budget_07.xlsm|Module1||2");
    EXPECT_EQ(Saved(s, key.c_str()), u"Budget_07.xlsm|Module1||2");
    EXPECT_EQ(s.Component(u"Budget", u"Module1")->Pane()->selection, (host::Selection{2, 1, 2, 1}));
  }
}

}  // namespace
}  // namespace quillon::testing
