#pragma once
// Lathmore's module-level state in this loaded DLL: MMain over user32 and the local clock, held by
// its add-in objects through host::win::AcquireModuleState. When it goes, so does any watch.

#include "lathmore/main_module.h"

namespace lathmore::win {

struct ModuleState {
  ModuleState();
  MMain main;
};

}  // namespace lathmore::win
