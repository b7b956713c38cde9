// Connecting Lathmore: the References command hooked, each click one watch, and the failures.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "host/error.h"
#include "tests/lathmore/references_dialog.h"

namespace lathmore::testing {
namespace {

using ::testing::IsEmpty;
using ::testing::SizeIs;

TEST(ConnectLathmore, EachChoiceOfTheCommandStartsOneWatchAndTheEditorGoesOn) {
  Watch w;
  w.connect.AddinInstance_OnConnection(w.host.editor);
  ASSERT_NE(w.connect.btnToolsRefs, nullptr);
  const auto command = w.host.Control(u"Menu Bar", 2);
  const auto outcome = command->Click();
  EXPECT_FALSE(outcome.cancelDefault);
  EXPECT_THAT(w.windows->Timers(), SizeIs(1));
  command->Click(false, true);
  EXPECT_THAT(w.windows->Timers(), SizeIs(1));
  EXPECT_TRUE(command->Click(false, true).cancelDefault) << "CancelDefault left as it came";
}

TEST(ConnectLathmore, FindsTheCommandWhereverItIsVisibleOrNot) {
  Watch w;
  w.host.Bar(u"Menu Bar")->Place().visible = false;
  w.connect.AddinInstance_OnConnection(w.host.editor);
  EXPECT_EQ(w.connect.btnToolsRefs, w.host.Control(u"Menu Bar", 2));
}

TEST(ConnectLathmore, AnEditorWithoutTheCommandConnectsAndStaysIdle) {
  Watch w;
  w.host.Bar(u"Menu Bar")->Remove();
  EXPECT_NO_THROW(w.connect.AddinInstance_OnConnection(w.host.editor));
  EXPECT_EQ(w.connect.btnToolsRefs, nullptr);
  EXPECT_EQ(w.main.EditorVBE, w.host.editor);
}

TEST(ConnectLathmore, ACommandThatIsNoButtonFailsAndHooksNothing) {
  Watch w;
  w.host.Bar(u"Menu Bar")->Remove();
  const auto bar = w.host.editor->Bars()->AddBar(u"Tools", false);
  bar->AppendControl(host::sim::kControlPopup, 942);
  EXPECT_THROW(w.connect.AddinInstance_OnConnection(w.host.editor), host::HostError);
  EXPECT_EQ(w.connect.btnToolsRefs, nullptr);
}

TEST(ConnectLathmore, AnApplicationThatIsNotTheEditorFails) {
  Watch w;
  const auto other = std::make_shared<host::sim::SimOtherApplication>(w.host.calls);
  EXPECT_THROW(w.connect.AddinInstance_OnConnection(other), host::HostError);
  EXPECT_EQ(w.connect.btnToolsRefs, nullptr);
}

TEST(ConnectLathmore, DisconnectionEndsARunningWatch) {
  Watch w;
  w.connect.AddinInstance_OnConnection(w.host.editor);
  w.host.Control(u"Menu Bar", 2)->Click();
  w.connect.AddinInstance_OnDisconnection();
  EXPECT_THAT(w.windows->Timers(), IsEmpty());
  EXPECT_EQ(w.main.WatchTimerID, 0u);
}

// Unticked in the Add-In Manager, the add-in object stays with the editor: a click of References
// then runs none of Lathmore, nothing of the editor is held, and a later connection works again.
TEST(ConnectLathmore, DisconnectionLetsGoOfTheCommandAndTheEditor) {
  Watch w;
  w.connect.AddinInstance_OnConnection(w.host.editor);
  const auto command = w.host.Control(u"Menu Bar", 2);
  w.connect.AddinInstance_OnDisconnection();
  EXPECT_EQ(command->ClickConnections(), 0u);
  EXPECT_EQ(w.connect.btnToolsRefs, nullptr);
  EXPECT_EQ(w.main.EditorVBE, nullptr);
  command->Click();
  EXPECT_THAT(w.windows->Timers(), IsEmpty()) << "no watch after the disconnection";

  w.connect.AddinInstance_OnConnection(w.host.editor);
  command->Click();
  EXPECT_THAT(w.windows->Timers(), SizeIs(1));
}

TEST(ConnectLathmore, AReconnectionToAnEditorWithoutTheCommandLetsGoOfTheOldOne) {
  Watch w;
  w.connect.AddinInstance_OnConnection(w.host.editor);
  const auto old = w.host.Control(u"Menu Bar", 2);
  w.host.Bar(u"Menu Bar")->Remove();
  w.connect.AddinInstance_OnConnection(w.host.editor);
  EXPECT_EQ(w.connect.btnToolsRefs, nullptr);
  EXPECT_EQ(old->ClickConnections(), 0u) << "the old command's Click is let go of";
}

TEST(ConnectLathmore, ReconnectingHooksTheCommandOnce) {
  Watch w;
  w.connect.AddinInstance_OnConnection(w.host.editor);
  w.connect.AddinInstance_OnConnection(w.host.editor);
  w.host.calls->ClearLog();
  w.host.Control(u"Menu Bar", 2)->Click();
  EXPECT_EQ(w.host.calls->Count("Windows.SetTimer"), 1u);
}

}  // namespace
}  // namespace lathmore::testing
