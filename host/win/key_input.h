#pragma once
// The keyboard of the calling thread on Windows: a WH_KEYBOARD hook of that thread and the focus
// functions of user32.

#include <memory>

#include "host/key_input.h"

namespace host::win {

// Each hook runs inside the error boundary: whatever it throws passes the key on.
std::shared_ptr<KeyInput> User32Keys();

}  // namespace host::win
