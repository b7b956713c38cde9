#pragma once
// Programs the sandbox starts and waits for: regsvr32, and itself under another program's name.

#include "host/text.h"

namespace sandbox {

// Runs `commandLine` to its end, writing to the sandbox's own output; its exit code.
unsigned long RunToEnd(const host::Text& commandLine);

}  // namespace sandbox
