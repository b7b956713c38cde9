// Every action of Lathmore with each host call it makes failing in turn. Nothing is trapped at
// connection; a tick lets nothing out, whatever fails, and never leaves a timer behind once it
// has found the dialog or given up.

#include "tests/fault_sweep.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>

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

std::map<std::string, host::Rect> Places(const Watch& w) {
  std::map<std::string, host::Rect> places;
  for (const auto& [name, handle] : w.controls) places[name] = w.Client(name.c_str());
  return places;
}

TEST(FaultSweep, ATickThatLaysTheDialogOut) {
  const auto clean = Watching(true);
  const auto opened = Places(*clean);
  clean->windows->FireTimers();
  const auto laidOut = Places(*clean);
  const auto dialogLaidOut = clean->windows->Info(clean->main.DialogHwnd).rect;
  Sweep(
      "tick, dialog there", [] { return Watching(true); }, Calls,
      [](Watch& w) { w.windows->FireTimers(); },
      [&](Watch& w, const FailedCall& f) {
        EXPECT_FALSE(f.threw) << "nothing escapes a tick";
        // Up to the timer's end the tick looks for the dialog: a failure there is a tick without
        // dialog, and the watch goes on with the dialog untouched.
        const auto& calls = *f.calls;
        const auto stop = std::find(calls.begin(), calls.end(), "Windows.KillTimer");
        ASSERT_NE(stop, calls.end());
        if (f.number <= static_cast<std::size_t>(stop - calls.begin())) {
          EXPECT_EQ(w.main.DialogHwnd, 0u);
          EXPECT_THAT(w.windows->Timers(), ::testing::SizeIs(1));
          EXPECT_EQ(Places(w), opened);
          return;
        }
        // Found: the watch has ended (the system may have failed to kill the timer itself), and
        // the layout went on past the failed call: the dialog has its size unless its own rectangle
        // was the one refused, and every control is where the clean tick put it but the one whose
        // call failed, one searched after it and the one found in its stead.
        EXPECT_EQ(w.main.WatchTimerID, 0u);
        EXPECT_THAT(w.windows->Timers(),
                    ::testing::SizeIs(f.operation == "Windows.KillTimer" ? 1 : 0));
        const auto& dialog = w.windows->Info(w.main.DialogHwnd).rect;
        const auto firstAfterStop = [&](const char* operation) {
          return static_cast<std::size_t>(std::find(stop, calls.end(), operation) - calls.begin()) +
                 1;
        };
        if (f.number != firstAfterStop("Windows.GetWindowRect") &&
            f.number != firstAfterStop("Windows.SetWindowPos")) {
          EXPECT_EQ(dialog, dialogLaidOut);
        }
        int elsewhere = 0;
        for (const auto& [name, place] : Places(w)) elsewhere += place != laidOut.at(name);
        EXPECT_LE(elsewhere, 3);
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
