#include "host/win/dispatch.h"

#include <algorithm>

#include "host/error.h"
#include "host/win/hresult.h"

namespace host::win {

namespace {

std::u16string Name(const wchar_t* member) { return FromWide(member); }

HostError ErrorFromException(EXCEPINFO& info, HRESULT hr, const wchar_t* member) {
  if (info.pfnDeferredFillIn) info.pfnDeferredFillIn(&info);
  const HRESULT code = info.scode ? info.scode : hr;
  auto description = Bstr::Adopt(info.bstrDescription).Text();
  SysFreeString(info.bstrSource);
  SysFreeString(info.bstrHelpFile);
  if (description.empty()) description = Name(member) + u" failed";
  return HostError(code, description);
}

void Coerce(Variant& value, VARTYPE type, const wchar_t* what) {
  if (value.Get()->vt == type) return;
  const HRESULT hr = VariantChangeType(value.Get(), value.Get(), 0, type);
  if (FAILED(hr)) throw HostError(hr, u"Type mismatch in the result of " + Name(what));
}

}  // namespace

DISPID DispidCache::Resolve(IDispatch& object, const wchar_t* member) {
  const auto found = dispids_.find(std::wstring_view(member));
  if (found != dispids_.end()) return found->second;
  DISPID dispid = DISPID_UNKNOWN;
  auto* name = const_cast<LPOLESTR>(member);
  ClearErrorInfo();
  const HRESULT hr = object.GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &dispid);
  if (FAILED(hr)) throw ErrorFromHresult(hr, u"Looking up " + Name(member), &object, IID_IDispatch);
  dispids_.emplace(member, dispid);
  return dispid;
}

Dispatch::Dispatch(ComPtr<IDispatch> object, DispidCache& cache)
    : object_(std::move(object)), cache_(cache) {
  if (!object_) throw HostError(E_POINTER, u"Object variable or With block variable not set");
}

Variant Dispatch::Get(const wchar_t* member, std::vector<Variant> args) {
  return Invoke(member,
                args.empty() ? DISPATCH_PROPERTYGET : DISPATCH_PROPERTYGET | DISPATCH_METHOD, args,
                false);
}

Variant Dispatch::Call(const wchar_t* member, std::vector<Variant> args) {
  return Invoke(member, DISPATCH_METHOD, args, false);
}

void Dispatch::Put(const wchar_t* member, Variant value) {
  std::vector<Variant> args;
  args.push_back(std::move(value));
  Invoke(member, DISPATCH_PROPERTYPUT, args, true);
}

Variant Dispatch::Invoke(const wchar_t* member, WORD flags, std::vector<Variant>& args, bool put) {
  const DISPID dispid = cache_.Resolve(*object_.Get(), member);
  // DISPPARAMS holds the arguments last to first.
  std::vector<VARIANTARG> reversed;
  reversed.reserve(args.size());
  for (auto it = args.rbegin(); it != args.rend(); ++it) reversed.push_back(*it->Get());
  DISPID named = DISPID_PROPERTYPUT;
  DISPPARAMS params{reversed.data(), put ? &named : nullptr, static_cast<UINT>(reversed.size()),
                    put ? 1u : 0u};
  Variant result;
  EXCEPINFO exception{};
  UINT badArgument = 0;
  ClearErrorInfo();
  const HRESULT hr = object_->Invoke(dispid, IID_NULL, LOCALE_USER_DEFAULT, flags, &params,
                                     put ? nullptr : result.Get(), &exception, &badArgument);
  if (hr == DISP_E_EXCEPTION) throw ErrorFromException(exception, hr, member);
  if (FAILED(hr)) throw ErrorFromHresult(hr, Name(member), object_.Get(), IID_IDispatch);
  return result;
}

std::int32_t ToInt32(Variant& value) {
  Coerce(value, VT_I4, L"a whole-number property");
  return value.Get()->lVal;
}

bool ToBool(Variant& value) {
  Coerce(value, VT_BOOL, L"a flag property");
  return value.Get()->boolVal != VARIANT_FALSE;
}

host::Text ToText(Variant& value) {
  Coerce(value, VT_BSTR, L"a text property");
  return Bstr::ToText(value.Get()->bstrVal);
}

ComPtr<IDispatch> ToObjectOrNull(Variant& value) {
  VARIANT* v = value.Get();
  if (v->vt == VT_DISPATCH) return ComPtr<IDispatch>(v->pdispVal);
  if (v->vt == VT_UNKNOWN && v->punkVal) {
    ComPtr<IDispatch> object;
    v->punkVal->QueryInterface(IID_IDispatch, object.PutVoid());
    return object;
  }
  return nullptr;
}

ComPtr<IDispatch> ToObject(Variant& value, const wchar_t* member) {
  auto object = ToObjectOrNull(value);
  if (!object) throw HostError(E_POINTER, Name(member) + u" returned no object");
  return object;
}

}  // namespace host::win
