#pragma once
// The COM class Connect: the add-in object the editor creates and connects.

#include <windows.h>

#include <memory>

#include "host/win/addin_object.h"
#include "lathmore/connect.h"
#include "lathmore/win/module_state.h"
#include "vodavove.h"

namespace lathmore::win {

class ConnectObject : public host::win::AddinObject<_Connect> {
 public:
  ConnectObject();
  STDMETHODIMP OnConnection(IDispatch* application, ext_ConnectMode, IDispatch*,
                            SAFEARRAY**) override;
  STDMETHODIMP OnDisconnection(ext_DisconnectMode, SAFEARRAY**) override;

 private:
  std::shared_ptr<ModuleState> state_;
  Connect connect_;
};

}  // namespace lathmore::win
