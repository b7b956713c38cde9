#include "lathmore/win/module_state.h"

#include "host/win/platform.h"
#include "host/win/settings.h"
#include "host/win/type_libraries.h"
#include "host/win/window_system.h"

namespace lathmore::win {

ModuleState::ModuleState()
    : main(host::win::User32Windows(), host::win::SteadyClock(), host::win::RegistrySettings()),
      messages(host::win::WinMessageBoxes()),
      libraries(host::win::RegistryTypeLibraries()),
      repair(*messages, *libraries, host::win::kOwnBitness) {}

}  // namespace lathmore::win
