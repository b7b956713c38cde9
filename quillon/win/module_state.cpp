#include "quillon/win/module_state.h"

#include "host/win/platform.h"
#include "host/win/settings.h"

namespace quillon::win {

namespace {

std::weak_ptr<ModuleState> current;

}  // namespace

ModuleState::ModuleState()
    : addin(Platform{host::win::RegistrySettings(), host::win::ProcessEnvironment(),
                     host::win::WinSound(), host::win::WinKeyboard(),
                     host::win::WinMessageBoxes()}),
      actions(addin.Actions()) {}

std::shared_ptr<ModuleState> AcquireModuleState() {
  auto state = current.lock();
  if (!state) {
    state = std::make_shared<ModuleState>();
    current = state;
  }
  return state;
}

}  // namespace quillon::win
