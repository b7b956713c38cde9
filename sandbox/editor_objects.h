#pragma once
// The simulated editor served as the real one is: automation objects with the editor's and
// Office's member names, argument kinds and failures, and click events through connection points.

#include <windows.h>

#include <memory>

#include "host/sim/editor.h"
#include "host/win/com_ptr.h"

namespace sandbox {

// The VBE object handed to add-ins on connection.
host::win::ComPtr<IDispatch> MakeEditorObject(std::shared_ptr<host::sim::SimEditor> editor);
// An application object that is not the editor.
host::win::ComPtr<IDispatch> MakeOtherApplication();
// The AddIn object handed to add-ins on connection (they do not use it).
host::win::ComPtr<IDispatch> MakeAddInObject();

}  // namespace sandbox
