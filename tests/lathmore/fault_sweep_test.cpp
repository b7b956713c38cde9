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

// A laid-out dialog the user has sized.
std::unique_ptr<LaidOut> SizedTo(std::int32_t width, std::int32_t height) {
  auto d = std::make_unique<LaidOut>();
  d->windows->UserSizes(d->dialog, width, height);
  return d;
}

// How many controls are not where `expected` puts them.
int Elsewhere(const Watch& w, const std::map<std::string, host::Rect>& expected) {
  int elsewhere = 0;
  for (const auto& [name, place] : Places(w)) elsewhere += place != expected.at(name);
  return elsewhere;
}

std::size_t FirstCall(const std::vector<std::string>& calls, const char* operation) {
  return static_cast<std::size_t>(std::find(calls.begin(), calls.end(), operation) -
                                  calls.begin()) +
         1;
}

TEST(FaultSweep, ConnectingLathmore) {
  Sweep(
      "connect Lathmore", [] { return std::make_unique<Watch>(); }, Calls,
      [](Watch& w) { w.connect.AddinInstance_OnConnection(w.host.editor); },
      [](Watch& w, const FailedCall& f) {
        // Hooking References ends with its AdviseClick; the repair command comes after it.
        const auto& calls = *f.calls;
        const auto hooked =
            std::find(calls.begin(), calls.end(), "CommandBarButton.AdviseClick") - calls.begin();
        if (static_cast<std::ptrdiff_t>(f.number) <= hooked + 1) {
          EXPECT_TRUE(f.threw) << "nothing is trapped while hooking the command";
          EXPECT_EQ(w.connect.btnToolsRefs, nullptr) << "and nothing is hooked by a failed one";
          return;
        }
        EXPECT_FALSE(f.threw) << "a refused repair command leaves Lathmore connected";
        EXPECT_NE(w.connect.btnToolsRefs, nullptr);
        EXPECT_EQ(w.repair.Button(), nullptr);
        EXPECT_EQ(w.host.Bar(u"Menu Bar")->ControlList().size(), 2u)
            << "no half-made command is left on the menu";
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
  const auto clean = Watching(true);
  const auto opened = Places(*clean);
  clean->windows->FireTimers();
  const auto laidOut = Places(*clean);
  const auto dialogLaidOut = clean->windows->Info(clean->main.DialogHwnd).rect;
  int grown = 0;
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
        // Unless the dialog's own size was refused, every control is in sight, whether or not it
        // took a growth to put it there.
        if (f.number != firstAfterStop("Windows.GetWindowRect") &&
            f.number != firstAfterStop("Windows.SetWindowPos")) {
          EXPECT_TRUE(EveryControlInside(w, w.main.DialogHwnd));
          if (dialog != dialogLaidOut) {
            // A control the failure put outside: the dialog grew until it is in sight.
            ++grown;
            EXPECT_GE(dialog.right, dialogLaidOut.right);
            EXPECT_GE(dialog.bottom, dialogLaidOut.bottom);
            EXPECT_EQ(dialog.left, dialogLaidOut.left);
          }
        }
        EXPECT_LE(Elsewhere(w, laidOut), 3);
      });
  EXPECT_GT(grown, 0) << "some failures need the dialog to grow; a layout that never grows fails";
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

// Sizing by the user: a failed call leaves at most the one control it was for behind, or all of
// them where they were when the dialog's own size could not be read, and never lets anything out.
TEST(FaultSweep, TheUserSizingTheDialog) {
  Sweep(
      "user sizes the dialog", [] { return SizedTo(900, 600); }, Calls,
      [](LaidOut& d) { d.windows->UserSizes(d.dialog, 1000, 700); },
      [](LaidOut& d, const FailedCall& f) {
        EXPECT_EQ(d.Outer(), (host::Rect{100, 80, 1100, 780}));
        if (f.operation == "Windows.GetWindowRect") {
          EXPECT_EQ(Places(d), Anchored(d, 180, 130)) << "where the last size put them";
          return;
        }
        EXPECT_LE(Elsewhere(d, Anchored(d, 280, 230)), f.operation == "Windows.MoveWindow" ? 1 : 0);
      });
}

TEST(FaultSweep, TheDialogClosing) {
  Sweep(
      "the dialog closes", [] { return SizedTo(1000, 700); }, Calls,
      [](LaidOut& d) { d.windows->DestroyWindow(d.dialog); },
      [](LaidOut& d, const FailedCall& f) {
        EXPECT_EQ(d.windows->HookCount(), 0u);
        EXPECT_FALSE(d.main.SizingDialog());
        // What is kept is the size, or nothing of what could not be read or written.
        const bool unread = f.operation == "Windows.GetWindowRect";
        const bool widthLost = unread || (f.operation == "Settings.SaveSetting" &&
                                          f.number == FirstCall(*f.calls, "Settings.SaveSetting"));
        const bool heightLost = unread || (f.operation == "Settings.SaveSetting" && !widthLost);
        EXPECT_EQ(d.Kept(kWidthKey), widthLost ? std::nullopt : std::optional<host::Text>(u"1000"));
        EXPECT_EQ(d.Kept(kHeightKey),
                  heightLost ? std::nullopt : std::optional<host::Text>(u"700"));
      });
}

TEST(FaultSweep, DisconnectingWhileTheDialogIsSized) {
  const auto arrange = [] {
    auto d = std::make_unique<LaidOut>();
    d->connect.AddinInstance_OnConnection(d->host.editor);
    return d;
  };
  const auto calls = Sweep(
      "disconnect, dialog open", arrange, Calls,
      [](LaidOut& d) { d.connect.AddinInstance_OnDisconnection(); },
      [](LaidOut& d, const FailedCall& f) {
        EXPECT_FALSE(f.threw);
        EXPECT_EQ(d.windows->HookCount(), 0u) << "a refused removal still ends the hook's calls";
        EXPECT_EQ(d.repair.Button(), nullptr) << "and the repair command is let go of";
      });
  EXPECT_EQ(calls, 2u) << "the hook's removal and the repair command's deletion";
}

// Opening with a kept size: whatever fails, the dialog is at the kept size, laid out, or untouched
// when not found, and the user sizing it afterwards puts every control it could read where it
// belongs.
TEST(FaultSweep, ATickThatOpensTheDialogAtItsKeptSize) {
  const auto arrange = [] {
    auto d = SizedTo(1000, 700);
    d->windows->DestroyWindow(d->dialog);
    d->controls.clear();
    d->dialog = d->OpenDialog();
    d->main.StartWatch();
    return d;
  };
  const auto clean = arrange();
  clean->windows->FireTimers();
  ASSERT_EQ(clean->Outer(), (host::Rect{100, 80, 1100, 780}));
  std::map<std::string, host::Rect> laidOut;
  clean->windows->UserSizes(clean->dialog, 720, 470);
  for (const auto& [name, place] : Places(*clean)) laidOut[name] = place;
  Sweep(
      "tick, dialog there, a size kept", arrange, Calls,
      [](LaidOut& d) { d.windows->FireTimers(); },
      [&](LaidOut& d, const FailedCall& f) {
        EXPECT_FALSE(f.threw);
        const auto outer = d.Outer();
        const std::int32_t width = outer.right - outer.left;
        EXPECT_TRUE(width == 1000 || width == 720 || (width == 430 && !d.main.DialogHwnd))
            << "kept, laid out, or not found: " << width;
        // Without its layout's size it is no dialog to size from: the layout's sweep covers that.
        if (!d.main.SizingDialog() || f.number == FirstCall(*f.calls, "Windows.SetWindowPos"))
          return;
        d.laidOut = laidOut;
        d.windows->UserSizes(d.dialog, 1200, 800);  // refused where the border could not be added
        const auto now = d.Outer();
        // A dialog grown to show a control the failure put outside follows from its grown size.
        const bool grown =
            d.windows->UserSizes(d.dialog, 1, 1) &&
            (d.Outer().right - d.Outer().left > 720 || d.Outer().bottom - d.Outer().top > 470);
        d.windows->UserSizes(d.dialog, 1200, 800);
        if (grown) {
          EXPECT_TRUE(EveryControlInside(d, d.dialog));
          return;
        }
        EXPECT_LE(Elsewhere(d, Anchored(d, now.right - now.left - 720, now.bottom - now.top - 470)),
                  3)
            << "the ones the layout's failure touched";
      });
}

}  // namespace
}  // namespace lathmore::testing
