#include "host/win/type_info_dispatch.h"

#include <vector>

#include "host/win/com_object.h"
#include "host/win/hresult.h"
#include "host/win/own_library.h"

namespace host::win {

TypeInfoDispatch::TypeInfoDispatch(REFIID dualInterface) {
  Check(OwnTypeLibrary()->GetTypeInfoOfGuid(dualInterface, info_.Put()),
        u"Finding the interface's type");
}

HRESULT TypeInfoDispatch::GetTypeInfoCount(UINT* count) noexcept {
  if (!count) return E_POINTER;
  *count = 1;
  return S_OK;
}

HRESULT TypeInfoDispatch::GetTypeInfo(UINT index, ITypeInfo** info) noexcept {
  if (!info) return E_POINTER;
  *info = nullptr;
  if (index != 0) return DISP_E_BADINDEX;
  info_->AddRef();
  *info = info_.Get();
  return S_OK;
}

HRESULT TypeInfoDispatch::GetIDsOfNames(LPOLESTR* names, UINT count, DISPID* dispids) noexcept {
  return DispGetIDsOfNames(info_.Get(), names, count, dispids);
}

HRESULT TypeInfoDispatch::Invoke(void* self, DISPID member, WORD flags, DISPPARAMS* params,
                                 VARIANT* result, EXCEPINFO* exception,
                                 UINT* badArgument) noexcept {
  return DispInvoke(self, info_.Get(), member, flags, params, result, exception, badArgument);
}

}  // namespace host::win
