// Repair Missing References: the command after References, and what one click does to a
// project's references and tells about them.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "host/error.h"
#include "lathmore/repair_message.h"
#include "tests/lathmore/repair_world.h"

namespace lathmore::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

const std::string kDemoMessage =
    "Missing references in Budget_07:\n"
    "Repaired: Outlook 9.6 \u2192 9.5 (Microsoft Outlook 9.5 Object Library), now at the end of "
    "the list.\n"
    "Not installed on this computer for 64-bit Office, only for 32-bit Office: Word 8.7 "
    "{00020905-0000-0000-C000-000000000046}, left as it is.\n"
    "Not installed on this computer: Ledgerline 1.0 {7C0E3F5A-2B6D-4E61-9A8C-51D2F0B3C4E7}, left "
    "as it is.";

// The project's list made Scripting 1.0, then Outlook 9.6 MISSING, which is already last.
void OnlyScriptingThenAMissingOutlook(RepairWorld& w) {
  auto& list = *w.Project()->ReferenceList();
  while (!list.Items().empty()) list.Remove(list.Items().front());
  list.Append(TypeLib(kScripting, {1, 0}, u"Scripting", false));
  list.Append(TypeLib(kOutlook, {9, 6}, u"Outlook", true));
}

TEST(RepairCommand, SitsRightAfterReferencesWithALetterTheMenuDoesNotUse) {
  RepairWorld w;
  w.AddCommand();
  const auto command = w.Command();
  EXPECT_EQ(command->CaptionShown(), u"R&epair Missing References...");
  EXPECT_TRUE(command->temporary);
  EXPECT_EQ(w.host.Control(u"Tools", 3)->Id(), 3021) << "the rest of the menu moves down";
  EXPECT_EQ(w.Tools()->ControlList().size(), 7u);
}

TEST(RepairCommand, GoesAtTheEndWhenReferencesIsLast) {
  RepairWorld w;
  while (w.Tools()->ControlList().size() > 1) w.Tools()->RemoveControl(2);
  w.AddCommand();
  ASSERT_EQ(w.Tools()->ControlList().size(), 2u);
  EXPECT_EQ(w.Command()->CaptionShown(), u"R&epair Missing References...");
}

TEST(RepairCommand, Accelerators) {
  const host::Text caption = kRepairCaption;
  EXPECT_EQ(WithFreeAccelerator(caption, {}), u"&Repair Missing References...");
  EXPECT_EQ(WithFreeAccelerator(caption, {u"&references", u"X&E", u"&&P &&A"}),
            u"Re&pair Missing References...")
      << "either case is taken; \"&&\" shows an ampersand and takes nothing";
  // A German menu takes other letters.
  EXPECT_EQ(WithFreeAccelerator(caption, {u"&Verweise...", u"&Makros...", u"&Optionen..."}),
            u"&Repair Missing References...");
  EXPECT_EQ(WithFreeAccelerator(u"Ab", {u"&a", u"&B"}), u"Ab") << "every letter taken: none";
  EXPECT_EQ(WithFreeAccelerator(u"\u00c4. b", {}), u"\u00c4. &b") << "ASCII letters only";
  EXPECT_EQ(WithFreeAccelerator(caption, {u"&References", u"&&X&e"}),
            u"Re&pair Missing References...")
      << "the letter after an escaped ampersand's own";
  EXPECT_EQ(WithFreeAccelerator(u"Zap", {u"&z"}), u"Z&ap");
  for (const char16_t* letter : {u"a", u"z", u"A", u"Z"})
    EXPECT_EQ(WithFreeAccelerator(host::Text(u"-") + letter, {}), host::Text(u"-&") + letter);
}

TEST(RepairCommand, DisconnectionDeletesIt) {
  RepairWorld w;
  const auto held = w.host.editor.use_count();
  w.AddCommand();
  const auto command = w.Command();
  w.repair.Remove();
  EXPECT_FALSE(command->Exists());
  EXPECT_EQ(command->ClickConnections(), 0u);
  EXPECT_EQ(w.Tools()->ControlList().size(), 6u);
  EXPECT_EQ(w.host.editor.use_count(), held) << "no editor object is held";
  // Connected again, it comes back once.
  w.AddCommand();
  w.AddCommand();
  EXPECT_EQ(w.Tools()->ControlList().size(), 7u);
}

TEST(Repair, TheWorkbookFromAnotherComputer) {
  RepairWorld w;
  w.AddCommand();
  w.Command()->Click();
  EXPECT_THAT(w.Listed(), ElementsAre("Word 8.7 MISSING", "Ledgerline 1.0 MISSING", "Scripting 1.0",
                                      "Outlook 9.5"));
  ASSERT_EQ(w.host.messages->Shown().size(), 1u);
  EXPECT_EQ(w.Message(), kDemoMessage);
  EXPECT_EQ(w.host.messages->Shown()[0].title, u"Lathmore");
  EXPECT_EQ(w.host.messages->Shown()[0].owner, 0x1234u) << "owned by the editor's main window";
  EXPECT_EQ(w.host.calls->Count("References.Remove"), 1u) << "nothing that is not broken";

  w.host.messages->Clear();
  w.Command()->Click();
  EXPECT_THAT(w.Message(), HasSubstr("Word 8.7")) << "a second click changes nothing more";
  EXPECT_EQ(w.host.calls->Count("References.Remove"), 1u);
}

TEST(Repair, A32BitEditorTakesThe32BitVersions) {
  RepairWorld w(host::Bitness::Win32);
  w.libraries->Register(kWord, {8, 6}, u"Microsoft Word 8.6 Object Library", u"409",
                        host::Bitness::Win64, u"C:\\Office\\MSWORD.OLB");
  w.AddCommand();
  w.Command()->Click();
  // Here Outlook is there for 32-bit Office, Word 8.7 and 8.6 for 64-bit Office only.
  EXPECT_THAT(w.Listed(), ElementsAre("Word 8.7 MISSING", "Ledgerline 1.0 MISSING", "Scripting 1.0",
                                      "Outlook 9.5"));
}

TEST(Repair, NewestVersionByItsNumberAndOnlyWithItsFile) {
  RepairWorld w;
  // "a.0" is 10.0, newer than 9.5; 11.0 has no file here.
  w.libraries->Register(kOutlook, {10, 0}, u"Microsoft Outlook 10.0 Object Library", u"0",
                        host::Bitness::Win64, u"C:\\Office16\\MSOUTL.OLB");
  w.libraries->Register(kOutlook, {11, 0}, u"Microsoft Outlook 11.0 Object Library", u"0",
                        host::Bitness::Win64, u"C:\\Gone\\MSOUTL.OLB", false);
  w.AddCommand();
  w.Command()->Click();
  EXPECT_EQ(w.References().back().version, (host::LibraryVersion{10, 0}));
  EXPECT_THAT(w.Message(), HasSubstr("Outlook 9.6 \u2192 10.0 (Microsoft Outlook 10.0"));
}

TEST(Repair, AReferenceAlreadyLastKeepsItsPlaceAndSaysNothingOfIt) {
  RepairWorld w;
  OnlyScriptingThenAMissingOutlook(w);
  w.AddCommand();
  w.Command()->Click();
  EXPECT_THAT(w.Listed(), ElementsAre("Scripting 1.0", "Outlook 9.5"));
  EXPECT_EQ(w.Message(),
            "Missing references in Budget_07:\nRepaired: Outlook 9.6 \u2192 9.5 (Microsoft "
            "Outlook 9.5 Object Library).");
}

TEST(Repair, ProjectsBuiltInsAndNamelessOnes) {
  RepairWorld w;
  auto& list = *w.Project()->ReferenceList();
  list.Append({host::kReferenceProject, u"", {}, u"SharedTools", true});
  list.Append({host::kReferenceTypeLibrary, kVendor, {2, 1}, u"VBA", true, true});
  auto nameless = TypeLib(kOutlook, {9, 6}, u"", true);
  nameless.nameRefused = true;
  list.Remove(list.Items().front());
  list.Append(nameless);
  w.AddCommand();
  w.Command()->Click();
  const std::string message = w.Message();
  EXPECT_THAT(message, HasSubstr("A project that is not open: SharedTools, left as it is."));
  EXPECT_THAT(message, HasSubstr("Built into the application: VBA 2.1 {7C0E3F5A"));
  EXPECT_THAT(message,
              HasSubstr("Repaired: {00062FFF-0000-0000-C000-000000000046} 9.6 \u2192 9.5"));
}

TEST(Repair, TheVersionTheEditorAddedIsTheOneTold) {
  RepairWorld w;
  auto& list = *w.Project()->ReferenceList();
  list.Remove(list.Items().front());
  list.Append(TypeLib(kOutlook, {9, 3}, u"Outlook", true));
  w.AddCommand();
  // 9.5 refused, the newest refused: asked for 9.3, the editor adds 9.5, the highest 9.x.
  w.host.calls->FailOn("References.AddFromGuid", 1, 2);
  w.Command()->Click();
  EXPECT_THAT(w.Message(), HasSubstr("Repaired: Outlook 9.3 \u2192 9.5 (Microsoft Outlook 9.5"));
}

TEST(Repair, AWordOnlyFor64BitOfficeIsNamedSoInA32BitEditor) {
  EXPECT_THAT(host::ToUtf8(RepairMessage(u"P", {RepairEntry{RepairOutcome::NotInstalled,
                                                            1,
                                                            u"Word",
                                                            u"{W}",
                                                            {8, 7},
                                                            {},
                                                            {},
                                                            host::Bitness::Win64}})),
              HasSubstr("Not installed on this computer for 32-bit Office, only for 64-bit "
                        "Office: Word 8.7 {W}, left as it is."));
}

// Each settled reference is listed in its place in the list, those changed among them.
TEST(Repair, ReferencesThatCannotBeReadAreLeftAndListedInTheirPlace) {
  RepairWorld w;
  auto& list = *w.Project()->ReferenceList();
  list.Append({2, kVendor, {1, 0}, u"Oddity", true});  // a kind the editor does not have
  list.Append({host::kReferenceTypeLibrary, u"", {1, 0}, u"Blank", true});
  list.Append({host::kReferenceProject, u"", {}, u"SharedTools", true});
  w.AddCommand();
  w.host.calls->FailOn("Reference.IsBroken", 2, 1);  // Word's
  w.Command()->Click();
  EXPECT_EQ(
      w.Message(),
      "Missing references in Budget_07:\n"
      "Repaired: Outlook 9.6 \u2192 9.5 (Microsoft Outlook 9.5 Object Library), now at the end "
      "of the list.\n"
      "Reference 2 could not be read; left as it is.\n"
      "Not installed on this computer: Ledgerline 1.0 "
      "{7C0E3F5A-2B6D-4E61-9A8C-51D2F0B3C4E7}, left as it is.\n"
      "Reference 5 (Oddity) could not be read; left as it is.\n"
      "Reference 6 (Blank) could not be read; left as it is.\n"
      "A project that is not open: SharedTools, left as it is.");
}

TEST(Repair, AVersionTheEditorDoesNotTellIsLeftUntouched) {
  for (const char* part : {"Reference.Major", "Reference.Minor"}) {
    RepairWorld w;
    w.AddCommand();
    w.host.calls->FailOn(part, 1, 1);  // Outlook's
    w.Command()->Click();
    EXPECT_EQ(w.Listed().front(), "Outlook 9.6 MISSING") << part;
    EXPECT_THAT(w.Message(), HasSubstr("Reference 1 (Outlook) could not be read; left as it is."));
  }
}

TEST(Repair, TheVersionAddedIsToldAsTheEditorTellsIt) {
  // The added reference's minor version refused: the version asked for is the one told.
  RepairWorld minor;
  minor.AddCommand();
  minor.host.calls->FailOn("Reference.Minor", 4, 1);
  minor.Command()->Click();
  EXPECT_THAT(minor.Message(), HasSubstr("Outlook 9.6 \u2192 9.5 (Microsoft"));
  // The newest added, and the editor does not say which.
  RepairWorld newest;
  newest.AddCommand();
  newest.host.calls->FailOn("References.AddFromGuid", 1, 1);
  newest.host.calls->FailOn("Reference.Major", 4, 1);
  newest.Command()->Click();
  EXPECT_THAT(newest.Message(), HasSubstr("Outlook 9.6 \u2192 the newest version, now at"));
  EXPECT_EQ(newest.Listed().back(), "Outlook 9.5");
}

TEST(Repair, ABuiltInFlagNotToldIsNoReasonToLeaveIt) {
  RepairWorld w;
  w.AddCommand();
  w.host.calls->FailOn("Reference.BuiltIn");
  w.Command()->Click();
  EXPECT_EQ(w.Listed().back(), "Outlook 9.5");
}

TEST(Repair, EachRepairedOneTellsWhetherItMoved) {
  RepairWorld w;
  auto& list = *w.Project()->ReferenceList();
  list.Remove(list.Items()[3]);  // Scripting
  list.Append(TypeLib(kScripting, {1, 0}, u"Scripting", true));
  w.AddCommand();
  w.Command()->Click();
  EXPECT_THAT(w.Listed(), ElementsAre("Word 8.7 MISSING", "Ledgerline 1.0 MISSING", "Outlook 9.5",
                                      "Scripting 1.0"));
  // Scripting was last, but Outlook went after it before its own turn.
  EXPECT_THAT(w.Message(), HasSubstr("Scripting 1.0 \u2192 1.0 (Microsoft Scripting Runtime), now "
                                     "at the end of the list."));
}

// The real editor hands out a new object for each Item: an earlier one's address may come back.
class Rewrapped : public host::References {
  struct Wrapper : host::Reference {
    explicit Wrapper(std::shared_ptr<host::Reference> inner) : inner(std::move(inner)) {}
    bool IsBroken() override { return inner->IsBroken(); }
    std::int32_t Type() override { return inner->Type(); }
    host::Text Guid() override { return inner->Guid(); }
    std::int32_t Major() override { return inner->Major(); }
    std::int32_t Minor() override { return inner->Minor(); }
    host::Text Name() override { return inner->Name(); }
    bool BuiltIn() override { return inner->BuiltIn(); }
    std::shared_ptr<host::Reference> inner;
  };

 public:
  explicit Rewrapped(std::shared_ptr<host::References> inner) : inner_(std::move(inner)) {}
  std::int32_t Count() override { return inner_->Count(); }
  std::shared_ptr<host::Reference> Item(std::int32_t index) override {
    return std::make_shared<Wrapper>(inner_->Item(index));
  }
  void Remove(const std::shared_ptr<host::Reference>& reference) override {
    inner_->Remove(dynamic_cast<Wrapper&>(*reference).inner);
  }
  std::shared_ptr<host::Reference> AddFromGuid(const host::Text& guid, std::int32_t major,
                                               std::int32_t minor) override {
    return std::make_shared<Wrapper>(inner_->AddFromGuid(guid, major, minor));
  }

 private:
  std::shared_ptr<host::References> inner_;
};

TEST(Repair, ALastReferenceIsToldAsKeptInPlaceWhateverObjectsTheEditorHandsOut) {
  RepairWorld w;
  OnlyScriptingThenAMissingOutlook(w);
  Rewrapped references(w.Project()->References());
  const auto entries = RepairReferences(references, *w.libraries, host::Bitness::Win64);
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].outcome, RepairOutcome::Repaired);
  EXPECT_FALSE(entries[0].movedToEnd);
}

TEST(RepairCommand, LetGoOfWithoutADisconnectionItDeletesItsButton) {
  RepairWorld w;
  auto repair =
      std::make_unique<RepairCommand>(*w.host.messages, *w.libraries, host::Bitness::Win64);
  repair->Add(*w.host.Control(u"Tools", 1), w.host.editor);
  const auto command = w.Command();
  repair.reset();
  EXPECT_FALSE(command->Exists());
  EXPECT_EQ(w.Tools()->ControlList().size(), 6u);
}

TEST(Repair, AMessageTheEditorsWindowCannotOwnIsShownUnowned) {
  RepairWorld w;
  w.AddCommand();
  w.host.calls->FailOn("MessageBox.Show", 1, 1);
  w.Command()->Click();
  ASSERT_EQ(w.host.messages->Shown().size(), 1u);
  EXPECT_EQ(w.host.messages->Shown()[0].owner, 0u);
}

TEST(Repair, AMainWindowNotToldStillShowsTheMessage) {
  RepairWorld w;
  w.AddCommand();
  w.host.calls->FailOn("VBE.MainWindow.HWnd");
  w.Command()->Click();
  ASSERT_EQ(w.host.messages->Shown().size(), 1u);
  EXPECT_EQ(w.host.messages->Shown()[0].owner, 0u) << "the editor's active window";
}

TEST(Repair, NothingMissing) {
  RepairWorld w;
  auto& list = *w.Project()->ReferenceList();
  while (list.Items().size() > 1) list.Remove(list.Items().front());
  w.AddCommand();
  w.Command()->Click();
  EXPECT_EQ(w.Message(), "No missing references in Budget_07.");
  EXPECT_THAT(w.Listed(), ElementsAre("Scripting 1.0"));
}

TEST(Repair, NoProjectOrALockedOneIsNotTouched) {
  {
    RepairWorld w;
    w.AddCommand();
    w.host.editor->CloseProject(w.Project());
    w.Command()->Click();
    EXPECT_EQ(w.Message(), "Select a project first.");
  }
  RepairWorld w;
  w.AddCommand();
  w.Project()->protection = host::kProjectLocked;
  w.host.calls->ClearLog();
  w.Command()->Click();
  EXPECT_EQ(w.Message(),
            "Budget_07 is locked. Unlock it first (expand it in the Project Explorer and enter its "
            "password), then repair its references.");
  EXPECT_EQ(w.host.calls->Count("VBProject.References"), 0u) << "nothing read";
  EXPECT_EQ(w.Listed().size(), 4u);
}

// The editor refuses the version found (its file is damaged, say): its newest comes next, then
// the version the reference had; only when all three are refused is it named to be added by hand.
TEST(Repair, RefusedAddsFallBackAndNameWhatIsLost) {
  RepairWorld w;
  w.AddCommand();
  w.host.calls->FailOn("References.AddFromGuid", 1, 1);
  w.Command()->Click();
  EXPECT_THAT(w.Message(), HasSubstr("Repaired: Outlook 9.6 \u2192 9.5 (Microsoft Outlook 9.5"))
      << "0.0 gave the newest, and the editor said which";

  RepairWorld lost;
  lost.AddCommand();
  lost.host.calls->FailOn("References.AddFromGuid");
  lost.Command()->Click();
  EXPECT_THAT(lost.Listed(),
              ElementsAre("Word 8.7 MISSING", "Ledgerline 1.0 MISSING", "Scripting 1.0"));
  EXPECT_EQ(lost.host.calls->Count("References.AddFromGuid"), 3u);
  const std::string message = lost.Message();
  EXPECT_EQ(message.find("NOT REPAIRED AND REMOVED: Outlook 9.6 "
                         "{00062FFF-0000-0000-C000-000000000046}. Tick a version of it again in "
                         "Tools > References, or type in the Immediate window: "
                         "Application.VBE.ActiveVBProject.References.AddFromGuid "
                         "\"{00062FFF-0000-0000-C000-000000000046}\", 0, 0. Nothing else was "
                         "changed for it."),
            message.find('\n') + 1)
      << "first, right under the heading:\n"
      << message;
}

TEST(Repair, TheVersionItHadIsPutBackWhenNothingNewerCanBeAdded) {
  RepairWorld w;
  auto& list = *w.Project()->ReferenceList();
  list.Remove(list.Items().front());
  list.Append(TypeLib(kOutlook, {8, 0}, u"Outlook", true));
  w.libraries->Register(kOutlook, {8, 0}, u"Microsoft Outlook 8.0 Object Library", u"0",
                        host::Bitness::Win64, u"C:\\Office8\\MSOUTL.OLB");
  w.AddCommand();
  w.host.calls->FailOn("References.AddFromGuid", 1, 2);
  w.Command()->Click();
  EXPECT_EQ(w.References().back().version, (host::LibraryVersion{8, 0}));
  EXPECT_THAT(w.Message(), HasSubstr("Not repaired: Outlook 8.0 "
                                     "{00062FFF-0000-0000-C000-000000000046}. No version of it "
                                     "could be added, so it was added back as it was."))
      << "in its place: it was the last";
}

TEST(Repair, TheMessageNamesTheProjectAsTheEditorDoes) {
  EXPECT_EQ(RepairMessage(u"VBAProject", {}), u"No missing references in VBAProject.");
  RepairEntry unread;
  unread.place = 4;
  EXPECT_EQ(RepairMessage(u"P", {unread}),
            u"Missing references in P:\nReference 4 could not be read; left as it is.");
  RepairEntry project{RepairOutcome::ProjectNotOpen, 2};
  EXPECT_EQ(RepairMessage(u"P", {project}),
            u"Missing references in P:\nA project that is not open: (no name), left as it is.");
  EXPECT_EQ(UnreadableMessage(u"P"),
            u"The references of P could not be read. Nothing was changed.");
}

}  // namespace
}  // namespace lathmore::testing
