#pragma once
// dsrQuillon: the add-in's connection and disconnection, and the add-in-wide state they set up.

#include <memory>

#include "host/editor.h"
#include "quillon/addin_state.h"
#include "quillon/button_actions.h"
#include "quillon/platform.h"

namespace quillon {

class EntryPoints;

class dsrQuillon {
 public:
  // With the bookmark and copy-buffer actions behind the buttons.
  explicit dsrQuillon(Platform platform);
  // With other actions behind the buttons.
  dsrQuillon(Platform platform, std::shared_ptr<ButtonActions> actions);
  dsrQuillon(const dsrQuillon&) = delete;
  dsrQuillon& operator=(const dsrQuillon&) = delete;

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
  const std::shared_ptr<ButtonActions>& Actions() const { return actions_; }

 private:
  Platform platform_;
  std::shared_ptr<ButtonActions> actions_;
  AddinState state_;
};

}  // namespace quillon
