// The laid-out References dialog in the user's hands: sized by its border, its controls following
// their edges, held to its laid-out size, its size kept for the next one; and the hook on it ended
// on every path that ends it.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>

#include "tests/lathmore/references_dialog.h"

namespace lathmore::testing {
namespace {

using host::Rect;

TEST(Sizing, EveryKnownControlFollowsItsEdgesAtEverySizeAndAStrangerStaysPut) {
  LaidOut d;
  ASSERT_EQ(d.Outer(), (Rect{100, 80, 820, 550}));
  const Rect stranger = d.windows->Info(d.stranger).rect;
  for (const auto& [width, height] : {std::pair{1000, 700}, {721, 1000}, {1800, 471}, {720, 470}}) {
    SCOPED_TRACE(std::to_string(width) + " x " + std::to_string(height));
    ASSERT_TRUE(d.windows->UserSizes(d.dialog, width, height)) << "it has a sizing border";
    EXPECT_EQ(d.Outer(), (Rect{100, 80, 100 + width, 80 + height}));
    EXPECT_EQ(Places(d), Anchored(d, width - 720, height - 470));
    EXPECT_EQ(d.windows->Info(d.stranger).rect, stranger);
    EXPECT_TRUE(EveryControlInside(d, d.dialog));
  }
}

// A dialog 60 pixels wider than the one the fixed moves were made for: OK and the frame would end
// 24 pixels past the client area's right edge (720 less two frames of 3 and two sizing borders
// 4 thicker: 706), and they had 14 pixels to spare before. It grows by 38 to 758, and that is its
// least size; it follows the user from there.
TEST(Sizing, ADialogLargerThanTheMovesWereMadeForGrowsJustEnoughToShowEveryControl) {
  Watch w;
  w.main.EditorVBE = w.host.editor;
  const auto dialog = w.OpenDialog(u"References - VBAProject", 1000, true, 96, 60);
  w.main.StartWatch();
  w.windows->FireTimers();
  EXPECT_EQ(w.windows->Info(dialog).rect, (Rect{100, 80, 858, 550}));
  EXPECT_TRUE(EveryControlInside(w, dialog));
  EXPECT_EQ(w.windows->GetClientRect(dialog).right - w.Client("OK").right, 14)
      << "the margin OK had before the layout";
  std::map<std::string, Rect> laidOut = Places(w);
  for (const auto& [width, height] : {std::pair{1000, 700}, {500, 300}, {758, 470}}) {
    SCOPED_TRACE(std::to_string(width) + " x " + std::to_string(height));
    w.windows->UserSizes(dialog, width, height);
    const Rect outer = w.windows->Info(dialog).rect;
    EXPECT_EQ(outer.right - outer.left, std::max(width, 758));
    EXPECT_EQ(outer.bottom - outer.top, std::max(height, 470));
    EXPECT_TRUE(EveryControlInside(w, dialog));
  }
  EXPECT_EQ(Places(w), laidOut) << "back at the least size, back where laid out";
  w.windows->DestroyWindow(dialog);
  EXPECT_EQ(w.host.settings->Stored(kSettingsApplication, kReferencesSection, kWidthKey), u"758");
}

// Taller too: a dialog whose frame would end below the client area grows down as well.
TEST(Sizing, ADialogWhoseFrameWouldEndBelowItsClientAreaGrowsDown) {
  Watch w;
  w.main.EditorVBE = w.host.editor;
  const auto dialog = w.OpenDialog();
  // 40 taller, its frame 30 lower: 12 pixels above the client area's bottom (342 high).
  w.windows->Info(dialog).rect.bottom += 40;
  w.windows->Info(w.controls.at("frame")).rect = {10, 235, 410, 330};
  w.main.StartWatch();
  w.windows->FireTimers();
  // Frame bottom 330 + 110 = 440 in a client area 434 high: 6 missing, 12 of margin.
  EXPECT_EQ(w.windows->Info(dialog).rect, (Rect{100, 80, 820, 568}));
  EXPECT_TRUE(EveryControlInside(w, dialog));
}

// Dragged to a monitor of 144 DPI while hooked: the system gives it its suggested rectangle,
// and from then on the laid-out places, the least size and the kept size are those of 144 DPI.
TEST(Sizing, AMoveToAnotherDpiWhileHookedSizesAndKeepsAtTheNewDpi) {
  LaidOut d;
  const auto scaledBy = [](const std::map<std::string, Rect>& places, double factor) {
    std::map<std::string, Rect> scaled;
    const auto s = [factor](std::int32_t v) {
      return static_cast<std::int32_t>(std::lround(v * factor));
    };
    for (const auto& [name, r] : places)
      scaled[name] = {s(r.left), s(r.top), s(r.right), s(r.bottom)};
    return scaled;
  };
  const auto at96 = d.laidOut;
  d.windows->MoveToDpi(d.dialog, 144, {2000, 80, 3080, 785});
  EXPECT_EQ(Places(d), scaledBy(at96, 1.5));
  d.laidOut = scaledBy(at96, 1.5);
  d.windows->UserSizes(d.dialog, 800, 500);
  EXPECT_EQ(d.Outer(), (Rect{2000, 80, 3080, 785})) << "least: 720 x 470 at 144 DPI";
  d.windows->UserSizes(d.dialog, 1500, 1000);
  EXPECT_EQ(Places(d), Anchored(d, 1500 - 1080, 1000 - 705));
  EXPECT_TRUE(EveryControlInside(d, d.dialog));

  // And back at 96 DPI: 1000 x 667 there, the least 720 x 470 again.
  d.windows->MoveToDpi(d.dialog, 96, {100, 80, 1100, 747});
  d.laidOut = at96;
  EXPECT_EQ(Places(d), Anchored(d, 280, 197));
  d.windows->UserSizes(d.dialog, 500, 300);
  EXPECT_EQ(d.Outer(), (Rect{100, 80, 820, 550}));
  d.windows->UserSizes(d.dialog, 1500, 1000);
  d.windows->DestroyWindow(d.dialog);
  EXPECT_EQ(d.Kept(kWidthKey), u"1500");
  EXPECT_EQ(d.Kept(kHeightKey), u"1000");
}

// Each dialog's own controls follow it, once each: none of an earlier dialog's, whose handles
// the system may have given to other windows since.
TEST(Sizing, OnlyTheKnownControlsOfThisDialogAreMoved) {
  LaidOut d;
  d.Reopen();
  d.host.calls->ClearLog();
  d.windows->UserSizes(d.dialog, 1000, 700);
  EXPECT_EQ(d.host.calls->Count("Windows.MoveWindow"), 13u);
  EXPECT_EQ(Places(d), Anchored(d, 280, 230));
}

// The 16th rectangle read is the OK button's, as the sizing notes it after the layout (the
// layout reads the dialog's and thirteen controls', the sizing the dialog's first).
TEST(Sizing, AControlWhosePlaceCannotBeReadStaysWhereItIs) {
  Watch w;
  w.main.EditorVBE = w.host.editor;
  const auto dialog = w.OpenDialog();
  w.main.StartWatch();
  w.host.calls->FailOn("Windows.GetWindowRect", 16);
  w.windows->FireTimers();
  const auto ok = w.Client("OK");
  const auto cancel = w.Client("Cancel");
  w.windows->UserSizes(dialog, 1000, 700);
  EXPECT_EQ(w.Client("OK"), ok);
  EXPECT_EQ(w.Client("Cancel"), Shifted(cancel, 280, 0, 0, 0));
}

TEST(Sizing, NeverSmallerThanLaidOutNorAreItsControlsPushedTogether) {
  LaidOut d;
  d.windows->UserSizes(d.dialog, 900, 600);
  d.windows->UserSizes(d.dialog, 500, 300);
  EXPECT_EQ(d.Outer(), (Rect{100, 80, 820, 550}));
  EXPECT_EQ(Places(d), d.laidOut);
  d.windows->UserSizes(d.dialog, 1000, 300);
  EXPECT_EQ(d.Outer(), (Rect{100, 80, 1100, 550}));
  EXPECT_EQ(Places(d), Anchored(d, 280, 0));

  // On a 144 DPI display the least is the laid-out size there, 1080 x 705.
  LaidOut large(144);
  large.windows->UserSizes(large.dialog, 800, 500);
  EXPECT_EQ(large.Outer(), (Rect{100, 80, 1180, 785}));
}

TEST(Sizing, TheSizeLeftIsKeptInDesignPixelsAndOpensTheNextDialog) {
  LaidOut d;
  d.windows->UserSizes(d.dialog, 1000, 700);
  d.Reopen();
  EXPECT_EQ(d.Kept(kWidthKey), u"1000");
  EXPECT_EQ(d.Kept(kHeightKey), u"700");
  EXPECT_EQ(d.Outer(), (Rect{100, 80, 1100, 780}));
  EXPECT_EQ(Places(d), Anchored(d, 280, 230));

  // 1350 x 900 on a 144 DPI display is 900 x 600 at 96; at 96 DPI it opens so.
  LaidOut large(144);
  large.windows->UserSizes(large.dialog, 1350, 900);
  large.Reopen(nullptr, nullptr, 144);
  EXPECT_EQ(large.Kept(kWidthKey), u"900");
  EXPECT_EQ(large.Kept(kHeightKey), u"600");
  EXPECT_EQ(large.Outer(), (Rect{100, 80, 1450, 980}));
  large.Reopen();
  EXPECT_EQ(large.Outer(), (Rect{100, 80, 1000, 680}));
}

TEST(Sizing, AKeptSizeIsHeldToTheWorkAreaAndTheLaidOutSize) {
  struct Case {
    const char16_t* width;
    const char16_t* height;
    Rect opened;
  };
  const Case cases[] = {
      // Larger than the work area: as large as it, moved into it.
      {u"5000", u"3000", {0, 0, 1920, 1040}},
      // Inside it but sticking out to the right and the bottom: moved left and up.
      {u"1900", u"1000", {20, 40, 1920, 1040}},
      // Smaller than laid out: laid out.
      {u"300", u"200", {100, 80, 820, 550}},
      {u"1000", u"200", {100, 80, 1100, 550}},
      // Five digits at most: a size beyond any screen is still one.
      {u"10000", u"00700", {0, 80, 1920, 780}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(host::ToUtf8(c.width) + " x " + host::ToUtf8(c.height));
    LaidOut d;
    d.Reopen(c.width, c.height);
    EXPECT_EQ(d.Outer(), c.opened);
  }
}

TEST(Sizing, AKeptValueThatIsNoSizeOpensTheDialogAsLaidOut) {
  const std::u16string huge(3000, u'9');
  for (const std::u16string& bad :
       {std::u16string(), std::u16string(u"abc"), std::u16string(u"-800"), std::u16string(u"0"),
        std::u16string(u"1e3"), std::u16string(u" 900"), std::u16string(u"900px"),
        std::u16string(u"100000"), huge}) {
    SCOPED_TRACE(host::ToUtf8(bad.substr(0, 12)));
    LaidOut d;
    d.Reopen(bad.c_str(), u"700");
    EXPECT_EQ(d.Outer(), (Rect{100, 80, 820, 550}));
    d.Reopen(u"1000", bad.c_str());
    EXPECT_EQ(d.Outer(), (Rect{100, 80, 820, 550}));
    EXPECT_TRUE(d.main.SizingDialog()) << "and the user can still size it";
  }
}

TEST(Sizing, WithoutAWorkAreaAKeptSizeIsNotUsed) {
  LaidOut d;
  d.host.calls->FailOn("Windows.GetMonitorInfo");
  d.Reopen(u"1000", u"700");
  EXPECT_EQ(d.Outer(), (Rect{100, 80, 820, 550}));
}

TEST(Sizing, KeepingTheSizeMayFailAndTheDialogStillCloses) {
  LaidOut d;
  d.windows->UserSizes(d.dialog, 1000, 700);
  d.host.calls->FailOn("Settings.SaveSetting");
  d.windows->DestroyWindow(d.dialog);
  EXPECT_FALSE(d.windows->Exists(d.dialog));
  EXPECT_EQ(d.windows->HookCount(), 0u);
  EXPECT_EQ(d.Kept(kWidthKey), std::nullopt);
}

TEST(Sizing, TheHookEndsWithTheDialog) {
  LaidOut d;
  ASSERT_EQ(d.windows->HookCount(), 1u);
  d.windows->DestroyWindow(d.dialog);
  EXPECT_EQ(d.windows->HookCount(), 0u);
  EXPECT_FALSE(d.main.SizingDialog());
}

TEST(Sizing, TheHookEndsAtDisconnectionAndTheDialogStaysAsItIs) {
  LaidOut d;
  d.connect.AddinInstance_OnConnection(d.host.editor);
  d.windows->UserSizes(d.dialog, 1000, 700);
  const auto places = Places(d);
  d.connect.AddinInstance_OnDisconnection();
  EXPECT_EQ(d.windows->HookCount(), 0u);
  EXPECT_FALSE(d.main.SizingDialog());
  d.host.settings->ClearWrites();
  d.windows->UserSizes(d.dialog, 1200, 800);
  EXPECT_EQ(Places(d), places) << "nothing follows any more";
  d.windows->DestroyWindow(d.dialog);
  EXPECT_THAT(d.host.settings->Writes(), ::testing::IsEmpty()) << "nor is anything kept";
}

TEST(Sizing, TheHookEndsWithTheModule) {
  auto d = std::make_unique<LaidOut>();
  auto windows = d->windows;
  const auto dialog = d->dialog;
  { MMain other(windows, d->clock, d->host.settings); }
  ASSERT_EQ(windows->HookCount(), 1u) << "another module's end is not this one's";
  d.reset();
  EXPECT_EQ(windows->HookCount(), 0u);
  windows->UserSizes(dialog, 1000, 700);
  windows->DestroyWindow(dialog);
}

TEST(Sizing, AHookTheSystemRefusesLeavesTheDialogLaidOutWithoutABorder) {
  LaidOut d;
  d.host.calls->FailOn("Windows.SetWindowSubclass");
  d.Reopen(u"1000", u"700");
  EXPECT_EQ(d.Outer(), (Rect{100, 80, 820, 550}));
  EXPECT_FALSE(d.windows->UserSizes(d.dialog, 1000, 700));
  EXPECT_FALSE(d.main.SizingDialog());
}

TEST(Sizing, ANewDialogEndsTheHookOnAnEarlierOne) {
  LaidOut d;
  const auto first = d.dialog;
  d.controls.clear();
  d.dialog = d.OpenDialog();
  d.main.StartWatch();
  d.windows->FireTimers();
  EXPECT_EQ(d.windows->HookCount(), 1u);
  d.windows->UserSizes(first, 1000, 700);
  d.windows->DestroyWindow(first);
  EXPECT_EQ(d.Kept(kWidthKey), std::nullopt) << "the earlier one is no longer followed";
  EXPECT_TRUE(d.main.SizingDialog());
}

// The dialog as the editor opened it, made `wider` and `taller` with the given controls moved or
// stretched along, then laid out.
host::WindowHandle LaidOutWith(Watch& w, std::int32_t wider, std::int32_t taller,
                               std::initializer_list<const char*> shifted,
                               std::initializer_list<const char*> stretched) {
  w.main.EditorVBE = w.host.editor;
  const auto dialog = w.OpenDialog();
  auto& outer = w.windows->Info(dialog).rect;
  outer.right += wider;
  outer.bottom += taller;
  for (const char* name : shifted) {
    auto& r = w.windows->Info(w.controls.at(name)).rect;
    r = {r.left + wider, r.top, r.right + wider, r.bottom};
  }
  for (const char* name : stretched) {
    auto& r = w.windows->Info(w.controls.at(name)).rect;
    r = {r.left, r.top, r.right + wider, r.bottom + taller};
  }
  w.main.StartWatch();
  w.windows->FireTimers();
  return dialog;
}

std::int32_t OuterWidth(const Watch& w, host::WindowHandle dialog) {
  const Rect r = w.windows->Info(dialog).rect;
  return r.right - r.left;
}
std::int32_t OuterHeight(const Watch& w, host::WindowHandle dialog) {
  const Rect r = w.windows->Info(dialog).rect;
  return r.bottom - r.top;
}

// Whichever control ends outside decides: the buttons alone (a right edge moved by the control's
// shift), or the frame alone (moved by its stretch).
TEST(Sizing, TheControlThatEndsOutsideDecidesHowFarItGrows) {
  Watch buttons;
  const auto first =
      LaidOutWith(buttons, 60, 0, {"OK", "Cancel", "Browse", "Help", "Up", "Down", "Priority"}, {});
  EXPECT_EQ(OuterWidth(buttons, first), 758) << "the buttons";
  Watch frame;
  const auto second = LaidOutWith(frame, 60, 0, {}, {"frame"});
  EXPECT_EQ(OuterWidth(frame, second), 758) << "the frame";
}

// A control that ends on the client area's edge is inside; one a pixel past it, with no margin
// before, grows the dialog by that pixel, to the right or down.
TEST(Sizing, OnTheEdgeIsInsideAndAPixelPastItGrowsByAPixel) {
  Watch edge;  // the frame's right edge 446 + 260 = 706, the client area's width
  const auto onEdge = LaidOutWith(edge, 36, 0, {}, {"frame"});
  EXPECT_EQ(OuterWidth(edge, onEdge), 720);
  Watch bottom;  // the frame's bottom edge 324 + 110 = 434, the client area's height
  const auto onBottom = LaidOutWith(bottom, 0, 24, {}, {"frame"});
  EXPECT_EQ(OuterHeight(bottom, onBottom), 470);
  // The frame at the client area's right or bottom edge before the layout (447 of 453 wide, 325
  // of 353 tall) and one pixel past it after (707 of 706, 435 of 434): no margin, one pixel.
  for (const bool across : {true, false}) {
    Watch w;
    w.main.EditorVBE = w.host.editor;
    const auto dialog = w.OpenDialog();
    auto& outer = w.windows->Info(dialog).rect;
    auto& frame = w.windows->Info(w.controls.at("frame")).rect;
    (across ? outer.right : outer.bottom) += 23;
    (across ? frame.right : frame.bottom) = across ? 447 : 325;
    w.main.StartWatch();
    w.windows->FireTimers();
    EXPECT_EQ(OuterWidth(w, dialog), across ? 721 : 720);
    EXPECT_EQ(OuterHeight(w, dialog), across ? 470 : 471);
  }
}

// Without the client area before the layout no margin is known: the dialog grows by what is
// missing alone.
TEST(Sizing, WithoutTheClientAreaBeforeItGrowsByWhatIsMissing) {
  Watch w;
  w.host.calls->FailOn("Windows.GetClientRect", 1);
  // The frame 60 wider and 40 taller: 24 past the right edge, 16 past the bottom.
  const auto dialog = LaidOutWith(w, 60, 40, {}, {"frame"});
  EXPECT_EQ(OuterWidth(w, dialog), 744);
  EXPECT_EQ(OuterHeight(w, dialog), 486);
  EXPECT_TRUE(EveryControlInside(w, dialog));
}

// A move to another DPI whose suggested rectangle keeps the dialog's size (a large dialog, above
// the new least size): no change of size follows it, and the controls are still placed from the
// new DPI's laid-out places.
TEST(Sizing, AMoveToAnotherDpiThatKeepsTheSizeStillPlacesTheControls) {
  LaidOut d;
  d.windows->UserSizes(d.dialog, 1200, 800);
  std::map<std::string, Rect> at120;
  const auto s = [](std::int32_t v) { return static_cast<std::int32_t>(std::lround(v * 1.25)); };
  for (const auto& [name, r] : d.laidOut)
    at120[name] = {s(r.left), s(r.top), s(r.right), s(r.bottom)};
  d.windows->MoveToDpi(d.dialog, 120, {100, 80, 1300, 880});
  d.laidOut = at120;
  EXPECT_EQ(Places(d), Anchored(d, 1200 - 900, 800 - 588));
}

}  // namespace
}  // namespace lathmore::testing
