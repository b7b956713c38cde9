#pragma once
// Connect: the add-in class. At connection it keeps the editor and subscribes to the Click of the
// editor's References command (control 942); each click starts the dialog watch. Right after that
// command it adds Repair Missing References.

#include <memory>

#include "host/command_bars.h"
#include "host/editor.h"
#include "lathmore/main_module.h"
#include "lathmore/repair_command.h"

namespace lathmore {

inline constexpr std::int32_t kReferencesCommand = 942;

class Connect {
 public:
  Connect(MMain& main, RepairCommand& repair) : main_(main), repair_(repair) {}

  // Nothing trapped while hooking the command: a failure goes back to the host, and nothing is
  // hooked by it. A refused call while adding the repair command leaves that command out only.
  void AddinInstance_OnConnection(const std::shared_ptr<host::Application>& application);
  // Ends a running watch, lets go of a dialog being sized, unsubscribes from the References
  // command and drops every editor object, so no tick, hook or click outlives the connection.
  void AddinInstance_OnDisconnection();
  // Starts the watch and lets the editor carry out its command as usual.
  void btnToolsRefs_Click(const std::shared_ptr<host::CommandBarButton>& ctrl, bool& cancelDefault);

  // The References command, or null where the editor has none.
  std::shared_ptr<host::CommandBarButton> btnToolsRefs;

 private:
  MMain& main_;
  RepairCommand& repair_;
  std::unique_ptr<host::EventConnection> click_;
};

}  // namespace lathmore
