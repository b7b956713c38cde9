// Connecting and disconnecting Quillon: the state it keeps, both bars as laid out, the places
// written on the way out, and what a failed connection leaves behind.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "host/error.h"
#include "tests/quillon/session.h"

namespace quillon::testing {
namespace {

using host::sim::SettingWrite;
using host::sim::SimHostBuilder;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

struct BarExpectation {
  const char16_t* name;
  const char16_t* caption;
  std::array<std::int32_t, 5> faceIds;
  const char16_t* clearCaption;
};

const BarExpectation kExpectedBars[] = {
    {kBookmarks, u"Unused bookmark", {71, 72, 73, 74, 75}, u"Reset bookmarks"},
    {kCopyBuffers, u"Unused copy buffer", {80, 81, 82, 83, 84}, u"Clear copy buffers"},
};

TEST(Connection, FirstConnectionBuildsBothBarsAsLaidOut) {
  Session session;
  session.Connect();
  for (const auto& expected : kExpectedBars) {
    SCOPED_TRACE(host::ToUtf8(expected.name));
    const auto bar = session.Bar(expected.name);
    ASSERT_NE(bar, nullptr);
    EXPECT_TRUE(bar->Temporary());
    ASSERT_EQ(bar->ControlList().size(), 6u);
    for (int i = 1; i <= 5; ++i) {
      const auto control = bar->Control(i);
      EXPECT_EQ(control->Type(), host::kControlButton);
      EXPECT_EQ(control->Id(), host::kCustomControlId);
      EXPECT_EQ(control->CaptionShown(), expected.caption);
      EXPECT_EQ(control->FaceIdShown(), expected.faceIds[static_cast<std::size_t>(i - 1)]);
      EXPECT_FALSE(control->BeginGroupShown());
      EXPECT_EQ(control->DescriptionShown(), u"");
      EXPECT_EQ(control->StateShown(), host::kStateUp);
    }
    EXPECT_EQ(bar->Control(6)->CaptionShown(), expected.clearCaption);
    EXPECT_EQ(bar->Control(6)->FaceIdShown(), 47);
    EXPECT_TRUE(bar->Control(6)->BeginGroupShown());
  }
  EXPECT_EQ(session.addin.State().BMToolbar, session.Bar(kBookmarks));
  EXPECT_EQ(session.addin.State().CPToolbar, session.Bar(kCopyBuffers));
  EXPECT_EQ(session.addin.State().EditorVBE, session.host.editor);
}

TEST(Connection, EachButtonIsWrittenCaptionFirst) {
  Session session;
  session.Connect();
  std::vector<std::string> writes;
  for (const auto& call : session.host.calls->Log())
    if (call.starts_with("CommandBarButton.") && call.ends_with("=")) writes.push_back(call);
  std::vector<std::string> bar;
  for (int i = 0; i < 5; ++i)
    bar.insert(
        bar.end(),
        {"CommandBarButton.Caption=", "CommandBarButton.FaceId=", "CommandBarButton.TooltipText="});
  bar.insert(
      bar.end(),
      {"CommandBarButton.Caption=", "CommandBarButton.FaceId=", "CommandBarButton.BeginGroup="});
  std::vector<std::string> both = bar;
  both.insert(both.end(), bar.begin(), bar.end());
  EXPECT_EQ(writes, both);
}

TEST(Connection, FirstPlaceDependsOnEditorVersion) {
  struct Case {
    const char16_t* version;
    std::int16_t number;
    std::int32_t row;
  };
  for (const Case& c : {Case{u"6.00", 6, 6}, Case{u"7.00", 7, 5}, Case{u"7.01", 7, 5}}) {
    SCOPED_TRACE(host::ToUtf8(c.version));
    Session session(SimHostBuilder().Version(c.version));
    session.Connect();
    EXPECT_EQ(session.addin.State().VBEVersion, c.number);
    for (const auto* name : {kBookmarks, kCopyBuffers}) {
      const auto& place = session.Bar(name)->Place();
      EXPECT_EQ(place.position, host::kBarTop);
      EXPECT_EQ(place.rowIndex, c.row);
      EXPECT_EQ(place.left, 1);
      EXPECT_EQ(place.top, 1);
      EXPECT_TRUE(place.visible);
      EXPECT_EQ(place.width, 0) << "width is not touched while docked";
      EXPECT_EQ(place.height, 0) << "height is not touched while docked";
    }
  }
}

TEST(Connection, WindowsDriveComesFromWindir) {
  Session withWindir(SimHostBuilder().Env(u"windir", u"C:\\Windows"));
  withWindir.Connect();
  EXPECT_EQ(withWindir.addin.State().WinDrive, u"C");

  Session otherDrive(SimHostBuilder().Env(u"windir", u"d:\\WINNT"));
  otherDrive.Connect();
  EXPECT_EQ(otherDrive.addin.State().WinDrive, u"d");

  Session without(SimHostBuilder().NoEnv(u"windir"));
  EXPECT_NO_THROW(without.Connect());
  EXPECT_EQ(without.addin.State().WinDrive, u"");
}

TEST(Connection, StateBeforeTheFirstConnectionIsEmpty) {
  Session session;
  const auto& state = session.addin.State();
  EXPECT_EQ(state.EditorVBE, nullptr);
  EXPECT_EQ(state.VBEVersion, 0);
  EXPECT_EQ(state.VBEEvents, nullptr);
  EXPECT_EQ(state.WinDrive, u"");
}

TEST(Disconnection, SavesSevenKeysOfEachBarThenDeletesThem) {
  Session session(SimHostBuilder().Version(u"6.00"));
  session.Connect();
  auto& bookmarks = session.Bar(kBookmarks)->Place();
  bookmarks = {host::kBarFloating, 3, 120, 240, 310, 44, true};
  session.Bar(kCopyBuffers)->Place() = {host::kBarTop, 6, 0, 500, 200, 30, false};
  session.host.settings->ClearWrites();

  session.Disconnect();

  const auto w = [](const char16_t* bar, const char16_t* key, const char16_t* value) {
    return SettingWrite{u"Razurid", bar, key, value};
  };
  EXPECT_THAT(
      session.host.settings->Writes(),
      ElementsAre(w(kBookmarks, u"Pos", u"4"), w(kBookmarks, u"Top", u"120"),
                  w(kBookmarks, u"RowIndex6", u"3"), w(kBookmarks, u"Left", u"240"),
                  w(kBookmarks, u"Width", u"310"), w(kBookmarks, u"Height", u"44"),
                  w(kBookmarks, u"Visible", u"True"), w(kCopyBuffers, u"Pos", u"1"),
                  w(kCopyBuffers, u"Top", u"0"), w(kCopyBuffers, u"RowIndex6", u"6"),
                  w(kCopyBuffers, u"Left", u"500"), w(kCopyBuffers, u"Width", u"200"),
                  w(kCopyBuffers, u"Height", u"30"), w(kCopyBuffers, u"Visible", u"False")));
  EXPECT_EQ(session.Bar(kBookmarks), nullptr);
  EXPECT_EQ(session.Bar(kCopyBuffers), nullptr);
}

// Unticked in the Add-In Manager, the add-in object stays with the editor: it holds none of the
// editor's objects, no click reaches it, and a later connection works as a first one.
TEST(Disconnection, LetsGoOfEverySinkAndEditorObject) {
  Session session;
  session.Connect();
  std::vector<std::shared_ptr<host::sim::SimCommandBarEvents>> sources;
  for (std::size_t slot = 0; slot < kEventSlotCount; ++slot) {
    sources.push_back(std::dynamic_pointer_cast<host::sim::SimCommandBarEvents>(
        session.addin.State().VBEEvents->Source(static_cast<EventSlot>(slot))));
    ASSERT_NE(sources.back(), nullptr);
    EXPECT_EQ(sources.back()->Connections(), 1u);
  }
  const std::weak_ptr<host::VBE> editor = session.host.editor;
  session.Disconnect();
  for (const auto& source : sources) EXPECT_EQ(source->Connections(), 0u);
  const auto& state = session.addin.State();
  EXPECT_EQ(state.EditorVBE, nullptr);
  EXPECT_EQ(state.VBEEvents, nullptr);
  EXPECT_EQ(state.BMToolbar, nullptr);
  EXPECT_EQ(state.CPToolbar, nullptr);
  EXPECT_EQ(editor.use_count(), 1) << "only the test's host holds the editor";

  session.Connect();
  ASSERT_NE(session.Control(kBookmarks, 1), nullptr);
  session.Control(kBookmarks, 1)->Click();
  EXPECT_EQ(session.actions->clicks.size(), 1u) << "the new connection's click goes through";
}

TEST(Disconnection, DeletesTheBookmarksBarFirst) {
  Session session;
  session.Connect();
  session.host.calls->FailOn("CommandBar.Delete", 2);  // the second bar removed stays
  session.Disconnect();
  EXPECT_EQ(session.Bar(kBookmarks), nullptr);
  EXPECT_NE(session.Bar(kCopyBuffers), nullptr);
}

TEST(Disconnection, AfterTheUserDeletedTheBarsWritesNothingAndRaisesNothing) {
  Session session;
  session.Connect();
  session.Bar(kBookmarks)->Remove();
  session.Bar(kCopyBuffers)->Remove();
  session.host.settings->ClearWrites();
  EXPECT_NO_THROW(session.Disconnect());
  EXPECT_TRUE(session.host.settings->Writes().empty());
}

TEST(Disconnection, IgnoresEveryFailureAndStillRemovesWhatItCan) {
  Session session;
  session.Connect();
  session.host.calls->FailOn("CommandBar.Top");
  // Top cannot be read, so the third save of the bookmarks bar is Left's, and it fails.
  session.host.calls->FailOn("Settings.SaveSetting", 3);
  session.host.settings->ClearWrites();
  EXPECT_NO_THROW(session.Disconnect());
  std::vector<host::Text> bookmarkKeys;
  for (const auto& write : session.host.settings->Writes())
    if (write.section == kBookmarks) bookmarkKeys.push_back(write.key);
  EXPECT_THAT(bookmarkKeys, ElementsAre(u"Pos", u"RowIndex7", u"Width", u"Height", u"Visible"));
  EXPECT_EQ(session.Bar(kBookmarks), nullptr);
  EXPECT_EQ(session.Bar(kCopyBuffers), nullptr);
}

TEST(Disconnection, BeforeAnyConnectionDoesNothing) {
  Session session;
  EXPECT_NO_THROW(session.Disconnect());
  EXPECT_TRUE(session.host.settings->Writes().empty());
}

TEST(Reconnection, LeavesOneBarOfEachNameInTheSavedPlaceAndRoutesThroughTheNewSinkOnly) {
  Session session;
  session.Connect();
  const auto firstSink = session.addin.State().VBEEvents;
  session.Bar(kBookmarks)->Place() = {host::kBarFloating, 2, 300, 400, 250, 60, true};
  session.Disconnect();
  session.Connect();

  EXPECT_NE(session.addin.State().VBEEvents, firstSink);
  for (const auto* name : {kBookmarks, kCopyBuffers}) {
    int count = 0;
    for (const auto& bar : session.host.editor->Bars()->Bars()) count += bar->Name() == name;
    EXPECT_EQ(count, 1);
  }
  EXPECT_EQ(session.Bar(kBookmarks)->Place(),
            (host::sim::BarPlace{host::kBarFloating, 2, 300, 400, 250, 60, true}));

  const auto outcome = session.Control(kBookmarks, 2)->Click(true, false);
  ASSERT_EQ(session.actions->clicks.size(), 1u);
  EXPECT_EQ(session.actions->clicks[0].entry, "BookmarkClick");
  EXPECT_EQ(session.actions->clicks[0].button, session.Control(kBookmarks, 2));
  EXPECT_TRUE(outcome.handled);
  EXPECT_FALSE(outcome.cancelDefault);
}

TEST(Reconnection, WithoutDisconnectionSavesTheLeftoverBarAndTakesItsPlace) {
  Session session;
  session.Connect();
  session.Bar(kCopyBuffers)->Place() = {host::kBarFloating, 1, 50, 60, 70, 80, false};
  session.Connect();
  EXPECT_EQ(session.Stored(kCopyBuffers, u"Pos"), u"4");
  EXPECT_EQ(session.Bar(kCopyBuffers)->Place(),
            (host::sim::BarPlace{host::kBarFloating, 1, 50, 60, 70, 80, false}));
  EXPECT_EQ(session.host.editor->Bars()->Bars().size(), 2u);
}

TEST(FailedConnection, AnApplicationThatIsNotTheEditorFailsBeforeAnyBarExists) {
  Session session;
  const auto other = std::make_shared<host::sim::SimOtherApplication>(session.host.calls);
  EXPECT_THROW(session.addin.AddinInstance_OnConnection(other), host::HostError);
  EXPECT_TRUE(session.host.editor->Bars()->Bars().empty());
  EXPECT_EQ(session.host.calls->Count("VBE.CommandBars"), 0u);
  EXPECT_EQ(session.addin.State().EditorVBE, nullptr);
}

TEST(FailedConnection, AVersionThatIsNotANumberFailsBeforeAnyBarExists) {
  Session session(SimHostBuilder().Version(u"seven"));
  EXPECT_THROW(session.Connect(), host::HostError);
  EXPECT_TRUE(session.host.editor->Bars()->Bars().empty());
  EXPECT_EQ(session.addin.State().VBEEvents, nullptr);
}

TEST(FailedConnection, DuringTheCopyBufferBarLeavesTheBookmarksBarWiredAndRestored) {
  Session session(SimHostBuilder()
                      .Setting(u"Razurid", kBookmarks, u"Left", u"77")
                      .Env(u"windir", u"E:\\Windows"));
  session.host.calls->FailOn("CommandBars.Add", 2);
  EXPECT_THROW(session.Connect(), host::HostError);

  ASSERT_NE(session.Bar(kBookmarks), nullptr);
  EXPECT_EQ(session.Bar(kBookmarks)->Place().left, 77);
  EXPECT_EQ(session.Bar(kCopyBuffers), nullptr);
  EXPECT_EQ(session.addin.State().WinDrive, u"") << "the drive is read after both bars";
  session.Control(kBookmarks, 6)->Click();
  ASSERT_EQ(session.actions->clicks.size(), 1u);
  EXPECT_EQ(session.actions->clicks[0].entry, "ResetBookmarks");
}

TEST(FailedConnection, AgainWithoutDisconnectionLeavesNoBookmarksSectionToSaveInto) {
  // The bookmarks bar of the failed connection stands and takes clicks: they must not save over
  // what the saved bookmarks were, as the earlier connection's section would let them.
  Session session;
  session.Connect();
  ASSERT_FALSE(session.addin.State().BookmarksSection.empty());
  session.host.calls->FailOn("CommandBars.Add", 2);
  EXPECT_THROW(session.Connect(), host::HostError);
  ASSERT_NE(session.Bar(kBookmarks), nullptr);
  EXPECT_TRUE(session.addin.State().BookmarksSection.empty());
}

TEST(FailedConnection, AButtonTheHostRefusesToAddEndsTheBuild) {
  Session session;
  session.host.calls->FailOn("CommandBarControls.Add", 4);
  EXPECT_THROW(session.Connect(), host::HostError);
  EXPECT_EQ(session.Bar(kBookmarks)->ControlList().size(), 3u);
  EXPECT_EQ(session.Bar(kCopyBuffers), nullptr);
}

}  // namespace
}  // namespace quillon::testing
