// Setting, following, setting again and resetting bookmarks through the buttons, on the
// simulated editor.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "host/error.h"
#include "quillon/entry_points.h"
#include "tests/quillon/live_session.h"

namespace quillon::testing {
namespace {

using host::sim::SimHostBuilder;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

const char16_t kMainModule[] =
    u"Option Explicit\n"    // 1 declarations
    u"\n"                   // 2
    u"' Says hello\n"       // 3 belongs to Main
    u"' three times\n"      // 4 belongs to Main
    u"Sub Main()\n"         // 5
    u"    Debug.Print 1\n"  // 6
    u"    Debug.Print 2\n"  // 7
    u"    Debug.Print 3\n"  // 8
    u"End Sub\n";           // 9

SimHostBuilder Budget(const char16_t* file = u"C:\\Work\\Budget_07.xlsm") {
  return WithSounds().Project(u"Budget", file).Module(u"Module1", kMainModule).UserForm(u"Entry");
}

struct ShownButton {
  host::Text caption;
  host::Text description;
  std::int32_t state;
  bool operator==(const ShownButton&) const = default;
};
ShownButton Shown(const host::sim::SimControl& b) {
  return {b.CaptionShown(), b.DescriptionShown(), b.StateShown()};
}
const ShownButton kUnused{u"Unused bookmark", u"", host::kStateUp};

TEST(SetBookmark, InAProcedureRecordsTheOffsetFromItsDeclaration) {
  LiveSession s(Budget());
  const auto module = s.Component(u"Budget", u"Module1");
  s.Caret(module, 8);
  s.Bookmark(1)->Click();
  EXPECT_EQ(Shown(*s.Bookmark(1)),
            (ShownButton{u"Budget_07.xlsm - Module1 - Main - Line 3",
                         u"Budget_07.xlsm|Module1|Main|3", host::kStateDown}));
  EXPECT_THAT(s.TakeSounds(), ElementsAre("zoomin.wav"));

  s.Caret(module, 5);
  s.Bookmark(2)->Click();
  EXPECT_EQ(s.Bookmark(2)->DescriptionShown(), u"Budget_07.xlsm|Module1|Main|0");

  s.Caret(module, 3);
  s.Bookmark(3)->Click();
  EXPECT_EQ(s.Bookmark(3)->CaptionShown(), u"Budget_07.xlsm - Module1 - Main - Line -2");
}

TEST(SetBookmark, InTheDeclarationsSectionRecordsTheModuleLine) {
  LiveSession s(Budget());
  s.Caret(s.Component(u"Budget", u"Module1"), 1);
  s.Bookmark(4)->Click();
  EXPECT_EQ(Shown(*s.Bookmark(4)), (ShownButton{u"Budget_07.xlsm - Module1 -  Line 1",
                                                u"Budget_07.xlsm|Module1||1", host::kStateDown}));
}

TEST(SetBookmark, InADesignerRecordsTheComponentWhateverTheCodePaneShows) {
  LiveSession s(Budget());
  const auto form = s.Component(u"Budget", u"Entry");
  s.Caret(s.Component(u"Budget", u"Module1"), 8);
  s.host.editor->SelectComponent(form);
  form->Activate();
  s.Bookmark(1)->Click();
  EXPECT_EQ(Shown(*s.Bookmark(1)),
            (ShownButton{u"Budget_07.xlsm - Userform: Entry", u"Budget_07.xlsm|Entry|Designer",
                         host::kStateDown}));
}

TEST(SetBookmark, AnUnsavedProjectGivesTheMessageAndLeavesTheButton) {
  LiveSession s(WithSounds().Project(u"New", std::nullopt).Module(u"Module1", kMainModule));
  s.Bookmark(2)->Click();
  ASSERT_EQ(s.host.messages->Shown().size(), 1u) << "one message box";
  EXPECT_THAT(s.TakeMessages(),
              ElementsAre(u"A component of a saved VB project must be selected before "
                          u"using the bookmark feature."));
  EXPECT_EQ(Shown(*s.Bookmark(2)), kUnused);
  EXPECT_THAT(s.TakeSounds(), IsEmpty());
}

TEST(SetBookmark, MessagesAreTitledQuillon) {
  LiveSession s(WithSounds().Project(u"New", std::nullopt).Module(u"Module1"));
  s.Bookmark(1)->Click();
  ASSERT_EQ(s.host.messages->Shown().size(), 1u);
  EXPECT_EQ(s.host.messages->Shown()[0].title, u"Quillon");
}

// A caret that cannot be read sets no bookmark on line 0: the button stays as it was.
TEST(SetBookmark, WithoutACodePaneChangesNothingAndSaysWhy) {
  LiveSession s(Budget());
  const auto module = s.Component(u"Budget", u"Module1");
  s.Caret(module, 8);
  s.Bookmark(2)->Click();
  const auto set = Shown(*s.Bookmark(2));
  s.host.editor->SelectComponent(module);
  s.host.editor->CloseWindows();
  s.host.editor->ActivateWindow(module->CodeWindow(), nullptr);
  s.TakeSounds();
  s.Bookmark(1)->Click();
  EXPECT_EQ(Shown(*s.Bookmark(1)), kUnused);
  EXPECT_THAT(s.TakeMessages(),
              ElementsAre(u"The editor did not tell where the caret is. The bookmark was not "
                          u"changed."));
  s.host.keyboard->shiftDown = true;
  s.Bookmark(2)->Click();
  EXPECT_EQ(Shown(*s.Bookmark(2)), set) << "a Shift+click keeps the bookmark it had";
  EXPECT_EQ(s.host.settings->Stored(u"Razurid", u"Bookmarks\\EXCEL", u"2"), set.description);
  EXPECT_THAT(s.TakeSounds(), IsEmpty()) << "no sound goes with a failure";
}

TEST(GoToBookmark, LandsOnTheSameLineOfTheProcedureAfterLinesWereInsertedAbove) {
  LiveSession s(Budget());
  const auto module = s.Component(u"Budget", u"Module1");
  s.Caret(module, 7);
  s.Bookmark(1)->Click();
  s.Caret(module, 1);
  s.Bookmark(2)->Click();
  module->CodeModule()->InsertLines(2, u"Private Const A = 1\r\nPrivate Const B = 2");
  const auto other = s.Component(u"Budget", u"Entry");
  s.Caret(other, 1);
  s.TakeSounds();

  s.Bookmark(1)->Click();
  EXPECT_EQ(s.host.editor->ActivePane(), module->Pane());
  EXPECT_EQ(module->Pane()->selection, (host::Selection{9, 1, 9, 1}));
  EXPECT_EQ(module->Code()[8], u"    Debug.Print 2");
  EXPECT_THAT(s.TakeSounds(), ElementsAre("redo.wav"));
  EXPECT_EQ(s.Bookmark(1)->StateShown(), host::kStateDown) << "a reached bookmark stays";

  s.Bookmark(2)->Click();
  EXPECT_EQ(module->Pane()->selection, (host::Selection{1, 1, 1, 1}))
      << "module lines are absolute";
}

TEST(GoToBookmark, ADesignerBookmarkBringsTheDesignerForward) {
  LiveSession s(Budget());
  const auto form = s.Component(u"Budget", u"Entry");
  s.host.editor->SelectComponent(form);
  form->Activate();
  s.Bookmark(5)->Click();
  s.Caret(s.Component(u"Budget", u"Module1"), 2);
  s.TakeSounds();
  s.Bookmark(5)->Click();
  EXPECT_EQ(s.host.editor->ActiveWindow()->Type(), host::kDesignerWindow);
  EXPECT_THAT(s.TakeSounds(), ElementsAre("redo.wav"));
}

TEST(GoToBookmark, AProcedureNamedDesignerReadsBackAsADesignerBookmark) {
  LiveSession s(Budget());
  s.Bookmark(1)->SetShown(u"x", u"Budget_07.xlsm|Module1|Designer|3", host::kStateDown);
  s.Bookmark(1)->Click();
  EXPECT_EQ(s.host.calls->Count("VBComponent.Activate"), 1u);
  EXPECT_EQ(s.host.calls->Count("CodePane.SetSelection"), 0u);
  EXPECT_THAT(s.TakeSounds(), ElementsAre("redo.wav"));
}

TEST(GoToBookmark, FollowsTheWorkbookToItsNextVersion) {
  LiveSession s(Budget());
  s.Caret(s.Component(u"Budget", u"Module1"), 8);
  s.Bookmark(3)->Click();
  // Saved as the next version: the document that holds the project has another name.
  s.host.editor->Projects().front()->SetFileName(u"C:\\Work\\Budget_08.xlsm");
  s.Caret(s.Component(u"Budget", u"Module1"), 1);
  s.TakeSounds();

  s.Bookmark(3)->Click();
  EXPECT_EQ(Shown(*s.Bookmark(3)),
            (ShownButton{u"Budget_08.xlsm - Module1 - Main - Line 3",
                         u"Budget_08.xlsm|Module1|Main|3", host::kStateDown}));
  EXPECT_EQ(s.Component(u"Budget", u"Module1")->Pane()->selection, (host::Selection{8, 1, 8, 1}));
  EXPECT_THAT(s.TakeSounds(), ElementsAre("remindr4.wav"));
  EXPECT_THAT(s.TakeMessages(), IsEmpty());
}

// A workbook that is not open (Office just started, another instance has it) is no answer that
// the place is gone: the bookmark stays on its button and in the store, and goes there once the
// workbook is open again.
TEST(GoToBookmark, AClosedWorkbookKeepsTheBookmarkUntilItIsOpenAgain) {
  LiveSession s(Budget().Project(u"Other", u"C:\\Work\\Report.xlsm").Module(u"Module9"));
  s.Caret(s.Component(u"Budget", u"Module1"), 8);
  s.Bookmark(1)->Click();
  const auto set = Shown(*s.Bookmark(1));
  const auto budget = s.host.editor->Projects().front();
  s.host.editor->CloseProject(budget);
  s.TakeSounds();
  s.Bookmark(1)->Click();
  EXPECT_THAT(s.TakeMessages(),
              ElementsAre(u"The project workbook may have been closed or renamed. The bookmark "
                          u"is kept: click it again once the workbook is open."));
  EXPECT_EQ(Shown(*s.Bookmark(1)), set);
  EXPECT_EQ(s.host.settings->Stored(u"Razurid", u"Bookmarks\\EXCEL", u"1"), set.description);
  EXPECT_THAT(s.TakeSounds(), IsEmpty());
}

// A go-to looks through the open projects once, and once more only after following the workbook
// to its next version: never a search before the follow, nor one after a follow that found none.
TEST(GoToBookmark, SearchesTheOpenProjectsOnceAndOnceMoreAfterAFollow) {
  const auto searches = [](const char16_t* renamedTo) {
    LiveSession s(Budget());
    s.Caret(s.Component(u"Budget", u"Module1"), 8);
    s.Bookmark(1)->Click();
    s.host.editor->Projects().front()->SetFileName(renamedTo);
    s.host.calls->ClearLog();
    s.Bookmark(1)->Click();
    return s.host.calls->Count("VBE.VBProjects");
  };
  EXPECT_EQ(searches(u"C:\\Work\\Budget_07.xlsm"), 1u) << "found at once";
  // Locate, follow (which lists the open files), locate again.
  EXPECT_EQ(searches(u"C:\\Work\\Budget_08.xlsm"), 3u) << "followed";
  EXPECT_EQ(searches(u"C:\\Work\\Report.xlsm"), 2u) << "nothing to follow";
}

TEST(GoToBookmark, ARemovedComponentOrProcedureGivesTheModuleMessage) {
  LiveSession s(Budget());
  const auto module = s.Component(u"Budget", u"Module1");
  s.Caret(module, 8);
  s.Bookmark(1)->Click();
  s.Bookmark(2)->Click();
  module->CodeModule()->ReplaceLine(5, u"Sub Renamed()");
  s.Bookmark(1)->Click();
  EXPECT_THAT(s.TakeMessages(), ElementsAre(u"The module may have been deleted or renamed."));
  EXPECT_EQ(Shown(*s.Bookmark(1)), kUnused);

  s.host.editor->Projects().front()->RemoveComponent(u"Module1");
  s.Bookmark(2)->Click();
  EXPECT_THAT(s.TakeMessages(), ElementsAre(u"The module may have been deleted or renamed."));
  EXPECT_EQ(s.host.settings->Stored(u"Razurid", u"Bookmarks\\EXCEL", u"2"), u"")
      << "a place that is gone is discarded from the store too";
  EXPECT_EQ(Shown(*s.Bookmark(2)), kUnused);
}

TEST(GoToBookmark, ATargetOfLineZeroNamesTheProcedure) {
  LiveSession s(Budget());
  s.Bookmark(1)->SetShown(u"x", u"Budget_07.xlsm|Module1|Main|-5", host::kStateDown);
  s.Bookmark(1)->Click();
  EXPECT_THAT(s.TakeMessages(), ElementsAre(u"Main does not seem to exist."));
  EXPECT_EQ(Shown(*s.Bookmark(1)), kUnused);
}

TEST(GoToBookmark, ALineBeyondSixteenBitsLeadsBackThere) {
  host::Text code = u"Option Explicit\n";
  for (int i = 2; i <= 40010; ++i) code += u"' line\n";
  LiveSession s(WithSounds().Project(u"Long", u"C:\\Long.xlsm").Module(u"Big", code));
  const auto module = s.Component(u"Long", u"Big");
  s.Caret(module, 40000);
  s.Bookmark(1)->Click();
  EXPECT_EQ(s.Bookmark(1)->DescriptionShown(), u"Long.xlsm|Big||40000");
  s.Caret(module, 1);
  s.Bookmark(1)->Click();
  EXPECT_EQ(module->Pane()->selection, (host::Selection{40000, 1, 40000, 1}));
  EXPECT_THAT(s.TakeMessages(), IsEmpty());
}

TEST(GoToBookmark, ARecordNamingAnotherProjectsFileNeverLandsInAProjectThatOnlyEndsLikeIt) {
  LiveSession s(WithSounds()
                    .Project(u"Mine", u"C:\\Work\\MyBook1.xlsm")
                    .Module(u"Module1", kMainModule)
                    .Project(u"Book", u"C:\\Work\\Book1.xlsm")
                    .Module(u"Module1", kMainModule));
  s.Bookmark(1)->SetShown(u"x", u"Book1.xlsm|Module1||2", host::kStateDown);
  s.Bookmark(1)->Click();
  EXPECT_EQ(s.Component(u"Book", u"Module1")->Pane()->selection, (host::Selection{2, 1, 2, 1}));
  EXPECT_EQ(s.Component(u"Mine", u"Module1")->Pane()->selection, (host::Selection{1, 1, 1, 1}));
}

TEST(GoToBookmark, TheSelectionGoesOnTheShownPaneEvenWhenAnotherStaysActive) {
  LiveSession s(Budget());
  const auto module = s.Component(u"Budget", u"Module1");
  const auto form = s.Component(u"Budget", u"Entry");
  s.Bookmark(1)->SetShown(u"x", u"Budget_07.xlsm|Module1||6", host::kStateDown);
  s.Caret(form, 1);
  s.host.editor->showActivatesPane = false;
  s.Bookmark(1)->Click();
  EXPECT_EQ(module->Pane()->selection, (host::Selection{6, 1, 6, 1}));
  EXPECT_EQ(form->Pane()->selection, (host::Selection{1, 1, 1, 1}));
  EXPECT_THAT(s.TakeMessages(), IsEmpty());
}

TEST(BookmarkClick, ShiftReplacesTheBookmarkWithoutGoing) {
  LiveSession s(Budget());
  const auto module = s.Component(u"Budget", u"Module1");
  s.Caret(module, 8);
  s.Bookmark(1)->Click();
  s.Caret(module, 6);
  s.TakeSounds();
  s.ShiftClick(s.Bookmark(1));
  EXPECT_EQ(s.Bookmark(1)->DescriptionShown(), u"Budget_07.xlsm|Module1|Main|1");
  EXPECT_EQ(module->Pane()->selection, (host::Selection{6, 1, 6, 1})) << "no go-to happened";
  EXPECT_THAT(s.TakeSounds(), ElementsAre("zoomin.wav"));
}

TEST(BookmarkClick, AShiftKeyThatIsOnlyToggledIsUp) {
  LiveSession s(Budget());
  const auto module = s.Component(u"Budget", u"Module1");
  s.Caret(module, 8);
  s.Bookmark(1)->Click();
  s.Caret(module, 6);
  s.host.keyboard->shiftToggled = true;  // pressed an odd number of times, up now
  s.Bookmark(1)->Click();
  EXPECT_EQ(s.Bookmark(1)->DescriptionShown(), u"Budget_07.xlsm|Module1|Main|3") << "kept";
  EXPECT_EQ(module->Pane()->selection, (host::Selection{8, 1, 8, 1})) << "went there";
  s.host.keyboard->shiftDown = true;
  s.Caret(module, 6);
  s.Bookmark(1)->Click();
  EXPECT_EQ(s.Bookmark(1)->DescriptionShown(), u"Budget_07.xlsm|Module1|Main|1")
      << "down and toggled is down";
}

TEST(BookmarkClick, TheShiftKeyIsReadOnlyForAUsedBookmark) {
  LiveSession s(Budget());
  s.Caret(s.Component(u"Budget", u"Module1"), 8);
  s.host.calls->ClearLog();
  s.Bookmark(1)->Click();
  EXPECT_EQ(s.host.calls->Count("Keyboard.GetKeyState"), 0u) << "a free one is set anyway";
  s.Bookmark(1)->Click();
  EXPECT_EQ(s.host.calls->Count("Keyboard.GetKeyState"), 1u);
}

// The order of the writes decides what a failure part-way leaves: the caption first, the record
// next, the pressed look, and the tooltip, whose refusal is ignored, last.
TEST(BookmarkClick, SetAndResetWriteCaptionThenRecordThenState) {
  LiveSession s(Budget());
  s.Caret(s.Component(u"Budget", u"Module1"), 8);
  const auto writes = [&] {
    std::vector<std::string> w;
    for (const auto& call : s.host.calls->Log())
      if (call.ends_with("=")) w.push_back(call);
    s.host.calls->ClearLog();
    return w;
  };
  s.host.calls->ClearLog();
  s.Bookmark(1)->Click();
  EXPECT_THAT(writes(),
              ElementsAre("CommandBarButton.Caption=", "CommandBarButton.DescriptionText=",
                          "CommandBarButton.State=", "CommandBarButton.TooltipText="));
  s.Bookmark(6)->Click();
  std::vector<std::string> reset;
  for (int i = 0; i < 5; ++i)
    reset.insert(reset.end(), {"CommandBarButton.Caption=", "CommandBarButton.DescriptionText=",
                               "CommandBarButton.State=", "CommandBarButton.TooltipText="});
  EXPECT_EQ(writes(), reset);
}

TEST(SetBookmark, InAPropertyProcedureRecordsTheModuleLine) {
  // The declaration is asked for with the plain-procedure kind, which a property is not: the
  // editor finds no such procedure and the bookmark keeps the module's own line.
  LiveSession s(WithSounds()
                    .Project(u"Budget", u"C:\\Work\\Budget_07.xlsm")
                    .Module(u"Class1",
                            u"Private mName As String\n"
                            u"Property Get Name() As String\n"
                            u"    Name = mName\n"
                            u"End Property\n"));
  s.Caret(s.Component(u"Budget", u"Class1"), 3);
  s.Bookmark(1)->Click();
  EXPECT_EQ(s.Bookmark(1)->DescriptionShown(), u"Budget_07.xlsm|Class1||3");
}

TEST(GoToBookmark, TheFirstOpenProjectWithTheFileWins) {
  LiveSession s(WithSounds()
                    .Project(u"First", u"C:\\A\\Budget_07.xlsm")
                    .Module(u"Module1", kMainModule)
                    .Project(u"Second", u"D:\\B\\Budget_07.xlsm")
                    .Module(u"Module1", kMainModule)
                    .Project(u"Third", u"E:\\C\\Budget_07.xlsm")
                    .Module(u"Module1", kMainModule));
  s.Bookmark(1)->SetShown(u"b", u"Budget_07.xlsm|Module1||7", host::kStateDown);
  s.Caret(s.Component(u"Third", u"Module1"), 1);
  s.Caret(s.Component(u"Second", u"Module1"), 1);
  s.Caret(s.Component(u"First", u"Module1"), 1);
  s.Bookmark(1)->Click();
  EXPECT_EQ(s.Component(u"First", u"Module1")->Pane()->selection, (host::Selection{7, 1, 7, 1}));
  EXPECT_EQ(s.Component(u"Second", u"Module1")->Pane()->selection, (host::Selection{1, 1, 1, 1}));
  EXPECT_EQ(s.Component(u"Third", u"Module1")->Pane()->selection, (host::Selection{1, 1, 1, 1}));
}

TEST(GoToBookmark, FollowsTheWorkbookTwiceAndPastANineWithinOneSession) {
  LiveSession s(Budget(u"C:\\Work\\Budget_07.xlsm"));
  const auto project = s.host.editor->Projects().front();
  s.Caret(s.Component(u"Budget", u"Module1"), 8);
  s.Bookmark(1)->Click();
  for (const char16_t* next : {u"Budget_08.xlsm", u"Budget_09.xlsm", u"Budget_10.xlsm"}) {
    project->SetFileName(u"C:\\Work\\" + host::Text(next));
    s.Caret(s.Component(u"Budget", u"Module1"), 1);
    s.Bookmark(1)->Click();
    EXPECT_EQ(s.Bookmark(1)->DescriptionShown(), host::Text(next) + u"|Module1|Main|3");
    EXPECT_EQ(s.Component(u"Budget", u"Module1")->Pane()->selection, (host::Selection{8, 1, 8, 1}));
    EXPECT_THAT(s.TakeMessages(), IsEmpty());
  }
}

TEST(ResetBookmarks, WritesAllFiveAndPlaysTheCancelSound) {
  LiveSession s(Budget());
  s.Caret(s.Component(u"Budget", u"Module1"), 8);
  s.Bookmark(2)->Click();
  s.Bookmark(5)->Click();
  s.TakeSounds();
  s.host.calls->ClearLog();
  s.Bookmark(6)->Click();
  for (int i = 1; i <= 5; ++i) EXPECT_EQ(Shown(*s.Bookmark(i)), kUnused) << i;
  EXPECT_EQ(s.Bookmark(6)->CaptionShown(), u"Reset bookmarks");
  EXPECT_EQ(s.host.calls->Count("CommandBarButton.Caption="), 5u) << "unused ones are written too";
  EXPECT_THAT(s.TakeSounds(), ElementsAre("cancel.wav"));
}

TEST(ResetBookmarks, ABarWithFewerThanFiveControlsEndsTheResetWithAFailure) {
  LiveSession s(Budget());
  s.Bookmark(2)->SetShown(u"x", u"r", host::kStateDown);
  s.Bookmark(4)->SetShown(u"x", u"r", host::kStateDown);
  s.host.calls->FailOn("CommandBarControls.Item", 3);
  EXPECT_THROW(s.Bookmark(6)->Click(), host::HostError);
  EXPECT_EQ(Shown(*s.Bookmark(2)), kUnused);
  EXPECT_EQ(s.Bookmark(4)->StateShown(), host::kStateDown);
  EXPECT_THAT(s.TakeSounds(), IsEmpty());
}

TEST(Sounds, AbsentFilesAreSilence) {
  LiveSession s(SimHostBuilder().Project(u"B", u"C:\\B.xlsm").Module(u"Module1", kMainModule));
  s.Caret(s.Component(u"B", u"Module1"), 8);
  s.Bookmark(1)->Click();
  s.Bookmark(1)->Click();
  s.Bookmark(6)->Click();
  EXPECT_THAT(s.TakeSounds(), IsEmpty());
  EXPECT_EQ(s.host.calls->Count("Sound.OrdinaryFileExists"), 3u);
}

TEST(Sounds, ComeFromTheWindowsFolderOfWindirsDrive) {
  LiveSession s(WithSounds(SimHostBuilder().Env(u"windir", u"C:\\WINNT"))
                    .Project(u"B", u"C:\\B.xlsm")
                    .Module(u"Module1", kMainModule));
  s.Bookmark(6)->Click();
  EXPECT_THAT(s.host.sound->Played(), ElementsAre(u"C:\\windows\\media\\office97\\cancel.wav"));
}

TEST(Sounds, AFileThatCannotBeLookedUpIsSilence) {
  LiveSession s(Budget());
  s.host.calls->FailOn("Sound.OrdinaryFileExists");
  EXPECT_NO_THROW(s.Bookmark(6)->Click());
  EXPECT_THAT(s.TakeSounds(), IsEmpty());
}

TEST(Sounds, NoWindirIsSilenceNotAFailure) {
  LiveSession s(
      WithSounds(SimHostBuilder().NoEnv(u"windir")).Project(u"B", u"C:\\B.xlsm").Module(u"M"));
  EXPECT_NO_THROW(s.Bookmark(6)->Click());
  EXPECT_THAT(s.TakeSounds(), IsEmpty());
}

TEST(RetargetBookmark, ReplacesTheOldNameEverywhereInRecordAndCaption) {
  LiveSession s(Budget(u"C:\\Work\\B1.xlsm"));
  auto& bookmarks = dynamic_cast<EntryPoints&>(*s.addin.Actions()).Bookmarks();
  const auto button = s.Bookmark(1);
  button->SetShown(u"B1.xlsm - B1.xlsm_Sheet - Main - Line 2", u"B1.xlsm|B1.xlsm_Sheet|Main|2",
                   host::kStateDown);
  s.host.editor->Projects().front()->SetFileName(u"C:\\Work\\B2.xlsm");
  EXPECT_TRUE(bookmarks.RetargetBookmark(button));
  EXPECT_EQ(button->DescriptionShown(), u"B2.xlsm|B2.xlsm_Sheet|Main|2");
  EXPECT_EQ(button->CaptionShown(), u"B2.xlsm - B2.xlsm_Sheet - Main - Line 2");
  EXPECT_EQ(button->StateShown(), host::kStateDown);
  EXPECT_EQ(bookmarks.OpenProjectFileCount, 1);
}

TEST(RetargetBookmark, TheFirstOpenFileThatFollowsWinsAndANameWithoutANumberFollowsNone) {
  LiveSession s(WithSounds()
                    .Project(u"A", u"C:\\x\\Report.xlsm")
                    .Module(u"M")
                    .Project(u"B", u"C:\\x\\Budget_08.xlsm")
                    .Module(u"M")
                    .Project(u"C", u"C:\\x\\Budget_09.xlsm")
                    .Module(u"M"));
  auto& bookmarks = dynamic_cast<EntryPoints&>(*s.addin.Actions()).Bookmarks();
  const auto button = s.Bookmark(1);
  button->SetShown(u"Budget_07.xlsm - M -  Line 1", u"Budget_07.xlsm|M||1", host::kStateDown);
  EXPECT_TRUE(bookmarks.RetargetBookmark(button));
  EXPECT_EQ(button->DescriptionShown(), u"Budget_08.xlsm|M||1");

  button->SetShown(u"Budget.xlsm - M -  Line 1", u"Budget.xlsm|M||1", host::kStateDown);
  EXPECT_FALSE(bookmarks.RetargetBookmark(button)) << "every open name would follow it";
  EXPECT_EQ(button->DescriptionShown(), u"Budget.xlsm|M||1");
}

TEST(RetargetBookmark, ListsOnlySavedProjectsInTheirOrder) {
  LiveSession s(WithSounds()
                    .Project(u"A", u"C:\\x\\A1.xlsm")
                    .Module(u"M")
                    .Project(u"N", std::nullopt)
                    .Module(u"M")
                    .Project(u"B", u"D:\\B.xlsm")
                    .Module(u"M"));
  auto& bookmarks = dynamic_cast<EntryPoints&>(*s.addin.Actions()).Bookmarks();
  bookmarks.ListOpenProjectFiles();
  EXPECT_EQ(bookmarks.OpenProjectFileCount, 2);
  EXPECT_THAT(bookmarks.OpenProjectFiles, ElementsAre(u"A1.xlsm", u"B.xlsm"));
}

}  // namespace
}  // namespace quillon::testing
