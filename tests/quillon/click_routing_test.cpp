// Every click on one of the twelve buttons reaches exactly its entry point, with the clicked
// button, and leaves the host's flags alone.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "host/error.h"
#include "quillon/vbe_events.h"
#include "tests/quillon/session.h"

namespace quillon::testing {
namespace {

TEST(ClickRouting, EachButtonReachesItsEntryPointWithItself) {
  Session session;
  session.Connect();
  struct Case {
    const char16_t* bar;
    int index;
    const char* entry;
    bool passesButton;
  };
  std::vector<Case> cases;
  for (int i = 1; i <= 5; ++i) {
    cases.push_back({kBookmarks, i, "BookmarkClick", true});
    cases.push_back({kCopyBuffers, i, "CopyBufferClick", true});
  }
  cases.push_back({kBookmarks, 6, "ResetBookmarks", false});
  cases.push_back({kCopyBuffers, 6, "ClearCopyBuffers", false});

  for (const auto& c : cases) {
    SCOPED_TRACE(host::ToUtf8(c.bar) + " control " + std::to_string(c.index));
    session.actions->clicks.clear();
    session.Control(c.bar, c.index)->Click();
    ASSERT_EQ(session.actions->clicks.size(), 1u);
    EXPECT_EQ(session.actions->clicks[0].entry, c.entry);
    if (c.passesButton) {
      EXPECT_EQ(session.actions->clicks[0].button, session.Control(c.bar, c.index));
    } else
      EXPECT_EQ(session.actions->clicks[0].button, nullptr);
  }
}

TEST(ClickRouting, HandledAndCancelDefaultKeepWhatTheHostPassed) {
  Session session;
  session.Connect();
  for (const bool handled : {false, true}) {
    for (const bool cancel : {false, true}) {
      for (const int index : {3, 6}) {
        const auto outcome = session.Control(kCopyBuffers, index)->Click(handled, cancel);
        EXPECT_EQ(outcome.handled, handled);
        EXPECT_EQ(outcome.cancelDefault, cancel);
      }
    }
  }
}

TEST(ClickRouting, AControlThatIsNotAButtonFailsTheClickWithoutReachingAnEntryPoint) {
  Session session;
  session.Connect();
  const auto popup = session.Bar(kBookmarks)->AppendControl(host::sim::kControlPopup, 1);
  const auto source = session.host.editor->Events()->CommandBarEvents(popup);
  session.addin.State().VBEEvents->SetSource(EventSlot::BM2Event, source);
  EXPECT_THROW(popup->Click(), host::HostError);
  EXPECT_TRUE(session.actions->clicks.empty());
}

TEST(ClickRouting, AFailureInTheEntryPointGoesBackToTheHost) {
  struct Failing : RecordingActions {
    void ClearCopyBuffers() override { throw host::HostError(host::codes::kFail, u"boom"); }
  };
  auto host = host::sim::SimHostBuilder().Build();
  dsrQuillon addin(
      Platform{host.settings, host.environment, host.sound, host.keyboard, host.messages},
      std::make_shared<Failing>());
  addin.AddinInstance_OnConnection(host.editor);
  EXPECT_THROW(host.Control(kCopyBuffers, 6)->Click(), host::HostError);
}

TEST(EventSink, SettingASlotReplacesTheSourceItHeld) {
  Session session;
  session.Connect();
  auto& sink = *session.addin.State().VBEEvents;
  const auto oldButton = session.Control(kBookmarks, 1);
  const auto newButton = session.Control(kBookmarks, 5);
  sink.SetSource(EventSlot::BM1Event, session.host.editor->Events()->CommandBarEvents(newButton));

  oldButton->Click();
  EXPECT_TRUE(session.actions->clicks.empty()) << "the old source no longer reaches the handler";
  newButton->Click();
  EXPECT_EQ(session.actions->clicks.size(), 2u) << "slot 5's own source and the re-bound slot 1";
}

TEST(EventSink, AReleasedSinkReachesNothing) {
  Session session;
  session.Connect();
  const auto button = session.Control(kCopyBuffers, 1);
  session.addin.State().VBEEvents.reset();
  button->Click();
  EXPECT_TRUE(session.actions->clicks.empty());
}

}  // namespace
}  // namespace quillon::testing
