#include "sandbox/scenario.h"

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
#include "host/win/unique.h"
#include "sandbox/addin_host.h"
#include "sandbox/connection_point.h"
#include "sandbox/dispatch_object.h"
#include "sandbox/editor_objects.h"
#include "sandbox/observers.h"
#include "sandbox/pictures.h"
#include "sandbox/references_dialog.h"
#include "sandbox/registry.h"

namespace sandbox {

std::vector<std::string> SplitWords(const std::string& line) {
  std::vector<std::string> words;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    if (i == line.size()) break;
    std::string word;
    if (line[i] == '"') {
      for (++i; i < line.size() && line[i] != '"'; ++i) {
        // \n, \" and \\ are escapes; any other backslash is itself, as in paths.
        const char next = i + 1 < line.size() ? line[i + 1] : '\0';
        if (line[i] == '\\' && (next == 'n' || next == '"' || next == '\\')) {
          ++i;
          word += next == 'n' ? '\n' : next;
        } else {
          word += line[i];
        }
      }
      ++i;  // the closing quote
    } else {
      while (i < line.size() && line[i] != ' ' && line[i] != '\t') word += line[i++];
    }
    words.push_back(word);
  }
  return words;
}

namespace {

using host::FromUtf8;
using host::Text;
using host::ToUtf8;

// A command the script got wrong: told in the transcript and counted as a failure.
struct ScriptError {
  std::string message;
};

std::string Hex(long value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(value));
  return text;
}

std::string Quoted(const Text& text) {
  std::string out = "\"";
  for (char c : ToUtf8(text)) out += c == '\n' ? std::string("\\n") : std::string(1, c);
  return out + "\"";
}

constexpr std::int32_t kReferencesCommand = 942;

class Runner {
 public:
  Runner(const std::wstring& directory, std::ostream& out)
      : directory_(directory),
        out_(out),
        // The editor's own menu bar, with its References command.
        host_(host::sim::SimHostBuilder()
                  .ExistingBar(u"Menu Bar")
                  .ExistingButton(30002, u"&Edit")
                  .ExistingButton(kReferencesCommand, u"&References...")
                  .Build()),
        vbe_(MakeEditorObject(host_.editor)) {}

  ScenarioResult Run(std::istream& script) {
    std::string line;
    bool narrating = false;
    while (std::getline(script, line)) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      const auto start = line.find_first_not_of(" \t");
      if (start == std::string::npos) {
        narrating = false;
        continue;
      }
      // Comments are the narration of the transcript: each paragraph set off by a blank line.
      if (line[start] == '#') {
        if (!narrating) out_ << "\n";
        narrating = true;
        const auto text = line.find_first_not_of(" ", start + 1);
        out_ << (text == std::string::npos ? "" : line.substr(text)) << "\n";
        continue;
      }
      narrating = false;
      auto words = SplitWords(line);
      for (auto& word : words) word = Expanded(word);
      out_ << "> " << line << "\n";
      try {
        Execute(words);
      } catch (const ScriptError& error) {
        Fail(error.message);
      } catch (const host::HostError& error) {
        Fail("the sandbox itself failed: " + ToUtf8(error.Description()));
      }
    }
    out_ << "\n" << result_.passed << " passed, " << result_.failed << " failed\n";
    return result_;
  }

 private:
  // ${ADDINS}: the editor's add-in key of this bitness; ${BIN}: the folder of the DLLs; ${ARCH}:
  // the release's folder of this bitness's DLLs.
  std::string Expanded(std::string line) const {
    const std::pair<std::string, std::string> variables[] = {
        {"${ADDINS}", ToUtf8(kEditorAddinsKey)},
        {"${BIN}", ToUtf8(host::win::FromWide(directory_))},
        {"${ARCH}", sizeof(void*) == 8 ? "x64" : "x86"}};
    for (const auto& [name, value] : variables)
      for (auto at = line.find(name); at != std::string::npos;
           at = line.find(name, at + value.size()))
        line.replace(at, name.size(), value);
    return line;
  }

  void Pass(const std::string& what) {
    ++result_.passed;
    out_ << "  ok: " << what << "\n";
  }
  void Fail(const std::string& what) {
    ++result_.failed;
    out_ << "  FAILED: " << what << "\n";
  }
  void Check(bool good, const std::string& what, const std::string& seen) {
    good ? Pass(what) : Fail(what + " (the sandbox saw " + seen + ")");
  }
  void Tell(const std::string& what) { out_ << "  " << what << "\n"; }

  static void Need(const std::vector<std::string>& w, std::size_t count, const char* usage) {
    if (w.size() < count) throw ScriptError{std::string("usage: ") + usage};
  }
  static long Number(const std::string& word) {
    try {
      std::size_t used = 0;
      const long value = std::stol(word, &used);
      if (used == word.size()) return value;
    } catch (const std::exception&) {
    }
    throw ScriptError{"not a number: " + word};
  }
  static bool Flag(const std::string& word) {
    if (word == "true") return true;
    if (word == "false") return false;
    throw ScriptError{"not true or false: " + word};
  }

  Text DllPath(const std::string& name) const {
    return host::win::FromWide(directory_) + u"\\" + FromUtf8(name);
  }

  std::shared_ptr<host::sim::SimCommandBar> Bar(const std::string& name) const {
    auto bar = host_.Bar(FromUtf8(name));
    if (!bar) throw ScriptError{"there is no bar " + name};
    return bar;
  }
  std::shared_ptr<host::sim::SimControl> Control(const std::string& bar,
                                                 const std::string& index) const {
    auto control = Bar(bar)->Control(static_cast<std::int32_t>(Number(index)));
    if (!control) throw ScriptError{"bar " + bar + " has no control " + index};
    return control;
  }

  void Report(const Outcome& outcome, const std::string& action) {
    last_ = outcome;
    if (SUCCEEDED(outcome.hr))
      Tell(action + ": done");
    else
      Tell(action + ": failed with " + Hex(outcome.hr) + " " + Quoted(outcome.description));
  }

  void Execute(const std::vector<std::string>& w) {
    const std::string& command = w[0];
    static const std::map<std::string, void (Runner::*)(const std::vector<std::string>&)> commands =
        {
            {"version", &Runner::Version},
            {"windir", &Runner::Windir},
            {"forget-settings", &Runner::ForgetSettings},
            {"project", &Runner::Project},
            {"module", &Runner::Module},
            {"userform", &Runner::UserForm},
            {"setting", &Runner::Setting},
            {"register", &Runner::Register},
            {"unregister", &Runner::Unregister},
            {"installed", &Runner::Installed},
            {"connect", &Runner::Connect},
            {"connect-other", &Runner::ConnectOther},
            {"disconnect", &Runner::Disconnect},
            {"release", &Runner::Release},
            {"fail", &Runner::FailOn},
            {"click", &Runner::Click},
            {"shift-click", &Runner::ShiftClick},
            {"select", &Runner::Select},
            {"caret", &Runner::Caret},
            {"designer", &Runner::Designer},
            {"sound-files", &Runner::SoundFiles},
            {"control-argument", &Runner::ControlArgumentWrapping},
            {"save-as", &Runner::SaveAs},
            {"close-project", &Runner::CloseProject},
            {"remove-component", &Runner::RemoveComponent},
            {"insert-lines", &Runner::InsertLines},
            {"editor-activates-shown-panes", &Runner::ActivatesShown},
            {"choose-references", &Runner::ChooseReferences},
            {"wait", &Runner::Wait},
            {"pictures", &Runner::Pictures},
            {"soak", &Runner::Soak},
            {"registry-snapshot", &Runner::RegistrySnapshot},
            {"setting-number", &Runner::SettingNumber},
            {"picture-toolbars", &Runner::PictureToolbars},
            {"user-place", &Runner::UserPlace},
            {"user-delete-bar", &Runner::UserDeleteBar},
            {"show", &Runner::Show},
            {"expect", &Runner::Expect},
        };
    const auto found = commands.find(command);
    if (found == commands.end()) throw ScriptError{"unknown command " + command};
    (this->*found->second)(w);
  }

  // ---- the editor's state -----------------------------------------------------------------

  void Version(const std::vector<std::string>& w) {
    Need(w, 2, "version <text>");
    host_.editor->SetVersion(FromUtf8(w[1]));
  }
  void Windir(const std::vector<std::string>& w) {
    Need(w, 2, "windir <path>|none");
    w[1] == "none" ? host_.environment->Unset(u"windir")
                   : host_.environment->Set(u"windir", FromUtf8(w[1]));
    // The add-ins read the environment of this process.
    SetEnvironmentVariableW(L"windir", w[1] == "none" ? nullptr : host::win::Wide(FromUtf8(w[1])));
  }
  void Project(const std::vector<std::string>& w) {
    Need(w, 3, "project <name> <file>|unsaved");
    project_ = host_.editor->AddProject(
        FromUtf8(w[1]), w[2] == "unsaved" ? std::nullopt : std::optional(FromUtf8(w[2])));
  }
  void AddComponent(const std::vector<std::string>& w, host::sim::ComponentType type) {
    Need(w, 2, "module|userform <name> [\"code\"]");
    if (!project_) throw ScriptError{"a component needs a project first"};
    std::vector<Text> lines;
    if (w.size() > 2) {
      std::istringstream code(w[2]);
      for (std::string line; std::getline(code, line);) lines.push_back(FromUtf8(line));
    }
    const auto component = project_->AddComponent(FromUtf8(w[1]), type, lines);
    host_.editor->SelectComponent(component);
    component->ShowCode();
  }
  void Module(const std::vector<std::string>& w) {
    AddComponent(w, host::sim::ComponentType::StdModule);
  }
  void UserForm(const std::vector<std::string>& w) {
    AddComponent(w, host::sim::ComponentType::UserForm);
  }
  void Setting(const std::vector<std::string>& w) {
    Need(w, 5, "setting <application> <section> <key> <value>");
    const Text value = FromUtf8(w[4]);
    StoreSetting(w, REG_SZ, value.c_str(), (value.size() + 1) * sizeof(char16_t));
  }
  // Stored where the add-ins read it, the per-user registry, of any registry type.
  static void StoreSetting(const std::vector<std::string>& w, DWORD type, const void* data,
                           std::size_t bytes) {
    host::win::UniqueHkey hkey;
    RegCreateKeyExW(HKEY_CURRENT_USER,
                    host::win::Wide(host::win::SettingsKeyPath(FromUtf8(w[1]), FromUtf8(w[2]))), 0,
                    nullptr, 0, KEY_SET_VALUE, nullptr, hkey.Put(), nullptr);
    RegSetValueExW(hkey.Get(), host::win::Wide(FromUtf8(w[3])), 0, type,
                   static_cast<const BYTE*>(data), static_cast<DWORD>(bytes));
  }

  void ForgetSettings(const std::vector<std::string>& w) {
    Need(w, 2, "forget-settings <application>");
    RegDeleteTreeW(HKEY_CURRENT_USER, host::win::Wide(host::win::SettingsKeyPath(FromUtf8(w[1]))));
  }

  std::shared_ptr<host::sim::SimComponent> Component(const std::string& name) const {
    for (const auto& project : host_.editor->Projects())
      if (auto component = project->Component(FromUtf8(name))) return component;
    throw ScriptError{"there is no component " + name};
  }
  std::shared_ptr<host::sim::SimProject> ProjectNamed(const std::string& name) const {
    for (const auto& project : host_.editor->Projects())
      if (project->NameShown() == FromUtf8(name)) return project;
    throw ScriptError{"there is no project " + name};
  }
  static std::int32_t Whole(const std::string& word) {
    return static_cast<std::int32_t>(Number(word));
  }

  void Select(const std::vector<std::string>& w) {
    Need(w, 6, "select <component> <start line> <start column> <end line> <end column>");
    const auto component = Component(w[1]);
    host_.editor->SelectComponent(component);
    component->ShowCode();
    component->Pane()->selection = {Whole(w[2]), Whole(w[3]), Whole(w[4]), Whole(w[5])};
  }
  void Caret(const std::vector<std::string>& w) {
    Need(w, 3, "caret <component> <line>");
    Select({w[0], w[1], w[2], "1", w[2], "1"});
  }
  void Designer(const std::vector<std::string>& w) {
    Need(w, 2, "designer <component>");
    const auto component = Component(w[1]);
    if (!component->DesignerWindow()) throw ScriptError{w[1] + " has no designer"};
    host_.editor->SelectComponent(component);
    host_.editor->ActivateWindow(component->DesignerWindow(), nullptr);
  }
  void SaveAs(const std::vector<std::string>& w) {
    Need(w, 3, "save-as <project> <file>");
    ProjectNamed(w[1])->SetFileName(FromUtf8(w[2]));
  }
  void CloseProject(const std::vector<std::string>& w) {
    Need(w, 2, "close-project <project>");
    host_.editor->CloseProject(ProjectNamed(w[1]));
  }
  void RemoveComponent(const std::vector<std::string>& w) {
    Need(w, 2, "remove-component <component>");
    for (const auto& project : host_.editor->Projects())
      if (project->Component(FromUtf8(w[1]))) return project->RemoveComponent(FromUtf8(w[1]));
    throw ScriptError{"there is no component " + w[1]};
  }
  void InsertLines(const std::vector<std::string>& w) {
    Need(w, 4, "insert-lines <component> <line> <text>");
    auto& code = Component(w[1])->Code();
    const auto at = std::min<std::size_t>(static_cast<std::size_t>(std::max(1L, Number(w[2])) - 1),
                                          code.size());
    std::vector<Text> lines;
    std::istringstream text(w[3]);
    for (std::string line; std::getline(text, line);) lines.push_back(FromUtf8(line));
    code.insert(code.begin() + static_cast<std::ptrdiff_t>(at), lines.begin(), lines.end());
  }
  void ActivatesShown(const std::vector<std::string>& w) {
    Need(w, 2, "editor-activates-shown-panes true|false");
    host_.editor->showActivatesPane = Flag(w[1]);
  }
  // How the editor's click events pass the control from now on.
  void ControlArgumentWrapping(const std::vector<std::string>& w) {
    Need(w, 2, "control-argument object|byref-object|byref-variant|unknown");
    const std::map<std::string, ControlWrapping> wrappings = {
        {"object", ControlWrapping::Dispatch},
        {"byref-object", ControlWrapping::ByRefDispatch},
        {"byref-variant", ControlWrapping::ByRefVariant},
        {"unknown", ControlWrapping::Unknown}};
    const auto found = wrappings.find(w[1]);
    if (found == wrappings.end()) throw ScriptError{"unknown wrapping " + w[1]};
    SetControlWrapping(found->second);
    Tell("click events now pass the control as " + w[1]);
  }
  // The media folder of the drive windir names, with the four sound files in it or not.
  void SoundFiles(const std::vector<std::string>& w) {
    Need(w, 2, "sound-files present|absent");
    wchar_t windir[MAX_PATH] = L"C:\\windows";
    GetEnvironmentVariableW(L"windir", windir, MAX_PATH);
    std::wstring folder = std::wstring(1, windir[0]) + L":\\windows\\media\\office97\\";
    for (std::size_t at = folder.find(L'\\', 3); at != std::wstring::npos;
         at = folder.find(L'\\', at + 1))
      CreateDirectoryW(folder.substr(0, at).c_str(), nullptr);
    for (const wchar_t* name : {L"zoomin.wav", L"redo.wav", L"cancel.wav", L"remindr4.wav"}) {
      const std::wstring path = folder + name;
      if (w[1] == "absent") {
        DeleteFileW(path.c_str());
        continue;
      }
      // A short silent sound: 8 kHz, 8 bits, mono, 80 samples.
      static const unsigned char wave[] = {
          'R', 'I', 'F', 'F', 116, 0, 0,   0,   'W', 'A',  'V',  'E', 'f', 'm',  't',
          ' ', 16,  0,   0,   0,   1, 0,   1,   0,   0x40, 0x1F, 0,   0,   0x40, 0x1F,
          0,   0,   1,   0,   8,   0, 'd', 'a', 't', 'a',  80,   0,   0,   0};
      HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
      if (file == INVALID_HANDLE_VALUE) throw ScriptError{"cannot write the sound files"};
      DWORD written = 0;
      WriteFile(file, wave, sizeof wave, &written, nullptr);
      const std::vector<unsigned char> silence(80, 0x80);
      WriteFile(file, silence.data(), static_cast<DWORD>(silence.size()), &written, nullptr);
      CloseHandle(file);
    }
    Tell(std::string("the sound files are ") + w[1]);
  }

  // ---- the add-ins ------------------------------------------------------------------------

  void Register(const std::vector<std::string>& w) {
    Need(w, 2, "register <dll>");
    const auto path = DllPath(w[1]);
    const auto code = RunRegsvr32(path, false);
    if (code == 0) MirrorUserClasses(path);
    last_ = {code == 0 ? S_OK : E_FAIL, {}};
    Tell("regsvr32 " + w[1] + ": exit code " + std::to_string(code));
  }
  // An add-in an installer registered: its DLL by full path, environment variables expanded.
  void Installed(const std::vector<std::string>& w) {
    Need(w, 3, "installed <ProgID> <dll path>");
    const auto wide = std::wstring(host::win::Wide(FromUtf8(w[2])));
    std::vector<wchar_t> path(ExpandEnvironmentStringsW(wide.c_str(), nullptr, 0) + 1);
    ExpandEnvironmentStringsW(wide.c_str(), path.data(), static_cast<DWORD>(path.size()));
    const Text dll = host::win::FromWide(path.data());
    MirrorInstalledClass(FromUtf8(w[1]), dll);
    Tell(w[1] + " is served by " + ToUtf8(dll));
  }
  void Unregister(const std::vector<std::string>& w) {
    Need(w, 2, "unregister <dll>");
    const auto path = DllPath(w[1]);
    const auto code = RunRegsvr32(path, true);
    RemoveClassMirror(path);
    last_ = {code == 0 ? S_OK : E_FAIL, {}};
    Tell("regsvr32 /u " + w[1] + ": exit code " + std::to_string(code));
  }
  void Connect(const std::vector<std::string>& w) {
    Need(w, 2, "connect <ProgID>");
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    const auto outcome = addins_.Connect(FromUtf8(w[1]), vbe_.Get());
    QueryPerformanceCounter(&end);
    char took[32];
    std::snprintf(took, sizeof took, " in %.2f ms",
                  1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) /
                      static_cast<double>(frequency.QuadPart));
    Report(outcome, "connection of " + w[1] + took);
    for (const wchar_t* dll : {L"Quillon.dll", L"Lathmore.dll"}) WatchCallsOf(dll);
  }
  void ConnectOther(const std::vector<std::string>& w) {
    Need(w, 2, "connect-other <ProgID>");
    Report(addins_.Connect(FromUtf8(w[1]), MakeOtherApplication().Get()),
           "connection of " + w[1] + " to an application that is not the editor");
  }
  void Disconnect(const std::vector<std::string>& w) {
    Need(w, 2, "disconnect <ProgID>");
    Report(addins_.Disconnect(FromUtf8(w[1])), "disconnection of " + w[1]);
  }
  void Release(const std::vector<std::string>& w) {
    Need(w, 2, "release <ProgID>");
    addins_.Release(FromUtf8(w[1]));
    Tell("the editor let go of " + w[1]);
  }
  void FailOn(const std::vector<std::string>& w) {
    Need(w, 2, "fail <Object.Operation> [occurrence]");
    host_.calls->FailOn(w[1], w.size() > 2 ? static_cast<int>(Number(w[2])) : 0);
    Tell("the editor will fail " + w[1] +
         (w.size() > 2 ? " on call " + w[2] : std::string(" on every call")));
  }
  void Click(const std::vector<std::string>& w) {
    Need(w, 3, "click <bar> <index>");
    Press(Control(w[1], w[2]));
  }
  void ShiftClick(const std::vector<std::string>& w) {
    Need(w, 3, "shift-click <bar> <index>");
    const auto control = Control(w[1], w[2]);
    ShiftHeld shift;
    Press(control);
  }
  // The user clicks: the editor raises Click on every bound sink; the sandbox reads and closes
  // any message box the add-in shows, and notes the sounds it plays.
  void Press(const std::shared_ptr<host::sim::SimControl>& control) {
    const Text caption = control->CaptionShown();
    TakeRaisedCount();
    TakePlayedSounds();
    MessageBoxWatch watch;
    try {
      const auto outcome = control->Click();
      last_ = {S_OK, {}};
      Tell("clicked " + Quoted(caption) + "; handled " + (outcome.handled ? "true" : "false") +
           ", CancelDefault " + (outcome.cancelDefault ? "true" : "false"));
    } catch (const host::HostError& error) {
      last_ = {static_cast<HRESULT>(error.Code()), error.Description()};
      Tell("the click handler failed with " + Hex(error.Code()) + " " +
           Quoted(error.Description()));
    }
    sinksReached_ = TakeRaisedCount();
    Tell("the click reached " + std::to_string(sinksReached_) + " event sink(s)");
    if (control->Exists())
      Tell("the button now reads " + Quoted(control->CaptionShown()) +
           (control->StateShown() == host::kStateDown ? ", drawn pressed" : ", drawn up"));
    messages_ = watch.Seen();
    for (const auto& box : messages_)
      Tell("message box " + Quoted(box.title) + (box.okOnly ? ", OK only" : ", not OK only") +
           (box.icon ? ", with an icon" : ", no icon") + ": " + Quoted(box.text));
    sounds_ = TakePlayedSounds();
    for (const auto& sound : sounds_) Tell("sound: " + sound);
  }

  void UserPlace(const std::vector<std::string>& w) {
    Need(w, 2,
         "user-place <bar> [pos N] [row N] [left N] [top N] [width N] [height N] [visible B]");
    auto& place = Bar(w[1])->Place();
    for (std::size_t i = 2; i + 1 < w.size(); i += 2) {
      const std::string& key = w[i];
      if (key == "visible") {
        place.visible = Flag(w[i + 1]);
        continue;
      }
      std::int32_t* field = key == "pos"      ? &place.position
                            : key == "row"    ? &place.rowIndex
                            : key == "left"   ? &place.left
                            : key == "top"    ? &place.top
                            : key == "width"  ? &place.width
                            : key == "height" ? &place.height
                                              : nullptr;
      if (!field) throw ScriptError{"unknown place " + key};
      *field = static_cast<std::int32_t>(Number(w[i + 1]));
    }
    Tell("the user moved bar " + w[1]);
  }
  void UserDeleteBar(const std::vector<std::string>& w) {
    Need(w, 2, "user-delete-bar <bar>");
    Bar(w[1])->Remove();
    Tell("the user deleted bar " + w[1]);
  }

  // Tools > References, as the editor carries it out: the command's Click goes to every handler
  // first; then, unless one cancelled it, the modal dialog opens with its own message loop.
  void ChooseReferences(const std::vector<std::string>& w) {
    const std::string how = w.size() > 1 ? w[1] : "";
    if (!how.empty() && how != "without-dialog" && how != "mirrored")
      throw ScriptError{"usage: choose-references [without-dialog|mirrored]"};
    const bool withDialog = how != "without-dialog";
    const auto command = Control("Menu Bar", "2");
    TakeRaisedCount();
    host::sim::ClickOutcome outcome;
    try {
      outcome = command->Click();
      last_ = {S_OK, {}};
    } catch (const host::HostError& error) {
      last_ = {static_cast<HRESULT>(error.Code()), error.Description()};
      Tell("the command's click handler failed with " + Hex(error.Code()) + " " +
           Quoted(error.Description()));
    }
    Tell("chose Tools > References; " + std::to_string(LiveTimers()) + " add-in timer(s) running");
    if (outcome.cancelDefault) {
      Tell("an add-in cancelled the command");
      return;
    }
    if (!withDialog) return;
    const auto project =
        host::Ignore([&] { return host_.editor->ActiveVBProject()->Name(); }).value_or(Text());
    dialog_ = ShowReferencesDialog(project, 1500, how == "mirrored");
    const auto size = [](const RECT& r) {
      return std::to_string(r.right - r.left) + " x " + std::to_string(r.bottom - r.top);
    };
    Tell("the References dialog opened at " + size(dialog_.before) +
         (dialog_.laidOutAfterMs < 0 ? "; nothing changed it"
                                     : "; " + std::to_string(dialog_.laidOutAfterMs) +
                                           " ms later it measured " + size(dialog_.after)));
    for (const auto& c : dialog_.controls) {
      const RECT& b = c.before;
      const RECT& a = c.after;
      Tell("  " + c.name + ": moved " + std::to_string(a.left - b.left) + ", " +
           std::to_string(a.top - b.top) + "; grew " +
           std::to_string((a.right - a.left) - (b.right - b.left)) + " x " +
           std::to_string((a.bottom - a.top) - (b.bottom - b.top)) +
           (c.styleAfter != c.styleBefore
                ? "; style " + Hex(c.styleBefore) + " to " + Hex(c.styleAfter)
                : ""));
    }
  }
  // Pictures are taken only where a folder was given, to be made into the README's pictures.
  void Pictures(const std::vector<std::string>& w) {
    Need(w, 2, "pictures <folder>");
    PictureFolder() = std::wstring(host::win::Wide(FromUtf8(w[1])));
    CreateDirectoryW(PictureFolder().c_str(), nullptr);
  }
  void PictureToolbars(const std::vector<std::string>& w) {
    Need(w, 2, "picture-toolbars <name>");
    SaveToolbarsPicture(host_.editor->Bars(), std::wstring(host::win::Wide(FromUtf8(w[1]))));
  }
  struct Usage {
    long objects;         // the sandbox's own automation objects alive
    std::uintptr_t slot;  // the lowest free handle slot: it climbs when handles leak
    SIZE_T bytes;         // bytes in use in the process's heaps
  };
  // Wine answers neither the handle count nor the memory counters; these it keeps. Memory is
  // what the heaps hold in use, not what is committed: Wine commits and frees heap blocks of its
  // own (one of 3 MB on its sound path comes and goes every few hundred cycles), while whatever
  // an add-in leaves behind stays in use.
  static Usage Measure() {
    HANDLE probe = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    const auto slot = reinterpret_cast<std::uintptr_t>(probe);
    CloseHandle(probe);
    std::vector<HANDLE> heaps(GetProcessHeaps(0, nullptr) + 16);
    heaps.resize(GetProcessHeaps(static_cast<DWORD>(heaps.size()), heaps.data()));
    SIZE_T bytes = 0;
    for (HANDLE heap : heaps) {
      if (!HeapLock(heap)) continue;
      PROCESS_HEAP_ENTRY entry{};
      while (HeapWalk(heap, &entry))
        if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) bytes += entry.cbData;
      HeapUnlock(heap);
    }
    return {host::win::Module::Count(), slot, bytes};
  }

  // Cycles of a whole session with both add-ins: connect, bookmarks set and followed, a buffer
  // captured and pasted, both cleared, a watch started, disconnect. Measures what stays behind.
  void Soak(const std::vector<std::string>& w) {
    Need(w, 2, "soak <cycles>");
    const long cycles = Number(w[1]);
    const auto module = Component("Soak");
    const auto click = [&](const char* bar, const char* index) {
      try {
        Control(bar, index)->Click();
      } catch (const host::HostError& error) {
        throw ScriptError{"a click failed during the soak: " + ToUtf8(error.Description())};
      }
    };
    const auto cycle = [&] {
      for (const char* progId : {"Quillon.dsrQuillon", "Vodavove.Connect"})
        if (FAILED(addins_.Connect(FromUtf8(progId), vbe_.Get()).hr))
          throw ScriptError{std::string("connecting ") + progId + " failed during the soak"};
      module->Pane()->selection = {2, 1, 2, 1};
      click("Quillon", "1");  // set
      click("Quillon", "1");  // go to
      module->Pane()->selection = {2, 5, 2, 10};
      click("RIDAridAviri", "1");  // capture
      click("RIDAridAviri", "1");  // paste over the same text
      click("RIDAridAviri", "6");
      click("Quillon", "6");
      Control("Menu Bar", "2")->Click();  // a watch starts; the disconnection ends it
      for (const char* progId : {"Quillon.dsrQuillon", "Vodavove.Connect"})
        addins_.Disconnect(FromUtf8(progId));
      // The sandbox's own records grow by design; only what the add-ins leave behind counts.
      host_.calls->ClearLog();
      TakePlayedSounds();
    };
    cycle();  // the first cycle loads and warms everything up
    const Usage before = Measure();
    for (long i = 1; i < cycles; ++i) cycle();
    PumpMessages(50);
    soakBefore_ = before;
    soakAfter_ = Measure();
    Tell(std::to_string(cycles) + " cycles. After the first: " + std::to_string(before.objects) +
         " sandbox objects, lowest free handle " + std::to_string(before.slot) + ", " +
         std::to_string(before.bytes / 1024) +
         " KB in use. After the last: " + std::to_string(soakAfter_.objects) + ", " +
         std::to_string(soakAfter_.slot) + ", " + std::to_string(soakAfter_.bytes / 1024) +
         " KB. " + std::to_string(LiveTimers()) + " add-in timer(s) running.");
  }

  // Every key and value under the per-user places registration writes, as text.
  void RegistrySnapshot(const std::vector<std::string>& w) {
    Need(w, 2, "registry-snapshot <name>");
    std::string text;
    for (const char16_t* root : {u"Software\\Classes", u"Software\\Microsoft\\VBA"})
      text += DumpKey(root);
    auto& saved = snapshots_[w[1]];
    if (saved.empty()) {
      saved = text;
      Tell("registry snapshot " + w[1] + ": " +
           std::to_string(std::count(text.begin(), text.end(), '\n')) + " lines");
    } else {
      Check(saved == text, "the registry is exactly as at snapshot " + w[1],
            std::to_string(std::count(text.begin(), text.end(), '\n')) + " lines against " +
                std::to_string(std::count(saved.begin(), saved.end(), '\n')));
    }
  }
  static std::string DumpKey(const Text& path) {
    host::win::UniqueHkey key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, host::win::Wide(path), 0, KEY_READ, key.Put()) !=
        ERROR_SUCCESS)
      return {};
    std::string text = ToUtf8(path) + "\n";
    for (DWORD i = 0;; ++i) {
      wchar_t name[512];
      BYTE data[4096];
      DWORD nameLength = 512, dataLength = sizeof data, type = 0;
      if (RegEnumValueW(key.Get(), i, name, &nameLength, nullptr, &type, data, &dataLength) !=
          ERROR_SUCCESS)
        break;
      text += "  " + ToUtf8(host::win::FromWide(name)) + " (" + std::to_string(type) + ") " +
              std::string(reinterpret_cast<char*>(data), dataLength) + "\n";
    }
    std::vector<Text> children;
    for (DWORD i = 0;; ++i) {
      wchar_t name[512];
      DWORD length = 512;
      if (RegEnumKeyExW(key.Get(), i, name, &length, nullptr, nullptr, nullptr, nullptr) !=
          ERROR_SUCCESS)
        break;
      children.push_back(host::win::FromWide(name));
    }
    std::sort(children.begin(), children.end());
    for (const auto& child : children) text += DumpKey(path + u"\\" + child);
    return text;
  }

  // A settings value of another registry type than the text the settings functions write.
  void SettingNumber(const std::vector<std::string>& w) {
    Need(w, 5, "setting-number <application> <section> <key> <number>");
    const DWORD value = static_cast<DWORD>(Number(w[4]));
    StoreSetting(w, REG_DWORD, &value, sizeof value);
  }

  void Wait(const std::vector<std::string>& w) {
    Need(w, 2, "wait <milliseconds>");
    PumpMessages(static_cast<unsigned>(Number(w[1])));
    Tell("waited " + w[1] + " ms; " + std::to_string(LiveTimers()) + " add-in timer(s) running");
  }

  // ---- what is there ----------------------------------------------------------------------

  std::string Describe(const host::sim::SimCommandBar& bar) const {
    auto& p = const_cast<host::sim::SimCommandBar&>(bar).Place();
    std::ostringstream s;
    s << "bar " << Quoted(bar.Name()) << ": "
      << (p.position == host::kBarFloating ? "floating" : "position " + std::to_string(p.position))
      << ", row " << p.rowIndex << ", left " << p.left << ", top " << p.top << ", " << p.width
      << " x " << p.height << ", " << (p.visible ? "visible" : "hidden") << ", "
      << bar.ControlList().size() << " controls";
    return s.str();
  }

  void Show(const std::vector<std::string>& w) {
    Need(w, 2, "show bars|buttons <bar>|code <component>|calls");
    if (w[1] == "bars") {
      for (const auto& bar : host_.editor->Bars()->Bars()) Tell(Describe(*bar));
    } else if (w[1] == "buttons") {
      Need(w, 3, "show buttons <bar>");
      for (const auto& c : Bar(w[2])->ControlList())
        Tell(std::string(c->BeginGroupShown() ? "| " : "  ") + Quoted(c->CaptionShown()) +
             ", icon " + std::to_string(c->FaceIdShown()) +
             (c->StateShown() == host::kStateDown ? ", pressed" : "") +
             (c->DescriptionShown().empty() ? "" : ", holding " + Quoted(c->DescriptionShown())));
    } else if (w[1] == "code") {
      Need(w, 3, "show code <component>");
      const auto component = Component(w[2]);
      const auto& code = component->Code();
      const auto& sel = component->Pane()->selection;
      for (std::size_t i = 0; i < code.size(); ++i)
        Tell(std::to_string(i + 1) + (i + 1 < 10 ? "  | " : " | ") + ToUtf8(code[i]));
      Tell("selection: line " + std::to_string(sel.startLine) + " column " +
           std::to_string(sel.startColumn) + " to line " + std::to_string(sel.endLine) +
           " column " + std::to_string(sel.endColumn));
    } else if (w[1] == "calls") {
      for (const auto* type : AllTypes())
        Tell(std::string(type->name) + ": " + std::to_string(type->namesLookedUp) +
             " name lookups, " + std::to_string(type->invokes) + " calls");
    } else {
      throw ScriptError{"show what? " + w[1]};
    }
  }

  void Expect(const std::vector<std::string>& w) {
    Need(w, 2, "expect <what> ...");
    const std::string& what = w[1];
    if (what == "ok" || what == "failed") {
      const bool ok = SUCCEEDED(last_.hr);
      Check(ok == (what == "ok"),
            "the last action " + std::string(what == "ok" ? "succeeded" : "failed"),
            ok ? "success" : Hex(last_.hr) + " " + Quoted(last_.description));
    } else if (what == "bars") {
      Need(w, 3, "expect bars <count>");
      // The add-ins' own bars: the temporary ones.
      const auto& bars = host_.editor->Bars()->Bars();
      const auto count =
          std::count_if(bars.begin(), bars.end(), [](const auto& bar) { return bar->Temporary(); });
      Check(static_cast<long>(count) == Number(w[2]), "the editor has " + w[2] + " add-in bars",
            std::to_string(count));
    } else if (what == "no-bar") {
      Need(w, 3, "expect no-bar <bar>");
      Check(!host_.Bar(FromUtf8(w[2])), "there is no bar " + w[2], "one");
    } else if (what == "bar") {
      ExpectBar(w);
    } else if (what == "control") {
      ExpectControl(w);
    } else if (what == "setting" || what == "no-setting") {
      Need(w, what == "setting" ? 6 : 5, "expect setting <application> <section> <key> <value>");
      const Text key = u"HKCU\\" + host::win::SettingsKeyPath(FromUtf8(w[2]), FromUtf8(w[3]));
      const auto value = ReadRegistry(key, FromUtf8(w[4]));
      const std::string seen = value ? Quoted(*value) : "nothing";
      if (what == "setting")
        Check(value == FromUtf8(w[5]),
              w[2] + "\\" + w[3] + "\\" + w[4] + " is " + Quoted(FromUtf8(w[5])), seen);
      else
        Check(!value, "nothing stored under " + w[2] + "\\" + w[3] + "\\" + w[4], seen);
    } else if (what == "registry") {
      Need(w, 5, "expect registry <key> <name>|@ <value>");
      const auto value = ReadRegistry(FromUtf8(w[2]), w[3] == "@" ? Text() : FromUtf8(w[3]));
      Check(value == FromUtf8(w[4]), w[2] + " " + w[3] + " = " + Quoted(FromUtf8(w[4])),
            value ? Quoted(*value) : "nothing");
    } else if (what == "registry-type") {
      Need(w, 5, "expect registry-type <key> <name>|@ <type>");
      const auto type = RegistryValueType(FromUtf8(w[2]), w[3] == "@" ? Text() : FromUtf8(w[3]));
      Check(type == w[4], w[2] + " " + w[3] + " is a " + w[4], type.value_or("nothing"));
    } else if (what == "no-key") {
      Need(w, 3, "expect no-key <key>");
      Check(!RegistryKeyExists(FromUtf8(w[2])), "no key " + w[2], "the key");
    } else if (what == "unloadable") {
      Need(w, 3, "expect unloadable <dll>");
      HMODULE module = GetModuleHandleW(host::win::Wide(FromUtf8(w[2])));
      auto* canUnload = module ? reinterpret_cast<HRESULT(WINAPI*)()>(reinterpret_cast<void*>(
                                     GetProcAddress(module, "DllCanUnloadNow")))
                               : nullptr;
      if (!canUnload) throw ScriptError{w[2] + " is not loaded"};
      const HRESULT hr = canUnload();
      Check(hr == S_OK, w[2] + " can unload now", Hex(hr));
    } else if (what == "sinks") {
      Need(w, 3, "expect sinks <count>");
      Check(sinksReached_ == Number(w[2]), "the click reached " + w[2] + " event sink(s)",
            std::to_string(sinksReached_));
    } else if (what == "description") {
      Need(w, 3, "expect description <text>");
      Check(last_.description == FromUtf8(w[2]), "the failure says " + Quoted(FromUtf8(w[2])),
            Quoted(last_.description));
    } else if (what == "version-info") {
      Need(w, 5, "expect version-info <dll> <name> <value>");
      const auto value = VersionText(DllPath(w[2]), FromUtf8(w[3]));
      Check(value == FromUtf8(w[4]),
            w[2] + " version text " + w[3] + " = " + Quoted(FromUtf8(w[4])),
            value ? Quoted(*value) : "nothing");
    } else if (what == "message") {
      Need(w, 3, "expect message <text>");
      const bool shown = messages_.size() == 1 && messages_[0].text == FromUtf8(w[2]) &&
                         messages_[0].title == u"Quillon" && messages_[0].okOnly &&
                         !messages_[0].icon;
      Check(shown, "one message box \"Quillon\", OK only, no icon: " + Quoted(FromUtf8(w[2])),
            std::to_string(messages_.size()) + " message box(es)" +
                (messages_.empty() ? "" : ", the first " + Quoted(messages_[0].text)));
    } else if (what == "no-message") {
      Check(messages_.empty(), "no message box", std::to_string(messages_.size()));
    } else if (what == "sound") {
      Need(w, 3, "expect sound <file>");
      Check(sounds_.size() == 1 && sounds_[0] == w[2], "the sound " + w[2],
            sounds_.empty() ? "none" : sounds_[0] + (sounds_.size() > 1 ? " and more" : ""));
    } else if (what == "no-sound") {
      Check(sounds_.empty(), "no sound", sounds_.empty() ? "" : sounds_[0]);
    } else if (what == "line") {
      Need(w, 5, "expect line <component> <number> <text>");
      const auto& code = Component(w[2])->Code();
      const long n = Number(w[3]);
      const bool present = n >= 1 && static_cast<std::size_t>(n) <= code.size();
      const Text seen = present ? code[static_cast<std::size_t>(n - 1)] : Text();
      Check(present && seen == FromUtf8(w[4]),
            w[2] + " line " + w[3] + " " + Quoted(FromUtf8(w[4])),
            present ? Quoted(seen) : "no such line");
    } else if (what == "line-count") {
      Need(w, 4, "expect line-count <component> <count>");
      const auto count = Component(w[2])->Code().size();
      Check(static_cast<long>(count) == Number(w[3]), w[2] + " has " + w[3] + " lines",
            std::to_string(count));
    } else if (what == "selection") {
      Need(w, 7,
           "expect selection <component> <start line> <start column> <end line> <end column>");
      const auto& sel = Component(w[2])->Pane()->selection;
      const host::Selection wanted{Whole(w[3]), Whole(w[4]), Whole(w[5]), Whole(w[6])};
      Check(sel == wanted, w[2] + " selection " + w[3] + "," + w[4] + " to " + w[5] + "," + w[6],
            std::to_string(sel.startLine) + "," + std::to_string(sel.startColumn) + " to " +
                std::to_string(sel.endLine) + "," + std::to_string(sel.endColumn));
    } else if (what == "active") {
      Need(w, 3, "expect active <component>");
      Check(host_.editor->ActivePane() == Component(w[2])->Pane(), "the caret is in " + w[2],
            "another pane");
    } else if (what == "window") {
      Need(w, 3, "expect window code|designer");
      const auto type = host::Ignore([&] { return host_.editor->ActiveWindow()->Type(); });
      const std::int32_t wanted = w[2] == "designer" ? host::kDesignerWindow : host::kCodeWindow;
      Check(type == wanted, "the active window is a " + w[2] + " window",
            type ? (*type == host::kDesignerWindow ? "a designer" : "a code window") : "no window");
    } else if (what == "soak-growth") {
      Need(w, 5, "expect soak-growth <objects> <handles> <kilobytes>");
      const long objects = soakAfter_.objects - soakBefore_.objects;
      const long handles = static_cast<long>(soakAfter_.slot) - static_cast<long>(soakBefore_.slot);
      const long kilobytes =
          (static_cast<long>(soakAfter_.bytes) - static_cast<long>(soakBefore_.bytes)) / 1024;
      Check(objects <= Number(w[2]) && handles <= Number(w[3]) && kilobytes <= Number(w[4]),
            "growth at most " + w[2] + " objects, " + w[3] + " handle slots, " + w[4] + " KB",
            std::to_string(objects) + " objects, " + std::to_string(handles) + " handle slots, " +
                std::to_string(kilobytes) + " KB");
    } else if (what == "objects") {
      Need(w, 3, "expect objects <count>");
      Check(host::win::Module::Count() == Number(w[2]), w[2] + " sandbox objects alive",
            std::to_string(host::win::Module::Count()));
    } else if (what == "timer-interval") {
      Need(w, 3, "expect timer-interval <milliseconds>");
      Check(static_cast<long>(LastTimerInterval()) == Number(w[2]),
            "the add-in's timer ticks every " + w[2] + " ms", std::to_string(LastTimerInterval()));
    } else if (what == "timers") {
      Need(w, 3, "expect timers <count>");
      Check(static_cast<long>(LiveTimers()) == Number(w[2]), w[2] + " add-in timer(s) running",
            std::to_string(LiveTimers()));
    } else if (what == "dialog") {
      Need(w, 4, "expect dialog <width> <height>");
      const RECT& a = dialog_.after;
      const RECT& b = dialog_.before;
      Check(a.right - a.left == Number(w[2]) && a.bottom - a.top == Number(w[3]) &&
                a.left == b.left && a.top == b.top,
            "the dialog measures " + w[2] + " x " + w[3] + " with its top-left corner kept",
            std::to_string(a.right - a.left) + " x " + std::to_string(a.bottom - a.top) + " at " +
                std::to_string(a.left) + ", " + std::to_string(a.top) + " (opened at " +
                std::to_string(b.left) + ", " + std::to_string(b.top) + ")");
    } else if (what == "laid-out-within") {
      Need(w, 3, "expect laid-out-within <milliseconds>");
      Check(dialog_.laidOutAfterMs >= 0 && dialog_.laidOutAfterMs <= Number(w[2]),
            "laid out within " + w[2] + " ms",
            dialog_.laidOutAfterMs < 0 ? "no layout"
                                       : std::to_string(dialog_.laidOutAfterMs) + " ms");
    } else if (what == "moved") {
      Need(w, 7, "expect moved <control> <dx> <dy> <dw> <dh>");
      const auto found = std::find_if(dialog_.controls.begin(), dialog_.controls.end(),
                                      [&](const ControlReport& c) { return c.name == w[2]; });
      if (found == dialog_.controls.end()) throw ScriptError{"the dialog has no control " + w[2]};
      const RECT& b = found->before;
      const RECT& a = found->after;
      const long seen[4] = {a.left - b.left, a.top - b.top, (a.right - a.left) - (b.right - b.left),
                            (a.bottom - a.top) - (b.bottom - b.top)};
      const bool same = seen[0] == Number(w[3]) && seen[1] == Number(w[4]) &&
                        seen[2] == Number(w[5]) && seen[3] == Number(w[6]);
      Check(same, w[2] + " moved " + w[3] + ", " + w[4] + " and grew " + w[5] + " x " + w[6],
            std::to_string(seen[0]) + ", " + std::to_string(seen[1]) + ", " +
                std::to_string(seen[2]) + " x " + std::to_string(seen[3]));
    } else if (what == "style-cleared") {
      Need(w, 4, "expect style-cleared <control> <bits>");
      const auto found = std::find_if(dialog_.controls.begin(), dialog_.controls.end(),
                                      [&](const ControlReport& c) { return c.name == w[2]; });
      if (found == dialog_.controls.end()) throw ScriptError{"the dialog has no control " + w[2]};
      const long bits = std::stol(w[3], nullptr, 0);
      Check(found->styleAfter == (found->styleBefore & ~bits),
            w[2] + "'s style lost exactly " + w[3],
            Hex(found->styleBefore) + " to " + Hex(found->styleAfter));
    } else if (what == "names-looked-up-once") {
      // Late binding asks for each member's DISPID once per type and keeps it; each add-in DLL
      // keeps its own.
      Need(w, 3, "expect names-looked-up-once <add-ins>");
      const long addins = Number(w[2]);
      std::string repeated;
      for (const auto* type : AllTypes())
        for (const auto& [name, count] : type->lookupsByName)
          if (count > addins)
            repeated += std::string(type->name) + "." + ToUtf8(host::win::FromWide(name)) + " " +
                        std::to_string(count) + " times; ";
      Check(repeated.empty(),
            "every member's name was asked for once per type by each of " + w[2] + " add-ins",
            repeated);
    } else if (what == "calls") {
      Need(w, 4, "expect calls <Object.Operation> <count>");
      const auto count = host_.calls->Count(w[2]);
      Check(static_cast<long>(count) == Number(w[3]), w[2] + " called " + w[3] + " times",
            std::to_string(count));
    } else {
      throw ScriptError{"expect what? " + what};
    }
  }

  // A text of the DLL's version resource, in its first language.
  static std::optional<Text> VersionText(const Text& path, const Text& name) {
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(host::win::Wide(path), &ignored);
    if (size == 0) return std::nullopt;
    std::vector<BYTE> data(size);
    if (!GetFileVersionInfoW(host::win::Wide(path), 0, size, data.data())) return std::nullopt;
    struct Translation {
      WORD language;
      WORD codePage;
    }* translation = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(data.data(), L"\\VarFileInfo\\Translation",
                        reinterpret_cast<void**>(&translation), &length) ||
        length < sizeof(Translation))
      return std::nullopt;
    wchar_t block[64];
    swprintf(block, 64, L"\\StringFileInfo\\%04x%04x\\", translation->language,
             translation->codePage);
    wchar_t* text = nullptr;
    if (!VerQueryValueW(data.data(), host::win::Wide(host::win::FromWide(block) + name),
                        reinterpret_cast<void**>(&text), &length))
      return std::nullopt;
    return length ? host::win::FromWide(std::wstring_view(text, length - 1)) : Text();
  }

  void ExpectBar(const std::vector<std::string>& w) {
    Need(w, 3, "expect bar <bar> [pos N] [row N] ... [controls N]");
    const auto bar = Bar(w[2]);
    auto& p = bar->Place();
    for (std::size_t i = 3; i + 1 < w.size(); i += 2) {
      const std::string& key = w[i];
      long seen;
      long wanted;
      if (key == "visible") {
        seen = p.visible;
        wanted = Flag(w[i + 1]);
      } else {
        wanted = Number(w[i + 1]);
        seen = key == "pos"        ? p.position
               : key == "row"      ? p.rowIndex
               : key == "left"     ? p.left
               : key == "top"      ? p.top
               : key == "width"    ? p.width
               : key == "height"   ? p.height
               : key == "controls" ? static_cast<long>(bar->ControlList().size())
                                   : throw ScriptError{"unknown " + key};
      }
      Check(seen == wanted, w[2] + " " + key + " " + w[i + 1],
            key == "visible" ? (seen ? "true" : "false") : std::to_string(seen));
    }
  }

  void ExpectControl(const std::vector<std::string>& w) {
    Need(w, 4,
         "expect control <bar> <index> [caption T] [description T] [faceid N] [group B] [state N]");
    const auto c = Control(w[2], w[3]);
    const std::string which = w[2] + " " + w[3];
    for (std::size_t i = 4; i + 1 < w.size(); i += 2) {
      const std::string& key = w[i];
      const std::string& value = w[i + 1];
      if (key == "caption")
        Check(c->CaptionShown() == FromUtf8(value), which + " caption " + Quoted(FromUtf8(value)),
              Quoted(c->CaptionShown()));
      else if (key == "description")
        Check(c->DescriptionShown() == FromUtf8(value),
              which + " description " + Quoted(FromUtf8(value)), Quoted(c->DescriptionShown()));
      else if (key == "faceid")
        Check(c->FaceIdShown() == Number(value), which + " icon " + value,
              std::to_string(c->FaceIdShown()));
      else if (key == "group")
        Check(c->BeginGroupShown() == Flag(value), which + " starts a group: " + value,
              c->BeginGroupShown() ? "true" : "false");
      else if (key == "state")
        Check(c->StateShown() == Number(value), which + " state " + value,
              std::to_string(c->StateShown()));
      else
        throw ScriptError{"unknown control property " + key};
    }
  }

  std::wstring directory_;
  std::ostream& out_;
  host::sim::SimHost host_;
  host::win::ComPtr<IDispatch> vbe_;
  AddinHost addins_;
  std::shared_ptr<host::sim::SimProject> project_;
  Outcome last_;
  long sinksReached_ = 0;
  DialogReport dialog_;
  Usage soakBefore_{};
  Usage soakAfter_{};
  std::map<std::string, std::string> snapshots_;
  std::vector<SeenMessageBox> messages_;
  std::vector<std::string> sounds_;
  ScenarioResult result_;
};

}  // namespace

ScenarioResult RunScenario(std::istream& script, const std::wstring& directory,
                           std::ostream& transcript) {
  const auto result = Runner(directory, transcript).Run(script);
  // What this run mirrored goes with it, so that no later run activates a class it did not see
  // registered.
  RemoveAllClassMirrors();
  return result;
}

}  // namespace sandbox
