#include "host/win/hresult.h"

#include <oleauto.h>

#include <cstdio>

#include "host/win/boundary.h"
#include "host/win/com_ptr.h"
#include "host/win/unique.h"

namespace host::win {

namespace {

bool SetsErrorInfo(IUnknown* callee, REFIID iid) {
  if (!callee) return false;
  ComPtr<ISupportErrorInfo> support;
  if (FAILED(callee->QueryInterface(IID_ISupportErrorInfo, support.PutVoid())) || !support)
    return false;
  return support->InterfaceSupportsErrorInfo(iid) == S_OK;
}

}  // namespace

HostError ErrorFromHresult(HRESULT hr, const std::u16string& what, IUnknown* callee, REFIID iid) {
  ComPtr<IErrorInfo> info;
  if (SetsErrorInfo(callee, iid) && GetErrorInfo(0, info.Put()) == S_OK && info) {
    BSTR description = nullptr;
    if (SUCCEEDED(info->GetDescription(&description)) && description) {
      auto text = Bstr::Adopt(description).Text();
      if (!text.empty()) return HostError(hr, text);
    }
  }
  char code[16];
  std::snprintf(code, sizeof code, "0x%08lX", static_cast<unsigned long>(hr));
  return HostError(hr, what + u" failed (" + host::FromUtf8(code) + u")");
}

void SetErrorDescription(const std::u16string& description) noexcept {
  ComPtr<ICreateErrorInfo> create;
  if (FAILED(CreateErrorInfo(create.Put()))) return;
  Bstr text;
  try {
    text = Bstr(description);
  } catch (...) {
    return;
  }
  create->SetDescription(text.Get());
  ComPtr<IErrorInfo> info = create.As<IErrorInfo>(IID_IErrorInfo);
  if (info) SetErrorInfo(0, info.Get());
}

}  // namespace host::win
