#pragma once
// The error boundary: every place where the editor calls into an add-in (exports, class factory,
// add-in methods, event sinks, timer callbacks) runs its body through here. Nothing escapes:
// every failure becomes an HRESULT, with error info describing it.

#include <windows.h>

#include <exception>
#include <new>

#include "host/error.h"
#include "host/text.h"
#include "host/win/hresult.h"

namespace host::win {

// Records the description as the thread's error info for the caller to read.
void SetErrorDescription(const std::u16string& description) noexcept;

enum class ErrorInfo {
  Set,   // for the methods of objects that say so through ISupportErrorInfo
  None,  // event sinks, timer ticks, exports and the class factory: nobody reads it there
};

// Runs `body`, turning whatever it throws into a failure HRESULT. No handler allocates outside a
// try of its own: an allocation that fails there would end the editor's process.
template <ErrorInfo kInfo = ErrorInfo::Set, typename Body>
HRESULT Boundary(Body&& body) noexcept {
  const auto describe = [](const auto& describeIt) noexcept {
    if constexpr (kInfo == ErrorInfo::Set) {
      try {
        SetErrorDescription(describeIt());
      } catch (...) {
      }
    }
  };
  try {
    if constexpr (std::is_same_v<decltype(body()), HRESULT>) {
      return body();
    } else {
      body();
      return S_OK;
    }
  } catch (const HostError& error) {
    describe([&]() -> const std::u16string& { return error.Description(); });
    return HresultOf(error);
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (const std::exception& error) {
    describe([&] { return host::FromUtf8(error.what()); });
    return E_FAIL;
  } catch (...) {
    return E_UNEXPECTED;
  }
}

// For an object whose methods set error info through Boundary: it says so for each of its own
// interfaces.
class SupportsErrorInfo : public ISupportErrorInfo {
 public:
  STDMETHODIMP InterfaceSupportsErrorInfo(REFIID iid) override {
    return iid != IID_ISupportErrorInfo && iid != IID_IUnknown && ServesInterface(iid) ? S_OK
                                                                                       : S_FALSE;
  }

 protected:
  virtual bool ServesInterface(REFIID iid) = 0;
};

}  // namespace host::win
