#include "quillon/win/addin_object.h"

#include "host/win/boundary.h"
#include "host/win/editor.h"

namespace quillon::win {

AddinObject::AddinObject() : dispatch_(__uuidof(_dsrQuillon)), state_(AcquireModuleState()) {}

void* AddinObject::InterfaceFor(REFIID iid) {
  if (iid == IID_IDispatch || iid == __uuidof(_dsrQuillon)) return static_cast<_dsrQuillon*>(this);
  if (iid == __uuidof(IDTExtensibility2)) return static_cast<IDTExtensibility2*>(this);
  return nullptr;
}

STDMETHODIMP AddinObject::GetTypeInfoCount(UINT* count) {
  return dispatch_.GetTypeInfoCount(count);
}
STDMETHODIMP AddinObject::GetTypeInfo(UINT index, LCID, ITypeInfo** info) {
  return dispatch_.GetTypeInfo(index, info);
}
STDMETHODIMP AddinObject::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                        DISPID* dispids) {
  return dispatch_.GetIDsOfNames(names, count, dispids);
}
STDMETHODIMP AddinObject::Invoke(DISPID member, REFIID, LCID, WORD flags, DISPPARAMS* params,
                                 VARIANT* result, EXCEPINFO* exception, UINT* badArgument) {
  return dispatch_.Invoke(static_cast<_dsrQuillon*>(this), member, flags, params, result, exception,
                          badArgument);
}

STDMETHODIMP AddinObject::OnConnection(IDispatch* application, ext_ConnectMode, IDispatch*,
                                       SAFEARRAY**) {
  return host::win::Boundary([&] {
    state_->addin.AddinInstance_OnConnection(
        host::win::WrapApplication(host::win::ComPtr<IDispatch>(application)));
  });
}

STDMETHODIMP AddinObject::OnDisconnection(ext_DisconnectMode, SAFEARRAY**) {
  return host::win::Boundary([&] { state_->addin.AddinInstance_OnDisconnection(); });
}

}  // namespace quillon::win
