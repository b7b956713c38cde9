#pragma once
// The add-in class of an editor add-in as COM sees it: its own dual interface, answered from the
// DLL's type library, and IDTExtensibility2, through which the editor connects it. The derived
// class handles the connection and disconnection; the other three events do nothing. Its
// failures come with error info, and it says so.

#include <windows.h>

#include "extensibility.h"
#include "host/win/com_object.h"
#include "host/win/type_info_dispatch.h"

namespace host::win {

template <typename DefaultInterface>
class AddinObject : public ComObject<DefaultInterface, IDTExtensibility2, SupportsErrorInfo> {
 public:
  AddinObject() : dispatch_(__uuidof(DefaultInterface)) {}

  STDMETHODIMP GetTypeInfoCount(UINT* count) override { return dispatch_.GetTypeInfoCount(count); }
  STDMETHODIMP GetTypeInfo(UINT index, LCID, ITypeInfo** info) override {
    return dispatch_.GetTypeInfo(index, info);
  }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* dispids) override {
    return dispatch_.GetIDsOfNames(names, count, dispids);
  }
  STDMETHODIMP Invoke(DISPID member, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                      EXCEPINFO* exception, UINT* badArgument) override {
    return dispatch_.Invoke(static_cast<DefaultInterface*>(this), member, flags, params, result,
                            exception, badArgument);
  }

  STDMETHODIMP OnAddInsUpdate(SAFEARRAY**) override { return S_OK; }
  STDMETHODIMP OnStartupComplete(SAFEARRAY**) override { return S_OK; }
  STDMETHODIMP OnBeginShutdown(SAFEARRAY**) override { return S_OK; }

 protected:
  void* InterfaceFor(REFIID iid) override {
    if (iid == IID_IDispatch || iid == __uuidof(DefaultInterface))
      return static_cast<DefaultInterface*>(this);
    if (iid == __uuidof(IDTExtensibility2)) return static_cast<IDTExtensibility2*>(this);
    if (iid == IID_ISupportErrorInfo) return static_cast<ISupportErrorInfo*>(this);
    return nullptr;
  }
  bool ServesInterface(REFIID iid) override { return InterfaceFor(iid) != nullptr; }

 private:
  TypeInfoDispatch dispatch_;
};

}  // namespace host::win
