// Restoring a bar's saved place: stored values applied in their order, floating sizes, the
// per-version row, and bad stored values or refused properties never failing the connection.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/quillon/session.h"

namespace quillon::testing {
namespace {

using host::sim::BarPlace;
using host::sim::SimHostBuilder;

SimHostBuilder StoredPlace(
    const char16_t* bar, std::initializer_list<std::pair<const char16_t*, const char16_t*>> values,
    const char16_t* version = u"7.01") {
  SimHostBuilder builder;
  builder.Version(version);
  for (const auto& [key, value] : values) builder.Setting(u"Razurid", bar, key, value);
  return builder;
}

TEST(RestorePlace, FloatingTakesStoredWidthAndHeight) {
  Session session(StoredPlace(kBookmarks, {{u"Pos", u"4"},
                                           {u"Top", u"210"},
                                           {u"Left", u"330"},
                                           {u"Width", u"180"},
                                           {u"Height", u"52"},
                                           {u"RowIndex7", u"2"}}));
  session.Connect();
  EXPECT_EQ(session.Bar(kBookmarks)->Place(),
            (BarPlace{host::kBarFloating, 2, 210, 330, 180, 52, true}));
}

TEST(RestorePlace, DockedIgnoresStoredWidthAndHeight) {
  Session session(
      StoredPlace(kCopyBuffers, {{u"Pos", u"1"}, {u"Width", u"180"}, {u"Height", u"52"}}));
  session.Connect();
  const auto& place = session.Bar(kCopyBuffers)->Place();
  EXPECT_EQ(place.width, 0);
  EXPECT_EQ(place.height, 0);
  EXPECT_EQ(session.host.calls->Count("CommandBar.Width="), 0u);
}

TEST(RestorePlace, StoredInvisibleBarIsBuiltHiddenAndStillWired) {
  Session session(StoredPlace(kBookmarks, {{u"Visible", u"False"}}));
  session.Connect();
  EXPECT_FALSE(session.Bar(kBookmarks)->Place().visible);
  EXPECT_TRUE(session.Bar(kCopyBuffers)->Place().visible);
  session.Control(kBookmarks, 4)->Click();
  ASSERT_EQ(session.actions->clicks.size(), 1u);
  EXPECT_EQ(session.actions->clicks[0].button, session.Control(kBookmarks, 4));
}

TEST(RestorePlace, EachEditorVersionHasItsOwnRow) {
  Session session(StoredPlace(kBookmarks, {{u"RowIndex6", u"9"}, {u"Left", u"44"}}, u"7.01"));
  session.Connect();
  EXPECT_EQ(session.Bar(kBookmarks)->Place().rowIndex, 5) << "RowIndex7 absent: its default";
  EXPECT_EQ(session.Bar(kBookmarks)->Place().left, 44) << "the other keys are shared";
  session.Disconnect();
  EXPECT_EQ(session.Stored(kBookmarks, u"RowIndex6"), u"9");
  EXPECT_EQ(session.Stored(kBookmarks, u"RowIndex7"), u"5");
}

TEST(RestorePlace, PropertiesAreSetInTheirOrderWithVisibilityLast) {
  Session session(StoredPlace(kBookmarks, {{u"Pos", u"4"}}));
  session.Connect();
  // The bookmarks bar's calls run from its creation to the creation of the copy-buffer bar.
  const auto& log = session.host.calls->Log();
  const auto first = std::find(log.begin(), log.end(), "CommandBars.Add");
  const auto second = std::find(first + 1, log.end(), "CommandBars.Add");
  std::vector<std::string> puts;
  for (auto call = first; call != second; ++call)
    if (call->starts_with("CommandBar.") && *call != "CommandBar.Controls") puts.push_back(*call);
  EXPECT_THAT(puts, ::testing::ElementsAre(
                        "CommandBar.Position=", "CommandBar.RowIndex=", "CommandBar.Left=",
                        "CommandBar.Top=", "CommandBar.Position",
                        "CommandBar.Width=", "CommandBar.Height=", "CommandBar.Visible="));
}

// A stored value that does not convert must not end the connection: the editor would switch the
// add-in off for good. Its key's default is used instead.
TEST(RestorePlace, GarbageInAnyKeyGivesThatKeysDefault) {
  const std::pair<const char16_t*, const char16_t*> keys[] = {
      {u"Pos", u"docked"}, {u"Top", u"1O"},     {u"RowIndex7", u""},   {u"Left", u"99999999999"},
      {u"Width", u"-"},    {u"Height", u"3.5"}, {u"Visible", u"maybe"}};
  for (const auto& [key, garbage] : keys) {
    SCOPED_TRACE(host::ToUtf8(key));
    Session session(StoredPlace(kBookmarks, {{u"Pos", u"4"},
                                             {u"Width", u"150"},
                                             {u"Height", u"40"},
                                             {u"Top", u"20"},
                                             {u"Left", u"30"},
                                             {u"RowIndex7", u"3"},
                                             {u"Visible", u"True"}}));
    session.host.settings->Store(u"Razurid", kBookmarks, key, garbage);
    ASSERT_NO_THROW(session.Connect());
    BarPlace expected{host::kBarFloating, 3, 20, 30, 150, 40, true};
    const std::u16string k = key;
    if (k == u"Pos") expected = {host::kBarTop, 3, 20, 30, 0, 0, true};
    if (k == u"Top") expected.top = 1;
    if (k == u"RowIndex7") expected.rowIndex = 5;
    if (k == u"Left") expected.left = 1;
    if (k == u"Width") expected.width = 1;
    if (k == u"Height") expected.height = 1;
    EXPECT_EQ(session.Bar(kBookmarks)->Place(), expected);
    EXPECT_NE(session.Bar(kCopyBuffers), nullptr);
  }
}

TEST(RestorePlace, FlagsAndNumbersReadAsTheEditorsLanguageWritesThem) {
  Session session(StoredPlace(kBookmarks, {{u"Visible", u"false"}, {u"Left", u" -12 "}}));
  session.host.settings->Store(u"Razurid", kCopyBuffers, u"Visible", u"0");
  session.Connect();
  EXPECT_FALSE(session.Bar(kBookmarks)->Place().visible);
  EXPECT_EQ(session.Bar(kBookmarks)->Place().left, -12);
  EXPECT_FALSE(session.Bar(kCopyBuffers)->Place().visible);
}

// A deliberate choice: one refused property must not end the connection, which would switch the
// add-in off for good.
TEST(RestorePlace, APropertyTheHostRefusesIsSkippedInsteadOfEndingTheConnection) {
  Session session(StoredPlace(kBookmarks, {{u"Pos", u"9"}, {u"Left", u"61"}}));
  session.host.calls->FailOn("CommandBar.RowIndex=", 1);
  ASSERT_NO_THROW(session.Connect());
  const auto& place = session.Bar(kBookmarks)->Place();
  EXPECT_EQ(place.position, host::kBarTop) << "position 9 refused: the bar keeps its own";
  EXPECT_EQ(place.rowIndex, 0) << "row refused: left as created";
  EXPECT_EQ(place.left, 61);
  EXPECT_TRUE(place.visible);
}

TEST(RestorePlace, AnUnreadableSettingsStoreGivesTheDefaults) {
  Session session(StoredPlace(kBookmarks, {{u"Left", u"61"}}));
  session.host.calls->FailOn("Settings.GetSetting");
  ASSERT_NO_THROW(session.Connect());
  EXPECT_EQ(session.Bar(kBookmarks)->Place(), (BarPlace{host::kBarTop, 5, 1, 1, 0, 0, true}));
}

TEST(RestorePlace, SaveThenRestoreRoundTripsEveryValue) {
  Session session(SimHostBuilder().Version(u"6.00"));
  session.Connect();
  const BarPlace moved{host::kBarFloating, 7, -40, 2000, 321, 123, false};
  session.Bar(kCopyBuffers)->Place() = moved;
  session.Disconnect();
  session.Connect();
  EXPECT_EQ(session.Bar(kCopyBuffers)->Place(), moved);
}

}  // namespace
}  // namespace quillon::testing
