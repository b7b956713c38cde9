#pragma once
// The COM class dsrQuillon: the add-in object the editor creates and connects.

#include <windows.h>

#include <memory>

#include "host/win/addin_object.h"
#include "quillon.h"
#include "quillon/win/module_state.h"

namespace quillon::win {

class AddinObject : public host::win::AddinObject<_dsrQuillon> {
 public:
  AddinObject();
  STDMETHODIMP OnConnection(IDispatch* application, ext_ConnectMode, IDispatch*,
                            SAFEARRAY**) override;
  STDMETHODIMP OnDisconnection(ext_DisconnectMode, SAFEARRAY**) override;

 private:
  std::shared_ptr<ModuleState> state_;
};

}  // namespace quillon::win
