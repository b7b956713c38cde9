#include "host/sim/builder.h"

#include <stdexcept>

#include "host/sim/code_text.h"

namespace host::sim {

std::shared_ptr<SimCommandBar> SimHost::Bar(const Text& name) const {
  return editor->Bars()->Find(name);
}

std::shared_ptr<SimControl> SimHost::Control(const Text& bar, std::int32_t index) const {
  const auto found = Bar(bar);
  return found ? found->Control(index) : nullptr;
}

SimHostBuilder::SimHostBuilder() {
  host_.calls = std::make_shared<HostCalls>();
  host_.editor = std::make_shared<SimEditor>(host_.calls, u"7.01");
  host_.settings = std::make_shared<SimSettings>(host_.calls);
  host_.environment = std::make_shared<SimEnvironment>(host_.calls);
  host_.environment->Set(u"windir", u"C:\\Windows");
  host_.sound = std::make_shared<SimSound>(host_.calls);
  host_.keyboard = std::make_shared<SimKeyboard>(host_.calls);
  host_.messages = std::make_shared<SimMessageBoxes>(host_.calls);
}

SimHostBuilder& SimHostBuilder::SoundFile(const Text& path) {
  host_.sound->AddFile(path);
  return *this;
}

SimHostBuilder& SimHostBuilder::Version(const Text& version) {
  host_.editor->SetVersion(version);
  return *this;
}

SimHostBuilder& SimHostBuilder::Env(const Text& name, const Text& value) {
  host_.environment->Set(name, value);
  return *this;
}

SimHostBuilder& SimHostBuilder::NoEnv(const Text& name) {
  host_.environment->Unset(name);
  return *this;
}

SimHostBuilder& SimHostBuilder::Program(const Text& path) {
  host_.environment->SetProgramPath(path);
  return *this;
}

SimHostBuilder& SimHostBuilder::Setting(const Text& application, const Text& section,
                                        const Text& key, const Text& value) {
  host_.settings->Store(application, section, key, value);
  return *this;
}

SimHostBuilder& SimHostBuilder::Project(const Text& name, std::optional<Text> fileName) {
  project_ = host_.editor->AddProject(name, std::move(fileName));
  return *this;
}

SimHostBuilder& SimHostBuilder::Component(const Text& name, ComponentType type, const Text& code) {
  if (!project_) throw std::logic_error("SimHostBuilder: a component needs a project first");
  // A final line feed ends the last line, as in a file; it does not start another.
  std::vector<Text> lines;
  if (!code.empty())
    lines = SplitLines(code.back() == u'\n' ? code.substr(0, code.size() - 1) : code);
  const auto component = project_->AddComponent(name, type, std::move(lines));
  // The component added last is the one selected and shown, as after the user opened it.
  host_.editor->SelectComponent(component);
  component->ShowCode();
  return *this;
}

SimHostBuilder& SimHostBuilder::Module(const Text& name, const Text& code) {
  return Component(name, ComponentType::StdModule, code);
}

SimHostBuilder& SimHostBuilder::UserForm(const Text& name, const Text& code) {
  return Component(name, ComponentType::UserForm, code);
}

SimHostBuilder& SimHostBuilder::ExistingBar(const Text& name) {
  bar_ = host_.editor->Bars()->AddBar(name, false);
  bar_->Place().visible = true;
  return *this;
}

SimHostBuilder& SimHostBuilder::ExistingButton(std::int32_t id, const Text& caption) {
  if (!bar_) throw std::logic_error("SimHostBuilder: a button needs a bar first");
  bar_->AppendControl(kControlButton, id)->SetShown(caption, {}, kStateUp);
  return *this;
}

}  // namespace host::sim
