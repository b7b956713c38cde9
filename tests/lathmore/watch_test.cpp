// The watch for the References dialog and its layout, on a window tree that behaves like user32.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/lathmore/references_dialog.h"

namespace lathmore::testing {
namespace {

using ::testing::IsEmpty;
using ::testing::SizeIs;

struct Delta {
  std::int32_t dx, dy, dw, dh;
  bool operator==(const Delta&) const = default;
};
Delta Between(const host::Rect& before, const host::Rect& after) {
  return {after.left - before.left, after.top - before.top,
          (after.right - after.left) - (before.right - before.left),
          (after.bottom - after.top) - (before.bottom - before.top)};
}
void PrintTo(const Delta& d, std::ostream* out) {
  *out << "{" << d.dx << ", " << d.dy << ", " << d.dw << ", " << d.dh << "}";
}

TEST(Watch, TheFirstTickThatSeesTheDialogLaysItOutOnce) {
  Watch w;
  w.main.EditorVBE = w.host.editor;
  w.main.StartWatch();
  w.windows->FireTimers();  // no dialog yet
  EXPECT_THAT(w.windows->Timers(), SizeIs(1));

  const auto dialog = w.OpenDialog();
  std::map<std::string, host::Rect> before;
  for (const auto& [name, handle] : w.controls) before[name] = w.Client(name.c_str());
  w.windows->FireTimers();

  EXPECT_EQ(w.windows->Info(dialog).rect, (host::Rect{100, 80, 820, 550}))
      << "720 x 470, corner kept";
  EXPECT_TRUE(w.windows->Info(dialog).onTop);
  const std::map<std::string, Delta> expected = {
      {"OK", {260, 0, 0, 0}},         {"Cancel", {260, 0, 0, 0}},
      {"Browse", {260, 0, 0, 0}},     {"Help", {260, 0, 0, 0}},
      {"frame", {0, 100, 260, 10}},   {"Up", {270, 50, 0, 0}},
      {"Down", {270, 50, 0, 0}},      {"Priority", {270, 50, 0, 0}},
      {"Location", {-25, 120, 0, 0}}, {"location value", {-25, 120, 300, 15}},
      {"Language", {-25, 80, 0, 0}},  {"language value", {-28, 80, 0, 0}},
      {"list", {0, 0, 270, 100}}};
  for (const auto& [name, delta] : expected)
    EXPECT_EQ(Between(before[name], w.Client(name.c_str())), delta) << name;
  EXPECT_EQ(w.windows->Info(w.controls["location value"]).style, kVisibleChild)
      << "exactly 0xC cleared";
  EXPECT_EQ(w.windows->Info(w.controls["language value"]).style, kVisibleChild);
  EXPECT_EQ(w.main.WatchTimerID, 0u);
  EXPECT_THAT(w.windows->Timers(), IsEmpty());
  EXPECT_EQ(w.main.DialogHwnd, dialog);

  // No timer is left, so nothing moves a second time.
  const auto ok = w.Client("OK");
  w.windows->FireTimers();
  EXPECT_EQ(w.Client("OK"), ok);
}

TEST(Watch, TicksEvery200Milliseconds) {
  Watch w;
  w.main.StartWatch();
  EXPECT_EQ(w.windows->Interval(w.main.WatchTimerID), 200u);
}

TEST(Watch, AMissingControlIsSkippedAndASearchAfterItStartsAtTheFirstChild) {
  Watch w;
  w.main.EditorVBE = w.host.editor;
  w.OpenDialog(u"References - VBAProject", 1000, false);
  const auto ok = w.Client("OK");
  const auto frame = w.Client("frame");
  w.main.StartWatch();
  w.host.calls->ClearLog();
  w.windows->FireTimers();
  const auto& log = w.host.calls->Log();
  const auto hooked = std::find(log.begin(), log.end(), "Windows.SetWindowSubclass");
  EXPECT_EQ(std::count(log.begin(), hooked, "Windows.MoveWindow"), 12)
      << "the layout moves nothing for Help";
  EXPECT_EQ(Between(ok, w.Client("OK")), (Delta{260, 100, 260, 10}))
      << "move 5 takes the first button";
  EXPECT_EQ(Between(frame, w.Client("frame")), (Delta{0, 0, 0, 0}));
  EXPECT_TRUE(EveryControlInside(w, w.main.DialogHwnd)) << "the dialog grew to show OK";
}

TEST(Watch, PassesOverAnotherProcessesDialogAndAnotherProjectsTitle) {
  Watch w;
  w.main.EditorVBE = w.host.editor;
  const auto ours = w.OpenDialog();
  const auto theirs =
      w.windows->AddTopLevel({u"#32770", u"References - VBAProject", 2000, 0, {0, 0, 430, 330}});
  const auto other =
      w.windows->AddTopLevel({u"#32770", u"References - OtherProject", 1000, 0, {0, 0, 430, 330}});
  EXPECT_EQ(w.main.FindOwnTopWindow(u"#32770", u"References - VBAProject"), ours);
  EXPECT_EQ(w.main.FindOwnTopWindow(u"#32770", u"References - VBAProj"), 0u) << "the whole title";
  w.main.StartWatch();
  w.windows->FireTimers();
  EXPECT_EQ(w.windows->Info(ours).rect.right - w.windows->Info(ours).rect.left, 720);
  EXPECT_EQ(w.windows->Info(theirs).rect, (host::Rect{0, 0, 430, 330}));
  EXPECT_EQ(w.windows->Info(other).rect, (host::Rect{0, 0, 430, 330}));
}

TEST(Watch, ADialogTitledForAnotherProjectKeepsTheWatchGoing) {
  Watch w;
  w.main.EditorVBE = w.host.editor;
  w.windows->AddTopLevel({u"#32770", u"References - OtherProject", 1000, 0, {0, 0, 430, 330}});
  w.main.StartWatch();
  w.windows->FireTimers();
  EXPECT_NE(w.main.WatchTimerID, 0u);
  EXPECT_EQ(w.main.DialogHwnd, 0u);
}

TEST(Watch, EndsAtTheFirstTickPastTenSeconds) {
  Watch w;
  w.main.EditorVBE = w.host.editor;
  w.main.StartWatch();
  w.clock->AdvanceSeconds(10.0);
  w.windows->FireTimers();
  EXPECT_THAT(w.windows->Timers(), SizeIs(1)) << "strictly more than 10 seconds";
  w.clock->AdvanceSeconds(0.2);
  w.windows->FireTimers();
  EXPECT_THAT(w.windows->Timers(), IsEmpty());
  EXPECT_EQ(w.main.WatchTimerID, 0u);
  w.OpenDialog();
  w.windows->FireTimers();
  EXPECT_EQ(w.Client("OK"), (host::Rect{320, 10, 410, 33}))
      << "a dialog that opens later keeps its size";
}

TEST(Watch, ASecondClickRestartsTheAllowanceWithOneTimer) {
  Watch w;
  w.main.EditorVBE = w.host.editor;
  w.main.StartWatch();
  const auto first = w.main.WatchTimerID;
  w.clock->AdvanceSeconds(8);
  w.main.StartWatch();
  EXPECT_THAT(w.windows->Timers(), SizeIs(1));
  EXPECT_NE(w.main.WatchTimerID, first);
  w.clock->AdvanceSeconds(8);
  w.windows->FireTimers();
  EXPECT_THAT(w.windows->Timers(), SizeIs(1))
      << "16 seconds after the first click, 8 after the second";
  w.clock->AdvanceSeconds(2.5);
  w.windows->FireTimers();
  EXPECT_THAT(w.windows->Timers(), IsEmpty());
}

TEST(Watch, AnUnreadableProjectNameIsATickWithoutDialog) {
  Watch w;
  w.main.EditorVBE = w.host.editor;
  w.OpenDialog();
  w.host.calls->FailOn("VBE.ActiveVBProject", 1);
  w.main.StartWatch();
  EXPECT_NO_THROW(w.windows->FireTimers());
  EXPECT_THAT(w.windows->Timers(), SizeIs(1));
  w.windows->FireTimers();
  EXPECT_THAT(w.windows->Timers(), IsEmpty()) << "found on the next tick";
}

TEST(Watch, OnAHighDpiDisplayTheSizeAndEveryOffsetScale) {
  Watch w;
  w.main.EditorVBE = w.host.editor;
  const auto dialog = w.OpenDialog(u"References - VBAProject", 1000, true, 144);
  const auto language = w.Client("language value");
  const auto location = w.Client("location value");
  w.main.StartWatch();
  w.windows->FireTimers();
  EXPECT_EQ(w.windows->Info(dialog).rect, (host::Rect{100, 80, 1180, 785}));
  EXPECT_EQ(Between(language, w.Client("language value")), (Delta{-42, 120, 0, 0}));
  EXPECT_EQ(Between(location, w.Client("location value")), (Delta{-38, 180, 450, 23}));
}

// Office runs its threads and windows in mixed DPI modes: whatever the awareness of the thread
// that ticks, the dialog comes out at the design size scaled by its display, in physical pixels,
// and so does every move (within a pixel of the dialog's own, the system's rounding).
TEST(Watch, EveryDpiAwarenessOfDialogAndThreadGivesTheSameSizeOnTheScreen) {
  using host::sim::DpiAwareness;
  for (const auto dialogAwareness :
       {DpiAwareness::Unaware, DpiAwareness::SystemAware, DpiAwareness::PerMonitor}) {
    for (const std::int32_t dpi : {96, 144, 192}) {
      for (const auto threadAwareness : {DpiAwareness::Unaware, DpiAwareness::PerMonitor}) {
        SCOPED_TRACE("dialog awareness " + std::to_string(static_cast<int>(dialogAwareness)) +
                     ", " + std::to_string(dpi) + " DPI, thread awareness " +
                     std::to_string(static_cast<int>(threadAwareness)));
        Watch w;
        w.main.EditorVBE = w.host.editor;
        w.windows->systemDpi = dpi;
        w.windows->threadAwareness = threadAwareness;
        const auto dialog = w.OpenDialog(u"References - VBAProject", 1000, true, dpi);
        w.windows->Info(dialog).awareness = dialogAwareness;
        const auto ok = w.Client("OK");
        const auto list = w.Client("list");
        w.main.StartWatch();
        w.windows->FireTimers();
        const double scale = dpi / 96.0;
        const auto near = [scale](std::int32_t actual, double expected) {
          EXPECT_NEAR(actual, expected, scale);
        };
        const auto& rect = w.windows->Info(dialog).rect;
        near(rect.left, 100);
        near(rect.top, 80);
        near(rect.right - rect.left, 720 * scale);
        near(rect.bottom - rect.top, 470 * scale);
        near(Between(ok, w.Client("OK")).dx, 260 * scale);
        near(Between(list, w.Client("list")).dw, 270 * scale);
        near(Between(list, w.Client("list")).dh, 100 * scale);
        EXPECT_EQ(w.windows->threadAwareness, threadAwareness) << "the thread's is put back";
      }
    }
  }
}

TEST(Watch, WhereTheSystemCannotSwitchDpiAwarenessTheLayoutStillRuns) {
  Watch w;
  w.main.EditorVBE = w.host.editor;
  w.windows->dpiContexts = false;
  const auto dialog = w.OpenDialog();
  w.main.StartWatch();
  w.windows->FireTimers();
  EXPECT_EQ(w.windows->Info(dialog).rect, (host::Rect{100, 80, 820, 550}));
}

// Hebrew and Arabic Office mirror their dialogs: client x runs from the right edge, and a control
// keeps its width and moves as on any other dialog, in the dialog's own coordinates.
TEST(Watch, AMirroredDialogIsLaidOutInItsOwnCoordinates) {
  Watch w;
  w.main.EditorVBE = w.host.editor;
  const auto dialog = w.OpenDialog();
  w.windows->Info(dialog).mirrored = true;
  std::map<std::string, host::Rect> before;
  for (const auto& [name, handle] : w.controls) before[name] = w.Client(name.c_str());
  w.main.StartWatch();
  w.windows->FireTimers();
  EXPECT_EQ(w.windows->Info(dialog).rect, (host::Rect{100, 80, 820, 550}));
  EXPECT_EQ(Between(before["OK"], w.Client("OK")), (Delta{260, 0, 0, 0}));
  EXPECT_EQ(Between(before["list"], w.Client("list")), (Delta{0, 0, 270, 100}));
  EXPECT_EQ(Between(before["location value"], w.Client("location value")),
            (Delta{-25, 120, 300, 15}));
}

TEST(Watch, GoesWhenTheModuleGoes) {
  Watch w;
  {
    MMain other(w.windows, w.clock, w.host.settings);
    other.StartWatch();
    EXPECT_THAT(w.windows->Timers(), SizeIs(1));
  }
  EXPECT_THAT(w.windows->Timers(), IsEmpty());
}

}  // namespace
}  // namespace lathmore::testing
