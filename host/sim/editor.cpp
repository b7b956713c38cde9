#include "host/sim/editor.h"

#include <algorithm>

#include "host/error.h"
#include "host/sim/code_text.h"
#include "host/sim/fidelity.h"
#include "host/sim/ignore_case.h"

namespace host::sim {

namespace {
[[noreturn]] void Gone() { throw HostError(codes::kFail, u"The object has been deleted."); }
[[noreturn]] void NotSet() {
  throw HostError(codes::kFail, u"Object variable or With block variable not set");
}
[[noreturn]] void InvalidCall() {
  throw HostError(codes::kInvalidArgument, u"Invalid procedure call or argument");
}

std::int32_t LineCount(const std::vector<Text>& lines) {
  return static_cast<std::int32_t>(lines.size());
}
}  // namespace

// ---- SimWindow --------------------------------------------------------------------------------

std::int32_t SimWindow::Type() {
  calls_->Enter("Window.Type");
  return type_;
}

// ---- SimCodeModule ----------------------------------------------------------------------------

void SimCodeModule::Enter(std::string_view operation) {
  calls_->Enter(operation);
  if (!component_.Exists()) Gone();
}

ProcAtLine SimCodeModule::ProcOfLine(std::int32_t line) {
  Enter("CodeModule.ProcOfLine");
  const auto& lines = component_.Code();
  if (line < 1 || line > LineCount(lines)) InvalidCall();
  for (const auto& procedure : FindProcedures(lines))
    if (line >= procedure.firstLine && line <= procedure.lastLine)
      return {procedure.name, procedure.kind};
  return {};
}

std::int32_t SimCodeModule::ProcBodyLine(const Text& procName, ProcKind kind) {
  Enter("CodeModule.ProcBodyLine");
  for (const auto& procedure : FindProcedures(component_.Code()))
    if (procedure.kind == kind && EqualsIgnoringCase(procedure.name, procName))
      return procedure.bodyLine;
  throw HostError(codes::kSubOrFunctionNotDefined, u"Sub or Function not defined");
}

std::int32_t SimCodeModule::CountOfLines() {
  Enter("CodeModule.CountOfLines");
  return LineCount(component_.Code());
}

Text SimCodeModule::Lines(std::int32_t line, std::int32_t count) {
  Enter("CodeModule.Lines");
  const auto& lines = component_.Code();
  if (line < 1 || count < 0 || line - 1 + count > LineCount(lines)) InvalidCall();
  Text text;
  for (std::int32_t i = 0; i < count; ++i) {
    if (i > 0) text += u"\r\n";
    text += lines[static_cast<std::size_t>(line - 1 + i)];
  }
  return text;
}

void SimCodeModule::ReplaceLine(std::int32_t line, const Text& text) {
  Enter("CodeModule.ReplaceLine");
  CheckLineBreaks("CodeModule.ReplaceLine", text);
  auto& lines = component_.Code();
  if (line < 1 || line > LineCount(lines)) InvalidCall();
  const auto pieces = SplitLines(text);
  const auto at = lines.begin() + (line - 1);
  *at = pieces.front();
  lines.insert(at + 1, pieces.begin() + 1, pieces.end());
}

void SimCodeModule::InsertLines(std::int32_t line, const Text& text) {
  Enter("CodeModule.InsertLines");
  CheckLineBreaks("CodeModule.InsertLines", text);
  auto& lines = component_.Code();
  if (line < 1) InvalidCall();
  const auto pieces = SplitLines(text);
  // Past the end, the editor appends.
  lines.insert(lines.begin() + std::min(line - 1, LineCount(lines)), pieces.begin(), pieces.end());
}

void SimCodeModule::DeleteLines(std::int32_t line, std::int32_t count) {
  Enter("CodeModule.DeleteLines");
  auto& lines = component_.Code();
  if (line < 1 || count < 0 || line - 1 + count > LineCount(lines)) InvalidCall();
  lines.erase(lines.begin() + (line - 1), lines.begin() + (line - 1 + count));
}

std::shared_ptr<host::CodePane> SimCodeModule::CodePane() {
  Enter("CodeModule.CodePane");
  return std::shared_ptr<host::CodePane>(component_.shared_from_this(), component_.Pane().get());
}

// ---- SimCodePane ------------------------------------------------------------------------------

void SimCodePane::Enter(std::string_view operation) {
  calls_->Enter(operation);
  if (!component_.Exists()) Gone();
}

Selection SimCodePane::GetSelection() {
  Enter("CodePane.GetSelection");
  return selection;
}

void SimCodePane::SetSelection(std::int32_t startLine, std::int32_t startColumn,
                               std::int32_t endLine, std::int32_t endColumn) {
  Enter("CodePane.SetSelection");
  const std::int32_t lastLine = std::max(1, LineCount(component_.Code()));
  if (startLine < 1 || endLine < 1 || startLine > lastLine || endLine > lastLine ||
      startColumn < 1 || endColumn < 1)
    InvalidCall();
  selection = {startLine, startColumn, endLine, endColumn};
}

std::shared_ptr<host::CodeModule> SimCodePane::CodeModule() {
  Enter("CodePane.CodeModule");
  return component_.Module();
}

void SimCodePane::Show() {
  Enter("CodePane.Show");
  if (component_.Editor()->showActivatesPane) component_.ShowCode();
}

// ---- SimComponent -----------------------------------------------------------------------------

SimComponent::SimComponent(std::shared_ptr<HostCalls> calls, std::weak_ptr<SimEditor> editor,
                           Text name, ComponentType type, std::vector<Text> lines)
    : calls_(std::move(calls)),
      editor_(std::move(editor)),
      name_(std::move(name)),
      type_(type),
      lines_(std::move(lines)),
      module_(std::make_shared<SimCodeModule>(calls_, *this)),
      pane_(std::make_shared<SimCodePane>(calls_, *this)),
      codeWindow_(std::make_shared<SimWindow>(calls_, kCodeWindow)),
      designerWindow_(type == ComponentType::UserForm
                          ? std::make_shared<SimWindow>(calls_, kDesignerWindow)
                          : nullptr) {}

std::shared_ptr<SimEditor> SimComponent::Editor() const {
  auto editor = editor_.lock();
  if (!editor) Gone();
  return editor;
}

Text SimComponent::Name() {
  calls_->Enter("VBComponent.Name");
  if (!exists_) Gone();
  return name_;
}

std::shared_ptr<host::CodeModule> SimComponent::CodeModule() {
  calls_->Enter("VBComponent.CodeModule");
  if (!exists_) Gone();
  return Module();
}

std::shared_ptr<host::CodeModule> SimComponent::Module() {
  return std::shared_ptr<host::CodeModule>(shared_from_this(), module_.get());
}

void SimComponent::Activate() {
  calls_->Enter("VBComponent.Activate");
  if (!exists_) Gone();
  if (designerWindow_)
    Editor()->ActivateWindow(designerWindow_, nullptr);
  else
    ShowCode();
}

void SimComponent::ShowCode() {
  Editor()->ActivateWindow(codeWindow_,
                           std::shared_ptr<SimCodePane>(shared_from_this(), pane_.get()));
}

// ---- SimComponents and SimProject -------------------------------------------------------------

std::shared_ptr<VBComponent> SimComponents::Item(const Text& name) {
  project_->Enter("VBComponents.Item");
  auto component = project_->Component(name);
  if (!component) throw HostError(codes::kSubscriptOutOfRange, u"Subscript out of range");
  return component;
}

SimProject::SimProject(std::shared_ptr<HostCalls> calls, std::weak_ptr<SimEditor> editor, Text name,
                       std::optional<Text> fileName)
    : calls_(std::move(calls)),
      editor_(std::move(editor)),
      name_(std::move(name)),
      fileName_(std::move(fileName)),
      references_(std::make_shared<SimReferenceList>(calls_, LibrarySource{})) {}

void SimProject::Enter(std::string_view operation) {
  calls_->Enter(operation);
  if (!exists_) Gone();
}

Text SimProject::Name() {
  Enter("VBProject.Name");
  return name_;
}

Text SimProject::FileName() {
  Enter("VBProject.FileName");
  if (!fileName_) throw HostError(codes::kFail, u"The project has not been saved.");
  return *fileName_;
}

std::shared_ptr<host::VBComponents> SimProject::VBComponents() {
  Enter("VBProject.VBComponents");
  return std::make_shared<SimComponents>(calls_, shared_from_this());
}

std::int32_t SimProject::Protection() {
  Enter("VBProject.Protection");
  return protection;
}

std::shared_ptr<host::References> SimProject::References() {
  Enter("VBProject.References");
  if (protection == kProjectLocked) throw HostError(codes::kFail, u"Project is unviewable");
  return std::make_shared<SimReferences>(calls_, references_);
}

std::shared_ptr<SimComponent> SimProject::AddComponent(const Text& name, ComponentType type,
                                                       std::vector<Text> lines) {
  components_.push_back(
      std::make_shared<SimComponent>(calls_, editor_, name, type, std::move(lines)));
  return components_.back();
}

std::shared_ptr<SimComponent> SimProject::Component(const Text& name) const {
  for (const auto& component : components_)
    if (EqualsIgnoringCase(component->NameShown(), name)) return component;
  return nullptr;
}

void SimProject::RemoveComponent(const Text& name) {
  const auto component = Component(name);
  if (!component) return;
  component->Remove();
  std::erase(components_, component);
}

// ---- SimEvents --------------------------------------------------------------------------------

std::shared_ptr<host::CommandBarEvents> SimEvents::CommandBarEvents(
    const std::shared_ptr<CommandBarControl>& control) {
  calls_->Enter("Events.CommandBarEvents");
  const auto simControl = std::dynamic_pointer_cast<SimControl>(control);
  if (!simControl || !simControl->Exists()) InvalidCall();
  auto source = std::make_shared<SimCommandBarEvents>(calls_);
  simControl->AttachSource(source);
  return source;
}

// ---- SimEditor --------------------------------------------------------------------------------

SimEditor::SimEditor(std::shared_ptr<HostCalls> calls, Text version)
    : calls_(std::move(calls)),
      version_(std::move(version)),
      bars_(std::make_shared<SimCommandBars>(calls_)),
      events_(std::make_shared<SimEvents>(calls_)) {}

WindowHandle SimEditor::MainWindowHandle() {
  calls_->Enter("VBE.MainWindow.HWnd");
  return mainWindow_;
}

Text SimEditor::Version() {
  calls_->Enter("VBE.Version");
  return version_;
}

std::vector<std::shared_ptr<VBProject>> SimEditor::VBProjects() {
  calls_->Enter("VBE.VBProjects");
  return {projects_.begin(), projects_.end()};
}

std::shared_ptr<VBProject> SimEditor::ActiveVBProject() {
  calls_->Enter("VBE.ActiveVBProject");
  if (!activeProject_) NotSet();
  return activeProject_;
}

std::shared_ptr<VBComponent> SimEditor::SelectedVBComponent() {
  calls_->Enter("VBE.SelectedVBComponent");
  if (!selectedComponent_) NotSet();
  return selectedComponent_;
}

std::shared_ptr<Window> SimEditor::ActiveWindow() {
  calls_->Enter("VBE.ActiveWindow");
  if (!activeWindow_) NotSet();
  return activeWindow_;
}

std::shared_ptr<CodePane> SimEditor::ActiveCodePane() {
  calls_->Enter("VBE.ActiveCodePane");
  if (!activePane_) NotSet();
  return activePane_;
}

std::shared_ptr<host::CommandBars> SimEditor::CommandBars() {
  calls_->Enter("VBE.CommandBars");
  return bars_;
}

std::shared_ptr<host::Events> SimEditor::Events() {
  calls_->Enter("VBE.Events");
  return events_;
}

std::shared_ptr<VBE> SimEditor::AsVBE() {
  calls_->Enter("Application.AsVBE");
  return shared_from_this();
}

std::shared_ptr<SimProject> SimEditor::AddProject(const Text& name, std::optional<Text> fileName) {
  projects_.push_back(
      std::make_shared<SimProject>(calls_, weak_from_this(), name, std::move(fileName)));
  projects_.back()->ReferenceList()->SetSource(librarySource_);
  if (!activeProject_) activeProject_ = projects_.back();
  return projects_.back();
}

void SimEditor::SetLibrarySource(LibrarySource source) {
  librarySource_ = std::move(source);
  for (const auto& project : projects_) project->ReferenceList()->SetSource(librarySource_);
}

void SimEditor::CloseProject(const std::shared_ptr<SimProject>& project) {
  const bool held = selectedComponent_ &&
                    project->Component(selectedComponent_->NameShown()) == selectedComponent_;
  project->Remove();
  std::erase(projects_, project);
  if (activeProject_ == project) activeProject_ = projects_.empty() ? nullptr : projects_.front();
  if (held) {  // its windows close with it
    selectedComponent_.reset();
    CloseWindows();
  }
}

void SimEditor::SelectComponent(const std::shared_ptr<SimComponent>& component) {
  selectedComponent_ = component;
  for (const auto& project : projects_)
    if (project->Component(component->NameShown()) == component) activeProject_ = project;
}

void SimEditor::ActivateWindow(std::shared_ptr<SimWindow> window,
                               std::shared_ptr<SimCodePane> pane) {
  activeWindow_ = std::move(window);
  if (pane) activePane_ = std::move(pane);
}

void SimEditor::CloseWindows() {
  activeWindow_.reset();
  activePane_.reset();
}

std::shared_ptr<VBE> SimOtherApplication::AsVBE() {
  calls_->Enter("Application.AsVBE");
  throw HostError(codes::kNoInterface, u"No such interface supported");
}

}  // namespace host::sim
