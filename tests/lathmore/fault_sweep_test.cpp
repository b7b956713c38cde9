// Every action of Lathmore with each host call it makes failing in turn. Nothing is trapped at
// connection; a tick lets nothing out, whatever fails, and never leaves a timer behind once it
// has found the dialog or given up.

#include "tests/fault_sweep.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/lathmore/references_dialog.h"

namespace lathmore::testing {
namespace {

using testing_support::FailedCall;
using testing_support::Sweep;

host::sim::HostCalls& Calls(Watch& w) { return *w.host.calls; }

TEST(FaultSweep, ConnectingLathmore) {
  Sweep(
      "connect Lathmore", [] { return std::make_unique<Watch>(); }, Calls,
      [](Watch& w) { w.connect.AddinInstance_OnConnection(w.host.editor); },
      [](Watch& w, const FailedCall& f) {
        EXPECT_TRUE(f.threw) << "nothing is trapped at connection";
        EXPECT_EQ(w.connect.btnToolsRefs, nullptr) << "and nothing is hooked by a failed one";
      });
}

TEST(FaultSweep, ChoosingTheCommand) {
  const auto arrange = [] {
    auto w = std::make_unique<Watch>();
    w->connect.AddinInstance_OnConnection(w->host.editor);
    return w;
  };
  Sweep(
      "choose Tools > References", arrange, Calls,
      [](Watch& w) { w.host.Control(u"Menu Bar", 2)->Click(); },
      [](Watch& w, const FailedCall& f) {
        EXPECT_FALSE(f.threw);
        // A timer the system refused is no watch; otherwise exactly one runs.
        EXPECT_THAT(w.windows->Timers(),
                    ::testing::SizeIs(f.operation == "Windows.SetTimer" ? 0 : 1));
      });
}

std::unique_ptr<Watch> Watching(bool withDialog) {
  auto w = std::make_unique<Watch>();
  w->main.EditorVBE = w->host.editor;
  if (withDialog) w->OpenDialog();
  w->main.StartWatch();
  return w;
}

TEST(FaultSweep, ATickWithoutTheDialog) {
  Sweep(
      "tick, no dialog", [] { return Watching(false); }, Calls,
      [](Watch& w) { w.windows->FireTimers(); },
      [](Watch& w, const FailedCall& f) {
        EXPECT_FALSE(f.threw) << "nothing escapes a tick";
        EXPECT_THAT(w.windows->Timers(), ::testing::SizeIs(1)) << "the watch goes on";
      });
}

TEST(FaultSweep, ATickThatLaysTheDialogOut) {
  Sweep(
      "tick, dialog there", [] { return Watching(true); }, Calls,
      [](Watch& w) { w.windows->FireTimers(); },
      [](Watch& w, const FailedCall& f) {
        EXPECT_FALSE(f.threw) << "nothing escapes a tick";
        const bool found = w.main.DialogHwnd != 0;
        // Found: the timer is gone (unless the system failed to kill it); not found: it goes on.
        if (found && f.operation != "Windows.KillTimer") {
          EXPECT_THAT(w.windows->Timers(), ::testing::IsEmpty());
        }
        if (found) {
          EXPECT_EQ(w.main.WatchTimerID, 0u);
        }
        if (!found) {
          EXPECT_THAT(w.windows->Timers(), ::testing::SizeIs(1));
        }
      });
}

TEST(FaultSweep, ATickPastTheAllowance) {
  const auto arrange = [] {
    auto w = Watching(false);
    w->clock->AdvanceSeconds(11);
    return w;
  };
  Sweep(
      "tick, time out", arrange, Calls, [](Watch& w) { w.windows->FireTimers(); },
      [](Watch& w, const FailedCall& f) {
        EXPECT_FALSE(f.threw);
        EXPECT_EQ(w.main.WatchTimerID, 0u);
      });
}

}  // namespace
}  // namespace lathmore::testing
