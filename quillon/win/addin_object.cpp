#include "quillon/win/addin_object.h"

#include "host/win/boundary.h"
#include "host/win/editor.h"
#include "host/win/module_state.h"

namespace quillon::win {

AddinObject::AddinObject() : state_(host::win::AcquireModuleState<ModuleState>()) {}

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
