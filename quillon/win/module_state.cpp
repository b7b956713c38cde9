#include "quillon/win/module_state.h"

#include "host/win/key_input.h"
#include "host/win/platform.h"
#include "host/win/settings.h"

namespace quillon::win {

ModuleState::ModuleState()
    : addin(Platform{host::win::RegistrySettings(), host::win::ProcessEnvironment(),
                     host::win::WinSound(), host::win::WinKeyboard(),
                     host::win::WinMessageBoxes(), host::win::User32Keys()}),
      actions(addin.Actions()) {}

}  // namespace quillon::win
