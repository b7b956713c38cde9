#include "sandbox/dispatch_object.h"

#include <oleauto.h>

#include "host/error.h"
#include "host/win/unique.h"

namespace sandbox {

std::vector<TypeSpec*>& AllTypes() {
  static std::vector<TypeSpec*> types;
  return types;
}

Call::Call(DISPPARAMS& params, VARIANT* result, bool hasValue)
    : params_(params),
      result_(result),
      count_(static_cast<int>(params.cArgs - params.cNamedArgs)),
      hasValue_(hasValue) {}

VARIANTARG& Call::Arg(int index) const {
  // Positional arguments stand last to first; a put's value is the named one, at the front.
  if (index < 0) return params_.rgvarg[0];
  return params_.rgvarg[params_.cArgs - 1 - static_cast<UINT>(index)];
}

bool Call::Given(int index) const {
  if (index >= count_) return false;
  const VARIANTARG& arg = Arg(index);
  return !(arg.vt == VT_ERROR && arg.scode == DISP_E_PARAMNOTFOUND);
}

namespace {
host::win::Variant Coerced(const VARIANTARG& arg, VARTYPE type, int index) {
  host::win::Variant copy;
  if (FAILED(VariantChangeType(copy.Get(), const_cast<VARIANTARG*>(&arg), 0, type)))
    throw ArgumentError{DISP_E_TYPEMISMATCH, index};
  return copy;
}
}  // namespace

LONG Call::Int(int index) const { return Coerced(Arg(index), VT_I4, index).Get()->lVal; }
bool Call::Bool(int index) const {
  return Coerced(Arg(index), VT_BOOL, index).Get()->boolVal != VARIANT_FALSE;
}
host::Text Call::Text(int index) const {
  auto value = Coerced(Arg(index), VT_BSTR, index);
  return host::win::Bstr::ToText(value.Get()->bstrVal);
}
bool Call::IsText(int index) const {
  const VARIANTARG& arg = Arg(index);
  return arg.vt == VT_BSTR || (arg.vt == (VT_BYREF | VT_BSTR));
}
IDispatch* Call::Object(int index) const {
  const VARIANTARG& arg = Arg(index);
  if (arg.vt == VT_DISPATCH) return arg.pdispVal;
  if (arg.vt == (VT_BYREF | VT_DISPATCH) && arg.ppdispVal) return *arg.ppdispVal;
  throw ArgumentError{DISP_E_TYPEMISMATCH, index};
}
LONG& Call::IntOut(int index) const {
  const VARIANTARG& arg = Arg(index);
  if (arg.vt != (VT_BYREF | VT_I4) || !arg.plVal) throw ArgumentError{DISP_E_TYPEMISMATCH, index};
  return *arg.plVal;
}

void Call::Return(LONG value) {
  if (!result_) return;
  VariantClear(result_);
  result_->vt = VT_I4;
  result_->lVal = value;
}
void Call::Return(bool value) {
  if (!result_) return;
  VariantClear(result_);
  result_->vt = VT_BOOL;
  result_->boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
}
void Call::Return(const host::Text& value) {
  if (!result_) return;
  VariantClear(result_);
  result_->vt = VT_BSTR;
  result_->bstrVal = host::win::Bstr(value).Detach();
}
void Call::Return(host::win::ComPtr<IDispatch> object) {
  if (!result_) return;
  VariantClear(result_);
  result_->vt = VT_DISPATCH;
  result_->pdispVal = object.Detach();
}

HRESULT LookUpNames(TypeSpec& type, LPOLESTR* names, UINT count, DISPID* ids) {
  if (!names || !ids) return E_POINTER;
  ++type.namesLookedUp;
  HRESULT hr = S_OK;
  for (UINT i = 0; i < count; ++i) {
    ids[i] = DISPID_UNKNOWN;
    if (i > 0) {  // named arguments are not offered
      hr = DISP_E_UNKNOWNNAME;
      continue;
    }
    ++type.lookupsByName[names[i]];
    for (std::size_t m = 0; m < type.members.size(); ++m)
      if (_wcsicmp(type.members[m].name, names[i]) == 0) ids[i] = static_cast<DISPID>(m + 1);
    if (ids[i] == DISPID_UNKNOWN) hr = DISP_E_UNKNOWNNAME;
  }
  return hr;
}

HRESULT InvokeMember(TypeSpec& type, DISPID id, WORD flags, DISPPARAMS* params, VARIANT* result,
                     EXCEPINFO* exception, UINT* badArgument,
                     const std::function<void(std::size_t, Kind, Call&)>& handle) {
  ++type.invokes;
  if (!params) return E_POINTER;
  if (id < 1 || static_cast<std::size_t>(id) > type.members.size()) return DISP_E_MEMBERNOTFOUND;
  const std::size_t index = static_cast<std::size_t>(id - 1);
  const MemberSpec& member = type.members[index];

  Kind kind;
  const bool isPut = (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0;
  if (flags & DISPATCH_PROPERTYPUT) {
    kind = Kind::Put;
  } else if (flags & DISPATCH_PROPERTYPUTREF) {
    kind = Kind::PutRef;
  } else if ((flags & DISPATCH_METHOD) && (member.access & kMethod)) {
    kind = Kind::Method;
  } else if ((flags & DISPATCH_PROPERTYGET) && (member.access & kGet)) {
    kind = Kind::Get;
  } else {
    return DISP_E_MEMBERNOTFOUND;
  }
  const unsigned needed = kind == Kind::Put      ? unsigned{kPut}
                          : kind == Kind::PutRef ? unsigned{kPutRef}
                                                 : 0u;
  if (needed && !(member.access & needed)) return DISP_E_MEMBERNOTFOUND;
  // A put names its value DISPID_PROPERTYPUT; nothing else takes named arguments.
  if (isPut != (params->cNamedArgs == 1))
    return isPut ? DISP_E_PARAMNOTOPTIONAL : DISP_E_NONAMEDARGS;
  if (isPut && params->rgdispidNamedArgs[0] != DISPID_PROPERTYPUT) return DISP_E_PARAMNOTFOUND;

  Call call(*params, result, isPut);
  if (call.Count() < member.minArgs || call.Count() > member.maxArgs) return DISP_E_BADPARAMCOUNT;
  try {
    handle(index, kind, call);
    return S_OK;
  } catch (const ArgumentError& error) {
    if (badArgument)
      *badArgument = static_cast<UINT>(
          error.index < 0 ? 0 : params->cArgs - 1 - static_cast<UINT>(error.index));
    return error.hr;
  } catch (const host::HostError& error) {
    if (exception) {
      *exception = {};
      exception->scode = static_cast<SCODE>(error.Code());
      exception->bstrSource = host::win::Bstr(u"Editor sandbox").Detach();
      exception->bstrDescription = host::win::Bstr(error.Description()).Detach();
    }
    return DISP_E_EXCEPTION;
  }
}

}  // namespace sandbox
