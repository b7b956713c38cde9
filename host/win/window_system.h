#pragma once
// The window functions and the steady clock on Windows, through user32 and kernel32.

#include <memory>

#include "host/window_system.h"

namespace host::win {

// Timer ticks run inside the error boundary: whatever a tick throws is swallowed there.
std::shared_ptr<WindowSystem> User32Windows();
std::shared_ptr<Clock> SteadyClock();

}  // namespace host::win
