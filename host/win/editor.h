#pragma once
// The editor's object model of the real editor, reached by late binding.

#include <windows.h>

#include <memory>

#include "host/editor.h"
#include "host/win/com_ptr.h"

namespace host::win {

// The application object the editor passes to a connecting add-in.
std::shared_ptr<Application> WrapApplication(ComPtr<IDispatch> application);
// The object behind a source that the editor's Events.CommandBarEvents returned; null otherwise.
IDispatch* CommandBarEventsObject(const CommandBarEvents& source);
// A CommandBarEvents source handed in by its object (the add-in's sink class takes them so).
std::shared_ptr<CommandBarEvents> WrapCommandBarEvents(ComPtr<IDispatch> source);

}  // namespace host::win
