#pragma once
// Lathmore's module-level state in this loaded DLL: MMain over user32, the local clock and the
// registry settings, held by its add-in objects through host::win::AcquireModuleState. When it
// goes, so do any watch and any hook on a dialog, before the DLL can be unloaded.

#include "lathmore/main_module.h"

namespace lathmore::win {

struct ModuleState {
  ModuleState();
  MMain main;
};

}  // namespace lathmore::win
