#pragma once
// Quillon's module-level state in this loaded DLL: the add-in state and the click entry points,
// held by its COM objects through host::win::AcquireModuleState.

#include <memory>

#include "quillon/addin.h"
#include "quillon/button_actions.h"

namespace quillon::win {

struct ModuleState {
  ModuleState();
  dsrQuillon addin;
  std::shared_ptr<ButtonActions> actions;  // the add-in's own, for the sink class's instances
};

}  // namespace quillon::win
