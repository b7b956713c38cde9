#include "host/win/event_sink.h"

#include "host/error.h"
#include "host/win/boundary.h"
#include "host/win/com_object.h"
#include "host/win/hresult.h"

namespace host::win {

namespace {

class EventSink : public ComObject<IDispatch> {
 public:
  EventSink(const IID& eventInterface, EventHandler handler)
      : eventInterface_(eventInterface), handler_(std::move(handler)) {}

  // Once unadvised, a late call from the source reaches nothing.
  void Disconnect() { handler_ = nullptr; }

  STDMETHODIMP GetTypeInfoCount(UINT* count) override {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
  }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  STDMETHODIMP Invoke(DISPID member, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                      UINT*) override {
    return Boundary<ErrorInfo::None>([&] {
      if (!params) throw HostError(E_POINTER, u"No event arguments.");
      if (handler_) {
        const auto handler = handler_;  // the handler may unadvise this very sink
        handler(member, *params);
      }
    });
  }

 protected:
  void* InterfaceFor(REFIID iid) override {
    if (iid == IID_IDispatch || iid == eventInterface_) return static_cast<IDispatch*>(this);
    return nullptr;
  }

 private:
  IID eventInterface_;
  EventHandler handler_;
};

class Advised : public EventConnection {
 public:
  Advised(ComPtr<IConnectionPoint> point, ComPtr<EventSink> sink, DWORD cookie)
      : point_(std::move(point)), sink_(std::move(sink)), cookie_(cookie) {}
  ~Advised() override {
    sink_->Disconnect();
    point_->Unadvise(cookie_);  // a source already gone has nothing left to unadvise
  }

 private:
  ComPtr<IConnectionPoint> point_;
  ComPtr<EventSink> sink_;
  DWORD cookie_;
};

}  // namespace

std::unique_ptr<EventConnection> AdviseEvents(IUnknown& source, REFIID eventInterface,
                                              EventHandler handler) {
  ComPtr<IConnectionPointContainer> container;
  Check(source.QueryInterface(IID_IConnectionPointContainer, container.PutVoid()),
        u"Finding the event source's connection points");
  ComPtr<IConnectionPoint> point;
  Check(container->FindConnectionPoint(eventInterface, point.Put()),
        u"Finding the event source's connection point");
  auto sink = ComPtr<EventSink>::Adopt(new EventSink(eventInterface, std::move(handler)));
  DWORD cookie = 0;
  Check(point->Advise(static_cast<IDispatch*>(sink.Get()), &cookie), u"Advising the event sink");
  return std::make_unique<Advised>(std::move(point), std::move(sink), cookie);
}

ComPtr<IDispatch> ObjectArgument(const VARIANTARG& argument) {
  switch (argument.vt) {
    case VT_DISPATCH:
      return ComPtr<IDispatch>(argument.pdispVal);
    case VT_BYREF | VT_DISPATCH:
      return argument.ppdispVal ? ComPtr<IDispatch>(*argument.ppdispVal) : nullptr;
    case VT_BYREF | VT_VARIANT:
      // One level only: a variant holding a reference to a variant is no control.
      return argument.pvarVal && !(argument.pvarVal->vt & VT_BYREF)
                 ? ObjectArgument(*argument.pvarVal)
                 : nullptr;
    case VT_UNKNOWN:
    case VT_BYREF | VT_UNKNOWN: {
      IUnknown* unknown = argument.vt == VT_UNKNOWN ? argument.punkVal
                          : argument.ppunkVal       ? *argument.ppunkVal
                                                    : nullptr;
      ComPtr<IDispatch> object;
      if (unknown) unknown->QueryInterface(IID_IDispatch, object.PutVoid());
      return object;
    }
    default:
      return nullptr;
  }
}

VARIANT_BOOL* ByRefBool(VARIANTARG& argument) {
  if (argument.vt == (VT_BYREF | VT_BOOL)) return argument.pboolVal;
  if (argument.vt == (VT_BYREF | VT_VARIANT) && argument.pvarVal && argument.pvarVal->vt == VT_BOOL)
    return &argument.pvarVal->boolVal;
  return nullptr;
}

}  // namespace host::win
