#pragma once
// The scenario runner: the state of one run, its commands and its expectations. Its members are
// defined in scenario.cpp (running a script), scenario_commands.cpp (the editor's and the
// add-ins' side) and scenario_expectations.cpp (what is shown and expected).

#include <windows.h>

#include <functional>
#include <istream>
#include <map>
#include <optional>
#include <ostream>
#include <sstream>

#include "host/error.h"
#include "host/sim/builder.h"
#include "host/win/com_object.h"
#include "host/win/registration.h"
#include "host/win/settings.h"
#include "host/win/type_libraries.h"
#include "host/win/unique.h"
#include "sandbox/addin_host.h"
#include "sandbox/connection_point.h"
#include "sandbox/dispatch_object.h"
#include "sandbox/editor_objects.h"
#include "sandbox/keyboard_windows.h"
#include "sandbox/library_registrations.h"
#include "sandbox/observers.h"
#include "sandbox/pictures.h"
#include "sandbox/references_dialog.h"
#include "sandbox/registry.h"
#include "sandbox/scenario.h"

namespace sandbox::script {

using host::FromUtf8;
using host::Text;
using host::ToUtf8;
using host::win::kOwnBitness;

// A command the script got wrong: told in the transcript and counted as a failure.
struct ScriptError {
  std::string message;
};

inline std::string Hex(long value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(value));
  return text;
}

inline std::string Quoted(const Text& text) {
  std::string out = "\"";
  for (char c : ToUtf8(text)) out += c == '\n' ? std::string("\\n") : std::string(1, c);
  return out + "\"";
}

inline constexpr std::int32_t kReferencesCommand = 942;
// The editor's Tools menu: the popup on its menu bar, and the popup's own bar (msoBarPopup).
inline constexpr std::int32_t kToolsMenu = 30007;
inline constexpr std::int32_t kPopupBar = 5;

class Runner {
 public:
  Runner(const std::wstring& directory, const std::string& scriptFolder, std::ostream& out)
      : directory_(directory),
        scriptFolder_(scriptFolder),
        out_(out),
        // The editor's own menu bar, and its Tools menu with the References command, in English.
        host_(host::sim::SimHostBuilder()
                  .ExistingBar(u"Menu Bar")
                  .ExistingButton(30002, u"&Edit")
                  .ExistingBar(u"Tools")
                  .ExistingButton(kReferencesCommand, u"&References...")
                  .ExistingButton(30101, u"Additional Contro&ls...")
                  .ExistingButton(30102, u"&Macros...")
                  .ExistingButton(30103, u"&Options...")
                  .ExistingButton(30104, u"VBAProject Propert&ies...")
                  .ExistingButton(30105, u"Di&gital Signature...")
                  .Build()),
        vbe_(MakeEditorObject(host_.editor)) {
    host_.Bar(u"Menu Bar")
        ->AppendControl(host::sim::kControlPopup, kToolsMenu)
        ->SetShown(u"&Tools", {}, host::kStateUp);
    auto& tools = host_.Bar(u"Tools")->Place();
    tools.position = kPopupBar;
    tools.visible = false;  // until the user opens it
    // The editor loads the type libraries of this computer's registry.
    host_.editor->SetLibrarySource({[libraries = host::win::RegistryTypeLibraries()](
                                        const Text& guid) { return libraries->Registered(guid); },
                                    kOwnBitness});
    host_.editor->SetMainWindow(reinterpret_cast<host::WindowHandle>(keyboard_.EditorMainWindow()));
    keyboard_.Focus(keyboard_.Named("code"));
  }
  ~Runner() { ForgetTypeLibraries(); }
  Runner(const Runner&) = delete;
  Runner& operator=(const Runner&) = delete;

  ScenarioResult Run(std::istream& script);

 private:
  // ${ADDINS}: the editor's add-in key of this bitness; ${BIN}: the folder of the DLLs; ${ARCH}:
  // the release's folder of this bitness's DLLs; ${VERSION}: the version the DLLs were built as.
  std::string Expanded(std::string line) const;

  void Pass(const std::string& what);
  void Fail(const std::string& what);
  void Check(bool good, const std::string& what, const std::string& seen);
  void Tell(const std::string& what) { out_ << "  " << what << "\n"; }

  static void Need(const std::vector<std::string>& w, std::size_t count, const char* usage);
  static long Number(const std::string& word);
  static bool Flag(const std::string& word);

  Text DllPath(const std::string& name) const;

  std::shared_ptr<host::sim::SimCommandBar> Bar(const std::string& name) const;
  std::shared_ptr<host::sim::SimControl> Control(const std::string& bar,
                                                 const std::string& index) const;

  void Report(const Outcome& outcome, const std::string& action);

  void Execute(const std::vector<std::string>& w);

  // ---- the editor's state -----------------------------------------------------------------

  void Version(const std::vector<std::string>& w);
  void Windir(const std::vector<std::string>& w);
  void Project(const std::vector<std::string>& w);
  void AddComponent(const std::vector<std::string>& w, host::sim::ComponentType type);
  void Module(const std::vector<std::string>& w);
  void UserForm(const std::vector<std::string>& w);
  void Setting(const std::vector<std::string>& w);
  // Stored where the add-ins read it, the per-user registry, of any registry type.
  static void StoreSetting(const std::vector<std::string>& w, DWORD type, const void* data,
                           std::size_t bytes);

  void ForgetSettings(const std::vector<std::string>& w);

  // A type library registered on this computer for a platform or both ("own" and "other" by the
  // sandbox's bitness), with the file it names or without.
  void TypeLibrary(const std::vector<std::string>& w);
  void ForgetTypeLibraryRegistrations(const std::vector<std::string>& w);
  // A reference the project has, as the user ticked it in Tools > References; broken where what
  // it names is missing.
  void Reference(const std::vector<std::string>& w);
  // Locked for viewing, as a password-protected project is until the user unlocks it.
  void LockProject(const std::vector<std::string>& w);
  // The project's references as the References dialog lists the ticked ones, in order:
  // "<name> <major>.<minor>", " MISSING" after a broken one, "(project)" after a project's name.
  static std::string DescribeReferences(const host::sim::SimProject& project);

  std::shared_ptr<host::sim::SimComponent> Component(const std::string& name) const;
  std::shared_ptr<host::sim::SimProject> ProjectNamed(const std::string& name) const;
  static std::int32_t Whole(const std::string& word) {
    return static_cast<std::int32_t>(Number(word));
  }

  void Select(const std::vector<std::string>& w);
  void Caret(const std::vector<std::string>& w);
  void Designer(const std::vector<std::string>& w);
  void SaveAs(const std::vector<std::string>& w);
  void CloseProject(const std::vector<std::string>& w);
  void RemoveComponent(const std::vector<std::string>& w);
  void InsertLines(const std::vector<std::string>& w);
  void ActivatesShown(const std::vector<std::string>& w);
  // How the editor's click events pass the control from now on.
  void ControlArgumentWrapping(const std::vector<std::string>& w);
  // The media folder of the drive windir names, with the four sound files in it or not.
  void SoundFiles(const std::vector<std::string>& w);

  // ---- the add-ins ------------------------------------------------------------------------

  void Register(const std::vector<std::string>& w);
  // An add-in an installer registered: its DLL by full path, environment variables expanded.
  void Installed(const std::vector<std::string>& w);
  void Unregister(const std::vector<std::string>& w);
  void Connect(const std::vector<std::string>& w);
  void ConnectOther(const std::vector<std::string>& w);
  void Disconnect(const std::vector<std::string>& w);
  void Release(const std::vector<std::string>& w);
  void FailOn(const std::vector<std::string>& w);
  void Click(const std::vector<std::string>& w);
  void ShiftClick(const std::vector<std::string>& w);
  // The user clicks: the editor raises Click on every bound sink; the sandbox reads and closes
  // any message box the add-in shows (picturing the first when a picture name is given), and
  // notes the sounds it plays.
  void Press(const std::shared_ptr<host::sim::SimControl>& control,
             const std::wstring& picture = {});
  // The editor's References command, on its Tools menu.
  std::shared_ptr<host::sim::SimControl> ReferencesCommand() const;
  // What the add-in showed and played while an action of the user ran.
  void Observe(const MessageBoxWatch& watch);

  // The keyboard: the focus moved to one of the sandbox's windows, the modal dialog opened or
  // closed, keys typed ("Ctrl+Shift+1", "x", "Ctrl+1*3" for a key held through two repeats).
  void FocusWindow(const std::vector<std::string>& w);
  void Modal(const std::vector<std::string>& w);
  void Type(const std::vector<std::string>& w);
  // Types one key as a script writes it; what reached each window is added to received_.
  void TypeKey(const std::string& key);
  // A thousand shortcuts and more, typed into the editor with Quillon connected.
  void SoakKeys(const std::vector<std::string>& w);

  void UserPlace(const std::vector<std::string>& w);
  void UserDeleteBar(const std::vector<std::string>& w);

  // Tools > References, as the editor carries it out: the command's Click goes to every handler
  // first; then, unless one cancelled it, the modal dialog opens with its own message loop.
  void ChooseReferences(const std::vector<std::string>& w);
  // The last References dialog, kept to compare a later one with (expect dialog-as-kept).
  void KeepDialog(const std::vector<std::string>& w);
  // The modal dialog, titled after the active project as the editor titles it.
  DialogReport OpenReferencesDialog(const DialogPlan& plan);
  // Pictures are taken only where a folder was given, to be made into the README's pictures.
  void Pictures(const std::vector<std::string>& w);
  void PictureToolbars(const std::vector<std::string>& w);
  struct Usage {
    long objects;         // the sandbox's own automation objects alive
    std::uintptr_t slot;  // the lowest free handle slot: it climbs when handles leak
    SIZE_T bytes;         // bytes in use in the process's heaps
  };
  // Wine answers neither the handle count nor the memory counters; these it keeps. Memory is
  // what the heaps hold in use, not what is committed: Wine commits and frees heap blocks of its
  // own (one of 3 MB on its sound path comes and goes every few hundred cycles), while whatever
  // an add-in leaves behind stays in use.
  static Usage Measure();

  // Cycles of a whole session with both add-ins: connect, bookmarks set and followed, a buffer
  // captured and pasted, both cleared, a watch started, disconnect. Measures what stays behind.
  void Soak(const std::vector<std::string>& w);

  // Every key and value under the per-user places registration writes, as text.
  void RegistrySnapshot(const std::vector<std::string>& w);
  static std::string DumpKey(const Text& path);

  // A settings value of another registry type than the text the settings functions write.
  void SettingNumber(const std::vector<std::string>& w);

  void Wait(const std::vector<std::string>& w);

  // Another Office application at the same time: the sandbox under another program's name (a
  // copy beside it) runs a script of this one's folder to its end; passes when all of it did.
  void RunProgram(const std::vector<std::string>& w);
  // The display's DPI for programs started after it (the system setting Wine reads at a start).
  void DisplayDpi(const std::vector<std::string>& w);
  // Per-monitor DPI aware from now on, as Office is: before any window is made.
  void DpiAware(const std::vector<std::string>& w);

  // ---- what is there ----------------------------------------------------------------------

  std::string Describe(const host::sim::SimCommandBar& bar) const;

  void Show(const std::vector<std::string>& w);

  void Expect(const std::vector<std::string>& w);

  // A text of the DLL's version resource, in its first language.
  static std::optional<Text> VersionText(const Text& path, const Text& name);

  void ExpectBar(const std::vector<std::string>& w);

  void ExpectControl(const std::vector<std::string>& w);
  // Exactly one message box with that text and title, OK only, no icon; with `owner`, owned by
  // that window.
  void ExpectMessageBox(const Text& title, const Text& text, HWND owner);
  void ExpectMenu(const std::vector<std::string>& w);

  std::wstring directory_;
  std::string scriptFolder_;
  std::ostream& out_;
  host::sim::SimHost host_;
  KeyboardWindows keyboard_;
  host::win::ComPtr<IDispatch> vbe_;
  AddinHost addins_;
  std::shared_ptr<host::sim::SimProject> project_;
  Outcome last_;
  long sinksReached_ = 0;
  DialogReport dialog_;
  DialogReport keptDialog_;
  Usage soakBefore_{};
  Usage soakAfter_{};
  std::map<std::string, std::string> snapshots_;
  std::vector<SeenMessageBox> messages_;
  std::vector<std::string> sounds_;
  std::map<std::string, std::string> received_;  // by window, since the last type command
  // The editor's active window before the focus went to the floating tool window, which the
  // editor reports as the Immediate window while it has the focus.
  std::shared_ptr<host::sim::SimWindow> beforeTool_;
  ScenarioResult result_;
};

}  // namespace sandbox::script
