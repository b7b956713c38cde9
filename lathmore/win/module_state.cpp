#include "lathmore/win/module_state.h"

#include "host/win/platform.h"
#include "host/win/settings.h"
#include "host/win/type_libraries.h"
#include "host/win/window_system.h"

namespace lathmore::win {

namespace {
// The editor that loads this DLL is of its bitness, and loads type libraries as such.
constexpr host::Bitness kOwnBitness =
    sizeof(void*) == 8 ? host::Bitness::Win64 : host::Bitness::Win32;
}  // namespace

ModuleState::ModuleState()
    : main(host::win::User32Windows(), host::win::SteadyClock(), host::win::RegistrySettings()),
      messages(host::win::WinMessageBoxes()),
      libraries(host::win::RegistryTypeLibraries()),
      repair(*messages, *libraries, kOwnBitness) {}

}  // namespace lathmore::win
