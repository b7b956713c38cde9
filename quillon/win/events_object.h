#pragma once
// The COM class clsVBE_Events: the click sink's twelve source slots as properties.

#include <windows.h>

#include <memory>

#include "host/win/com_object.h"
#include "host/win/type_info_dispatch.h"
#include "quillon.h"
#include "quillon/vbe_events.h"
#include "quillon/win/module_state.h"

namespace quillon::win {

class EventsObject : public host::win::ComObject<_clsVBE_Events, host::win::SupportsErrorInfo> {
 public:
  EventsObject();

  STDMETHODIMP GetTypeInfoCount(UINT* count) override;
  STDMETHODIMP GetTypeInfo(UINT index, LCID, ITypeInfo** info) override;
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* dispids) override;
  STDMETHODIMP Invoke(DISPID member, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                      EXCEPINFO* exception, UINT* badArgument) override;

#define QUILLON_EVENT_SLOT(name)                                                                \
  STDMETHODIMP get_##name(IDispatch** source) override { return Get(EventSlot::name, source); } \
  STDMETHODIMP putref_##name(IDispatch* source) override { return Set(EventSlot::name, source); }
  QUILLON_EVENT_SLOT(BM1Event)
  QUILLON_EVENT_SLOT(BM2Event)
  QUILLON_EVENT_SLOT(BM3Event)
  QUILLON_EVENT_SLOT(BM4Event)
  QUILLON_EVENT_SLOT(BM5Event)
  QUILLON_EVENT_SLOT(ClearBMsEvent)
  QUILLON_EVENT_SLOT(CP1Event)
  QUILLON_EVENT_SLOT(CP2Event)
  QUILLON_EVENT_SLOT(CP3Event)
  QUILLON_EVENT_SLOT(CP4Event)
  QUILLON_EVENT_SLOT(CP5Event)
  QUILLON_EVENT_SLOT(ClearCPsEvent)
#undef QUILLON_EVENT_SLOT

 protected:
  void* InterfaceFor(REFIID iid) override;
  bool ServesInterface(REFIID iid) override;

 private:
  HRESULT Get(EventSlot slot, IDispatch** source);
  HRESULT Set(EventSlot slot, IDispatch* source);

  host::win::TypeInfoDispatch dispatch_;
  std::shared_ptr<ModuleState> state_;
  clsVBE_Events sink_;
};

}  // namespace quillon::win
