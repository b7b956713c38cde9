// Running a scenario script: reading its lines, telling the transcript, dispatching each command.
#include "addins_version.h"
#include "host/sim/fidelity.h"
#include "sandbox/scenario_runner.h"

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

}  // namespace sandbox

namespace sandbox::script {

ScenarioResult Runner::Run(std::istream& script) {
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
      Fail("the sandbox itself failed: " + ToUtf8(error.Description()) + " (" +
           Hex(static_cast<long>(error.Code())) + ")");
    }
    for (const auto& note : host::sim::TakeInfidelities()) Fail("the editor " + note);
  }
  out_ << "\n" << result_.passed << " passed, " << result_.failed << " failed\n";
  return result_;
}

std::string Runner::Expanded(std::string line) const {
  const std::pair<std::string, std::string> variables[] = {
      {"${ADDINS}", ToUtf8(kEditorAddinsKey)},
      {"${BIN}", ToUtf8(host::win::FromWide(directory_))},
      {"${ARCH}", sizeof(void*) == 8 ? "x64" : "x86"},
      {"${BITS}", sizeof(void*) == 8 ? "64" : "32"},
      {"${OTHER_BITS}", sizeof(void*) == 8 ? "32" : "64"},
      {"${VERSION}", ADDINS_VERSION_TEXT}};
  for (const auto& [name, value] : variables)
    for (auto at = line.find(name); at != std::string::npos;
         at = line.find(name, at + value.size()))
      line.replace(at, name.size(), value);
  return line;
}

void Runner::Pass(const std::string& what) {
  ++result_.passed;
  out_ << "  ok: " << what << "\n";
}

void Runner::Fail(const std::string& what) {
  ++result_.failed;
  out_ << "  FAILED: " << what << "\n";
}

void Runner::Check(bool good, const std::string& what, const std::string& seen) {
  good ? Pass(what) : Fail(what + " (the sandbox saw " + seen + ")");
}

void Runner::Need(const std::vector<std::string>& w, std::size_t count, const char* usage) {
  if (w.size() < count) throw ScriptError{std::string("usage: ") + usage};
}

long Runner::Number(const std::string& word) {
  try {
    std::size_t used = 0;
    const long value = std::stol(word, &used);
    if (used == word.size()) return value;
  } catch (const std::exception&) {
  }
  throw ScriptError{"not a number: " + word};
}

bool Runner::Flag(const std::string& word) {
  if (word == "true") return true;
  if (word == "false") return false;
  throw ScriptError{"not true or false: " + word};
}

Text Runner::DllPath(const std::string& name) const {
  return host::win::FromWide(directory_) + u"\\" + FromUtf8(name);
}

std::shared_ptr<host::sim::SimCommandBar> Runner::Bar(const std::string& name) const {
  auto bar = host_.Bar(FromUtf8(name));
  if (!bar) throw ScriptError{"there is no bar " + name};
  return bar;
}

std::shared_ptr<host::sim::SimControl> Runner::Control(const std::string& bar,
                                                       const std::string& index) const {
  auto control = Bar(bar)->Control(static_cast<std::int32_t>(Number(index)));
  if (!control) throw ScriptError{"bar " + bar + " has no control " + index};
  return control;
}

void Runner::Report(const Outcome& outcome, const std::string& action) {
  last_ = outcome;
  if (SUCCEEDED(outcome.hr))
    Tell(action + ": done");
  else
    Tell(action + ": failed with " + Hex(outcome.hr) + " " + Quoted(outcome.description));
}

void Runner::Execute(const std::vector<std::string>& w) {
  const std::string& command = w[0];
  static const std::map<std::string, void (Runner::*)(const std::vector<std::string>&)> commands = {
      {"version", &Runner::Version},
      {"windir", &Runner::Windir},
      {"forget-settings", &Runner::ForgetSettings},
      {"project", &Runner::Project},
      {"module", &Runner::Module},
      {"userform", &Runner::UserForm},
      {"setting", &Runner::Setting},
      {"type-library", &Runner::TypeLibrary},
      {"forget-type-libraries", &Runner::ForgetTypeLibraryRegistrations},
      {"reference", &Runner::Reference},
      {"lock-project", &Runner::LockProject},
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
      {"focus", &Runner::FocusWindow},
      {"modal", &Runner::Modal},
      {"type", &Runner::Type},
      {"soak-keys", &Runner::SoakKeys},
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
      {"keep-dialog", &Runner::KeepDialog},
      {"wait", &Runner::Wait},
      {"pictures", &Runner::Pictures},
      {"soak", &Runner::Soak},
      {"registry-snapshot", &Runner::RegistrySnapshot},
      {"setting-number", &Runner::SettingNumber},
      {"run-program", &Runner::RunProgram},
      {"display-dpi", &Runner::DisplayDpi},
      {"dpi-aware", &Runner::DpiAware},
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

}  // namespace sandbox::script

namespace sandbox {

ScenarioResult RunScenario(std::istream& script, const std::wstring& directory,
                           const std::string& scriptFolder, std::ostream& transcript) {
  const auto result = script::Runner(directory, scriptFolder, transcript).Run(script);
  // What this run mirrored goes with it, so that no later run activates a class it did not see
  // registered.
  RemoveAllClassMirrors();
  return result;
}

}  // namespace sandbox
