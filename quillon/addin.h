#pragma once
// dsrQuillon: the add-in's connection and disconnection, and the add-in-wide state they set up.

#include <memory>

#include "host/editor.h"
#include "host/environment.h"
#include "host/settings.h"
#include "quillon/addin_state.h"
#include "quillon/button_actions.h"

namespace quillon {

// The services of the machine the add-in runs on, other than the editor itself.
struct Platform {
  std::shared_ptr<host::SettingsStore> settings;
  std::shared_ptr<host::Environment> environment;
};

class dsrQuillon {
 public:
  dsrQuillon(Platform platform, std::shared_ptr<ButtonActions> actions);

  // Keeps the editor and its version, makes a fresh sink, builds both bars, notes the Windows
  // drive. Nothing is trapped: a failure ends the connection there and travels to the host.
  void AddinInstance_OnConnection(const std::shared_ptr<host::Application>& application);
  // Saves each bar's place and removes it, bookmarks bar first. Cannot fail.
  void AddinInstance_OnDisconnection();

  void BuildBMToolbar();
  void BuildCPToolbar();
  void RemoveBMToolbar();
  void RemoveCPToolbar();

  AddinState& State() { return state_; }
  const AddinState& State() const { return state_; }

 private:
  Platform platform_;
  std::shared_ptr<ButtonActions> actions_;
  AddinState state_;
};

}  // namespace quillon
