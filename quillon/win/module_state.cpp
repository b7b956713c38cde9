#include "quillon/win/module_state.h"

#include "host/win/platform.h"
#include "host/win/settings.h"

namespace quillon::win {

ModuleState::ModuleState()
    : addin(Platform{host::win::RegistrySettings(), host::win::ProcessEnvironment(),
                     host::win::WinSound(), host::win::WinKeyboard(),
                     host::win::WinMessageBoxes()}),
      actions(addin.Actions()) {}

}  // namespace quillon::win
