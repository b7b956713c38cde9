#pragma once
// dsrQuillon: the add-in's connection and disconnection, and the add-in-wide state they set up.

#include <memory>

#include "host/editor.h"
#include "quillon/addin_state.h"
#include "quillon/button_actions.h"
#include "quillon/platform.h"
#include "quillon/shortcut_keys.h"

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

  // Keeps the editor and its version, reads the keys, makes a fresh sink, builds both bars,
  // notes the Windows drive, hooks the keys. Nothing is trapped: a failure ends the connection
  // there and travels to the host.
  void AddinInstance_OnConnection(const std::shared_ptr<host::Application>& application);
  // Lets go of the keys, saves each bar's place and removes it, bookmarks bar first, then drops
  // the click sink and every editor object the connection kept. Cannot fail.
  void AddinInstance_OnDisconnection();

  void BuildBMToolbar();
  void BuildCPToolbar();
  void RemoveBMToolbar();
  void RemoveCPToolbar();

  AddinState& State() { return state_; }
  const AddinState& State() const { return state_; }
  const std::shared_ptr<ButtonActions>& Actions() const { return actions_; }
  const ShortcutKeys& Keys() const { return keys_; }

 private:
  // The rest of a connection once the keys are hooked: the sink, both bars, windir, the saved
  // bookmarks.
  void ConnectBars();

  Platform platform_;
  AddinState state_;
  std::shared_ptr<ButtonActions> actions_;
  // Last: it goes first, so no keystroke reaches the add-in once it is being taken apart.
  ShortcutKeys keys_;
};

}  // namespace quillon
