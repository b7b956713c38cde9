#pragma once
// IDispatch for an object's dual interface, answered from the DLL's own embedded type library.

#include <windows.h>

#include <oleauto.h>

#include "host/win/com_ptr.h"

namespace host::win {

class TypeInfoDispatch {
 public:
  // Loads the interface's type information from this DLL; throws host::HostError on failure.
  explicit TypeInfoDispatch(REFIID dualInterface);

  HRESULT GetTypeInfoCount(UINT* count) noexcept;
  HRESULT GetTypeInfo(UINT index, ITypeInfo** info) noexcept;
  HRESULT GetIDsOfNames(LPOLESTR* names, UINT count, DISPID* dispids) noexcept;
  // `self` is the object's pointer of the dual interface whose table the calls go through.
  HRESULT Invoke(void* self, DISPID member, WORD flags, DISPPARAMS* params, VARIANT* result,
                 EXCEPINFO* exception, UINT* badArgument) noexcept;

 private:
  ComPtr<ITypeInfo> info_;
};

}  // namespace host::win
