#include "lathmore/win/module_state.h"

#include "host/win/window_system.h"

namespace lathmore::win {

ModuleState::ModuleState() : main(host::win::User32Windows(), host::win::SteadyClock()) {}

}  // namespace lathmore::win
