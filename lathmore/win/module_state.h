#pragma once
// Lathmore's module-level state in this loaded DLL: MMain over user32, the local clock and the
// registry settings, and Repair Missing References over the system's message boxes and the
// registry's type libraries, for this DLL's bitness; held by its add-in objects through
// host::win::AcquireModuleState. When it goes, so do any watch, any hook on a dialog and the
// binding to the repair button's click, before the DLL can be unloaded.

#include <memory>

#include "host/platform.h"
#include "host/type_libraries.h"
#include "lathmore/main_module.h"
#include "lathmore/repair_command.h"

namespace lathmore::win {

struct ModuleState {
  ModuleState();
  MMain main;
  std::shared_ptr<host::MessageBoxes> messages;
  std::shared_ptr<host::TypeLibraries> libraries;
  // Declared after what it uses, so it goes first.
  RepairCommand repair;
};

}  // namespace lathmore::win
