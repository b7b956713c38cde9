#pragma once
// Receiving an event source's events: a sink object answering the source's event interface,
// advised on the source's connection point and unadvised when the binding goes.

#include <windows.h>

#include <ocidl.h>

#include <functional>
#include <memory>

#include "host/command_bars.h"
#include "host/win/com_ptr.h"

namespace host::win {

// Called with the event's DISPID and arguments (last to first, as IDispatch passes them).
using EventHandler = std::function<void(DISPID member, DISPPARAMS& params)>;

// Advises a sink for `eventInterface` on `source`'s connection point. The handler runs inside the
// error boundary: whatever it throws goes back to the source as the event call's HRESULT.
std::unique_ptr<EventConnection> AdviseEvents(IUnknown& source, REFIID eventInterface,
                                              EventHandler handler);

// A by-reference flag argument of an event; nullptr where the source passed something else.
VARIANT_BOOL* ByRefBool(VARIANTARG& argument);
// An object argument of an event, however the source wrapped it (an object, by reference, in a
// variant by reference, or as IUnknown); null where it passed none.
ComPtr<IDispatch> ObjectArgument(const VARIANTARG& argument);

}  // namespace host::win
