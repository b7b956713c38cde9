#include "sandbox/connection_point.h"

#include <utility>

#include "host/win/hresult.h"

namespace sandbox {

STDMETHODIMP ConnectionPoint::GetConnectionInterface(IID* iid) {
  if (!iid) return E_POINTER;
  *iid = eventInterface_;
  return S_OK;
}

STDMETHODIMP ConnectionPoint::GetConnectionPointContainer(IConnectionPointContainer** container) {
  if (!container) return E_POINTER;
  *container = container_.Get();
  container_->AddRef();
  return S_OK;
}

STDMETHODIMP ConnectionPoint::Advise(IUnknown* sink, DWORD* cookie) {
  return host::win::Boundary<host::win::ErrorInfo::None>([&]() -> HRESULT {
    if (!sink || !cookie) return E_POINTER;
    // The sink must answer the event interface, as the editor demands.
    host::win::ComPtr<IDispatch> events;
    if (FAILED(sink->QueryInterface(eventInterface_, events.PutVoid())) || !events)
      return CONNECT_E_CANNOTCONNECT;
    bindings_[nextCookie_] = advise_(std::move(events));
    *cookie = nextCookie_++;
    return S_OK;
  });
}

STDMETHODIMP ConnectionPoint::Unadvise(DWORD cookie) {
  return bindings_.erase(cookie) ? S_OK : CONNECT_E_NOCONNECTION;
}

namespace {
long raised = 0;
}  // namespace

long TakeRaisedCount() { return std::exchange(raised, 0); }

namespace {
ControlWrapping wrapping = ControlWrapping::Dispatch;
}  // namespace

void SetControlWrapping(ControlWrapping chosen) { wrapping = chosen; }

ControlArgument::ControlArgument(IDispatch* control) : control_(control) {
  VariantInit(&inner_);
  inner_.vt = VT_DISPATCH;
  inner_.pdispVal = control;
}

VARIANTARG ControlArgument::Get() {
  VARIANTARG argument;
  VariantInit(&argument);
  switch (wrapping) {
    case ControlWrapping::Dispatch:
      argument.vt = VT_DISPATCH;
      argument.pdispVal = control_;
      break;
    case ControlWrapping::ByRefDispatch:
      argument.vt = VT_BYREF | VT_DISPATCH;
      argument.ppdispVal = &control_;
      break;
    case ControlWrapping::ByRefVariant:
      argument.vt = VT_BYREF | VT_VARIANT;
      argument.pvarVal = &inner_;
      break;
    case ControlWrapping::Unknown:
      argument.vt = VT_UNKNOWN;
      argument.punkVal = control_;
      break;
  }
  return argument;
}

void RaiseOn(IDispatch& sink, DISPID member, std::vector<VARIANTARG> argumentsLastToFirst) {
  ++raised;
  DISPPARAMS params{argumentsLastToFirst.data(), nullptr,
                    static_cast<UINT>(argumentsLastToFirst.size()), 0};
  host::win::ClearErrorInfo();
  const HRESULT hr = sink.Invoke(member, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params,
                                 nullptr, nullptr, nullptr);
  if (FAILED(hr)) throw host::win::ErrorFromHresult(hr, u"The add-in's event handler");
}

}  // namespace sandbox
