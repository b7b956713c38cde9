// The simulated editor keeps and edits code as the editor does and fails where it fails.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "host/error.h"
#include "host/sim/builder.h"
#include "host/sim/fidelity.h"

namespace host::sim {
namespace {

SimHost TwoProjects() {
  return SimHostBuilder()
      .Project(u"Unsaved", std::nullopt)
      .Module(u"Scratch", u"Sub A()\nEnd Sub")
      .Project(u"Budget", u"C:\\Work\\Budget_07.xlsm")
      .Module(u"Module1", u"one\ntwo\nthree")
      .UserForm(u"UserForm1")
      .Build();
}

std::shared_ptr<SimComponent> Component(const SimHost& host, const Text& project,
                                        const Text& name) {
  for (const auto& p : host.editor->Projects())
    if (p->NameShown() == project) return p->Component(name);
  return nullptr;
}

TEST(SimProjects, FileNameFailsForAProjectNeverSaved) {
  const auto host = TwoProjects();
  const auto projects = host.editor->VBProjects();
  ASSERT_EQ(projects.size(), 2u);
  EXPECT_THROW(projects[0]->FileName(), HostError);
  EXPECT_EQ(projects[1]->FileName(), u"C:\\Work\\Budget_07.xlsm");
  EXPECT_EQ(projects[1]->VBComponents()->Item(u"Module1")->Name(), u"Module1");
  EXPECT_THROW(projects[1]->VBComponents()->Item(u"Module9"), HostError);
}

TEST(SimProjects, AClosedProjectsObjectsFail) {
  const auto host = TwoProjects();
  const auto project = host.editor->VBProjects()[1];
  const auto module = project->VBComponents()->Item(u"Module1")->CodeModule();
  host.editor->CloseProject(host.editor->Projects()[1]);
  EXPECT_EQ(host.editor->VBProjects().size(), 1u);
  EXPECT_THROW(project->FileName(), HostError);
  EXPECT_THROW(host.editor->ActiveCodePane(), HostError) << "its windows closed with it";
  EXPECT_THROW(host.editor->SelectedVBComponent(), HostError);
  EXPECT_EQ(module->Lines(1, 1), u"one") << "a module held on to still reads";
}

TEST(SimCode, LinesReadsWithoutTheFinalBreak) {
  const auto module = Component(TwoProjects(), u"Budget", u"Module1")->CodeModule();
  EXPECT_EQ(module->Lines(2, 1), u"two");
  EXPECT_EQ(module->Lines(1, 3), u"one\r\ntwo\r\nthree");
  EXPECT_THROW(module->Lines(4, 1), HostError);
  EXPECT_THROW(module->Lines(0, 1), HostError);
}

TEST(SimCode, LineFeedsInWrittenTextBecomeLineBreaks) {
  const auto component = Component(TwoProjects(), u"Budget", u"Module1");
  const auto module = component->CodeModule();
  module->ReplaceLine(2, u"2a\r\n2b");
  EXPECT_EQ(component->Code(), (std::vector<Text>{u"one", u"2a", u"2b", u"three"}));
  EXPECT_THAT(TakeInfidelities(), ::testing::IsEmpty());
  module->InsertLines(1, u"zero\n");
  EXPECT_EQ(TakeInfidelities().size(), 1u) << "a bare line feed is taken, and noted";
  EXPECT_EQ(component->Code(), (std::vector<Text>{u"zero", u"", u"one", u"2a", u"2b", u"three"}));
  module->DeleteLines(2, 1);
  module->InsertLines(99, u"end");
  EXPECT_EQ(component->Code(),
            (std::vector<Text>{u"zero", u"one", u"2a", u"2b", u"three", u"end"}));
  EXPECT_THROW(module->ReplaceLine(7, u"x"), HostError);
  EXPECT_THROW(module->DeleteLines(6, 2), HostError);
}

TEST(SimPanes, ShowMakesThePaneActiveInACodeWindow) {
  const auto host = TwoProjects();
  const auto scratch = Component(host, u"Unsaved", u"Scratch");
  const auto pane = scratch->CodeModule()->CodePane();
  EXPECT_NE(host.editor->ActivePane().get(), pane.get());
  pane->SetSelection(2, 3, 2, 5);
  pane->Show();
  EXPECT_EQ(host.editor->ActiveCodePane()->GetSelection(), (Selection{2, 3, 2, 5}));
  EXPECT_EQ(host.editor->ActiveWindow()->Type(), kCodeWindow);
  EXPECT_THROW(pane->SetSelection(3, 1, 3, 1), HostError) << "past the last line";
  EXPECT_THROW(pane->SetSelection(0, 1, 1, 1), HostError);
}

TEST(SimPanes, ActivatingAUserFormBringsItsDesignerForward) {
  const auto host = TwoProjects();
  Component(host, u"Budget", u"UserForm1")->Activate();
  EXPECT_EQ(host.editor->ActiveWindow()->Type(), kDesignerWindow);
  Component(host, u"Budget", u"Module1")->Activate();
  EXPECT_EQ(host.editor->ActiveWindow()->Type(), kCodeWindow);
}

TEST(SimPanes, WithNoWindowOpenTheActiveObjectsFail) {
  const auto host = TwoProjects();
  host.editor->CloseWindows();
  EXPECT_THROW(host.editor->ActiveCodePane(), HostError);
  EXPECT_THROW(host.editor->ActiveWindow(), HostError);
}

TEST(SimSelection, SelectingAComponentMakesItsProjectActive) {
  const auto host = TwoProjects();
  host.editor->SelectComponent(Component(host, u"Unsaved", u"Scratch"));
  EXPECT_EQ(host.editor->ActiveVBProject()->Name(), u"Unsaved");
  EXPECT_EQ(host.editor->SelectedVBComponent()->Name(), u"Scratch");
}

TEST(SimApplication, OnlyTheEditorOffersItsInterface) {
  const auto host = TwoProjects();
  EXPECT_EQ(host.editor->AsVBE().get(), static_cast<VBE*>(host.editor.get()));
  EXPECT_THROW(SimOtherApplication(host.calls).AsVBE(), HostError);
}

TEST(SimSettings, KeysIgnoreCaseAndAbsentKeysGiveTheDefault) {
  const auto host = SimHostBuilder().Setting(u"App", u"Sec", u"Key", u"v").Build();
  EXPECT_EQ(host.settings->GetSetting(u"app", u"SEC", u"key", u"d"), u"v");
  EXPECT_EQ(host.settings->GetSetting(u"App", u"Sec", u"Other", u"d"), u"d");
  host.settings->SaveSetting(u"App", u"Sec", u"KEY", u"w");
  EXPECT_EQ(host.settings->Stored(u"App", u"Sec", u"Key"), u"w");
  EXPECT_EQ(host.environment->Environ(u"WINDIR"), u"C:\\Windows");
  EXPECT_EQ(host.environment->Environ(u"nothing"), u"");
}

}  // namespace
}  // namespace host::sim
