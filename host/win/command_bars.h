#pragma once
// The command-bar model of the real editor, reached by late binding.

#include <windows.h>

#include <memory>

#include "host/command_bars.h"
#include "host/win/com_ptr.h"

namespace host::win {

std::shared_ptr<CommandBars> WrapCommandBars(ComPtr<IDispatch> object);
std::shared_ptr<CommandBarControl> WrapControl(ComPtr<IDispatch> object);
// The object behind a control that came from WrapControl; null for any other control.
IDispatch* ControlObject(const CommandBarControl& control);

}  // namespace host::win
