#include "lathmore/win/module_state.h"

#include "host/win/settings.h"
#include "host/win/window_system.h"

namespace lathmore::win {

ModuleState::ModuleState()
    : main(host::win::User32Windows(), host::win::SteadyClock(), host::win::RegistrySettings()) {}

}  // namespace lathmore::win
