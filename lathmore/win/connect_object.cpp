#include "lathmore/win/connect_object.h"

#include "host/win/boundary.h"
#include "host/win/editor.h"
#include "host/win/module_state.h"

namespace lathmore::win {

ConnectObject::ConnectObject()
    : state_(host::win::AcquireModuleState<ModuleState>()),
      connect_(state_->main, state_->repair) {}

STDMETHODIMP ConnectObject::OnConnection(IDispatch* application, ext_ConnectMode, IDispatch*,
                                         SAFEARRAY**) {
  return host::win::Boundary([&] {
    connect_.AddinInstance_OnConnection(
        host::win::WrapApplication(host::win::ComPtr<IDispatch>(application)));
  });
}

STDMETHODIMP ConnectObject::OnDisconnection(ext_DisconnectMode, SAFEARRAY**) {
  return host::win::Boundary([&] { connect_.AddinInstance_OnDisconnection(); });
}

}  // namespace lathmore::win
