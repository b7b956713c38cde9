// The References dialog in other display languages: recognised by its structure and laid out as
// the English one, or, where anything about it is uncertain, left exactly as the editor made it.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "tests/fault_sweep.h"
#include "tests/lathmore/references_dialog.h"

namespace lathmore::testing {
namespace {

using testing_support::FailedCall;
using testing_support::Sweep;

struct Language {
  const char* name;
  host::Text title;
  std::map<std::string, host::Text> captions;
};

// The German dialog; its down arrow reads "&U" (unten), the English up arrow's caption.
const Language kGerman{"German",
                       u"Verweise - VBAProject",
                       {{"OK", u"OK"},
                        {"Cancel", u"Abbrechen"},
                        {"Browse", u"&Durchsuchen..."},
                        {"Help", u"&Hilfe"},
                        {"Up", u"&O"},
                        {"Down", u"&U"},
                        {"Priority", u"Priorit\u00e4t"},
                        {"Location", u"Pfad:"},
                        {"Language", u"Sprache:"}}};
// Every caption and the title's first word other text of another length, none of it ASCII only.
const Language kPseudo{
    "pseudo-translated",
    u"[\u0158\u00e9f\u00e9r\u00e9\u00f1\u00e7\u00e9\u0161 \u0167\u0167] - VBAProject",
    {{"OK", u"[\u00d6\u0136 \u0167]"},
     {"Cancel", u"[\u00c7\u00e5\u00f1\u00e7\u00e9\u013c \u0167\u0167\u0167]"},
     {"Browse", u"[&\u0181r\u00f6\u0175\u0161\u00e9... \u0167\u0167\u0167]"},
     {"Help", u"[&\u0124\u00e9\u013c\u00fe]"},
     {"Up", u"[&\u00dc]"},
     {"Down", u"[&\u00d0]"},
     {"Priority", u"[\u00der\u00ee\u00f6r\u00ee\u0163\u00fd \u0167\u0167\u0167]"},
     {"Location", u"[\u013b\u00f6\u00e7\u00e5\u0163\u00ee\u00f6\u00f1: \u0167]"},
     {"language value", u"[\u0160\u0163\u00e5\u00f1d\u00e5rd]"},
     {"Language", u"[\u013b\u00e5\u00f1\u011d\u00fb\u00e5\u011d\u00e9: \u0167]"}}};

struct Opened {
  host::Rect dialog;
  std::map<std::string, host::Rect> controls;
  bool operator==(const Opened&) const = default;
};

Opened State(const Watch& w, host::WindowHandle dialog) {
  return {w.windows->Info(dialog).rect, Places(w)};
}

// The English dialog as the layout leaves it, at that DPI.
Opened EnglishLaidOut(std::int32_t dpi) {
  Watch w;
  w.main.EditorVBE = w.host.editor;
  w.main.StartWatch();
  const auto dialog = w.OpenDialog(u"References - VBAProject", 1000, true, dpi);
  w.windows->FireTimers();
  return State(w, dialog);
}

TEST(TranslatedDialog, IsLaidOutAsTheEnglishOneInEachLanguageAndAtEachDpi) {
  for (const std::int32_t dpi : {96, 144}) {
    const Opened english = EnglishLaidOut(dpi);
    for (const auto* language : {&kGerman, &kPseudo}) {
      SCOPED_TRACE(std::string(language->name) + " at " + std::to_string(dpi) + " DPI");
      Watch w;
      w.main.EditorVBE = w.host.editor;
      w.main.StartWatch();
      const auto dialog = w.OpenTranslatedDialog(language->title, language->captions, {.dpi = dpi});
      w.windows->FireTimers();
      EXPECT_EQ(w.main.DialogHwnd, dialog);
      EXPECT_EQ(State(w, dialog), english);
      EXPECT_TRUE(w.main.SizingDialog());
      EXPECT_EQ(w.windows->Info(w.controls["location value"]).style, kVisibleChild);
      EXPECT_THAT(w.windows->Timers(), ::testing::IsEmpty());
    }
  }
}

TEST(TranslatedDialog, IsRecognisedInAWiderDialogToo) {
  Watch w;
  w.main.EditorVBE = w.host.editor;
  w.main.StartWatch();
  const auto dialog = w.OpenTranslatedDialog(kGerman.title, kGerman.captions, {.wider = 60});
  w.windows->FireTimers();
  EXPECT_EQ(w.main.DialogHwnd, dialog);
  EXPECT_TRUE(EveryControlInside(w, dialog));
}

// What does not change what the dialog is: the order the editor makes its controls in, an owner
// that is one of the editor's tool windows, arrows that draw themselves.
TEST(TranslatedDialog, IsRecognisedWhateverItsChildOrderOwnerOrArrowStyle) {
  const Opened english = EnglishLaidOut(96);
  constexpr std::int32_t kOwnerDrawn = kVisibleChild | 0xB;
  const DialogOptions variants[] = {
      {.reversed = true},
      {.throughToolWindow = true},
      {.styles = {{"Up", kOwnerDrawn}, {"Down", kOwnerDrawn}}},
  };
  for (const auto& options : variants) {
    Watch w;
    w.main.EditorVBE = w.host.editor;
    w.main.StartWatch();
    const auto dialog = w.OpenTranslatedDialog(kGerman.title, kGerman.captions, options);
    w.windows->FireTimers();
    EXPECT_EQ(w.main.DialogHwnd, dialog);
    EXPECT_EQ(State(w, dialog), english);
  }
}

// A location shown by a static of another kind keeps its style: the word-wrap bits would turn a
// simple static (0xB) into an icon (0x3).
TEST(TranslatedDialog, TheLocationsStyleChangesOnlyOnAStaticThatWrapsNoWords) {
  Watch w;
  w.main.EditorVBE = w.host.editor;
  w.main.StartWatch();
  constexpr std::int32_t kSimple = kVisibleChild | 0xB;
  w.OpenTranslatedDialog(kGerman.title, kGerman.captions,
                         {.styles = {{"location value", kSimple}}});
  w.windows->FireTimers();
  ASSERT_NE(w.main.DialogHwnd, 0u);
  EXPECT_EQ(w.windows->Info(w.controls["location value"]).style, kSimple);
}

// A dialog found not to be the one expected is not read again at every tick of the watch.
TEST(TranslatedDialog, OneFoundUncertainIsReadOnce) {
  Watch w;
  w.main.EditorVBE = w.host.editor;
  w.main.StartWatch();
  w.OpenTranslatedDialog(kGerman.title, kGerman.captions, {.without = "Help"});
  w.windows->FireTimers();
  const auto reads = w.host.calls->Count("Windows.GetClassName");
  w.windows->FireTimers();
  EXPECT_GT(reads, 0u);
  EXPECT_EQ(w.host.calls->Count("Windows.GetClassName"), reads);
  EXPECT_EQ(w.host.calls->Count("VBE.MainWindow.HWnd"), 1u);
}

// Each way a dialog may not be the one expected; each leaves it exactly as it opened, and the
// watch goes on looking.
TEST(TranslatedDialog, AnythingUncertainLeavesTheDialogUntouched) {
  auto captions = [](std::initializer_list<std::pair<const std::string, host::Text>> changes) {
    auto changed = kGerman.captions;
    for (const auto& [name, text] : changes) changed[name] = text;
    return changed;
  };
  const auto swapped = captions({{"OK", u"Cancel"}, {"Cancel", u"OK"}});
  const auto englishHelpAsBrowse = captions({{"Browse", u"&Help"}});
  const auto capitalHelpAsBrowse = captions({{"Browse", u"&HELP"}});
  const auto twoOks = captions({{"Cancel", u"OK"}});
  struct Case {
    const char* what;
    std::function<host::WindowHandle(Watch&)> open;
  };
  const Case cases[] = {
      {"a control missing",
       [](Watch& w) {
         return w.OpenTranslatedDialog(kGerman.title, kGerman.captions, {.without = "Help"});
       }},
      {"a label missing",
       [](Watch& w) {
         return w.OpenTranslatedDialog(kGerman.title, kGerman.captions, {.without = "Priority"});
       }},
      {"no list box",
       [](Watch& w) {
         return w.OpenTranslatedDialog(kGerman.title, kGerman.captions, {.without = "list"});
       }},
      {"two list boxes",
       [](Watch& w) {
         return w.OpenTranslatedDialog(kGerman.title, kGerman.captions, {.extraClass = u"ListBox"});
       }},
      {"one static too many",
       [](Watch& w) {
         return w.OpenTranslatedDialog(kGerman.title, kGerman.captions, {.extraClass = u"Static"});
       }},
      {"a control of another class",
       [](Watch& w) {
         return w.OpenTranslatedDialog(kGerman.title, kGerman.captions, {.extraClass = u"Edit"});
       }},
      {"another project's",
       [](Watch& w) {
         return w.OpenTranslatedDialog(u"Verweise - Book2Project", kGerman.captions);
       }},
      {"no title before the project's name",
       [](Watch& w) { return w.OpenTranslatedDialog(u"VBAProject", kGerman.captions); }},
      {"no word before the separator",
       [](Watch& w) { return w.OpenTranslatedDialog(u" - VBAProject", kGerman.captions); }},
      {"over no window of the editor",
       [](Watch& w) {
         return w.OpenTranslatedDialog(kGerman.title, kGerman.captions, {.owned = false});
       }},
      {"of another thread",
       [](Watch& w) {
         return w.OpenTranslatedDialog(kGerman.title, kGerman.captions, {.thread = 2});
       }},
      {"of another process",
       [](Watch& w) {
         return w.OpenTranslatedDialog(kGerman.title, kGerman.captions, {.process = 1001});
       }},
      {"OK and Cancel in each other's place",
       [&swapped](Watch& w) { return w.OpenTranslatedDialog(kGerman.title, swapped); }},
      {"an English caption in another role",
       [&englishHelpAsBrowse](Watch& w) {
         return w.OpenTranslatedDialog(kGerman.title, englishHelpAsBrowse);
       }},
      {"the same in capitals",
       [&capitalHelpAsBrowse](Watch& w) {
         return w.OpenTranslatedDialog(kGerman.title, capitalHelpAsBrowse);
       }},
      {"the arrows' label above them",
       [](Watch& w) {
         return w.OpenTranslatedDialog(kGerman.title, kGerman.captions,
                                       {.places = {{"Priority", {300, 5, 345, 20}}}});
       }},
      {"OK twice", [&twoOks](Watch& w) { return w.OpenTranslatedDialog(kGerman.title, twoOks); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Watch w;
    w.main.EditorVBE = w.host.editor;
    w.main.StartWatch();
    const auto dialog = c.open(w);
    const Opened opened = State(w, dialog);
    w.windows->FireTimers();
    EXPECT_EQ(w.main.DialogHwnd, 0u);
    EXPECT_EQ(State(w, dialog), opened);
    EXPECT_FALSE(w.main.SizingDialog());
    EXPECT_THAT(w.windows->Timers(), ::testing::SizeIs(1));
  }
}

TEST(TranslatedDialog, OneOpenBeforeTheWatchStartedIsNotTheOneChosen) {
  Watch w;
  w.main.EditorVBE = w.host.editor;
  const auto earlier = w.OpenTranslatedDialog(kGerman.title, kGerman.captions);
  const Opened opened = State(w, earlier);
  w.main.StartWatch();
  w.windows->FireTimers();
  EXPECT_EQ(w.main.DialogHwnd, 0u);
  EXPECT_EQ(State(w, earlier), opened);
}

TEST(TranslatedDialog, AnEditorThatCannotNameItsMainWindowLeavesItUntouched) {
  Watch w;
  w.main.EditorVBE = w.host.editor;
  w.main.StartWatch();
  const auto dialog = w.OpenTranslatedDialog(kGerman.title, kGerman.captions);
  const Opened opened = State(w, dialog);
  w.host.calls->FailOn("VBE.MainWindow.HWnd");
  w.windows->FireTimers();
  EXPECT_EQ(State(w, dialog), opened);
}

std::unique_ptr<Watch> WatchingGerman() {
  auto w = std::make_unique<Watch>();
  w->main.EditorVBE = w->host.editor;
  w->main.StartWatch();
  w->OpenTranslatedDialog(kGerman.title, kGerman.captions);
  return w;
}

// A failed call while the dialog is looked for and recognised leaves it untouched or, where the
// call was not needed to tell it (the English title's search), laid out in full: never half.
TEST(FaultSweep, ATickThatRecognisesATranslatedDialog) {
  const auto clean = WatchingGerman();
  const auto opened = Places(*clean);
  clean->windows->FireTimers();
  const auto laidOut = Places(*clean);
  int untouched = 0;
  Sweep(
      "tick, German dialog there", WatchingGerman,
      [](Watch& w) -> host::sim::HostCalls& { return *w.host.calls; },
      [](Watch& w) { w.windows->FireTimers(); },
      [&](Watch& w, const FailedCall& f) {
        EXPECT_FALSE(f.threw) << "nothing escapes a tick";
        const auto& calls = *f.calls;
        const auto stop = std::find(calls.begin(), calls.end(), "Windows.KillTimer");
        ASSERT_NE(stop, calls.end());
        if (w.main.DialogHwnd == 0) {
          ++untouched;
          EXPECT_LE(f.number, static_cast<std::size_t>(stop - calls.begin()));
          EXPECT_EQ(Places(w), opened);
          EXPECT_THAT(w.windows->Timers(), ::testing::SizeIs(1));
        } else if (f.number <= static_cast<std::size_t>(stop - calls.begin())) {
          EXPECT_EQ(Places(w), laidOut);
        }
      });
  EXPECT_GT(untouched, 0);
}

}  // namespace
}  // namespace lathmore::testing
