// The editor's side of a scenario (projects, code, selections, settings, sound files) and the
// add-ins' (registering, connecting, clicking, the References dialog, the soak).
#include <map>
#include <utility>

#include "sandbox/child_process.h"
#include "sandbox/scenario_runner.h"

namespace sandbox::script {

void Runner::Version(const std::vector<std::string>& w) {
  Need(w, 2, "version <text>");
  host_.editor->SetVersion(FromUtf8(w[1]));
}

void Runner::Windir(const std::vector<std::string>& w) {
  Need(w, 2, "windir <path>|none");
  w[1] == "none" ? host_.environment->Unset(u"windir")
                 : host_.environment->Set(u"windir", FromUtf8(w[1]));
  // The add-ins read the environment of this process.
  SetEnvironmentVariableW(L"windir", w[1] == "none" ? nullptr : host::win::Wide(FromUtf8(w[1])));
}

void Runner::Project(const std::vector<std::string>& w) {
  Need(w, 3, "project <name> <file>|unsaved");
  project_ = host_.editor->AddProject(
      FromUtf8(w[1]), w[2] == "unsaved" ? std::nullopt : std::optional(FromUtf8(w[2])));
}

void Runner::AddComponent(const std::vector<std::string>& w, host::sim::ComponentType type) {
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

void Runner::Module(const std::vector<std::string>& w) {
  AddComponent(w, host::sim::ComponentType::StdModule);
}

void Runner::UserForm(const std::vector<std::string>& w) {
  AddComponent(w, host::sim::ComponentType::UserForm);
}

void Runner::Setting(const std::vector<std::string>& w) {
  Need(w, 5, "setting <application> <section> <key> <value>");
  const Text value = FromUtf8(w[4]);
  StoreSetting(w, REG_SZ, value.c_str(), (value.size() + 1) * sizeof(char16_t));
}

void Runner::StoreSetting(const std::vector<std::string>& w, DWORD type, const void* data,
                          std::size_t bytes) {
  host::win::UniqueHkey hkey;
  RegCreateKeyExW(HKEY_CURRENT_USER,
                  host::win::Wide(host::win::SettingsKeyPath(FromUtf8(w[1]), FromUtf8(w[2]))), 0,
                  nullptr, 0, KEY_SET_VALUE, nullptr, hkey.Put(), nullptr);
  RegSetValueExW(hkey.Get(), host::win::Wide(FromUtf8(w[3])), 0, type,
                 static_cast<const BYTE*>(data), static_cast<DWORD>(bytes));
}

void Runner::ForgetSettings(const std::vector<std::string>& w) {
  Need(w, 2, "forget-settings <application>");
  RegDeleteTreeW(HKEY_CURRENT_USER, host::win::Wide(host::win::SettingsKeyPath(FromUtf8(w[1]))));
}

void Runner::TypeLibrary(const std::vector<std::string>& w) {
  static const char usage[] =
      "type-library <{GUID}> <hex version key> <hex lcid> win32|win64|both|own|other \"<name>\" "
      "[no-file] [expandable]";
  Need(w, 6, usage);
  LibraryRegistration registration;
  registration.guid = FromUtf8(w[1]);
  registration.versionKey = FromUtf8(w[2]);
  registration.lcid = FromUtf8(w[3]);
  registration.name = FromUtf8(w[5]);
  const std::map<std::string, std::vector<host::Bitness>> platforms = {
      {"win32", {host::Bitness::Win32}},
      {"win64", {host::Bitness::Win64}},
      {"both", {host::Bitness::Win32, host::Bitness::Win64}},
      {"own", {kOwnBitness}},
      {"other", {host::OtherBitness(kOwnBitness)}}};
  const auto found = platforms.find(w[4]);
  if (found == platforms.end()) throw ScriptError{std::string("usage: ") + usage};
  registration.platforms = found->second;
  for (std::size_t i = 6; i < w.size(); ++i) {
    if (w[i] == "no-file")
      registration.withFile = false;
    else if (w[i] == "expandable")
      registration.expandable = true;
    else
      throw ScriptError{std::string("usage: ") + usage};
  }
  const auto paths = RegisterTypeLibrary(registration);
  for (std::size_t i = 0; i < paths.size(); ++i)
    Tell("type library " + w[1] + " " + w[2] + " " + Quoted(registration.name) + ", locale " +
         w[3] + ", " + (registration.platforms[i] == host::Bitness::Win64 ? "win64" : "win32") +
         ": " + Quoted(paths[i]) + (registration.withFile ? "" : ", no file there"));
}

void Runner::ForgetTypeLibraryRegistrations(const std::vector<std::string>& w) {
  Need(w, 1, "forget-type-libraries");
  ForgetTypeLibraries();
  Tell("the type libraries this run registered are gone again");
}

void Runner::Reference(const std::vector<std::string>& w) {
  static const char usage[] =
      "reference <project> typelib <{GUID}> <major.minor> \"<name>\" [broken] [builtin] "
      "[no-name] | reference <project> project \"<name>\" [broken]";
  Need(w, 4, usage);
  const auto project = ProjectNamed(w[1]);
  host::sim::ReferenceShown shown;
  std::size_t flags = 0;
  if (w[2] == "typelib") {
    Need(w, 6, usage);
    const auto dot = w[4].find('.');
    if (dot == std::string::npos) throw ScriptError{"not a version major.minor: " + w[4]};
    shown.guid = FromUtf8(w[3]);
    shown.version = {Whole(w[4].substr(0, dot)), Whole(w[4].substr(dot + 1))};
    shown.name = FromUtf8(w[5]);
    flags = 6;
  } else if (w[2] == "project") {
    shown.type = host::kReferenceProject;
    shown.name = FromUtf8(w[3]);
    flags = 4;
  } else {
    throw ScriptError{std::string("usage: ") + usage};
  }
  for (std::size_t i = flags; i < w.size(); ++i) {
    if (w[i] == "broken")
      shown.broken = true;
    else if (w[i] == "builtin" && shown.type == host::kReferenceTypeLibrary)
      shown.builtIn = true;
    else if (w[i] == "no-name" && shown.type == host::kReferenceTypeLibrary)
      shown.nameRefused = true;
    else
      throw ScriptError{std::string("usage: ") + usage};
  }
  project->ReferenceList()->Append(shown);
}

void Runner::LockProject(const std::vector<std::string>& w) {
  Need(w, 2, "lock-project <project>");
  ProjectNamed(w[1])->protection = host::kProjectLocked;
  Tell(w[1] + " is locked for viewing");
}

std::shared_ptr<host::sim::SimComponent> Runner::Component(const std::string& name) const {
  for (const auto& project : host_.editor->Projects())
    if (auto component = project->Component(FromUtf8(name))) return component;
  throw ScriptError{"there is no component " + name};
}

std::shared_ptr<host::sim::SimProject> Runner::ProjectNamed(const std::string& name) const {
  for (const auto& project : host_.editor->Projects())
    if (project->NameShown() == FromUtf8(name)) return project;
  throw ScriptError{"there is no project " + name};
}

void Runner::Select(const std::vector<std::string>& w) {
  Need(w, 6, "select <component> <start line> <start column> <end line> <end column>");
  const auto component = Component(w[1]);
  host_.editor->SelectComponent(component);
  component->ShowCode();
  component->Pane()->selection = {Whole(w[2]), Whole(w[3]), Whole(w[4]), Whole(w[5])};
}

void Runner::Caret(const std::vector<std::string>& w) {
  Need(w, 3, "caret <component> <line>");
  Select({w[0], w[1], w[2], "1", w[2], "1"});
}

void Runner::Designer(const std::vector<std::string>& w) {
  Need(w, 2, "designer <component>");
  const auto component = Component(w[1]);
  if (!component->DesignerWindow()) throw ScriptError{w[1] + " has no designer"};
  host_.editor->SelectComponent(component);
  host_.editor->ActivateWindow(component->DesignerWindow(), nullptr);
}

void Runner::SaveAs(const std::vector<std::string>& w) {
  Need(w, 3, "save-as <project> <file>");
  ProjectNamed(w[1])->SetFileName(FromUtf8(w[2]));
}

void Runner::CloseProject(const std::vector<std::string>& w) {
  Need(w, 2, "close-project <project>");
  host_.editor->CloseProject(ProjectNamed(w[1]));
}

void Runner::RemoveComponent(const std::vector<std::string>& w) {
  Need(w, 2, "remove-component <component>");
  for (const auto& project : host_.editor->Projects())
    if (project->Component(FromUtf8(w[1]))) return project->RemoveComponent(FromUtf8(w[1]));
  throw ScriptError{"there is no component " + w[1]};
}

void Runner::InsertLines(const std::vector<std::string>& w) {
  Need(w, 4, "insert-lines <component> <line> <text>");
  auto& code = Component(w[1])->Code();
  const auto at =
      std::min<std::size_t>(static_cast<std::size_t>(std::max(1L, Number(w[2])) - 1), code.size());
  std::vector<Text> lines;
  std::istringstream text(w[3]);
  for (std::string line; std::getline(text, line);) lines.push_back(FromUtf8(line));
  code.insert(code.begin() + static_cast<std::ptrdiff_t>(at), lines.begin(), lines.end());
}

void Runner::ActivatesShown(const std::vector<std::string>& w) {
  Need(w, 2, "editor-activates-shown-panes true|false");
  host_.editor->showActivatesPane = Flag(w[1]);
}

void Runner::ControlArgumentWrapping(const std::vector<std::string>& w) {
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

void Runner::SoundFiles(const std::vector<std::string>& w) {
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
    static const unsigned char wave[] = {'R', 'I', 'F',  'F',  116, 0,   0,    0,    'W', 'A', 'V',
                                         'E', 'f', 'm',  't',  ' ', 16,  0,    0,    0,   1,   0,
                                         1,   0,   0x40, 0x1F, 0,   0,   0x40, 0x1F, 0,   0,   1,
                                         0,   8,   0,    'd',  'a', 't', 'a',  80,   0,   0,   0};
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

void Runner::Register(const std::vector<std::string>& w) {
  Need(w, 2, "register <dll>");
  const auto path = DllPath(w[1]);
  const auto code = RunRegsvr32(path, false);
  if (code == 0) MirrorUserClasses(path);
  last_ = {code == 0 ? S_OK : E_FAIL, {}};
  Tell("regsvr32 " + w[1] + ": exit code " + std::to_string(code));
}

void Runner::Installed(const std::vector<std::string>& w) {
  Need(w, 3, "installed <ProgID> <dll path>");
  const auto wide = std::wstring(host::win::Wide(FromUtf8(w[2])));
  std::vector<wchar_t> path(ExpandEnvironmentStringsW(wide.c_str(), nullptr, 0) + 1);
  ExpandEnvironmentStringsW(wide.c_str(), path.data(), static_cast<DWORD>(path.size()));
  const Text dll = host::win::FromWide(path.data());
  MirrorInstalledClass(FromUtf8(w[1]), dll);
  Tell(w[1] + " is served by " + ToUtf8(dll));
}

void Runner::Unregister(const std::vector<std::string>& w) {
  Need(w, 2, "unregister <dll>");
  const auto path = DllPath(w[1]);
  const auto code = RunRegsvr32(path, true);
  RemoveClassMirror(path);
  last_ = {code == 0 ? S_OK : E_FAIL, {}};
  Tell("regsvr32 /u " + w[1] + ": exit code " + std::to_string(code));
}

void Runner::Connect(const std::vector<std::string>& w) {
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

void Runner::ConnectOther(const std::vector<std::string>& w) {
  Need(w, 2, "connect-other <ProgID>");
  Report(addins_.Connect(FromUtf8(w[1]), MakeOtherApplication().Get()),
         "connection of " + w[1] + " to an application that is not the editor");
}

void Runner::Disconnect(const std::vector<std::string>& w) {
  Need(w, 2, "disconnect <ProgID>");
  Report(addins_.Disconnect(FromUtf8(w[1])), "disconnection of " + w[1]);
}

void Runner::Release(const std::vector<std::string>& w) {
  Need(w, 2, "release <ProgID>");
  addins_.Release(FromUtf8(w[1]));
  Tell("the editor let go of " + w[1]);
}

void Runner::FailOn(const std::vector<std::string>& w) {
  Need(w, 2, "fail <Object.Operation> [occurrence | from <occurrence>]");
  // "from k": refused from its k-th call on, as a protected module or a closed workbook refuses.
  if (w.size() > 3 && w[2] == "from") {
    host_.calls->FailOn(w[1], static_cast<int>(Number(w[3])), 1 << 30);
    Tell("the editor will fail " + w[1] + " from call " + w[3] + " on");
    return;
  }
  host_.calls->FailOn(w[1], w.size() > 2 ? static_cast<int>(Number(w[2])) : 0);
  Tell("the editor will fail " + w[1] +
       (w.size() > 2 ? " on call " + w[2] : std::string(" on every call")));
}

void Runner::Click(const std::vector<std::string>& w) {
  static const char usage[] = "click <bar> <index> [picture <name>]";
  Need(w, 3, usage);
  if (w.size() > 3 && (w.size() != 5 || w[3] != "picture"))
    throw ScriptError{std::string("usage: ") + usage};
  Press(Control(w[1], w[2]), w.size() > 3 ? std::wstring(host::win::Wide(FromUtf8(w[4]))) : L"");
}

void Runner::ShiftClick(const std::vector<std::string>& w) {
  Need(w, 3, "shift-click <bar> <index>");
  const auto control = Control(w[1], w[2]);
  ShiftHeld shift;
  Press(control);
}

void Runner::Press(const std::shared_ptr<host::sim::SimControl>& control,
                   const std::wstring& picture) {
  const Text caption = control->CaptionShown();
  TakeRaisedCount();
  TakePlayedSounds();
  MessageBoxWatch watch(picture);
  try {
    const auto outcome = control->Click();
    last_ = {S_OK, {}};
    Tell("clicked " + Quoted(caption) + "; handled " + (outcome.handled ? "true" : "false") +
         ", CancelDefault " + (outcome.cancelDefault ? "true" : "false"));
  } catch (const host::HostError& error) {
    last_ = {static_cast<HRESULT>(error.Code()), error.Description()};
    Tell("the click handler failed with " + Hex(error.Code()) + " " + Quoted(error.Description()));
  }
  sinksReached_ = TakeRaisedCount();
  Tell("the click reached " + std::to_string(sinksReached_) + " event sink(s)");
  if (control->Exists())
    Tell("the button now reads " + Quoted(control->CaptionShown()) +
         (control->StateShown() == host::kStateDown ? ", drawn pressed" : ", drawn up"));
  Observe(watch);
}

void Runner::Observe(const MessageBoxWatch& watch) {
  messages_ = watch.Seen();
  for (const auto& box : messages_)
    Tell("message box " + Quoted(box.title) + (box.okOnly ? ", OK only" : ", not OK only") +
         (box.icon ? ", with an icon" : ", no icon") + ": " + Quoted(box.text));
  sounds_ = TakePlayedSounds();
  for (const auto& sound : sounds_) Tell("sound: " + sound);
}

void Runner::FocusWindow(const std::vector<std::string>& w) {
  Need(w, 2, "focus editor|code|tool|host|dialog");
  const HWND window = keyboard_.Named(w[1]);
  if (!window) throw ScriptError{"there is no window " + w[1]};
  if (!keyboard_.Focus(window)) throw ScriptError{"the " + w[1] + " window did not take the focus"};
  const auto& editor = host_.editor;
  if (w[1] == "tool") {
    if (!beforeTool_) beforeTool_ = editor->ActiveWindowShown();
    constexpr std::int32_t kImmediateWindow = 5;
    editor->ActivateWindow(std::make_shared<host::sim::SimWindow>(host_.calls, kImmediateWindow),
                           editor->ActivePane());
  } else if (beforeTool_) {
    editor->ActivateWindow(std::exchange(beforeTool_, nullptr), editor->ActivePane());
  }
  Tell("the keyboard focus is in the " + w[1] + " window");
}

void Runner::Modal(const std::vector<std::string>& w) {
  Need(w, 2, "modal open|close");
  if (w[1] == "open") {
    keyboard_.OpenDialog();
    Tell("a modal dialog is open over the editor, which it disabled; the focus is in it");
  } else if (w[1] == "close") {
    keyboard_.CloseDialog();
    Tell("the modal dialog is closed; the focus is back in the code window");
  } else {
    throw ScriptError{"usage: modal open|close"};
  }
}

void Runner::Type(const std::vector<std::string>& w) {
  Need(w, 2, "type <key>...");
  received_.clear();
  TakePlayedSounds();
  MessageBoxWatch watch;
  for (std::size_t i = 1; i < w.size(); ++i) TypeKey(w[i]);
  if (received_.empty()) Tell("no window received a key");
  for (const auto& [window, keys] : received_) Tell("the " + window + " window received " + keys);
  Observe(watch);
}

void Runner::TypeKey(const std::string& key) {
  bool ctrl = false, shift = false, alt = false;
  std::string rest = key;
  int downs = 1;
  if (const auto star = rest.find('*'); star != std::string::npos) {
    downs = static_cast<int>(Number(rest.substr(star + 1)));
    rest.resize(star);
    if (downs < 1) throw ScriptError{"a key is pressed at least once: " + key};
  }
  for (auto plus = rest.find('+'); plus != std::string::npos && plus + 1 < rest.size();
       plus = rest.find('+')) {
    const std::string modifier = rest.substr(0, plus);
    if (modifier == "Ctrl")
      ctrl = true;
    else if (modifier == "Shift")
      shift = true;
    else if (modifier == "Alt")
      alt = true;
    else
      throw ScriptError{"not a modifier: " + modifier + " in " + key};
    rest.erase(0, plus + 1);
  }
  const WORD virtualKey = VirtualKeyNamed(rest);
  if (virtualKey == 0) throw ScriptError{"not a key: " + key};
  if (!keyboard_.Type(virtualKey, ctrl, shift, alt, downs))
    throw ScriptError{"the keystrokes of " + key + " did not all arrive"};
  for (const auto& [window, keys] : keyboard_.TakeReceived()) {
    auto& all = received_[window];
    if (!all.empty()) all += ' ';
    all += keys;
  }
}

void Runner::SoakKeys(const std::vector<std::string>& w) {
  Need(w, 2, "soak-keys <shortcuts>");
  const long shortcuts = Number(w[1]);
  const auto module = Component("Soak");
  // Set, follow and set again a bookmark; capture, paste and capture again a buffer; clear.
  const char* const round[] = {"Ctrl+1", "Ctrl+1",       "Ctrl+Shift+1", "Ctrl+6",
                               "Ctrl+6", "Ctrl+Shift+6", "Ctrl+1",       "Ctrl+6"};
  const auto type = [&](long count) {
    for (long i = 0; i < count; ++i) {
      module->Pane()->selection = {2, 5, 2, 10};
      TypeKey(round[i % std::size(round)]);
      host_.calls->ClearLog();
      TakePlayedSounds();
    }
    received_.clear();
  };
  type(std::size(round));  // the first round warms everything up
  const Usage before = Measure();
  type(shortcuts);
  soakBefore_ = before;
  soakAfter_ = Measure();
  Tell(std::to_string(shortcuts) + " shortcuts typed. " + std::to_string(before.objects) +
       " sandbox objects, lowest free handle " + std::to_string(before.slot) + ", " +
       std::to_string(before.bytes / 1024) + " KB in use before; " +
       std::to_string(soakAfter_.objects) + ", " + std::to_string(soakAfter_.slot) + ", " +
       std::to_string(soakAfter_.bytes / 1024) + " KB after.");
}

void Runner::UserPlace(const std::vector<std::string>& w) {
  Need(w, 2, "user-place <bar> [pos N] [row N] [left N] [top N] [width N] [height N] [visible B]");
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

void Runner::UserDeleteBar(const std::vector<std::string>& w) {
  Need(w, 2, "user-delete-bar <bar>");
  Bar(w[1])->Remove();
  Tell("the user deleted bar " + w[1]);
}

void Runner::ChooseReferences(const std::vector<std::string>& w) {
  static const char usage[] =
      "usage: choose-references [without-dialog|mirrored] [larger] [german|pseudo] "
      "[other-structure] [other-project] [without-owner] [resize <width> <height>] "
      "[disconnect|disconnect-from-dialog <ProgID>] [picture <name>]";
  bool withDialog = true;
  bool withoutOwner = false;
  DialogPlan plan;
  for (std::size_t i = 1; i < w.size(); ++i) {
    if (w[i] == "without-dialog") {
      withDialog = false;
    } else if (w[i] == "mirrored") {
      plan.mirrored = true;
    } else if (w[i] == "larger") {
      plan.larger = true;
    } else if (w[i] == "german" || w[i] == "pseudo") {
      plan.language = w[i] == "german" ? DialogLanguage::German : DialogLanguage::Pseudo;
    } else if (w[i] == "other-structure") {
      plan.withoutHelp = true;
    } else if (w[i] == "other-project") {
      plan.titleProject = L"AnotherProject";
    } else if (w[i] == "without-owner") {
      withoutOwner = true;
    } else if (w[i] == "resize" && i + 2 < w.size()) {
      plan.resize = SIZE{static_cast<LONG>(Number(w[i + 1])), static_cast<LONG>(Number(w[i + 2]))};
      i += 2;
    } else if (w[i] == "picture" && i + 1 < w.size()) {
      plan.closingPicture = std::wstring(host::win::Wide(FromUtf8(w[++i])));
    } else if ((w[i] == "disconnect" || w[i] == "disconnect-from-dialog") && i + 1 < w.size()) {
      plan.fromDialog = w[i] == "disconnect-from-dialog";
      // Office going away while the dialog is open: the add-in is disconnected, let go of and
      // unloaded if it can be, and the dialog must go on working.
      plan.whileOpen = [this, progId = FromUtf8(w[++i])] {
        Report(addins_.Disconnect(progId),
               "disconnection of " + ToUtf8(progId) + " while the dialog is open");
        addins_.Release(progId);
        CoFreeUnusedLibraries();
        Tell("the editor let go of " + ToUtf8(progId) + " and freed unused libraries");
      };
    } else {
      throw ScriptError{usage};
    }
  }
  const auto command = ReferencesCommand();
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
  // Over the editor's main window, as the editor shows it.
  if (!withoutOwner) plan.owner = keyboard_.EditorMainWindow();
  dialog_ = OpenReferencesDialog(plan);
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

std::shared_ptr<host::sim::SimControl> Runner::ReferencesCommand() const {
  for (const auto& control : Bar("Tools")->ControlList())
    if (control->Id() == kReferencesCommand) return control;
  throw ScriptError{"the Tools menu has no References command"};
}

DialogReport Runner::OpenReferencesDialog(const DialogPlan& plan) {
  const auto project =
      host::Ignore([&] { return host_.editor->ActiveVBProject()->Name(); }).value_or(Text());
  return ShowReferencesDialog(project, 1500, plan);
}

void Runner::KeepDialog(const std::vector<std::string>& w) {
  Need(w, 1, "keep-dialog");
  keptDialog_ = dialog_;
}

void Runner::Pictures(const std::vector<std::string>& w) {
  Need(w, 2, "pictures <folder>");
  PictureFolder() = std::wstring(host::win::Wide(FromUtf8(w[1])));
  CreateDirectoryW(PictureFolder().c_str(), nullptr);
}

void Runner::PictureToolbars(const std::vector<std::string>& w) {
  Need(w, 2, "picture-toolbars <name> [hovering <bar> <index>]");
  std::shared_ptr<host::sim::SimControl> hovered;
  if (w.size() > 2) {
    Need(w, 5, "picture-toolbars <name> [hovering <bar> <index>]");
    if (w[2] != "hovering")
      throw ScriptError{"usage: picture-toolbars <name> [hovering <bar> <index>]"};
    hovered = Control(w[3], w[4]);
  }
  SaveToolbarsPicture(host_.editor->Bars(), std::wstring(host::win::Wide(FromUtf8(w[1]))),
                      hovered.get());
}

Runner::Usage Runner::Measure() {
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

void Runner::Soak(const std::vector<std::string>& w) {
  Need(w, 2, "soak <cycles> [references]");
  const long cycles = Number(w[1]);
  // With the References dialog opened, laid out, sized and closed in every cycle.
  const bool references = w.size() > 2 && w[2] == "references";
  if (w.size() > 2 && !references) throw ScriptError{"usage: soak <cycles> [references]"};
  DialogPlan sized;
  sized.resize = SIZE{1000, 700};
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
    ReferencesCommand()->Click();  // a watch starts; the disconnection ends it
    if (references) dialog_ = OpenReferencesDialog(sized);
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
       std::to_string(soakAfter_.slot) + ", " + std::to_string(soakAfter_.bytes / 1024) + " KB. " +
       std::to_string(LiveTimers()) + " add-in timer(s) running.");
}

void Runner::RegistrySnapshot(const std::vector<std::string>& w) {
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

std::string Runner::DumpKey(const Text& path) {
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

void Runner::SettingNumber(const std::vector<std::string>& w) {
  Need(w, 5, "setting-number <application> <section> <key> <number>");
  const DWORD value = static_cast<DWORD>(Number(w[4]));
  StoreSetting(w, REG_DWORD, &value, sizeof value);
}

void Runner::DisplayDpi(const std::vector<std::string>& w) {
  Need(w, 2, "display-dpi <dpi>|default");
  host::win::UniqueHkey hkey;
  RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, nullptr, 0, KEY_SET_VALUE,
                  nullptr, hkey.Put(), nullptr);
  if (w[1] == "default") {
    RegDeleteValueW(hkey.Get(), L"LogPixels");
  } else {
    const DWORD dpi = static_cast<DWORD>(Number(w[1]));
    RegSetValueExW(hkey.Get(), L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi),
                   sizeof dpi);
  }
  Tell("programs started from now on see a display of " + w[1] + " DPI");
}

void Runner::DpiAware(const std::vector<std::string>& w) {
  Need(w, 1, "dpi-aware");
  // As Office is: per-monitor aware, version 2 where the system has it (Windows 10 1703 and
  // later), else version 1.
  using Set = BOOL(WINAPI*)(DPI_AWARENESS_CONTEXT);
  using Current = DPI_AWARENESS_CONTEXT(WINAPI*)();
  using Awareness = DPI_AWARENESS(WINAPI*)(DPI_AWARENESS_CONTEXT);
  const HMODULE user32 = GetModuleHandleW(L"user32.dll");
  const auto set = reinterpret_cast<Set>(
      reinterpret_cast<void*>(GetProcAddress(user32, "SetProcessDpiAwarenessContext")));
  const auto current = reinterpret_cast<Current>(
      reinterpret_cast<void*>(GetProcAddress(user32, "GetThreadDpiAwarenessContext")));
  const auto awareness = reinterpret_cast<Awareness>(
      reinterpret_cast<void*>(GetProcAddress(user32, "GetAwarenessFromDpiAwarenessContext")));
  if (set && !set(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2))
    set(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE);
  const bool aware =
      current && awareness && awareness(current()) == DPI_AWARENESS_PER_MONITOR_AWARE;
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(nullptr, screen);
  Check(aware,
        "the sandbox is per-monitor DPI aware, on a display of " + std::to_string(dpi) + " DPI",
        "another awareness");
}

void Runner::RunProgram(const std::vector<std::string>& w) {
  Need(w, 3, "run-program <program> <script>");
  const Text program = DllPath(w[1]);
  const std::string script = scriptFolder_ + "/" + w[2];
  Tell(w[1] + " runs " + w[2] + ":");
  out_.flush();
  const auto code = RunToEnd(u"\"" + program + u"\" \"" + FromUtf8(script) + u"\"");
  Check(code == 0, w[1] + " ran " + w[2] + " to its end with every expectation met",
        "exit code " + std::to_string(code));
}

void Runner::Wait(const std::vector<std::string>& w) {
  Need(w, 2, "wait <milliseconds>");
  PumpMessages(static_cast<unsigned>(Number(w[1])));
  Tell("waited " + w[1] + " ms; " + std::to_string(LiveTimers()) + " add-in timer(s) running");
}

}  // namespace sandbox::script
