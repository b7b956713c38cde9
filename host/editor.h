#pragma once
// The editor's extensibility object model as the add-ins use it. Lines and columns are 1-based
// 32-bit numbers; a selection's end column is the column just after its last character. Every
// call may throw host::HostError.

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "host/command_bars.h"
#include "host/text.h"
#include "host/window_system.h"

namespace host {

class CodeModule;
class CodePane;
class VBComponent;
class VBProject;
class VBE;

// Window types reported by Window::Type.
inline constexpr std::int32_t kCodeWindow = 0;
inline constexpr std::int32_t kDesignerWindow = 1;

// Procedure kinds (vbext_ProcKind).
enum class ProcKind : std::int32_t { Proc = 0, Let = 1, Set = 2, Get = 3 };

struct Selection {
  std::int32_t startLine = 0;
  std::int32_t startColumn = 0;
  std::int32_t endLine = 0;
  std::int32_t endColumn = 0;
  bool operator==(const Selection&) const = default;
};

struct ProcAtLine {
  Text name;  // empty outside any procedure
  ProcKind kind = ProcKind::Proc;
};

class CodePane {
 public:
  virtual ~CodePane() = default;
  virtual Selection GetSelection() = 0;
  virtual void SetSelection(std::int32_t startLine, std::int32_t startColumn, std::int32_t endLine,
                            std::int32_t endColumn) = 0;
  virtual std::shared_ptr<host::CodeModule> CodeModule() = 0;
  // Opens the pane's code window and makes it the active one.
  virtual void Show() = 0;
};

class CodeModule {
 public:
  virtual ~CodeModule() = default;
  virtual ProcAtLine ProcOfLine(std::int32_t line) = 0;
  // The line of the procedure's declaration statement; fails for an unknown procedure.
  virtual std::int32_t ProcBodyLine(const Text& procName, ProcKind kind) = 0;
  // The number of lines the module holds; 0 for an empty one.
  virtual std::int32_t CountOfLines() = 0;
  // The text of `count` lines from `line`, without the final line terminator.
  virtual Text Lines(std::int32_t line, std::int32_t count) = 0;
  // Each line feed in `text` becomes a line break.
  virtual void ReplaceLine(std::int32_t line, const Text& text) = 0;
  virtual void InsertLines(std::int32_t line, const Text& text) = 0;
  virtual void DeleteLines(std::int32_t line, std::int32_t count) = 0;
  virtual std::shared_ptr<host::CodePane> CodePane() = 0;
};

class VBComponent {
 public:
  virtual ~VBComponent() = default;
  virtual Text Name() = 0;
  virtual std::shared_ptr<host::CodeModule> CodeModule() = 0;
  // Brings the component's window (its designer, where it has one) forward.
  virtual void Activate() = 0;
};

class VBComponents {
 public:
  virtual ~VBComponents() = default;
  // By name; fails when no component has that name.
  virtual std::shared_ptr<VBComponent> Item(const Text& name) = 0;
};

// Reference kinds (vbext_RefKind) and the locked protection (vbext_pp_locked).
inline constexpr std::int32_t kReferenceTypeLibrary = 0;
inline constexpr std::int32_t kReferenceProject = 1;
inline constexpr std::int32_t kProjectLocked = 1;

// One line of Tools > References that is ticked.
class Reference {
 public:
  virtual ~Reference() = default;
  // True for a MISSING reference: what it names is not found on this computer.
  virtual bool IsBroken() = 0;
  // kReferenceTypeLibrary or kReferenceProject.
  virtual std::int32_t Type() = 0;
  // "{...}" in capitals as the editor gives it; empty for a project.
  virtual Text Guid() = 0;
  // The version in decimal, as the editor shows it.
  virtual std::int32_t Major() = 0;
  virtual std::int32_t Minor() = 0;
  // The library's or project's name; the editor may refuse it for a broken reference.
  virtual Text Name() = 0;
  // True for the references the editor keeps itself and cannot remove.
  virtual bool BuiltIn() = 0;
};

class References {
 public:
  virtual ~References() = default;
  virtual std::int32_t Count() = 0;
  // The reference at a 1-based place; fails past the end.
  virtual std::shared_ptr<Reference> Item(std::int32_t index) = 0;
  virtual void Remove(const std::shared_ptr<Reference>& reference) = 0;
  // Adds the registered type library of that version at the end of the list (0, 0: the newest);
  // fails for a version not registered here and for a library the project already refers to.
  virtual std::shared_ptr<Reference> AddFromGuid(const Text& guid, std::int32_t major,
                                                 std::int32_t minor) = 0;
};

class VBProject {
 public:
  virtual ~VBProject() = default;
  virtual Text Name() = 0;
  // Full path of the document; fails for a project never saved.
  virtual Text FileName() = 0;
  virtual std::shared_ptr<host::VBComponents> VBComponents() = 0;
  // kProjectLocked while the project is locked for viewing and not unlocked.
  virtual std::int32_t Protection() = 0;
  virtual std::shared_ptr<host::References> References() = 0;
};

class Window {
 public:
  virtual ~Window() = default;
  // kCodeWindow or kDesignerWindow.
  virtual std::int32_t Type() = 0;
};

// Handler of a CommandBarEvents source's Click(CommandBarControl, handled, CancelDefault).
using CommandBarClickHandler = std::function<void(const std::shared_ptr<CommandBarControl>& ctrl,
                                                  bool& handled, bool& cancelDefault)>;

// The event source that VBE.Events.CommandBarEvents returns for one control.
class CommandBarEvents {
 public:
  virtual ~CommandBarEvents() = default;
  virtual std::unique_ptr<EventConnection> AdviseClick(CommandBarClickHandler handler) = 0;
};

class Events {
 public:
  virtual ~Events() = default;
  virtual std::shared_ptr<host::CommandBarEvents> CommandBarEvents(
      const std::shared_ptr<CommandBarControl>& control) = 0;
};

class VBE {
 public:
  virtual ~VBE() = default;
  virtual Text Version() = 0;
  virtual std::vector<std::shared_ptr<VBProject>> VBProjects() = 0;
  virtual std::shared_ptr<VBProject> ActiveVBProject() = 0;
  virtual std::shared_ptr<VBComponent> SelectedVBComponent() = 0;
  virtual std::shared_ptr<Window> ActiveWindow() = 0;
  // Calls on the result fail, or the call itself fails, when no pane has the caret.
  virtual std::shared_ptr<CodePane> ActiveCodePane() = 0;
  virtual std::shared_ptr<host::CommandBars> CommandBars() = 0;
  virtual std::shared_ptr<host::Events> Events() = 0;
  // The editor's own top-level window (VBE.MainWindow.HWnd).
  virtual WindowHandle MainWindowHandle() = 0;
};

// The object the host hands to a connecting add-in: the editor, or something that is not.
class Application {
 public:
  virtual ~Application() = default;
  // Fails when the object does not offer the editor's interface.
  virtual std::shared_ptr<VBE> AsVBE() = 0;
};

}  // namespace host
