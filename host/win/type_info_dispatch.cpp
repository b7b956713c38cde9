#include "host/win/type_info_dispatch.h"

#include <vector>

#include "host/win/com_object.h"
#include "host/win/hresult.h"

namespace host::win {

TypeInfoDispatch::TypeInfoDispatch(REFIID dualInterface) {
  std::vector<wchar_t> path(MAX_PATH);
  const DWORD length =
      GetModuleFileNameW(Module::Instance(), path.data(), static_cast<DWORD>(path.size()));
  if (length == 0 || length >= path.size())
    throw HostError(E_FAIL, u"Finding the DLL's path for its type library");
  ComPtr<ITypeLib> library;
  Check(LoadTypeLibEx(path.data(), REGKIND_NONE, library.Put()), u"Loading the type library");
  Check(library->GetTypeInfoOfGuid(dualInterface, info_.Put()), u"Finding the interface's type");
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
