#include "quillon/win/events_object.h"

#include "host/win/boundary.h"
#include "host/win/editor.h"
#include "host/win/module_state.h"

namespace quillon::win {

EventsObject::EventsObject()
    : dispatch_(__uuidof(_clsVBE_Events)),
      state_(host::win::AcquireModuleState<ModuleState>()),
      sink_(state_->actions) {}

void* EventsObject::InterfaceFor(REFIID iid) {
  if (iid == IID_IDispatch || iid == __uuidof(_clsVBE_Events))
    return static_cast<_clsVBE_Events*>(this);
  if (iid == IID_ISupportErrorInfo) return static_cast<ISupportErrorInfo*>(this);
  return nullptr;
}

bool EventsObject::ServesInterface(REFIID iid) { return InterfaceFor(iid) != nullptr; }

STDMETHODIMP EventsObject::GetTypeInfoCount(UINT* count) {
  return dispatch_.GetTypeInfoCount(count);
}
STDMETHODIMP EventsObject::GetTypeInfo(UINT index, LCID, ITypeInfo** info) {
  return dispatch_.GetTypeInfo(index, info);
}
STDMETHODIMP EventsObject::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                         DISPID* dispids) {
  return dispatch_.GetIDsOfNames(names, count, dispids);
}
STDMETHODIMP EventsObject::Invoke(DISPID member, REFIID, LCID, WORD flags, DISPPARAMS* params,
                                  VARIANT* result, EXCEPINFO* exception, UINT* badArgument) {
  return dispatch_.Invoke(static_cast<_clsVBE_Events*>(this), member, flags, params, result,
                          exception, badArgument);
}

HRESULT EventsObject::Get(EventSlot slot, IDispatch** source) {
  return host::win::Boundary([&]() -> HRESULT {
    if (!source) return E_POINTER;
    *source = nullptr;
    if (const auto held = sink_.Source(slot)) {
      *source = host::win::CommandBarEventsObject(*held);
      if (*source) (*source)->AddRef();
    }
    return S_OK;
  });
}

HRESULT EventsObject::Set(EventSlot slot, IDispatch* source) {
  return host::win::Boundary([&] {
    sink_.SetSource(
        slot,
        source ? host::win::WrapCommandBarEvents(host::win::ComPtr<IDispatch>(source)) : nullptr);
  });
}

}  // namespace quillon::win
