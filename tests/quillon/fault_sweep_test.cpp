// Every user action of Quillon, with each host call it makes failing in turn: the outcome is the
// one its step's regime gives (trapped: a message or silence; ignored: carries on; not trapped:
// the failure goes back to the editor), and no bookmark or buffer is lost where none may be.

#include "tests/fault_sweep.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <set>

#include "quillon/entry_points.h"
#include "tests/quillon/live_session.h"

namespace quillon::testing {
namespace {

using host::sim::SimHostBuilder;
using testing_support::FailedCall;
using testing_support::Sweep;

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

// The calls of the click sink and of the click's first reads, which nothing traps.
const std::set<std::string> kClickEntry = {"CommandBarControl.AsButton",
                                           "CommandBarButton.DescriptionText",
                                           "CommandBarButton.Caption", "Keyboard.GetKeyState"};

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

TEST(FaultSweep, Disconnection) {
  Sweep(
      "disconnect", Connected, Calls,
      [](LiveSession& s) { s.addin.AddinInstance_OnDisconnection(); },
      [](LiveSession& s, const FailedCall& f) {
        EXPECT_FALSE(f.threw) << "removal ignores every failure";
        const bool lookupOrDelete =
            In({"VBE.CommandBars", "CommandBars.Item", "CommandBar.Delete"}, f.operation);
        if (!lookupOrDelete) {
          EXPECT_THAT(s.host.editor->Bars()->Bars(), ::testing::IsEmpty());
        }
      });
}

TEST(FaultSweep, SettingABookmark) {
  const std::set<std::string> trapped = {"VBE.ActiveVBProject", "VBProject.FileName",
                                         "VBE.SelectedVBComponent", "VBComponent.Name"};
  const std::set<std::string> ignored = {"VBE.ActiveCodePane", "CodePane.GetSelection",
                                         "CodePane.CodeModule", "CodeModule.ProcOfLine",
                                         "CodeModule.ProcBodyLine"};
  Sweep(
      "set a bookmark", Connected, Calls, [](LiveSession& s) { s.Bookmark(1)->Click(); },
      [&](LiveSession& s, const FailedCall& f) {
        const auto b = s.Bookmark(1);
        if (In(trapped, f.operation)) {
          EXPECT_FALSE(f.threw);
          EXPECT_THAT(s.TakeMessages(), ::testing::SizeIs(1));
          EXPECT_EQ(b->DescriptionShown(), u"") << "the button is left as it was";
        } else if (In(ignored, f.operation) || f.operation.starts_with("Sound.")) {
          EXPECT_FALSE(f.threw);
          EXPECT_NE(b->DescriptionShown(), u"");
          EXPECT_EQ(b->StateShown(), host::kStateDown);
        } else {
          EXPECT_TRUE(f.threw) << "not trapped";
        }
      });
}

TEST(FaultSweep, ShiftSettingOverABookmarkKeepsItWhenTheCompositionFails) {
  const auto arrange = [] {
    auto s = Connected();
    s->Bookmark(1)->SetShown(u"kept", u"Budget_07.xlsm|Module2|Main|1", host::kStateDown);
    s->host.keyboard->shiftDown = true;
    return s;
  };
  Sweep(
      "Shift-set a bookmark", arrange, Calls, [](LiveSession& s) { s.Bookmark(1)->Click(); },
      [](LiveSession& s, const FailedCall& f) {
        const auto b = s.Bookmark(1);
        const bool rewritten = b->DescriptionShown() != u"Budget_07.xlsm|Module2|Main|1";
        if (!f.threw && !rewritten) {
          EXPECT_EQ(b->CaptionShown(), u"kept");
        }
        if (rewritten) {
          EXPECT_NE(b->DescriptionShown(), u"");
        }
        EXPECT_EQ(b->StateShown(), host::kStateDown) << "never left half-reset";
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
          EXPECT_THAT(s.TakeMessages(),
                      ::testing::ElementsAre(u"The module may have been deleted or renamed."));
          EXPECT_EQ(b->DescriptionShown(), u"") << "a bookmark that cannot be reached is discarded";
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

TEST(FaultSweep, ResettingBookmarks) {
  const auto arrange = [] {
    auto s = Connected();
    s->Bookmark(3)->SetShown(u"c", u"r", host::kStateDown);
    return s;
  };
  Sweep(
      "reset bookmarks", arrange, Calls, [](LiveSession& s) { s.Bookmark(6)->Click(); },
      [](LiveSession& s, const FailedCall& f) {
        EXPECT_EQ(f.threw, !f.operation.starts_with("Sound.")) << "reset traps nothing";
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
        const auto& buffer = Buffers(s).CopyBuffers[1];
        if (In(kClickEntry, f.operation)) {
          EXPECT_TRUE(f.threw);
        } else {
          EXPECT_FALSE(f.threw) << "a capture is silent";
        }
        const bool captured = buffer != kOld;
        // Either the whole new capture with its caption, or the old text with its caption.
        EXPECT_EQ(s.Buffer(2)->CaptionShown(), captured ? u"x = 1\u2026" : u"old text");
        if (captured) {
          EXPECT_EQ(buffer, u"x = 1\n    y");
        }
        if (!captured && !f.threw) {
          EXPECT_THAT(s.TakeSounds(), ::testing::IsEmpty());
        }
      });
}

TEST(FaultSweep, PastingABuffer) {
  Sweep(
      "paste", FilledBuffer, Calls, [](LiveSession& s) { s.Buffer(2)->Click(); },
      [](LiveSession& s, const FailedCall& f) {
        EXPECT_EQ(f.threw, In(kClickEntry, f.operation));
        EXPECT_EQ(Buffers(s).CopyBuffers[1], kOld) << "a paste never changes its buffer";
        const auto& code = s.Component(u"Budget", u"Module1")->Code();
        if (f.operation == "CodeModule.ReplaceLine" && !f.threw && code.size() == 6) {
          EXPECT_EQ(code[3], u"    old text = 2") << "refused replacement, inserted instead";
        }
      });
}

TEST(FaultSweep, ClearingBuffers) {
  Sweep(
      "clear buffers", FilledBuffer, Calls, [](LiveSession& s) { s.Buffer(6)->Click(); },
      [](LiveSession& s, const FailedCall& f) {
        EXPECT_EQ(f.threw, !f.operation.starts_with("Sound.")) << "clear traps nothing";
        EXPECT_EQ(Buffers(s).CopyBuffers[1], f.threw ? kOld : u"")
            << "buffers emptied only by a clear that ends";
      });
}

}  // namespace
}  // namespace quillon::testing
