#pragma once
// One outgoing interface of a sandbox event source: a sink advised here is bound to the simulated
// source's event, and unbound again by Unadvise.

#include <windows.h>

#include <ocidl.h>
#include <olectl.h>

#include <functional>
#include <map>
#include <memory>

#include "host/command_bars.h"
#include "host/win/com_object.h"
#include "host/win/com_ptr.h"

namespace sandbox {

using AdviseSink =
    std::function<std::unique_ptr<host::EventConnection>(host::win::ComPtr<IDispatch> sink)>;

class ConnectionPoint : public host::win::ComObject<IConnectionPoint> {
 public:
  ConnectionPoint(const IID& eventInterface, host::win::ComPtr<IConnectionPointContainer> container,
                  AdviseSink advise)
      : eventInterface_(eventInterface),
        container_(std::move(container)),
        advise_(std::move(advise)) {}

  STDMETHODIMP GetConnectionInterface(IID* iid) override;
  STDMETHODIMP GetConnectionPointContainer(IConnectionPointContainer** container) override;
  STDMETHODIMP Advise(IUnknown* sink, DWORD* cookie) override;
  STDMETHODIMP Unadvise(DWORD cookie) override;
  STDMETHODIMP EnumConnections(IEnumConnections**) override { return E_NOTIMPL; }

 protected:
  void* InterfaceFor(REFIID iid) override {
    return iid == IID_IConnectionPoint ? static_cast<IConnectionPoint*>(this) : nullptr;
  }

 private:
  IID eventInterface_;
  host::win::ComPtr<IConnectionPointContainer> container_;
  AdviseSink advise_;
  std::map<DWORD, std::unique_ptr<host::EventConnection>> bindings_;
  DWORD nextCookie_ = 1;
};

// Raises one event on an advised sink; a failure the sink reports comes back as a HostError.
void RaiseOn(IDispatch& sink, DISPID member, std::vector<VARIANTARG> argumentsLastToFirst);
// How many times an event was raised on a sink since the count was last taken.
long TakeRaisedCount();

// How a click event passes its control: as the editor does (an object), or in one of the other
// wrappings a source may use.
enum class ControlWrapping { Dispatch, ByRefDispatch, ByRefVariant, Unknown };
void SetControlWrapping(ControlWrapping wrapping);

// The control argument of one event, in the current wrapping; it must outlive the call.
class ControlArgument {
 public:
  explicit ControlArgument(IDispatch* control);
  ControlArgument(const ControlArgument&) = delete;
  ControlArgument& operator=(const ControlArgument&) = delete;
  VARIANTARG Get();

 private:
  IDispatch* control_;
  VARIANT inner_;
};

}  // namespace sandbox
