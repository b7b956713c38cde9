#pragma once
// The simulated editor: projects, components with code text, code panes with a selection, the
// active window, the command bars and their events. It behaves as the editor does, failures
// included, and every call it answers is logged through HostCalls.

#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "host/editor.h"
#include "host/sim/command_bars.h"
#include "host/sim/host_calls.h"
#include "host/sim/references.h"

namespace host::sim {

class SimEditor;
class SimProject;
class SimComponent;

enum class ComponentType { StdModule, ClassModule, UserForm, Document };

class SimWindow : public Window {
 public:
  SimWindow(std::shared_ptr<HostCalls> calls, std::int32_t type)
      : calls_(std::move(calls)), type_(type) {}
  std::int32_t Type() override;

 private:
  std::shared_ptr<HostCalls> calls_;
  std::int32_t type_;
};

class SimCodePane;

class SimCodeModule : public CodeModule {
 public:
  SimCodeModule(std::shared_ptr<HostCalls> calls, SimComponent& component)
      : calls_(std::move(calls)), component_(component) {}

  ProcAtLine ProcOfLine(std::int32_t line) override;
  std::int32_t ProcBodyLine(const Text& procName, ProcKind kind) override;
  std::int32_t CountOfLines() override;
  Text Lines(std::int32_t line, std::int32_t count) override;
  void ReplaceLine(std::int32_t line, const Text& text) override;
  void InsertLines(std::int32_t line, const Text& text) override;
  void DeleteLines(std::int32_t line, std::int32_t count) override;
  std::shared_ptr<host::CodePane> CodePane() override;

 private:
  void Enter(std::string_view operation);
  std::shared_ptr<HostCalls> calls_;
  SimComponent& component_;
};

class SimCodePane : public CodePane {
 public:
  SimCodePane(std::shared_ptr<HostCalls> calls, SimComponent& component)
      : calls_(std::move(calls)), component_(component) {}

  Selection GetSelection() override;
  void SetSelection(std::int32_t startLine, std::int32_t startColumn, std::int32_t endLine,
                    std::int32_t endColumn) override;
  std::shared_ptr<host::CodeModule> CodeModule() override;
  void Show() override;

  // The selection as the user sees it; setting it here is the user selecting, unchecked.
  Selection selection{1, 1, 1, 1};

 private:
  void Enter(std::string_view operation);
  std::shared_ptr<HostCalls> calls_;
  SimComponent& component_;
};

class SimComponent : public VBComponent, public std::enable_shared_from_this<SimComponent> {
 public:
  SimComponent(std::shared_ptr<HostCalls> calls, std::weak_ptr<SimEditor> editor, Text name,
               ComponentType type, std::vector<Text> lines);

  Text Name() override;
  std::shared_ptr<host::CodeModule> CodeModule() override;
  void Activate() override;

  const Text& NameShown() const { return name_; }
  ComponentType Kind() const { return type_; }
  bool Exists() const { return exists_; }
  void Remove() { exists_ = false; }
  std::vector<Text>& Code() { return lines_; }
  const std::shared_ptr<SimCodePane>& Pane() const { return pane_; }
  const std::shared_ptr<SimWindow>& CodeWindow() const { return codeWindow_; }
  const std::shared_ptr<SimWindow>& DesignerWindow() const { return designerWindow_; }
  std::shared_ptr<SimEditor> Editor() const;
  // The code module, reached without a host call of its own.
  std::shared_ptr<host::CodeModule> Module();
  // Shows the code window with the pane active, as the user or CodePane.Show does.
  void ShowCode();

 private:
  std::shared_ptr<HostCalls> calls_;
  std::weak_ptr<SimEditor> editor_;
  Text name_;
  ComponentType type_;
  std::vector<Text> lines_;
  bool exists_ = true;
  std::shared_ptr<SimCodeModule> module_;
  std::shared_ptr<SimCodePane> pane_;
  std::shared_ptr<SimWindow> codeWindow_;
  std::shared_ptr<SimWindow> designerWindow_;  // userforms only
};

class SimComponents : public VBComponents {
 public:
  SimComponents(std::shared_ptr<HostCalls> calls, std::shared_ptr<SimProject> project)
      : calls_(std::move(calls)), project_(std::move(project)) {}
  std::shared_ptr<VBComponent> Item(const Text& name) override;

 private:
  std::shared_ptr<HostCalls> calls_;
  std::shared_ptr<SimProject> project_;
};

class SimProject : public VBProject, public std::enable_shared_from_this<SimProject> {
 public:
  SimProject(std::shared_ptr<HostCalls> calls, std::weak_ptr<SimEditor> editor, Text name,
             std::optional<Text> fileName);

  Text Name() override;
  Text FileName() override;
  std::shared_ptr<host::VBComponents> VBComponents() override;
  std::int32_t Protection() override;
  std::shared_ptr<host::References> References() override;

  // The references as the dialog lists them; adding here is the user ticking one.
  const std::shared_ptr<SimReferenceList>& ReferenceList() const { return references_; }
  // kProjectLocked while locked for viewing.
  std::int32_t protection = 0;

  std::shared_ptr<SimComponent> AddComponent(const Text& name, ComponentType type,
                                             std::vector<Text> lines = {});
  std::shared_ptr<SimComponent> Component(const Text& name) const;  // null when absent
  void RemoveComponent(const Text& name);
  // Saving under another name, or nullopt for a document never saved.
  void SetFileName(std::optional<Text> fileName) { fileName_ = std::move(fileName); }
  const Text& NameShown() const { return name_; }
  bool Exists() const { return exists_; }
  void Remove() { exists_ = false; }

 private:
  friend class SimComponents;
  void Enter(std::string_view operation);
  std::shared_ptr<HostCalls> calls_;
  std::weak_ptr<SimEditor> editor_;
  Text name_;
  std::optional<Text> fileName_;
  bool exists_ = true;
  std::vector<std::shared_ptr<SimComponent>> components_;
  std::shared_ptr<SimReferenceList> references_;
};

class SimEvents : public Events {
 public:
  explicit SimEvents(std::shared_ptr<HostCalls> calls) : calls_(std::move(calls)) {}
  std::shared_ptr<host::CommandBarEvents> CommandBarEvents(
      const std::shared_ptr<CommandBarControl>& control) override;

 private:
  std::shared_ptr<HostCalls> calls_;
};

class SimEditor : public VBE, public Application, public std::enable_shared_from_this<SimEditor> {
 public:
  SimEditor(std::shared_ptr<HostCalls> calls, Text version);

  Text Version() override;
  std::vector<std::shared_ptr<VBProject>> VBProjects() override;
  std::shared_ptr<VBProject> ActiveVBProject() override;
  std::shared_ptr<VBComponent> SelectedVBComponent() override;
  std::shared_ptr<Window> ActiveWindow() override;
  std::shared_ptr<CodePane> ActiveCodePane() override;
  std::shared_ptr<host::CommandBars> CommandBars() override;
  std::shared_ptr<host::Events> Events() override;
  std::shared_ptr<VBE> AsVBE() override;
  WindowHandle MainWindowHandle() override;

  // The user's side: open and close projects, select, switch windows.
  std::shared_ptr<SimProject> AddProject(const Text& name, std::optional<Text> fileName);
  void CloseProject(const std::shared_ptr<SimProject>& project);
  const std::vector<std::shared_ptr<SimProject>>& Projects() const { return projects_; }
  void SetVersion(Text version) { version_ = std::move(version); }
  void SetMainWindow(WindowHandle window) { mainWindow_ = window; }
  // Where every project's AddFromGuid finds type libraries, and the bitness it loads them as.
  void SetLibrarySource(LibrarySource source);
  // Selects the component in the project explorer, which also makes its project active.
  void SelectComponent(const std::shared_ptr<SimComponent>& component);
  void ActivateWindow(std::shared_ptr<SimWindow> window, std::shared_ptr<SimCodePane> pane);
  void CloseWindows();
  const std::shared_ptr<SimCommandBars>& Bars() const { return bars_; }
  const std::shared_ptr<SimCodePane>& ActivePane() const { return activePane_; }
  const std::shared_ptr<SimWindow>& ActiveWindowShown() const { return activeWindow_; }
  const std::shared_ptr<HostCalls>& Calls() const { return calls_; }
  // The real editor does not always make a pane that CodePane.Show shows the active one.
  bool showActivatesPane = true;

 private:
  std::shared_ptr<HostCalls> calls_;
  Text version_;
  WindowHandle mainWindow_ = 0;
  LibrarySource librarySource_;
  std::vector<std::shared_ptr<SimProject>> projects_;
  std::shared_ptr<SimProject> activeProject_;
  std::shared_ptr<SimComponent> selectedComponent_;
  std::shared_ptr<SimWindow> activeWindow_;
  std::shared_ptr<SimCodePane> activePane_;
  std::shared_ptr<SimCommandBars> bars_;
  std::shared_ptr<SimEvents> events_;
};

// An object handed to an add-in as its application that is not the editor.
class SimOtherApplication : public Application {
 public:
  explicit SimOtherApplication(std::shared_ptr<HostCalls> calls) : calls_(std::move(calls)) {}
  std::shared_ptr<VBE> AsVBE() override;

 private:
  std::shared_ptr<HostCalls> calls_;
};

}  // namespace host::sim
