#pragma once
// A simulated host in a few lines: the editor, the settings store and the environment, built
// fluently for a test or a demo.
//
//   auto host = SimHostBuilder().Version(u"6.00")
//                   .Project(u"VBAProject", u"C:\\Work\\Book1.xlsm")
//                   .Module(u"Module1", u"Sub Main()\nEnd Sub")
//                   .Build();

#include <memory>
#include <optional>

#include "host/sim/command_bars.h"
#include "host/sim/editor.h"
#include "host/sim/host_calls.h"
#include "host/sim/platform.h"
#include "host/sim/settings.h"

namespace host::sim {

struct SimHost {
  std::shared_ptr<HostCalls> calls;
  std::shared_ptr<SimEditor> editor;
  std::shared_ptr<SimSettings> settings;
  std::shared_ptr<SimEnvironment> environment;
  std::shared_ptr<SimSound> sound;
  std::shared_ptr<SimKeyboard> keyboard;
  std::shared_ptr<SimMessageBoxes> messages;

  // The bar of that name, or null.
  std::shared_ptr<SimCommandBar> Bar(const Text& name) const;
  // Control `index` (1-based) of the named bar, or null.
  std::shared_ptr<SimControl> Control(const Text& bar, std::int32_t index) const;
};

class SimHostBuilder {
 public:
  // Version "7.01", windir "C:\Windows", the program EXCEL.EXE; nothing open, stored or on disk.
  SimHostBuilder();

  SimHostBuilder& Version(const Text& version);
  SimHostBuilder& Env(const Text& name, const Text& value);
  SimHostBuilder& NoEnv(const Text& name);
  // The running program, EXCEL.EXE unless given.
  SimHostBuilder& Program(const Text& path);
  SimHostBuilder& SoundFile(const Text& path);
  SimHostBuilder& Setting(const Text& application, const Text& section, const Text& key,
                          const Text& value);
  // Opens a project; nullopt for a document never saved. Components that follow go into it.
  SimHostBuilder& Project(const Text& name, std::optional<Text> fileName);
  SimHostBuilder& Module(const Text& name, const Text& code = {});
  SimHostBuilder& UserForm(const Text& name, const Text& code = {});
  // A bar the editor already has; controls that follow go onto it.
  SimHostBuilder& ExistingBar(const Text& name);
  SimHostBuilder& ExistingButton(std::int32_t id, const Text& caption);

  SimHost Build() const { return host_; }

 private:
  SimHostBuilder& Component(const Text& name, ComponentType type, const Text& code);
  SimHost host_;
  std::shared_ptr<SimProject> project_;
  std::shared_ptr<SimCommandBar> bar_;
};

}  // namespace host::sim
