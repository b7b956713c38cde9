#pragma once
// The COM class dsrQuillon: the add-in object the editor creates and connects.

#include <windows.h>

#include <memory>

#include "extensibility.h"
#include "host/win/com_object.h"
#include "host/win/type_info_dispatch.h"
#include "quillon.h"
#include "quillon/win/module_state.h"

namespace quillon::win {

class AddinObject : public host::win::ComObject<_dsrQuillon, IDTExtensibility2> {
 public:
  AddinObject();

  // IDispatch, shared by both dual interfaces.
  STDMETHODIMP GetTypeInfoCount(UINT* count) override;
  STDMETHODIMP GetTypeInfo(UINT index, LCID, ITypeInfo** info) override;
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* dispids) override;
  STDMETHODIMP Invoke(DISPID member, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                      EXCEPINFO* exception, UINT* badArgument) override;

  // IDTExtensibility2
  STDMETHODIMP OnConnection(IDispatch* application, ext_ConnectMode, IDispatch*,
                            SAFEARRAY**) override;
  STDMETHODIMP OnDisconnection(ext_DisconnectMode, SAFEARRAY**) override;
  STDMETHODIMP OnAddInsUpdate(SAFEARRAY**) override { return S_OK; }
  STDMETHODIMP OnStartupComplete(SAFEARRAY**) override { return S_OK; }
  STDMETHODIMP OnBeginShutdown(SAFEARRAY**) override { return S_OK; }

 protected:
  void* InterfaceFor(REFIID iid) override;

 private:
  host::win::TypeInfoDispatch dispatch_;
  std::shared_ptr<ModuleState> state_;
};

}  // namespace quillon::win
