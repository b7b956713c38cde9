#pragma once
// Quillon's module-level state in this loaded DLL: the add-in state and the click entry points.
// Every COM object of the DLL that needs it holds it; when the host has released the last of
// them, the state goes, and with it every event binding, so the DLL can unload cleanly.

#include <memory>

#include "quillon/addin.h"
#include "quillon/button_actions.h"

namespace quillon::win {

struct ModuleState {
  ModuleState();
  dsrQuillon addin;
  std::shared_ptr<ButtonActions> actions;  // the add-in's own, for the sink class's instances
};

// The state of this DLL, made on first use.
std::shared_ptr<ModuleState> AcquireModuleState();

}  // namespace quillon::win
