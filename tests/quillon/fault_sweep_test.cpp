// Every user action of Quillon, with each host call it makes failing in turn: the outcome is the
// one its step's regime gives (trapped: a message or silence; ignored: carries on; not trapped:
// the failure goes back to the editor), and no bookmark or buffer is lost where none may be.

#include "tests/fault_sweep.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "quillon/entry_points.h"
#include "quillon/messages.h"
#include "tests/quillon/live_session.h"

namespace quillon::testing {
namespace {

using host::sim::SimHostBuilder;
using testing_support::FailedCall;
using testing_support::Refusals;
using testing_support::Sweep;
using testing_support::SweepRefusals;

const char16_t kCode[] = u"Option Explicit\n\nSub Main()\n    x = 1\n    y = 2\nEnd Sub\n";

SimHostBuilder World() {
  return WithSounds()
      .Project(u"Budget", u"C:\\Work\\Budget_07.xlsm")
      .Module(u"Module2", kCode)
      .Module(u"Module1", kCode);
}

std::unique_ptr<LiveSession> Connected() {
  auto s = std::make_unique<LiveSession>(World());
  s->Caret(s->Component(u"Budget", u"Module1"), 4);
  s->TakeSounds();
  return s;
}

host::sim::HostCalls& Calls(LiveSession& s) { return *s.host.calls; }
mCopyPaste& Buffers(LiveSession& s) {
  return dynamic_cast<EntryPoints&>(*s.addin.Actions()).CopyPaste();
}
bool In(const std::set<std::string>& set, const std::string& op) { return set.count(op) != 0; }

// What follows a change of a button, its record saved for later sessions and its tooltip: a
// failure there is ignored, the click goes on.
const std::set<std::string> kKeptInStep = {"CommandBarControl.Index", "Settings.SaveSetting",
                                           "CommandBarButton.TooltipText="};

// The calls of the click sink and of the click's first reads, which nothing traps.
const std::set<std::string> kClickEntry = {"CommandBarControl.AsButton",
                                           "CommandBarButton.DescriptionText",
                                           "CommandBarControl.Caption", "Keyboard.GetKeyState"};

TEST(FaultSweep, Connection) {
  const std::set<std::string> notTrapped = {"Application.AsVBE",
                                            "VBE.Version",
                                            "CommandBars.Add",
                                            "CommandBar.Controls",
                                            "CommandBarControls.Add",
                                            "CommandBarControl.AsButton",
                                            "CommandBarButton.Caption=",
                                            "CommandBarButton.FaceId=",
                                            "CommandBarButton.BeginGroup=",
                                            "VBE.Events",
                                            "Events.CommandBarEvents",
                                            "CommandBarEvents.AdviseClick",
                                            "CommandBar.Position",
                                            "Environment.Environ"};
  Sweep(
      "connect", [] { return std::make_unique<host::sim::SimHost>(World().Build()); },
      [](host::sim::SimHost& h) -> host::sim::HostCalls& { return *h.calls; },
      [](host::sim::SimHost& h) {
        dsrQuillon addin(Platform{h.settings, h.environment, h.sound, h.keyboard, h.messages});
        addin.AddinInstance_OnConnection(h.editor);
      },
      [&](host::sim::SimHost& h, const FailedCall& f) {
        // The editor's bar collection is asked for first while removing (ignored), then to add.
        const bool removing = f.operation == "VBE.CommandBars" && f.number < f.calls->size() &&
                              (*f.calls)[f.number] == "CommandBars.Item";
        EXPECT_EQ(f.threw,
                  In(notTrapped, f.operation) || (f.operation == "VBE.CommandBars" && !removing));
        if (!f.threw) {
          for (const char16_t* bar : {kBookmarksBarName, kCopyBarName}) {
            ASSERT_NE(h.Bar(bar), nullptr);
            EXPECT_EQ(h.Bar(bar)->ControlList().size(), 6u);
          }
        }
      });
}

TEST(FaultSweep, RestoringSavedBookmarksNeverFailsTheConnection) {
  const host::Text record = u"Budget_07.xlsm|Module1|Main|1";
  Sweep(
      "connect with a saved bookmark",
      [&] {
        return std::make_unique<host::sim::SimHost>(
            World().Setting(u"Razurid", u"Bookmarks\\EXCEL", u"2", record).Build());
      },
      [](host::sim::SimHost& h) -> host::sim::HostCalls& { return *h.calls; },
      [](host::sim::SimHost& h) {
        dsrQuillon addin(Platform{h.settings, h.environment, h.sound, h.keyboard, h.messages});
        addin.AddinInstance_OnConnection(h.editor);
      },
      [&](host::sim::SimHost& h, const FailedCall& f) {
        // The restore comes last, after windir was read.
        const auto& calls = *f.calls;
        const auto last = std::find(calls.rbegin(), calls.rend(), "Environment.Environ");
        if (f.number <= static_cast<std::size_t>(calls.rend() - last)) return;
        EXPECT_FALSE(f.threw) << "restoring is never the connection's failure";
        const auto button = h.Control(kBookmarksBarName, 2);
        // Written in the order setting writes: whatever was refused, what the button shows
        // was written by the restore or is the free button's own.
        const bool captioned = button->CaptionShown() != u"Unused bookmark";
        // The second value read is button 2's; the bar's calls come after it.
        const auto from = calls.begin() + (calls.rend() - last);
        const auto reads = std::count(from, calls.begin() + f.number, "Settings.GetSetting");
        // Without the program's name no application's bookmarks are restored.
        const bool ownRead = (f.operation == "Settings.GetSetting" && reads == 2) ||
                             f.operation == "Environment.ProgramPath";
        // A button that refuses any part of the bookmark is left wholly free, never half shown.
        const bool showing =
            reads == 2 && In({"CommandBar.Controls", "CommandBarControls.Item",
                              "CommandBarControl.AsButton", "CommandBarButton.Caption=",
                              "CommandBarButton.DescriptionText=", "CommandBarButton.State="},
                             f.operation);
        EXPECT_EQ(captioned, !ownRead && !showing)
            << "only a refusal up to button 2's last write leaves it free";
        EXPECT_EQ(button->DescriptionShown(), captioned ? record : u"");
        EXPECT_EQ(h.settings->Stored(u"Razurid", u"Bookmarks\\EXCEL", u"2"), record)
            << "a restore never changes what is saved";
      });
}

TEST(FaultSweep, Disconnection) {
  Sweep(
      "disconnect", Connected, Calls,
      [](LiveSession& s) {
        s.host.settings->ClearWrites();
        s.addin.AddinInstance_OnDisconnection();
      },
      [](LiveSession& s, const FailedCall& f) {
        EXPECT_FALSE(f.threw) << "removal ignores every failure";
        // A bar that cannot be found or deleted stays; the other goes all the same. A place that
        // cannot be read or saved loses that one value; the rest of both places are saved.
        const bool lookupOrDelete =
            In({"VBE.CommandBars", "CommandBars.Item", "CommandBar.Delete"}, f.operation);
        EXPECT_EQ(s.host.editor->Bars()->Bars().size(), lookupOrDelete ? 1u : 0u);
        const bool oneValue =
            f.operation.starts_with("CommandBar.") || f.operation == "Settings.SaveSetting";
        const std::size_t saved =
            f.operation == "VBE.CommandBars" || f.operation == "CommandBars.Item" ? 7 : 14;
        EXPECT_EQ(s.host.settings->Writes().size(),
                  saved - (oneValue && f.operation != "CommandBar.Delete" ? 1 : 0));
      });
}

TEST(FaultSweep, SettingABookmark) {
  // A read of the caret that fails sets nothing, with a message: a bookmark made without it
  // would record a place the caret is not at.
  const std::set<std::string> trapped = {"VBE.ActiveVBProject",     "VBProject.FileName",
                                         "VBE.SelectedVBComponent", "VBComponent.Name",
                                         "VBE.ActiveCodePane",      "CodePane.GetSelection"};
  const std::set<std::string> ignored = {"CodePane.CodeModule", "CodeModule.ProcOfLine",
                                         "CodeModule.ProcBodyLine"};
  Sweep(
      "set a bookmark", Connected, Calls, [](LiveSession& s) { s.Bookmark(1)->Click(); },
      [&](LiveSession& s, const FailedCall& f) {
        const auto b = s.Bookmark(1);
        if (In(trapped, f.operation)) {
          EXPECT_FALSE(f.threw);
          EXPECT_THAT(s.TakeMessages(), ::testing::SizeIs(1));
          EXPECT_EQ(b->DescriptionShown(), u"") << "the button is left as it was";
        } else if (In(ignored, f.operation) || In(kKeptInStep, f.operation) ||
                   f.operation.starts_with("Sound.")) {
          EXPECT_FALSE(f.threw);
          EXPECT_NE(b->DescriptionShown(), u"");
          EXPECT_EQ(b->StateShown(), host::kStateDown);
        } else {
          EXPECT_TRUE(f.threw) << "not trapped";
        }
      });
}

TEST(FaultSweep, ShiftSettingOverABookmarkKeepsItWhenTheCompositionFails) {
  // A read of the caret that fails sets nothing, with a message: a bookmark made without it
  // would record a place the caret is not at.
  const std::set<std::string> trapped = {"VBE.ActiveVBProject",     "VBProject.FileName",
                                         "VBE.SelectedVBComponent", "VBComponent.Name",
                                         "VBE.ActiveCodePane",      "CodePane.GetSelection"};
  const std::set<std::string> ignored = {"CodePane.CodeModule", "CodeModule.ProcOfLine",
                                         "CodeModule.ProcBodyLine"};
  const host::Text oldRecord = u"Budget_07.xlsm|Module2|Main|1";
  const auto arrange = [&] {
    auto s = Connected();
    s->Bookmark(1)->SetShown(u"kept", oldRecord, host::kStateDown);
    s->host.keyboard->shiftDown = true;
    return s;
  };
  Sweep(
      "Shift-set a bookmark", arrange, Calls, [](LiveSession& s) { s.Bookmark(1)->Click(); },
      [&](LiveSession& s, const FailedCall& f) {
        const auto b = s.Bookmark(1);
        EXPECT_EQ(b->StateShown(), host::kStateDown) << "never left half-reset";
        if (In(trapped, f.operation)) {
          // Nothing to record: the message, and the old bookmark kept whole.
          EXPECT_FALSE(f.threw);
          EXPECT_THAT(s.TakeMessages(), ::testing::SizeIs(1));
          EXPECT_EQ(b->CaptionShown(), u"kept");
          EXPECT_EQ(b->DescriptionShown(), oldRecord);
        } else if (In(ignored, f.operation) || In(kKeptInStep, f.operation) ||
                   f.operation.starts_with("Sound.")) {
          // The new bookmark of the caret's place, whatever of its tooltip or sound was refused;
          // without its procedure, the module's line.
          EXPECT_FALSE(f.threw);
          EXPECT_NE(b->DescriptionShown(), oldRecord);
          EXPECT_TRUE(b->DescriptionShown().starts_with(u"Budget_07.xlsm|Module1|"));
          EXPECT_TRUE(b->CaptionShown().starts_with(u"Budget_07.xlsm - Module1 - "));
        } else {
          // Not trapped: the writes done before the failure stay, caption first, record next.
          EXPECT_TRUE(f.threw);
          const bool captionWritten = f.operation == "CommandBarButton.DescriptionText=" ||
                                      f.operation == "CommandBarButton.State=";
          EXPECT_EQ(b->CaptionShown() != u"kept", captionWritten);
          EXPECT_EQ(b->DescriptionShown() != oldRecord, f.operation == "CommandBarButton.State=");
        }
      });
}

TEST(FaultSweep, GoingToABookmark) {
  const std::set<std::string> secondStage = {"VBProject.VBComponents", "VBComponents.Item",
                                             "VBComponent.CodeModule", "CodeModule.CodePane",
                                             "CodePane.Show",          "CodeModule.ProcBodyLine",
                                             "CodePane.SetSelection",  "VBE.VBProjects"};
  const auto arrange = [] {
    auto s = Connected();
    s->Bookmark(2)->SetShown(u"Budget_07.xlsm - Module2 - Main - Line 1",
                             u"Budget_07.xlsm|Module2|Main|1", host::kStateDown);
    return s;
  };
  Sweep(
      "go to a bookmark", arrange, Calls, [](LiveSession& s) { s.Bookmark(2)->Click(); },
      [&](LiveSession& s, const FailedCall& f) {
        const auto b = s.Bookmark(2);
        if (In(kClickEntry, f.operation)) {
          EXPECT_TRUE(f.threw) << "before the trap";
          EXPECT_EQ(b->DescriptionShown(), u"Budget_07.xlsm|Module2|Main|1");
        } else if (In(secondStage, f.operation)) {
          EXPECT_FALSE(f.threw);
          EXPECT_THAT(s.TakeMessages(), ::testing::ElementsAre(host::Text(kGoToRefusedMessage)));
          EXPECT_EQ(b->DescriptionShown(), u"Budget_07.xlsm|Module2|Main|1")
              << "a refused call is no answer that the place is gone";
        } else {
          // A project whose name cannot be read is passed over and found again by its version;
          // a sound that cannot play is silence.
          EXPECT_FALSE(f.threw);
          EXPECT_THAT(s.TakeMessages(), ::testing::IsEmpty());
          EXPECT_EQ(b->DescriptionShown(), u"Budget_07.xlsm|Module2|Main|1");
          EXPECT_EQ(s.Component(u"Budget", u"Module2")->Pane()->selection,
                    (host::Selection{4, 1, 4, 1}));
        }
      });
}

// Refusals that last, or two of them, never cost a saved bookmark: a go-to keeps it on its button
// and in the store, a Shift+click either sets the caret's place whole or keeps the old one, and a
// restore refused part-way leaves the button free, the store untouched, and the next click puts
// the bookmark back before anything else.
TEST(FaultSweep, RefusalsNeverCostASavedBookmark) {
  const host::Text record = u"Budget_07.xlsm|Module2|Main|1";
  const auto stored = [](LiveSession& s) {
    return s.host.settings->Stored(u"Razurid", u"Bookmarks\\EXCEL", u"2");
  };
  const auto saved = [&] {
    auto s = std::make_unique<LiveSession>(
        World().Setting(u"Razurid", u"Bookmarks\\EXCEL", u"2", record));
    s->Caret(s->Component(u"Budget", u"Module1"), 4);
    s->TakeSounds();
    return s;
  };
  SweepRefusals(
      "go to a saved bookmark", saved, Calls, [](LiveSession& s) { s.Bookmark(2)->Click(); },
      [&](LiveSession& s, const Refusals&) {
        EXPECT_EQ(s.Bookmark(2)->DescriptionShown(), record);
        EXPECT_EQ(stored(s), record);
      });
  const auto shifted = [&] {
    auto s = saved();
    s->host.keyboard->shiftDown = true;
    return s;
  };
  const host::Text here = u"Budget_07.xlsm|Module1|Main|1";
  SweepRefusals(
      "Shift-set over a saved bookmark", shifted, Calls,
      [](LiveSession& s) { s.Bookmark(2)->Click(); },
      [&](LiveSession& s, const Refusals& r) {
        const host::Text shown = s.Bookmark(2)->DescriptionShown();
        // The caret's place: in its procedure, or, that unread, the module's line.
        const auto isHere = [&](const host::Text& r) {
          return r == here || r == u"Budget_07.xlsm|Module1||4";
        };
        EXPECT_TRUE(shown == record || isHere(shown) || r.threw) << host::ToUtf8(shown);
        // A store that refuses the new one keeps the old one: never neither.
        const host::Text kept = stored(s).value_or(u"");
        EXPECT_TRUE(kept == record || isHere(kept)) << host::ToUtf8(kept);
      });

  const auto connect = [](LiveSession& s) {
    s.addin.AddinInstance_OnDisconnection();
    s.addin.AddinInstance_OnConnection(s.host.editor);
  };
  SweepRefusals(
      "restore at a connection", saved, Calls, connect, [&](LiveSession& s, const Refusals& r) {
        EXPECT_EQ(stored(s), record) << "a restore never changes what is saved";
        const auto b = s.Bookmark(2);
        if (!b) return;  // the connection itself failed: no bar to click
        const bool unnamed =
            std::count(r.operations.begin(), r.operations.end(), "Environment.ProgramPath") != 0;
        if (r.threw || unnamed) {
          // A failed connection's bar, or one whose application has no name, saves
          // nothing over the saved bookmark.
          s.host.calls->ClearFailures();
          b->Click();
          EXPECT_EQ(stored(s), record);
          return;
        }
        EXPECT_TRUE(b->DescriptionShown().empty() || b->DescriptionShown() == record);
        EXPECT_EQ(b->CaptionShown() == u"Unused bookmark", b->DescriptionShown().empty())
            << "never half a bookmark";
        s.host.calls->ClearFailures();
        b->Click();
        EXPECT_EQ(b->DescriptionShown(), record) << "the next click puts it back first";
        EXPECT_EQ(stored(s), record);
      });
}

TEST(FaultSweep, ResettingBookmarks) {
  const auto arrange = [] {
    auto s = Connected();
    s->Bookmark(3)->SetShown(u"c", u"r", host::kStateDown);
    return s;
  };
  Sweep(
      "reset bookmarks", arrange, Calls, [](LiveSession& s) { s.Bookmark(6)->Click(); },
      [](LiveSession& s, const FailedCall& f) {
        EXPECT_EQ(f.threw, !f.operation.starts_with("Sound.") && !In(kKeptInStep, f.operation))
            << "reset traps nothing but what a save or a sound refuses";
        if (!f.threw) {
          EXPECT_EQ(s.Bookmark(3)->DescriptionShown(), u"");
        }
      });
}

const host::Text kOld = u"old text";

std::unique_ptr<LiveSession> FilledBuffer() {
  auto s = Connected();
  Buffers(*s).CopyBuffers[1] = kOld;
  s->Buffer(2)->SetShown(u"old text", {}, host::kStateDown);
  s->Select(s->Component(u"Budget", u"Module1"), {4, 5, 5, 6});
  return s;
}

TEST(FaultSweep, CapturingASelection) {
  const auto arrange = [] {
    auto s = FilledBuffer();
    s->host.keyboard->shiftDown = true;
    return s;
  };
  Sweep(
      "capture (Shift-click)", arrange, Calls, [](LiveSession& s) { s.Buffer(2)->Click(); },
      [](LiveSession& s, const FailedCall& f) {
        const bool entry = In(kClickEntry, f.operation);
        EXPECT_EQ(f.threw, entry) << "a capture is silent; only the click's own reads are not";
        const bool captured = Buffers(s).CopyBuffers[1] != kOld;
        // Only a refused sound or tooltip leaves a finished capture: every other failure leaves
        // the buffer, its caption and its pressed look exactly as they were, without a sound.
        EXPECT_EQ(captured, f.operation.starts_with("Sound.") ||
                                f.operation == "CommandBarButton.TooltipText=");
        EXPECT_EQ(Buffers(s).CopyBuffers[1], captured ? u"x = 1\n    y" : kOld);
        EXPECT_EQ(s.Buffer(2)->CaptionShown(), captured ? u"x = 1\u2026" : u"old text");
        EXPECT_EQ(s.Buffer(2)->StateShown(), host::kStateDown);
        if (!captured) {
          EXPECT_THAT(s.TakeSounds(), ::testing::IsEmpty());
        }
      });
}

TEST(FaultSweep, CapturingIntoAFreeButton) {
  const auto arrange = [] {
    auto s = Connected();
    s->Select(s->Component(u"Budget", u"Module1"), {4, 5, 5, 6});
    return s;
  };
  Sweep(
      "capture", arrange, Calls, [](LiveSession& s) { s.Buffer(2)->Click(); },
      [](LiveSession& s, const FailedCall& f) {
        const bool captured = Buffers(s).CopyBuffers[1] == u"x = 1\n    y";
        EXPECT_EQ(captured, f.operation.starts_with("Sound.") ||
                                f.operation == "CommandBarButton.TooltipText=");
        EXPECT_EQ(s.Buffer(2)->CaptionShown(), captured ? u"x = 1\u2026" : u"Unused copy buffer");
        EXPECT_EQ(s.Buffer(2)->StateShown(), captured ? host::kStateDown : host::kStateUp)
            << "a capture cut short never leaves a free button pressed";
      });
}

// Refusals that last, or two of them: the caption and the buffer always tell the same capture,
// the old one or the new one, and a filled button stays pressed. A free button may stay drawn
// pressed only when the editor refused to draw it up again as well; it still counts as free.
TEST(FaultSweep, CapturingUnderRefusalsKeepsCaptionAndBufferTogether) {
  const auto shifted = [] {
    auto s = FilledBuffer();
    s->host.keyboard->shiftDown = true;
    return s;
  };
  const auto click = [](LiveSession& s) { s.Buffer(2)->Click(); };
  SweepRefusals("capture again", shifted, Calls, click, [](LiveSession& s, const Refusals&) {
    const bool captured = Buffers(s).CopyBuffers[1] != kOld;
    EXPECT_EQ(Buffers(s).CopyBuffers[1], captured ? u"x = 1\n    y" : kOld);
    EXPECT_EQ(s.Buffer(2)->CaptionShown(), captured ? u"x = 1\u2026" : u"old text");
    EXPECT_EQ(s.Buffer(2)->StateShown(), host::kStateDown);
  });
  const auto free = [] {
    auto s = Connected();
    s->Select(s->Component(u"Budget", u"Module1"), {4, 5, 5, 6});
    return s;
  };
  SweepRefusals("capture", free, Calls, click, [](LiveSession& s, const Refusals& r) {
    const bool captured = Buffers(s).CopyBuffers[1] == u"x = 1\n    y";
    EXPECT_EQ(s.Buffer(2)->CaptionShown(), captured ? u"x = 1\u2026" : u"Unused copy buffer");
    const bool stateRefused =
        std::count(r.operations.begin(), r.operations.end(), "CommandBarButton.State=") != 0;
    if (captured || !stateRefused) {
      EXPECT_EQ(s.Buffer(2)->StateShown(), captured ? host::kStateDown : host::kStateUp);
    }
  });
}

// A paste of `buffer` over `selection` in module "Target" (holding `code`), swept with each call
// failing once and then with every replacement and insertion refused: the module holds exactly
// its old text or exactly `pasted`, never half of a paste, and only a finished paste plays its
// sound and moves the caret to `caret`.
void SweepPaste(const char* action, const char16_t* code, host::Selection selection,
                const host::Text& buffer, const std::vector<host::Text>& pasted,
                host::Selection caret) {
  const auto arrange = [&] {
    auto s = std::make_unique<LiveSession>(
        WithSounds().Project(u"Budget", u"C:\\Work\\Budget_07.xlsm").Module(u"Target", code));
    Buffers(*s).CopyBuffers[1] = buffer;
    s->Buffer(2)->SetShown(u"buffer", {}, host::kStateDown);
    s->Select(s->Component(u"Budget", u"Target"), selection);
    s->TakeSounds();
    return s;
  };
  const std::vector<host::Text> before = arrange()->Component(u"Budget", u"Target")->Code();
  // `refused`: the operations refused, in the order of the clean run.
  const auto check = [&](LiveSession& s, const std::vector<std::string>& refused, bool threw) {
    const auto any = [&](auto test) { return std::any_of(refused.begin(), refused.end(), test); };
    EXPECT_EQ(threw, any([](const std::string& op) { return In(kClickEntry, op); }));
    EXPECT_EQ(Buffers(s).CopyBuffers[1], buffer) << "a paste never changes its buffer";
    const auto target = s.Component(u"Budget", u"Target");
    const auto sounds = s.TakeSounds();
    if (target->Code() == before) {
      EXPECT_THAT(sounds, ::testing::IsEmpty()) << "a paste that did not happen is silent";
      EXPECT_EQ(target->Pane()->selection, selection);
      return;
    }
    EXPECT_EQ(target->Code(), pasted);
    if (!any([](const std::string& op) { return op == "CodePane.SetSelection"; })) {
      EXPECT_EQ(target->Pane()->selection, caret);
    }
    if (!any([](const std::string& op) { return op.starts_with("Sound."); })) {
      EXPECT_EQ(sounds, std::vector<std::string>{"redo.wav"});
    }
  };
  const auto click = [](LiveSession& s) { s.Buffer(2)->Click(); };
  Sweep(action, arrange, Calls, click, [&](LiveSession& s, const FailedCall& f) {
    check(s, {f.operation}, f.threw);
    EXPECT_THAT(s.TakeMessages(), ::testing::IsEmpty());
  });

  // A refusal that lasts (one write refused from its k-th use on) still leaves the module as it
  // was or with the whole paste. Only two different writes refused after the first one went
  // through may leave it between: then as the last write left it, which one message tells.
  const std::set<std::string> writes = {"CodeModule.ReplaceLine", "CodeModule.InsertLines",
                                        "CodeModule.DeleteLines"};
  SweepRefusals(action, arrange, Calls, click, [&](LiveSession& s, const Refusals& r) {
    const auto messages = s.TakeMessages();
    const auto code = s.Component(u"Budget", u"Target")->Code();
    if (r.operations.size() == 2 && In(writes, r.operations[0]) && In(writes, r.operations[1]) &&
        code != before && code != pasted) {
      EXPECT_EQ(messages, std::vector<host::Text>{host::Text(kPasteNotCompletedMessage)});
      EXPECT_EQ(Buffers(s).CopyBuffers[1], buffer);
      EXPECT_THAT(s.TakeSounds(), ::testing::IsEmpty());
      return;
    }
    EXPECT_THAT(messages, ::testing::IsEmpty());
    check(s, r.operations, r.threw);
  });

  SCOPED_TRACE(std::string(action) + ": every write refused, as in a protected module");
  auto refused = arrange();
  for (const auto& write : writes) refused->host.calls->FailOn(write);
  refused->Buffer(2)->Click();
  EXPECT_EQ(refused->Component(u"Budget", u"Target")->Code(), before);
  EXPECT_THAT(refused->TakeSounds(), ::testing::IsEmpty());
  EXPECT_THAT(refused->TakeMessages(), ::testing::IsEmpty());
}

TEST(FaultSweep, PastingOverOneLine) {
  SweepPaste("paste over one line", u"abcdefgh\nnext", {1, 3, 1, 6}, u"XY", {u"abXYfgh", u"next"},
             {1, 5, 1, 5});
}

TEST(FaultSweep, PastingOverThreeLines) {
  SweepPaste("paste over three lines", u"abcdefgh\nijklm\nnopqrstu\nlast", {1, 3, 3, 2}, u"XY",
             {u"abXYopqrstu", u"last"}, {1, 5, 1, 5});
  // Two lines of text over three: the rewritten line SL becomes two lines before the rest of
  // the selection goes, and an undo has to take both back.
  SweepPaste("paste of two lines over three", u"abcdefgh\nijklm\nnopqrstu\nlast", {1, 3, 3, 2},
             u"XY\nZ", {u"abXY", u"Zopqrstu", u"last"}, {2, 2, 2, 2});
}

TEST(FaultSweep, PastingIntoAnEmptyModule) {
  SweepPaste("paste into an empty module", u"", {1, 1, 1, 1}, u"XY\nZ", {u"XY", u"Z"},
             {2, 2, 2, 2});
}

TEST(FaultSweep, ClearingBuffers) {
  Sweep(
      "clear buffers", FilledBuffer, Calls, [](LiveSession& s) { s.Buffer(6)->Click(); },
      [](LiveSession& s, const FailedCall& f) {
        EXPECT_EQ(f.threw, !f.operation.starts_with("Sound.") && !In(kKeptInStep, f.operation))
            << "clear traps nothing but a refused sound or tooltip";
        EXPECT_EQ(Buffers(s).CopyBuffers[1], f.threw ? kOld : u"")
            << "buffers emptied only by a clear that ends";
      });
}

}  // namespace
}  // namespace quillon::testing
